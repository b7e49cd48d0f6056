#include "config/AppConstants.h"
#include "config/Translation.h"

#include "TempHomeMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

QString translatedTitle()
{
    return QCoreApplication::translate("UpdateHint", "更新提示");
}

const QString English = QStringLiteral("Update notice");
const QString Chinese = QStringLiteral("更新提示");

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private:
    QString m_startDir;
    QTemporaryDir m_workDir;

    static bool copyQm(const QString &target)
    {
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        return QFile::copy(QStringLiteral(R7_TEST_QM_FILE), target);
    }

    static QString dataTranslationsFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
               + QStringLiteral("/translations");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(QStringLiteral(R7_TEST_QM_FILE)));
        QVERIFY(m_workDir.isValid());
        m_startDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_workDir.path()));
        // Nothing may be lying around where the program looks, or the fallback tests mean nothing.
        QVERIFY(findTranslationFile(QLatin1String(TranslationFileName)).isEmpty());
    }

    void cleanupTestCase() { QDir::setCurrent(m_startDir); }

    void cleanup()
    {
        applyTranslation(1);
        QFile::remove(QDir::current().filePath(QLatin1String(TranslationFileName)));
    }

    void searchOrder()
    {
        const QString program = QCoreApplication::applicationDirPath();
        QStringList expected{QDir::currentPath(),
                             program,
                             QDir::cleanPath(program + "/../share/r7assistant/translations")};
        for (const QString &folder :
             QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
            expected << folder + QStringLiteral("/translations");
        QCOMPARE(translationSearchFolders(), expected);
    }

    void candidatesKeepFolderOrder()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString a = root.filePath("a"), b = root.filePath("b"), c = root.filePath("c");
        QVERIFY(QDir().mkpath(a + "/x.qm")); // a folder of that name is not a file
        QVERIFY(copyQm(c + "/x.qm"));
        QVERIFY(copyQm(b + "/x.qm"));
        QCOMPARE(translationCandidates("x.qm", {a, b, root.filePath("missing"), c}),
                 QStringList({b + "/x.qm", c + "/x.qm"}));
        QCOMPARE(translationCandidates("x.qm", {c, b}), QStringList({c + "/x.qm", b + "/x.qm"}));
    }

    void workingDirThenProgramThenDataFolder()
    {
        // A name of this run's own, so that the program folder is left as it was found.
        const QString name
            = QStringLiteral("tst_lookup_%1.qm").arg(QCoreApplication::applicationPid());
        const QString inData = dataTranslationsFolder() + QLatin1Char('/') + name;
        const QString nextToProgram
            = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
        const QString inWorkDir = QDir::current().filePath(name);
        const auto removeAll = qScopeGuard([&] {
            QFile::remove(inData);
            QFile::remove(nextToProgram);
            QFile::remove(inWorkDir);
        });

        QCOMPARE(findTranslationFile(name), QString());
        QVERIFY(copyQm(inData));
        QCOMPARE(findTranslationFile(name), inData);
        QVERIFY(copyQm(nextToProgram));
        QCOMPARE(findTranslationFile(name), nextToProgram);
        QVERIFY(copyQm(inWorkDir));
        QCOMPARE(findTranslationFile(name), inWorkDir);
    }

    void englishAndBack()
    {
        QCOMPARE(translatedTitle(), Chinese);
        QVERIFY(copyQm(QDir::current().filePath(QLatin1String(TranslationFileName))));
        QVERIFY(applyTranslation(0));
        QCOMPARE(translatedTitle(), English);
        QVERIFY(applyTranslation(1));
        QCOMPARE(translatedTitle(), Chinese);
    }

    void englishFromDataFolder()
    {
        const QString file
            = dataTranslationsFolder() + QLatin1Char('/') + QLatin1String(TranslationFileName);
        const auto remove = qScopeGuard([&] { QFile::remove(file); });
        QVERIFY(copyQm(file));
        QVERIFY(applyTranslation(0));
        QCOMPARE(translatedTitle(), English);
    }

    void englishTwiceIsRemovedByOneSwitchBack()
    {
        QVERIFY(copyQm(QDir::current().filePath(QLatin1String(TranslationFileName))));
        QVERIFY(applyTranslation(0));
        QVERIFY(applyTranslation(0));
        QVERIFY(applyTranslation(1));
        QCOMPARE(translatedTitle(), Chinese);
    }

    void missingFileLeavesChinese()
    {
        QVERIFY(!applyTranslation(0));
        QCOMPARE(translatedTitle(), Chinese);
    }

    void unreadableFileIsSkipped()
    {
        const QString broken = QDir::current().filePath(QStringLiteral("broken.qm"));
        const QString good = m_workDir.filePath(QStringLiteral("good/good.qm"));
        {
            QFile file(broken);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("this is not a translation");
        }
        QVERIFY(copyQm(good));
        QVERIFY(!installTranslationFrom({broken}));
        QCOMPARE(translatedTitle(), Chinese);
        QVERIFY(installTranslationFrom({broken, good}));
        QCOMPARE(translatedTitle(), English);
    }

    void otherCodesChangeNothing()
    {
        QVERIFY(copyQm(QDir::current().filePath(QLatin1String(TranslationFileName))));
        QVERIFY(!applyTranslation(2));
        QCOMPARE(translatedTitle(), Chinese);
        QVERIFY(applyTranslation(0));
        QVERIFY(!applyTranslation(-1));
        QCOMPARE(translatedTitle(), English);
    }

    void translatorBelongsToTheApplication()
    {
        QTranslator *translator = appTranslator();
        QVERIFY(translator);
        QCOMPARE(translator->parent(), QCoreApplication::instance());
        QCOMPARE(appTranslator(), translator);
    }
};

R7_TEST_MAIN_WITH_TEMPORARY_HOME(QCoreApplication, TestTranslation)
#include "tst_translation.moc"
