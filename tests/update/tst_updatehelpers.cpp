// The update page's pure rules: versions compared as numbers, release notes escaped, and the
// temporary folder cleared without following links.
#include "update/FirmwareVersion.h"
#include "update/ReleaseNotesHtml.h"
#include "update/TemporaryIniFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_UpdateHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameVersion_data()
    {
        QTest::addColumn<QString>("aircraft");
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<bool>("same");
        QTest::newRow("3.0 and 3.00") << "3.0"
                                      << "3.00" << true;
        QTest::newRow("2.2 and 2.02") << "2.2"
                                      << "2.02" << true;
        QTest::newRow("3.1 and 3.10") << "3.1"
                                      << "3.10" << false;
        QTest::newRow("3.11 and 3.12") << "3.11"
                                       << "3.12" << false;
        QTest::newRow("N/A and 2.01") << "N/A"
                                      << "2.01" << false;
        QTest::newRow("unknown and 2.01") << ""
                                          << "2.01" << false;
        QTest::newRow("both unknown") << ""
                                      << "" << false;
        QTest::newRow("no dot") << "3"
                                << "3" << false;
        QTest::newRow("major beyond a byte") << "256.0"
                                             << "256.0" << false;
    }
    void sameVersion()
    {
        QFETCH(QString, aircraft);
        QFETCH(QString, catalogue);
        QFETCH(bool, same);
        QCOMPARE(sameFirmwareVersion(aircraft, catalogue), same);
    }

    void releaseNotes_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Chinese") << false
                                 << QStringList{"FCU&lt;b&gt;固件更新说明",
                                                "固件版本：",
                                                "发布日期：",
                                                "更新内容："};
        QTest::newRow("English") << true
                                 << QStringList{"FCU&lt;b&gt; Firmware Update",
                                                "Firmware version:",
                                                "Release Date:",
                                                "Update Content："};
    }
    void releaseNotes()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, expected);
        const QString html = releaseNotesHtml(QStringLiteral("FCU<b>"),
                                              QStringLiteral("3.00<script>"),
                                              QStringLiteral("2024-03-05 10:10:00"),
                                              QStringLiteral("1. <img src=x>\n\n3. a & b"),
                                              english);
        for (const QString &text : expected)
            QVERIFY2(html.contains(text), qPrintable(text));
        QVERIFY(html.contains(QStringLiteral("<p>3.00&lt;script&gt;</p>")));
        QVERIFY(html.contains(QStringLiteral("<p>2024-03-05</p>")));
        // One item per line, the empty one kept; nothing from the notes becomes markup.
        QVERIFY(html.contains(QStringLiteral("<li>1. &lt;img src=x&gt;</li><li></li><li>3. a &amp; "
                                             "b</li></ol></div></body></html>")));
        QVERIFY(!html.contains(QStringLiteral("<img")));
        QVERIFY(!html.contains(QStringLiteral("<script")));
    }

    void temporaryFilesOnlyRegularFilesGo()
    {
        QTemporaryDir data;
        QTemporaryDir outside;
        const QString tmp = data.filePath(QStringLiteral("IniTmp"));
        QVERIFY(QDir().mkpath(tmp + QStringLiteral("/sub")));
        const auto write = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
        };
        QVERIFY(write(tmp + QStringLiteral("/a.ini")));
        QVERIFY(write(tmp + QStringLiteral("/.hidden")));
        QVERIFY(write(tmp + QStringLiteral("/sub/kept.ini")));
        const QString target = outside.filePath(QStringLiteral("precious.txt"));
        QVERIFY(write(target));
        QVERIFY(QFile::link(target, tmp + QStringLiteral("/link.ini")));

        QCOMPARE(removeTemporaryIniFiles(data.path()), 2);
        QVERIFY(!QFile::exists(tmp + QStringLiteral("/a.ini")));
        QVERIFY(!QFile::exists(tmp + QStringLiteral("/.hidden")));
        QVERIFY(QFile::exists(tmp + QStringLiteral("/sub/kept.ini")));
        QVERIFY(QFileInfo(tmp + QStringLiteral("/link.ini")).isSymLink());
        QVERIFY(QFile::exists(target));

        // The folder itself a link elsewhere: nothing there is touched.
        QTemporaryDir other;
        QVERIFY(QFile::link(outside.path(), other.filePath(QStringLiteral("IniTmp"))));
        QCOMPARE(removeTemporaryIniFiles(other.path()), 0);
        QVERIFY(QFile::exists(target));
        QCOMPARE(removeTemporaryIniFiles(outside.filePath(QStringLiteral("none"))), 0);
    }
};

QTEST_GUILESS_MAIN(tst_UpdateHelpers)
#include "tst_updatehelpers.moc"
