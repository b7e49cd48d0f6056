// The tools page driven as a user (or a screen reader) drives it, in the whole program, against
// the simulated aircraft on a pseudo-terminal: parameter file out and in, the import preview with a
// group left out, an aircraft that ignores a group, the factory reset's answer and its backup, monitoring that never pushes a write aside, the service
// countdown and cycle, the self-check after a link loss. Message boxes and file dialogs are
// replaced and recorded.
#include "e2e/ProgramRig.h"
#include "config/AppPaths.h"
#include "ui/KivToolsWgt.h"
#include "ui/tools/StagedImportDialog.h"
#include "ui/tools/UserPrompts.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace e2e;

namespace {
KivToolsWgt *page()
{
    return mainWindow->toolsPage();
}

template<typename T>
T *child(const char *name)
{
    T *widget = page()->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

void press(const char *button)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(child<QPushButton>(button));
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// The eleven settings a parameter file carries, as the aircraft holds them.
QList<int> fileSettings(const AircraftSettings &s)
{
    return {s.uavType,      s.receiverType,  s.channelReverse, s.wheelbase,
            s.gainAttitude, s.gainStability, s.gainThrottle,   s.lowVoltage1,
            s.lowVoltage2,  s.protectionAction, s.motorIdle};
}
} // namespace

class tst_E2eToolsPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<Received> m_received;
    QStringList m_told;
    QString m_file;

    int cycleWrites() const
    {
        return int(std::count_if(m_received.begin(), m_received.end(), [](const Received &r) {
            return r.type == 0x1C && r.payload.size() == 5 && quint8(r.payload[0]) == 0x06;
        }));
    }

private Q_SLOTS:
    void initTestCase()
    {
        using S = const QString &;
        userPrompts().tell = [this](QMessageBox::Icon, S, S text, QMessageBox::StandardButton) { m_told << text; };
        userPrompts().confirm = [](QMessageBox::Icon, S, S, S, S) { return true; };
        userPrompts().saveFileName = [this](QWidget *, S, S, S, S) { return m_file; };
        userPrompts().openFileName = [this](QWidget *, S, S, S) { return m_file; };
        userPrompts().reviewImport = [](StagedImportDialog &dialog) { dialog.sendAll(); };
        userPrompts().confirmCaution = [this](S, S text, S, S) { m_told << text; return false; };
        // A cycle of 0 on the aircraft: the read-back shows it marked and never writes it back.
        onBoard().maintenanceCycle = 0;
        QVERIFY(connectProgram(this, m_received));
        QTest::qWait(1500); // the last maintenance reads
        QCOMPARE(cycleWrites(), 0);
        QCOMPARE(onBoard().maintenanceCycle, 0u);
        auto *cycle = child<QDoubleSpinBox>("dsbMaintenanceCycle");
        QVERIFY(cycle->toolTip().contains(QLatin1String("0 ")));
        QCOMPARE(child<QLineEdit>("letNextCycle")->text(), QStringLiteral("0")); // overdue
        QVERIFY(page()->isTipBlinking());
        onBoard().maintenanceCycle = 1500;
        mainWindow->showPage(1);
    }

    void parameterFileRoundTrip()
    {
        onBoard().channelReverse = 0x80;
        onBoard().uavType = 7;
        onBoard().gainStability = 222;
        onBoard().lowVoltage2 = 1011;
        onBoard().motorIdle = 4;
        // Read again (the page's signal runs the whole paced read-back), then the last replies.
        Q_EMIT page()->SignalUpdateData();
        QTest::qWait(1500);
        page()->slot_tabClick(2);
        m_file = m_dir.filePath(QStringLiteral("aircraft"));
        m_told.clear();
        press("btn_expArg");
        QTRY_COMPARE(m_told, QStringList{QStringLiteral("导出成功!")});
        m_file += QStringLiteral(".lum"); // the page added the extension

        onBoard() = AircraftSettings::factory();
        press("btn_impArg");
        QTRY_COMPARE_WITH_TIMEOUT(m_told.size(), 2, 15000);
        QCOMPARE(m_told.last(), QStringLiteral("导入成功!"));
        QCOMPARE(int(onBoard().channelReverse), 0x80);
        QCOMPARE(int(onBoard().uavType), 7);
        QCOMPARE(int(onBoard().gainStability), 222);
        QCOMPARE(int(onBoard().lowVoltage2), 1011);
        QCOMPARE(int(onBoard().motorIdle), 4);
    }

    void importNamesTheGroupTheAircraftIgnored()
    {
        QVERIFY(QFile::exists(m_file));
        aircraft->setIgnoreFirst(0x0A, 1000);
        m_told.clear();
        press("btn_impArg");
        QTRY_COMPARE_WITH_TIMEOUT(m_told.size(), 1, 20000);
        aircraft->setIgnoreFirst(0x0A, 0);
        QCOMPARE(m_told.first(), QStringLiteral("导入未完成，飞机没有确认这些参数：感度"));
        QCOMPARE(int(onBoard().lowVoltage2), 1011); // the groups after it still went
    }

    // The preview with the gains unchecked: exactly the other six groups reach the aircraft, in
    // order, and the dialog reports each group.
    void previewLeavesOutAnUncheckedGroup()
    {
        onBoard() = AircraftSettings::factory();
        const int before = m_received.size();
        QStringList results;
        userPrompts().reviewImport = [&results](StagedImportDialog &dialog) {
            dialog.show();
            auto *tree = dialog.findChild<QTreeWidget *>();
            tree->topLevelItem(4)->setCheckState(0, Qt::Unchecked);
            QTest::keyClick(&dialog, Qt::Key_Return); // the default button: send selected
            for (int group = 0; group < tree->topLevelItemCount(); ++group)
                results << tree->topLevelItem(group)->text(3);
        };
        m_told.clear();
        press("btn_impArg");
        QTRY_VERIFY_WITH_TIMEOUT(!results.isEmpty(), 15000);
        userPrompts().reviewImport = [](StagedImportDialog &dialog) { dialog.sendAll(); };
        QList<int> writes;
        for (int i = before; i < m_received.size(); ++i) {
            const Received &r = m_received[i];
            if (!r.payload.isEmpty() && QList<int>{0x02, 0x04, 0x06, 0x09, 0x0A, 0x0C, 0x08}.contains(r.type))
                writes << r.type;
        }
        QCOMPARE(writes, (QList<int>{0x02, 0x04, 0x06, 0x09, 0x0C, 0x08}));
        QCOMPARE(results, (QStringList{"飞机已确认", "飞机已确认", "飞机已确认", "飞机已确认", "没有发送",
                                       "飞机已确认", "飞机已确认"}));
        QVERIFY(m_told.isEmpty()); // the dialog is the report
        QCOMPARE(int(onBoard().gainStability), 100); // left as it was
        QCOMPARE(int(onBoard().lowVoltage2), 1011);
    }

    // The reset leaves a backup of the settings it wiped, which imports them back.
    void factoryResetShowsTheAircraftsAnswer()
    {
        onBoard().uavType = 9;
        onBoard().gainThrottle = 155;
        QSignalSpy readBack(KivApplication::instance(), &KivApplication::readBackFinished);
        Q_EMIT page()->SignalUpdateData(); // returns once the read-back is through
        QCOMPARE(readBack.size(), 1);
        const QList<int> wiped = fileSettings(onBoard());
        m_told.clear();
        press("btn_recover");
        QTRY_COMPARE_WITH_TIMEOUT(m_told.size(), 1, 5000);
        QVERIFY2(m_told.first().startsWith(QStringLiteral("恢复出厂设置成功！")), qPrintable(m_told.first()));
        QCOMPARE(int(onBoard().uavType), 1);
        const QStringList backups = QDir(dataFolderPath()).entryList({QStringLiteral("backup-*.lum")});
        QCOMPARE(backups.size(), 1);
        QVERIFY(m_told.first().contains(backups.first()));

        QTRY_COMPARE_WITH_TIMEOUT(readBack.size(), 2, 10000); // the read-back after the reset
        m_file = QDir(dataFolderPath()).filePath(backups.first());
        m_told.clear();
        press("btn_impArg");
        QTRY_COMPARE_WITH_TIMEOUT(m_told, QStringList{QStringLiteral("导入成功!")}, 15000);
        QCOMPARE(fileSettings(onBoard()), wiped);
    }

    // While the page is shown, monitoring requests go out every 250 ms; a write the aircraft
    // does not answer at first is still resent until it is.
    void monitoringDoesNotPushAWriteAside()
    {
        QVERIFY(page()->isMonitoring());
        onBoard().motorIdle = 2;
        aircraft->setIgnoreFirst(0x08, 3);
        QAccessibleInterface *radio
            = QAccessible::queryAccessibleInterface(child<QRadioButton>("checkBox_speed_5"));
        radio->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_COMPARE_WITH_TIMEOUT(int(onBoard().motorIdle), 4, 3000);
        QTRY_VERIFY(std::count_if(m_received.begin(),
                                  m_received.end(),
                                  [](const Received &r) { return r.type == 0x14; })
                    > 4);
    }

    void serviceCountdownAndCycle()
    {
        // 180 minutes flown since the last service: a cycle of 299 leaves 119.
        onBoard().maintenanceCycle = 299;
        page()->slot_tabClick(4);
        QTRY_COMPARE_WITH_TIMEOUT(
            child<QLineEdit>("letNextCycle")->text(), QStringLiteral("119"), 3000);
        QVERIFY(page()->isTipBlinking());
        // Typed 300 and Enter: sent once, as typed; then read back, 120 stops the blinking.
        const int before = cycleWrites();
        auto *cycle = child<QDoubleSpinBox>("dsbMaintenanceCycle");
        cycle->setFocus();
        cycle->selectAll();
        QTest::keyClicks(cycle, QStringLiteral("300"));
        QTest::keyClick(cycle, Qt::Key_Return);
        QTRY_COMPARE(onBoard().maintenanceCycle, 300u);
        QTRY_COMPARE_WITH_TIMEOUT(
            child<QLineEdit>("letNextCycle")->text(), QStringLiteral("120"), 3000);
        QVERIFY(!page()->isTipBlinking());
        QVERIFY(!child<QLineEdit>("letNextCycle")->styleSheet().contains(QLatin1String("255, 0, 0")));
        QCOMPARE(cycleWrites(), before + 1);
    }

    // Esc during a motor test, or leaving the page, puts the stop instruction (0xC3, 4) on the
    // wire and the page says the test stopped; with no test running Esc sends nothing.
    void motorTestStops_data()
    {
        QTest::addColumn<bool>("esc");
        QTest::newRow("Esc") << true;
        QTest::newRow("another page") << false;
    }
    void motorTestStops()
    {
        QFETCH(bool, esc);
        mainWindow->showPage(1);
        page()->slot_tabClick(0);
        const auto stops = [this] {
            return std::count_if(m_received.begin(), m_received.end(), [](const Received &r) {
                return r.type == 0xC3 && r.payload == QByteArray("\x04\x00", 2);
            });
        };
        const auto before = stops();
        QTest::keyClick(mainWindow, Qt::Key_Escape);
        QTest::qWait(300);
        QCOMPARE(stops(), before);
        press("btn_dianjiTest");
        QTRY_VERIFY(aircraft->state().motorTestStartMs >= 0);
        QVERIFY(page()->isMotorTestRunning());
        auto *state = child<QLabel>("lblMotorTestState");
        QVERIFY(state->text().contains(QLatin1String("Esc")));
        if (esc) {
            // Wherever the focus is; a dialog of an earlier case may have left the window inactive.
            mainWindow->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(mainWindow));
            child<QRadioButton>("checkBox_speed_2")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            mainWindow->showPage(3);
        }
        QTRY_VERIFY(stops() > before);
        QTRY_COMPARE(aircraft->state().motorTestStartMs, qint64(-1));
        QVERIFY(!page()->isMotorTestRunning());
        QCOMPARE(state->text(), QStringLiteral("电机测试已停止"));
        mainWindow->showPage(1);
    }

    // Last: the link drops. The GPS row must not go back to normal from the old count.
    void selfCheckAfterLinkLoss()
    {
        page()->slot_tabClick(1);
        QTRY_VERIFY(page()->shownSelfCheck(3));
        aircraft->setSilent(true);
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(0), 8000);
        QTest::qWait(3 * KivToolsWgt::kMonitoringMs);
        for (int row = 1; row <= 5; ++row)
            QVERIFY(!page()->shownSelfCheck(row));
        aircraft->setSilent(false);
    }
};

int main(int argc, char *argv[])
{
    return runProgram<tst_E2eToolsPage>(argc, argv);
}

#include "tst_e2e_toolspage.moc"
