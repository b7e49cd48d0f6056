#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/ServiceUrls.h"

#include "TempHomeMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

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

    // Section headers and keys in file order, blank lines left out.
    static QStringList nonEmptyLines(const QByteArray &text)
    {
        QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
        lines.removeAll(QString());
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(setServiceBaseUrl(QUrl(QString::fromLatin1(DefaultServiceBaseUrl))));
    }

    void homeIsTemporary()
    {
        // Every other test relies on this: the real configuration file is never touched.
        QVERIFY(QDir::homePath() != QDir::rootPath());
        QVERIFY(configFilePath().startsWith(QDir::homePath() + QLatin1Char('/')));
        QVERIFY(QDir::homePath().startsWith(QDir::tempPath()));
        QVERIFY(
            configFilePath().endsWith(QLatin1String("/Vardeck/R7Assistant/Data/Ini/firmware.ini")));
        QCOMPARE(dataFolderPath(), QDir::homePath() + QLatin1String("/Vardeck/R7Assistant/Data/"));
    }

    void newFileHasDefaultsInOrder()
    {
        const QString file = path(QStringLiteral("new/deeper/Ini/firmware.ini"));
        QVERIFY(ensureConfigFile(file));
        QVERIFY(QFileInfo::exists(file));

        const QStringList expected{
            QStringLiteral("[General]"),
            QStringLiteral("Language=CH"),
            QStringLiteral("[URL]"),
            QStringLiteral("Firmware=https://services.r7assistant.invalid/api/firmware/R7"),
            QStringLiteral("[FCU]"),
            QStringLiteral("version=3.00"),
            QStringLiteral("[GMU]"),
            QStringLiteral("version=2.02"),
            QStringLiteral("[LIU]"),
            QStringLiteral("version=2.01"),
            QStringLiteral("[OSD]"),
            QStringLiteral("version=2.04"),
            QStringLiteral("[PMU]"),
            QStringLiteral("version=2.01"),
            QStringLiteral("[IMU]"),
            QStringLiteral("version=1.00"),
        };
        QCOMPARE(nonEmptyLines(contents(file)), expected);
    }

    void newFileReadsBackThroughSettings()
    {
        const QString file = path(QStringLiteral("readback/firmware.ini"));
        QVERIFY(ensureConfigFile(file));
        const QSettings settings(file, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Language")).toString(), QStringLiteral("CH"));
        QCOMPARE(settings.value(QStringLiteral("URL/Firmware")).toString(),
                 QStringLiteral("https://services.r7assistant.invalid/api/firmware/R7"));
        QCOMPARE(settings.value(QStringLiteral("IMU/version")).toString(), QStringLiteral("1.00"));
        QStringList groups = settings.childGroups();
        groups.sort();
        // No keys for the other modules.
        QCOMPARE(groups, QStringList({"FCU", "GMU", "IMU", "LIU", "OSD", "PMU", "URL"}));
    }

    void defaultAddressFollowsServiceSetting()
    {
        QVERIFY(setServiceBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:8080"))));
        const QString file = path(QStringLiteral("local/firmware.ini"));
        QVERIFY(ensureConfigFile(file));
        QVERIFY(setServiceBaseUrl(QUrl(QString::fromLatin1(DefaultServiceBaseUrl))));
        QCOMPARE(readIniValue(file, QStringLiteral("URL/Firmware")),
                 QStringLiteral("http://127.0.0.1:8080/api/firmware/R7"));
    }

    void existingFileIsNeverChanged()
    {
        const QString file = path(QStringLiteral("existing/firmware.ini"));
        const QByteArray original("; kept as it is\n[FCU]\nversion=9.99\n");
        writeFile(file, original);

        QVERIFY(ensureConfigFile(file));
        QCOMPARE(contents(file), original);

        // A file without "Language" gets none added by reading; the value is empty.
        QCOMPARE(readIniValue(file, QStringLiteral("Language")), QString());
        QCOMPARE(readIniValue(file, QStringLiteral("FCU/version")), QStringLiteral("9.99"));
        QCOMPARE(contents(file), original);
    }

    void readCreatesMissingFile()
    {
        const QString file = path(QStringLiteral("read/Ini/firmware.ini"));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(readIniValue(file, QStringLiteral("Language")), QStringLiteral("CH"));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(readIniValue(file, QStringLiteral("No/such")), QString());
    }

    void writeCreatesMissingFileFirst()
    {
        const QString file = path(QStringLiteral("write/Ini/firmware.ini"));
        writeIniValue(file, QStringLiteral("Language"), QStringLiteral("EN"));
        QCOMPARE(readIniValue(file, QStringLiteral("Language")), QStringLiteral("EN"));
        QCOMPARE(readIniValue(file, QStringLiteral("FCU/version")), QStringLiteral("3.00"));
        QCOMPARE(readIniValue(file, QStringLiteral("PMU/version")), QStringLiteral("2.01"));
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
        QTest::newRow("plain") << QStringLiteral("https://example.com:8080/api/firmware/R7");
        QTest::newRow("comma") << QStringLiteral("a,b");
        QTest::newRow("semicolon") << QStringLiteral("a;b");
        QTest::newRow("leading blank") << QStringLiteral("  lead");
        QTest::newRow("trailing blank") << QStringLiteral("trail ");
        QTest::newRow("backslash") << QStringLiteral("back\\slash");
        QTest::newRow("quote") << QStringLiteral("say \"hi\"");
        QTest::newRow("at sign") << QStringLiteral("@ByteArray(x)");
        QTest::newRow("equals") << QStringLiteral("k=v");
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
};

R7_TEST_MAIN_WITH_TEMPORARY_HOME(QCoreApplication, TestIniFile)
#include "tst_inifile.moc"
