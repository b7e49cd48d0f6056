// Parameter export and import, and the factory reset with its backup, as the controller runs them
// against a scripted aircraft that answers (or does not) through the reply notifications; the
// tools page's buttons choose the files and show the import preview. Message boxes and file
// dialogs are replaced and recorded.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "app/ParameterFile.h"
#include "config/AppPaths.h"
#include "support/ReadOnlyFolder.h"
#include "ui/KivToolsWgt.h"
#include "ui/tools/StagedImportDialog.h"
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
#include <QTreeWidget>

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
    QStringList m_cautions;
    bool m_goOnWithoutBackup = false;

    void answer(uint8_t command, const char *what = "send")
    {
        m_events << QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(command);
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
        userPrompts().confirmCaution = [this](S, S text, S, S) {
            m_cautions << text;
            return m_goOnWithoutBackup;
        };
        userPrompts().reviewImport = [](StagedImportDialog &dialog) { dialog.sendAll(); };
        connect(guiController, &KivGuiController::SignalReadParameterGroup, this, [this](int group) {
            answer(ParameterFile::groups()[group].command, "read");
        });
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
        m_cautions.clear();
        m_goOnWithoutBackup = false;
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
        QVERIFY(m_told.first().text.startsWith(reply));
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
        QVERIFY(m_told.first().text.startsWith(QStringLiteral("恢复出厂设置成功！")));
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

    // The preview sends only the checked groups (a group unchecked from the keyboard), names
    // each group's outcome, and only "send all" ends with the import's message.
    void previewSendsTheCheckedGroups_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("sent"); // the groups' commands, in order
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("message");
        const QString all = QStringLiteral("2 4 6 9 10 12 8");
        QTest::newRow("gains unchecked") << "uncheck" << "2 4 6 9 12 8"
                                         << "飞机已确认 飞机已确认 飞机没有确认 飞机已确认 没有发送 飞机已确认 飞机已确认"
                                         << QString();
        QTest::newRow("send all") << "all" << all
                                  << "飞机已确认 飞机已确认 飞机没有确认 飞机已确认 飞机已确认 飞机已确认 飞机已确认"
                                  << "导入未完成，飞机没有确认这些参数：遥控器通道反向";
        QTest::newRow("cancelled") << "cancel" << QString() << "      " << QString();
    }
    void previewSendsTheCheckedGroups()
    {
        QFETCH(QString, action);
        QFETCH(QString, sent);
        QFETCH(QString, results);
        QFETCH(QString, message);
        m_ignored << 0x06;
        aircraftParams().sensRateP = 0;
        m_chosenFile = path("preview.lum");
        writeFile(m_chosenFile, QByteArray("{\"Uav_Type\":1,\"sensRateP\":90}").toBase64());
        QStringList shown;
        userPrompts().reviewImport = [&](StagedImportDialog &dialog) {
            dialog.show();
            auto *tree = dialog.findChild<QTreeWidget *>();
            if (action == QLatin1String("uncheck")) {
                tree->setFocus();
                tree->setCurrentItem(tree->topLevelItem(4));
                QTest::keyClick(tree, Qt::Key_Space);
                QTest::keyClick(&dialog, Qt::Key_Return); // the default button: send selected
            } else if (action == QLatin1String("all")) {
                dialog.findChild<QPushButton *>(QStringLiteral("btnSendAll"))->click();
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
            for (int group = 0; group < tree->topLevelItemCount(); ++group)
                shown << tree->topLevelItem(group)->text(3);
        };
        KivToolsWgt page;
        QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("btn_impArg")), Qt::LeftButton);
        userPrompts().reviewImport = [](StagedImportDialog &dialog) { dialog.sendAll(); };
        QStringList sends;
        for (const QString &event : std::as_const(m_events)) {
            if (event.startsWith(QLatin1String("send ")))
                sends << event.mid(5);
        }
        QCOMPARE(sends.join(QLatin1Char(' ')), sent);
        QCOMPARE(shown.join(QLatin1Char(' ')), results);
        QCOMPARE(m_told.value(0).text, message);
        // What was left out was not stored either.
        QCOMPARE(int(aircraftParams().sensRateP), action == QLatin1String("all") ? 90 : 0);
    }

    // Before the reset the parameters go to a dated file, groups not yet read are read first; a
    // backup that cannot be written asks, and by default nothing is reset.
    void backupBeforeFactoryReset_data()
    {
        QTest::addColumn<bool>("read");     // all groups already read from the aircraft
        QTest::addColumn<bool>("writable"); // the data folder
        QTest::addColumn<bool>("goOn");     // the answer to "continue without backup?"
        QTest::addColumn<int>("reads");
        QTest::addColumn<bool>("reset");
        QTest::newRow("read before") << true << true << false << 0 << true;
        QTest::newRow("stale: read first") << false << true << false << 7 << true;
        QTest::newRow("cannot write: stop") << true << false << false << 0 << false;
        QTest::newRow("cannot write: go on") << true << false << true << 0 << true;
    }
    void backupBeforeFactoryReset()
    {
        QFETCH(bool, read);
        QFETCH(bool, writable);
        QFETCH(bool, goOn);
        QFETCH(int, reads);
        QFETCH(bool, reset);
        if (read)
            confirmAllGroups();
        m_goOnWithoutBackup = goOn;
        m_replyText[0x0F] = QStringLiteral("恢复出厂设置成功！");
        aircraftParams().LV1 = 1234;
        const QString data = dataFolderPath().chopped(1);
        QDir(data).removeRecursively();
        if (!writable)
            writeFile(data, "a file where the folder should be");
        KivToolsWgt page;
        QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("btn_recover")), Qt::LeftButton);
        const QStringList backups = QDir(data).entryList({QStringLiteral("backup-*.lum")});
        QFile::remove(data);
        QCOMPARE(m_events.filter(QStringLiteral("read ")).size(), reads);
        QCOMPARE(m_events.contains(QStringLiteral("send 15")), reset);
        QCOMPARE(m_cautions.size(), writable ? 0 : 1);
        QCOMPARE(backups.size(), writable ? 1 : 0);
        QCOMPARE(m_told.size(), reset ? 1 : 0);
        const QString text = m_told.value(0).text;
        if (!writable) {
            QCOMPARE(text.endsWith(QStringLiteral("参数没有备份。")), reset);
            return;
        }
        QVERIFY2(text.contains(backups.first()), qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("备份前先从飞机读取了")), reads > 0);
        QFile file(QDir(data).filePath(backups.first()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), ParameterFile::encode(aircraftParams()));
    }
};

QTEST_MAIN(tst_ToolsParameters)
#include "tst_toolsparameters.moc"
