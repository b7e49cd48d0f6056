#include "config/AppConstants.h"
#include "config/AppPaths.h"
#include "config/Configuration.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/ServiceUrls.h"
#include "config/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString English = QStringLiteral("Update notice");
const QString Chinese = QStringLiteral("更新提示");

QString translatedTitle()
{
    return QCoreApplication::translate("UpdateHint", "更新提示");
}

bool copyQm(const QString &target)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    return QFile::copy(QStringLiteral(R7_TEST_QM_FILE), target);
}

} // namespace

// The configuration file, the language stored in it and the translation that follows it.
class TestConfigFile : public QObject
{
    Q_OBJECT

private:
    QString m_startDir;
    QTemporaryDir m_dir; // also the working directory
    const QString m_qmInWorkDir = m_dir.filePath(QLatin1String(TranslationFileName));

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void writeFile(const QString &file, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // Null: an older file without the key.
    static void storeRawLanguage(const QByteArray &text)
    {
        QFile::remove(configFilePath());
        QVERIFY(ensureConfigFile(configFilePath()));
        QSettings settings(configFilePath(), QSettings::IniFormat);
        if (text.isNull())
            settings.remove(QStringLiteral("Language"));
        else
            settings.setValue(QStringLiteral("Language"), QString::fromUtf8(text));
    }

    static QString stored(const QString &key = QStringLiteral("Language"))
    {
        return QSettings(configFilePath(), QSettings::IniFormat).value(key).toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Every test relies on this: the real configuration file is never touched.
        QVERIFY(QDir::homePath().startsWith(QDir::tempPath()));
        QCOMPARE(configFilePath(),
                 QDir::homePath() + QLatin1String("/Vardeck/R7Assistant/Data/Ini/firmware.ini"));
        m_startDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        // Nothing may be lying around where the program looks, or the fallback tests mean nothing.
        QVERIFY(findTranslationFile(QLatin1String(TranslationFileName)).isEmpty());
    }

    void cleanupTestCase() { QDir::setCurrent(m_startDir); }

    void cleanup()
    {
        applyTranslation(1);
        QFile::remove(m_qmInWorkDir);
    }

    void newFileHasDefaultsInOrder()
    {
        const QString file = path(QStringLiteral("new/deeper/Ini/firmware.ini"));
        QVERIFY(ensureConfigFile(file));
        QStringList lines = QString::fromUtf8(contents(file)).split(QLatin1Char('\n'));
        lines.removeAll(QString());
        QCOMPARE(
            lines.join(QLatin1Char(' ')),
            QStringLiteral("[General] Language=CH "
                           "[URL] Firmware=https://services.r7assistant.invalid/api/firmware/R7 "
                           "[FCU] version=3.00 [GMU] version=2.02 [LIU] version=2.01 "
                           "[OSD] version=2.04 [PMU] version=2.01 [IMU] version=1.00"));
    }

    // A run against a local or simulated service writes the maker's address into a new file,
    // as a normal run would.
    void defaultAddressIsTheMakers()
    {
        QVERIFY(setServiceBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:8080"))));
        const QString file = path(QStringLiteral("local/firmware.ini"));
        QVERIFY(ensureConfigFile(file));
        QVERIFY(setServiceBaseUrl(QUrl(QString::fromLatin1(DefaultServiceBaseUrl))));
        QCOMPARE(readIniValue(file, QStringLiteral("URL/Firmware")),
                 QStringLiteral("https://services.r7assistant.invalid/api/firmware/R7"));
    }

    void existingFileIsNeverChanged()
    {
        const QString file = path(QStringLiteral("existing/firmware.ini"));
        const QByteArray original("; kept as it is\n[FCU]\nversion=9.99\n");
        writeFile(file, original);
        QVERIFY(ensureConfigFile(file));
        // Reading neither adds the missing "Language" nor rewrites the file.
        QCOMPARE(readIniValue(file, QStringLiteral("Language")), QString());
        QCOMPARE(readIniValue(file, QStringLiteral("FCU/version")), QStringLiteral("9.99"));
        QCOMPARE(contents(file), original);
    }

    void readAndWriteCreateMissingFile()
    {
        const QString read = path(QStringLiteral("read/Ini/firmware.ini"));
        QCOMPARE(readIniValue(read, QStringLiteral("Language")), QStringLiteral("CH"));
        QVERIFY(QFileInfo::exists(read));

        const QString written = path(QStringLiteral("write/Ini/firmware.ini"));
        writeIniValue(written, QStringLiteral("Language"), QStringLiteral("EN"));
        QCOMPARE(readIniValue(written, QStringLiteral("Language")), QStringLiteral("EN"));
        QCOMPARE(readIniValue(written, QStringLiteral("PMU/version")), QStringLiteral("2.01"));
    }

    void folderThatCannotBeCreated()
    {
        const QString blocker = path(QStringLiteral("plainfile"));
        writeFile(blocker, "not a folder");
        const QString file = blocker + QStringLiteral("/Ini/firmware.ini");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to create directory!"));
        QVERIFY(!ensureConfigFile(file));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Failed to create directory!"));
        QCOMPARE(readIniValue(file, QStringLiteral("Language")), QString());
    }

    void valuesAreQuotedForTheReader_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("comma") << QStringLiteral("a,b");
        QTest::newRow("semicolon") << QStringLiteral("a;b");
        QTest::newRow("surrounding blanks") << QStringLiteral("  lead and trail ");
        QTest::newRow("backslash and quote") << QStringLiteral("back\\slash \"hi\"");
        QTest::newRow("at sign") << QStringLiteral("@ByteArray(x)");
        QTest::newRow("line break") << QStringLiteral("one\ntwo");
        QTest::newRow("chinese") << QStringLiteral("调参软件");
    }

    void valuesAreQuotedForTheReader()
    {
        QFETCH(QString, value);
        const QString file = path(QStringLiteral("quoted/%1.ini").arg(QTest::currentDataTag()));
        writeFile(file, "[General]\nkey=" + iniEscapedValue(value).toUtf8() + "\n");
        const QSettings settings(file, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("key")).toString(), value);
    }

    void queryLanguage_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("expected");
        QTest::newRow("EN") << QByteArray("EN") << 1 << 0;
        QTest::newRow("CH") << QByteArray("CH") << 0 << 1;
        QTest::newRow("lower-case en ignored") << QByteArray("en") << 1 << 1;
        QTest::newRow("EN with blank ignored") << QByteArray("EN ") << 1 << 1;
        QTest::newRow("missing keeps English") << QByteArray() << 0 << 0;
    }

    void queryLanguage()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, before);
        QFETCH(int, expected);
        storeRawLanguage(stored);
        languageCode = before;
        QCOMPARE(::queryLanguage(), expected);
        QCOMPARE(languageCode, expected);
    }

    // A damaged configuration file: the program starts in Chinese, the default, and goes on.
    void damagedFileGivesTheDefault_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: a folder in the file's place
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01=\x02\n\x80\x81", 10);
        QTest::newRow("not UTF-8") << QByteArray("Language=\xff\xfe\xc3\n");
        QTest::newRow("broken section") << QByteArray("[General\nLanguage\n=\n[[]]=EN\n");
        QTest::newRow("bogus stored variant")
            << QByteArray("Language=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff)\n");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("folder instead of file") << QByteArray();
    }
    void damagedFileGivesTheDefault()
    {
        QFETCH(QByteArray, bytes);
        QFile::remove(configFilePath());
        if (bytes.isNull())
            QVERIFY(QDir().mkpath(configFilePath()));
        else
            writeFile(configFilePath(), bytes);
        const auto restore = qScopeGuard([] { QDir(configFilePath()).removeRecursively(); });
        languageCode = 1;
        Configuration{};
        QCOMPARE(languageCode, 1);
    }

    void constructionLoadsTheLanguage()
    {
        storeRawLanguage("EN");
        languageCode = 1;
        Configuration{}; // a temporary is enough: construction does the work
        QCOMPARE(languageCode, 0);
    }

    void storeLanguage_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expectedStored");
        QTest::newRow("English") << 0 << QStringLiteral("EN");
        QTest::newRow("Chinese") << 1 << QStringLiteral("CH");
        QTest::newRow("other code writes nothing") << 2 << QStringLiteral("unchanged");
    }

    void storeLanguage()
    {
        QFETCH(int, code);
        QFETCH(QString, expectedStored);
        storeRawLanguage("unchanged");
        ::storeLanguage(code);
        QCOMPARE(languageCode, code);
        QCOMPARE(stored(), expectedStored);
    }

    void deletedFileIsRecreatedOnLanguageChange()
    {
        QVERIFY(ensureConfigFile(configFilePath()));
        QVERIFY(QFile::remove(configFilePath()));
        ::storeLanguage(0);
        QCOMPARE(stored(), QStringLiteral("EN"));
        QCOMPARE(stored(QStringLiteral("IMU/version")), QStringLiteral("1.00")); // the defaults too
    }

    void helpPageUrl_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("folder"); // empty: no URL
        QTest::newRow("English") << 0 << QStringLiteral("/Introduction/en_US/");
        QTest::newRow("Chinese") << 1 << QStringLiteral("/Introduction/zh_CN/");
        QTest::newRow("other code") << 2 << QString();
    }

    void helpPageUrl()
    {
        QFETCH(int, code);
        QFETCH(QString, folder);
        languageCode = code;
        const QString file = QCoreApplication::applicationDirPath() + folder + "Frame.html";
        QCOMPARE(::helpPageUrl(QStringLiteral("Frame.html")),
                 folder.isEmpty() ? QUrl() : QUrl::fromLocalFile(file));
    }

    void translationInWorkingDirThenProgramThenDataFolder()
    {
        // A name of this run's own, so that the program folder is left as it was found.
        const QString name
            = QStringLiteral("tst_lookup_%1.qm").arg(QCoreApplication::applicationPid());
        const QString inData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               + QStringLiteral("/translations/") + name;
        const QString nextToProgram = QCoreApplication::applicationDirPath() + '/' + name;
        const QString inWorkDir = QDir::current().filePath(name);
        const auto removeAll = qScopeGuard([&] {
            for (const QString &file : {inData, nextToProgram, inWorkDir})
                QFile::remove(file);
        });

        QCOMPARE(findTranslationFile(name), QString());
        for (const QString &file : {inData, nextToProgram, inWorkDir}) {
            QVERIFY(copyQm(file));
            QCOMPARE(findTranslationFile(name), file);
        }
    }

    void translationToEnglishAndBack()
    {
        QCOMPARE(translatedTitle(), Chinese);
        QVERIFY(!applyTranslation(0)); // no file yet: stays Chinese
        QCOMPARE(translatedTitle(), Chinese);
        QVERIFY(copyQm(m_qmInWorkDir));
        QVERIFY(applyTranslation(0));
        QCOMPARE(translatedTitle(), English);
        QVERIFY(!applyTranslation(2)); // other codes change nothing
        QCOMPARE(translatedTitle(), English);
        QVERIFY(applyTranslation(0)); // twice, yet one switch back removes it
        QVERIFY(applyTranslation(1));
        QCOMPARE(translatedTitle(), Chinese);
    }

    void unreadableTranslationIsSkipped()
    {
        const QString broken = m_dir.filePath(QStringLiteral("broken.qm"));
        const QString good = m_dir.filePath(QStringLiteral("good/good.qm"));
        writeFile(broken, "this is not a translation");
        QVERIFY(copyQm(good));
        QVERIFY(installTranslationFrom({broken, good}));
        QCOMPARE(translatedTitle(), English);
        QVERIFY(!installTranslationFrom({broken})); // none loads: the translator is removed
        QCOMPARE(translatedTitle(), Chinese);
    }
};

// HOME is a fresh temporary folder before the application object exists, and QStandardPaths is in
// test mode, so the user's own files are never read or written.
int main(int argc, char *argv[])
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    TestConfigFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_configfile.moc"
