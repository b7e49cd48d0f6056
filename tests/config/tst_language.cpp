#include "config/AppPaths.h"
#include "config/Configuration.h"
#include "config/IniFile.h"
#include "config/Language.h"

#include "TempHomeMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    static void storeRawLanguage(const char *text)
    {
        QFile::remove(configFilePath());
        if (text)
            writeIniValue(configFilePath(), QStringLiteral("Language"), QString::fromUtf8(text));
        else {
            QDir().mkpath(QFileInfo(configFilePath()).absolutePath());
            QFile file(configFilePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[FCU]\nversion=3.00\n"); // an older file without the key
        }
    }

    static QString storedLanguage()
    {
        return QSettings(configFilePath(), QSettings::IniFormat)
            .value(QStringLiteral("Language"))
            .toString();
    }

private slots:
    void init() { languageCode = 1; }

    void chineseBeforeTheConfigurationIsRead() { QCOMPARE(languageCode, 1); }

    void query_data()
    {
        QTest::addColumn<QByteArray>("stored"); // null: the key is missing
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("expected");
        QTest::newRow("EN") << QByteArray("EN") << 1 << 0;
        QTest::newRow("CH") << QByteArray("CH") << 0 << 1;
        QTest::newRow("EN again") << QByteArray("EN") << 0 << 0;
        QTest::newRow("lower-case en ignored") << QByteArray("en") << 1 << 1;
        QTest::newRow("lower-case ch ignored") << QByteArray("ch") << 0 << 0;
        QTest::newRow("EN with blank ignored") << QByteArray("EN ") << 1 << 1;
        QTest::newRow("word ignored") << QByteArray("English") << 1 << 1;
        QTest::newRow("empty keeps English") << QByteArray("") << 0 << 0;
        QTest::newRow("empty keeps Chinese") << QByteArray("") << 1 << 1;
        QTest::newRow("missing keeps English") << QByteArray() << 0 << 0;
    }

    void query()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, before);
        QFETCH(int, expected);
        storeRawLanguage(stored.isNull() ? nullptr : stored.constData());
        languageCode = before;
        QCOMPARE(queryLanguage(), expected);
        QCOMPARE(languageCode, expected);
    }

    void constructionLoadsLanguage()
    {
        storeRawLanguage("EN");
        const Configuration configuration;
        QCOMPARE(languageCode, 0);
    }

    void constructionCreatesMissingFile()
    {
        QFile::remove(configFilePath());
        const Configuration configuration;
        QCOMPARE(languageCode, 1);
        QVERIFY(QFileInfo::exists(configFilePath()));
    }

    void store_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expectedStored");
        QTest::newRow("English") << 0 << QStringLiteral("EN");
        QTest::newRow("Chinese") << 1 << QStringLiteral("CH");
        QTest::newRow("other code writes nothing") << 2 << QStringLiteral("unchanged");
        QTest::newRow("negative code writes nothing") << -1 << QStringLiteral("unchanged");
    }

    void store()
    {
        QFETCH(int, code);
        QFETCH(QString, expectedStored);
        storeRawLanguage("unchanged");
        storeLanguage(code);
        QCOMPARE(languageCode, code);
        QCOMPARE(storedLanguage(), expectedStored);
    }

    void deletedFileIsRecreatedOnLanguageChange()
    {
        QVERIFY(ensureConfigFile(configFilePath()));
        QVERIFY(QFile::remove(configFilePath()));

        storeLanguage(0);

        QVERIFY(QFileInfo::exists(configFilePath()));
        QCOMPARE(storedLanguage(), QStringLiteral("EN"));
        const QSettings settings(configFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("FCU/version")).toString(), QStringLiteral("3.00"));
        QCOMPARE(settings.value(QStringLiteral("IMU/version")).toString(), QStringLiteral("1.00"));
        QVERIFY(settings.contains(QStringLiteral("URL/Firmware")));
        languageCode = 1;
        QCOMPARE(queryLanguage(), 0);
    }

    void deletedFolderIsRecreatedToo()
    {
        QVERIFY(QDir(QDir::homePath() + QStringLiteral("/Vardeck")).removeRecursively());
        storeLanguage(1);
        QCOMPARE(storedLanguage(), QStringLiteral("CH"));
    }

    void helpPageUrl_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expectedFolder"); // empty: no URL
        QTest::newRow("English") << 0 << QStringLiteral("Frame.html")
                                 << QStringLiteral("/Introduction/en_US/");
        QTest::newRow("Chinese") << 1 << QStringLiteral("Frame.html")
                                 << QStringLiteral("/Introduction/zh_CN/");
        QTest::newRow("Chinese, other page") << 1 << QStringLiteral("Settings_RC_Calibrate.html")
                                             << QStringLiteral("/Introduction/zh_CN/");
        QTest::newRow("other code") << 2 << QStringLiteral("Frame.html") << QString();
        QTest::newRow("negative code") << -1 << QStringLiteral("Frame.html") << QString();
    }

    void helpPageUrl()
    {
        QFETCH(int, code);
        QFETCH(QString, file);
        QFETCH(QString, expectedFolder);
        languageCode = code;
        const QUrl url = ::helpPageUrl(file);
        if (expectedFolder.isEmpty()) {
            QVERIFY(url.isEmpty());
            return;
        }
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), QCoreApplication::applicationDirPath() + expectedFolder + file);
    }

    void englishHelpWithoutTranslationFile()
    {
        // The help folder follows the language code alone, whether or not a translation loaded.
        storeRawLanguage("EN");
        queryLanguage();
        QVERIFY(::helpPageUrl(QStringLiteral("Motor.html"))
                    .toLocalFile()
                    .endsWith(QLatin1String("/Introduction/en_US/Motor.html")));
    }
};

R7_TEST_MAIN_WITH_TEMPORARY_HOME(QCoreApplication, TestLanguage)
#include "tst_language.moc"
