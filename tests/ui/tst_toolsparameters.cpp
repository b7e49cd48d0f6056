// Parameter export and import, and the factory reset, as the controller runs them against a
// scripted aircraft that answers (or does not) through the reply notifications; the tools page's
// buttons choose the files. Message boxes and file dialogs are replaced and recorded.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "app/ParameterFile.h"
#include "support/ReadOnlyFolder.h"
#include "ui/KivToolsWgt.h"
#include "ui/tools/UserPrompts.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
struct Told
{
    QMessageBox::Icon icon;
    QString text;
};

const uint8_t kGroupCommands[7] = {0x02, 0x04, 0x06, 0x09, 0x0A, 0x0C, 0x08};
} // namespace

class tst_ToolsParameters : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<Told> m_told;
    QStringList m_events; // "send 2", "ack 2", ... in the order they happened
    QList<int> m_ignored; // commands the aircraft does not answer
    QMap<int, QString> m_replyText;
    QString m_chosenFile;
    int m_dialogs = 0;

    void answer(uint8_t command)
    {
        m_events << QStringLiteral("send %1").arg(command);
        if (m_ignored.contains(command))
            return;
        QTimer::singleShot(30, this, [this, command] {
            m_events << QStringLiteral("ack %1").arg(command);
            guiController->returnInfo(command, m_replyText.value(command));
        });
    }
    void confirmAllGroups()
    {
        for (uint8_t command : kGroupCommands)
            guiController->returnInfo(command, QString());
    }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_dir.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        guiController = new KivGuiController(this);
        using S = const QString &;
        userPrompts().tell = [this](QMessageBox::Icon icon, S, S text, QMessageBox::StandardButton) {
            m_told.append({icon, text});
        };
        userPrompts().confirm = [](QMessageBox::Icon, S, S, S, S) { return true; };
        userPrompts().saveFileName = [this](QWidget *, S, S, S, S) { ++m_dialogs; return m_chosenFile; };
        userPrompts().openFileName = [this](QWidget *, S, S, S) { ++m_dialogs; return m_chosenFile; };
        using C = KivGuiController;
        const std::pair<void (C::*)(), uint8_t> sends[] = {{&C::send_JX, 0x02},
                                                           {&C::send_JSJ, 0x04},
                                                           {&C::send_TDFX, 0x06},
                                                           {&C::send_ZJ, 0x09},
                                                           {&C::send_GD, 0x0A},
                                                           {&C::send_DYBH, 0x0C},
                                                           {&C::send_DJDS, 0x08},
                                                           {&C::send_CCSZ, 0x0F}};
        for (const auto &[signal, command] : sends) {
            const uint8_t c = command;
            connect(guiController, signal, this, [this, c] { answer(c); });
        }
    }
    void init()
    {
        linkConnected = 1;
        m_told.clear();
        m_events.clear();
        m_ignored.clear();
        m_replyText.clear();
        m_dialogs = 0;
        guiController->SlotConnectChanged(true); // a new handshake: nothing read yet
    }

    // Every key's value is checked in tst_parameterfile and on the wire in tst_e2e_toolspage;
    // here: export replaces a longer old file completely, and the result imports.
    void exportReplacesTheOldFile()
    {
        aircraftParams().Contrl_Rec = 0x80;
        confirmAllGroups();
        const QString file = path("round.lum");
        writeFile(file, QByteArray(400, '.'));
        guiController->exportParameters(file);
        aircraftParams().Contrl_Rec = 0;
        guiController->importParameters(file);
        QCOMPARE(m_told.size(), 2);
        QCOMPARE(m_told.first().text, QStringLiteral("导出成功!"));
        QCOMPARE(m_told.last().text, QStringLiteral("导入成功!"));
        QCOMPARE(int(aircraftParams().Contrl_Rec), 0x80);
    }

    // Each group leaves only after the previous one's acknowledgement (or its time is up); the
    // groups the aircraft did not confirm are named.
    void importWaitsForEachGroup_data()
    {
        QTest::addColumn<QList<int>>("ignored");
        QTest::addColumn<QString>("refused"); // a reply that refuses the frame type
        QTest::addColumn<QString>("message");
        QTest::newRow("all confirmed") << QList<int>{} << QString() << QStringLiteral("导入成功!");
        QTest::newRow("two ignored")
            << QList<int>{0x04, 0x08} << QString()
            << QStringLiteral("导入未完成，飞机没有确认这些参数：接收机类型、电机怠速");
        QTest::newRow("frame type refused")
            << QList<int>{} << QStringLiteral("Model setup failed！")
            << QStringLiteral("导入未完成，飞机没有确认这些参数：机型");
    }
    void importWaitsForEachGroup()
    {
        QFETCH(QList<int>, ignored);
        QFETCH(QString, refused);
        QFETCH(QString, message);
        m_ignored = ignored;
        if (!refused.isNull())
            m_replyText[0x02] = refused;
        const QString file = path("groups.lum");
        writeFile(file, QByteArray("{\"Uav_Type\":1}").toBase64());
        guiController->importParameters(file);
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().text, message);
        QStringList expected;
        for (uint8_t command : kGroupCommands) {
            expected << QStringLiteral("send %1").arg(command);
            if (!ignored.contains(command))
                expected << QStringLiteral("ack %1").arg(command);
        }
        QCOMPARE(m_events, expected);
    }

    // The link drops while the wheelbase waits for its answer: nothing more is sent, and the
    // groups from the wheelbase on are named.
    void importStopsWhenTheLinkDrops()
    {
        m_ignored << 0x09;
        connect(
            guiController,
            &KivGuiController::send_ZJ,
            this,
            [] { QTimer::singleShot(100, [] { linkConnected = 0; }); },
            Qt::SingleShotConnection);
        const QString file = path("drop.lum");
        writeFile(file, QByteArray("{\"Uav_wid\":4}").toBase64());
        guiController->importParameters(file);
        QCOMPARE(m_events.last(), QStringLiteral("send 9"));
        QCOMPARE(
            m_told.first().text,
            QStringLiteral("导入未完成，飞机没有确认这些参数：轴距、感度、低压保护、电机怠速"));
    }

    // Nothing is sent for a refused file, and the user is told.
    void importRefusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("zerosMiB"); // zero bytes before them, skipped if they were read
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("array") << QByteArray("[{\"Uav_Type\":1}]").toBase64() << 0;
        QTest::newRow("number") << QByteArray("5").toBase64() << 0;
        QTest::newRow("no known key") << QByteArray("{\"a\":1}").toBase64() << 0;
        QTest::newRow("not Base64") << QByteArray("\x00\x00\x00\x10 this is not it", 20) << 0;
        QTest::newRow("truncated")
            << QByteArray("{\"Uav_Type\":1,\"LV1\":1100}").toBase64().left(20) << 0;
        QTest::newRow("out of range")
            << QByteArray("{\"Uav_Type\":1,\"LV1\":70000}").toBase64() << 0;
        // Refused from its size: it is not read to the end to find the valid text at the end.
        QTest::newRow("50 MiB") << QByteArray("{\"Uav_Type\":1}").toBase64() << 50;
    }
    void importRefusesBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, zerosMiB);
        const QString file = path("bad.lum");
        QFile::remove(file);
        writeFile(file, QByteArray());
        QVERIFY(QFile::resize(file, qint64(zerosMiB) * 1024 * 1024)); // sparse: quick to make
        QFile append(file);
        QVERIFY(append.open(QIODevice::Append));
        append.write(bytes);
        append.close();
        guiController->importParameters(file);
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().icon, QMessageBox::Critical);
        QCOMPARE(m_told.first().text, QStringLiteral("读取文件错误！"));
        QVERIFY(m_events.isEmpty());
    }

    void importOfMissingFile()
    {
        guiController->importParameters(path("none.lum"));
        QCOMPARE(m_told.first().text, QStringLiteral("打开文件失败！"));
        QVERIFY(m_events.isEmpty());
    }

    // Until every group was read from (or confirmed by) this aircraft, export writes nothing.
    void exportNeedsValuesFromThisAircraft()
    {
        for (uint8_t command : kGroupCommands) {
            if (command != 0x08 && command != 0x0A)
                guiController->returnInfo(command, QString());
        }
        guiController->returnInfo(0x02, QStringLiteral("Failed to download model!")); // not a value
        const QString file = path("early.lum");
        guiController->exportParameters(file);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(m_told.first().icon, QMessageBox::Warning);
        QVERIFY2(m_told.first().text.contains(QStringLiteral("感度、电机怠速")),
                 qPrintable(m_told.first().text));
        // A link loss forgets them all again.
        confirmAllGroups();
        guiController->SlotConnectChanged(false);
        guiController->exportParameters(file);
        QVERIFY(!QFile::exists(file));
    }

    void exportWriteFailureIsReported_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << path("no-such-folder");
        QTest::newRow("read-only folder") << readOnlyFolder(m_dir.path());
    }
    void exportWriteFailureIsReported()
    {
        QFETCH(QString, folder);
        if (folder.isEmpty())
            QSKIP("no folder here refuses new files");
        confirmAllGroups();
        guiController->exportParameters(folder + QStringLiteral("/para.lum"));
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().icon, QMessageBox::Critical);
        QCOMPARE(m_told.first().text, QStringLiteral("写入文件失败"));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/para.lum")));
    }

    // The outcome is the aircraft's reply, shown when it arrives.
    void factoryResetReportsTheReply_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("icon");
        QTest::newRow("failed") << true << QStringLiteral("恢复出厂设置失败！")
                                << int(QMessageBox::Critical);
        QTest::newRow("no reply") << false << QStringLiteral("飞控没有回应，出厂设置可能没有恢复！")
                                  << int(QMessageBox::Critical);
    }
    void factoryResetReportsTheReply()
    {
        QFETCH(bool, answered);
        QFETCH(QString, reply);
        QFETCH(int, icon);
        if (!answered)
            m_ignored << 0x0F;
        m_replyText[0x0F] = reply;
        KivToolsWgt page;
        QSignalSpy readAgain(&page, &KivToolsWgt::SignalUpdateData);
        connect(
            guiController,
            &KivGuiController::send_CCSZ,
            this,
            [this] { QVERIFY(m_told.isEmpty()); },
            Qt::SingleShotConnection);
        QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("btn_recover")),
                          Qt::LeftButton);
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().text, reply);
        QCOMPARE(int(m_told.first().icon), icon);
        QCOMPARE(readAgain.size(), 1);
    }

    // The page goes away while the reset waits for the answer: the answer is still shown, and
    // nothing touches the page afterwards.
    void pageClosedWhileTheResetWaits()
    {
        m_replyText[0x0F] = QStringLiteral("恢复出厂设置成功！");
        auto *page = new KivToolsWgt;
        QSignalSpy readAgain(page, &KivToolsWgt::SignalUpdateData);
        connect(
            guiController,
            &KivGuiController::send_CCSZ,
            page,
            [page] { QTimer::singleShot(10, [page] { delete page; }); },
            Qt::SingleShotConnection);
        const QPointer<KivToolsWgt> alive(page);
        QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("btn_recover")),
                          Qt::LeftButton);
        QVERIFY(!alive);
        QCOMPARE(readAgain.size(), 0);
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().text, QStringLiteral("恢复出厂设置成功！"));
    }

    void pageButtonsChooseTheFile_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("link down") << false << QStringLiteral("a.lum") << QString() << 0;
        QTest::newRow("cancelled") << true << QString() << QString() << 1;
        QTest::newRow("plain") << true << QStringLiteral("a.lum") << QStringLiteral("a.lum") << 1;
        QTest::newRow("upper case suffix")
            << true << QStringLiteral("b.LUM") << QStringLiteral("b.LUM.lum") << 1;
    }
    void pageButtonsChooseTheFile()
    {
        QFETCH(bool, connected);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(int, dialogs);
        confirmAllGroups();
        linkConnected = connected;
        m_chosenFile = chosen.isEmpty() ? QString() : path(chosen.toLatin1().constData());
        KivToolsWgt page;
        QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("btn_expArg")),
                          Qt::LeftButton);
        QCOMPARE(m_dialogs, dialogs);
        if (!written.isEmpty())
            QVERIFY(QFile::exists(path(written.toLatin1().constData())));
        else
            QVERIFY(m_told.isEmpty());
        // Import from the same choice.
        m_told.clear();
        QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("btn_impArg")),
                          Qt::LeftButton);
        QCOMPARE(m_dialogs, 2 * dialogs);
        if (!written.isEmpty() && chosen == written)
            QCOMPARE(m_told.value(0).text, QStringLiteral("导入成功!"));
    }
};

QTEST_MAIN(tst_ToolsParameters)
#include "tst_toolsparameters.moc"
