// The tools page in the main window without a link: idle radios, the propeller warning, the
// self-check rows, the maintenance view and its blinking, the monitoring timer, and every control
// named and reachable in both languages and operable through the accessibility interface.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/KivMainWindow.h"
#include "ui/KivToolsWgt.h"
#include "ui/tools/UserPrompts.h"

#include "support/PageProbes.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using PageProbes::hasChinese;

namespace {
KivMainWindow *w = nullptr;

KivToolsWgt *page()
{
    return w->toolsPage();
}

template<typename T>
T *child(const QString &name)
{
    T *widget = page()->findChild<T *>(name);
    if (!widget)
        qFatal("no %s", qPrintable(name));
    return widget;
}

} // namespace

class tst_KivToolsWgt : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QStringList m_confirmTexts;
    bool m_confirmAnswer = false;

    void setLanguage(int code)
    {
        w->applyLanguage(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        guiController = new KivGuiController(this);
        using S = const QString &;
        userPrompts().confirm = [this](QMessageBox::Icon, S, S text, S, S) {
            m_confirmTexts << text;
            return m_confirmAnswer;
        };
        userPrompts().tell = [](QMessageBox::Icon, S, S, QMessageBox::StandardButton) {};
    }

    void init()
    {
        // Slots are connected by name: a renamed widget leaves its slot with only a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
        linkConnected = 0;
        m_confirmTexts.clear();
        aircraftParams().maintTimer1 = 1000;
        w = new KivMainWindow;
        mainWindow = w;
        w->initLanguage(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->showPage(1);
    }
    void cleanup()
    {
        if (w)
            w->applyLanguage(1);
        delete w;
        w = nullptr;
        mainWindow = nullptr;
        linkConnected = 0;
    }

    void idleRadiosSendLevels_data()
    {
        QTest::addColumn<int>("radio");
        QTest::addColumn<QString>("how");
        for (int radio = 1; radio <= 5; ++radio)
            QTest::addRow("%d by mouse", radio) << radio << QStringLiteral("mouse");
        QTest::newRow("4 by keyboard") << 4 << QStringLiteral("keyboard");
    }
    void idleRadiosSendLevels()
    {
        QFETCH(int, radio);
        QFETCH(QString, how);
        page()->showSubPage(0);
        page()->showMotorIdle(radio == 1 ? 5 : radio - 1); // the neighbour is checked
        aircraftParams().M_CCR0 = 9;
        QSignalSpy sent(page(), &KivToolsWgt::send_CCR);
        auto *button = child<QRadioButton>(QStringLiteral("checkBox_speed_%1").arg(radio));
        if (how == QLatin1String("mouse")) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            child<QRadioButton>(QStringLiteral("checkBox_speed_%1").arg(radio - 1))
                ->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        }
        QCOMPARE(sent.size(), 1);
        QCOMPARE(int(aircraftParams().M_CCR0), radio - 1);
        QCOMPARE(page()->shownMotorIdle(), radio);
    }

    void motorTestNeedsConfirmation_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("sent");
        QTest::newRow("link down") << false << true << 0 << 0;
        QTest::newRow("not removed yet") << true << false << 1 << 0;
        QTest::newRow("confirmed") << true << true << 1 << 1;
    }
    void motorTestNeedsConfirmation()
    {
        QFETCH(bool, connected);
        QFETCH(bool, answer);
        QFETCH(int, asked);
        QFETCH(int, sent);
        linkConnected = connected;
        m_confirmAnswer = answer;
        QSignalSpy tests(guiController, &KivGuiController::send_DJCS);
        page()->showSubPage(0);
        QTest::mouseClick(child<QPushButton>(QStringLiteral("btn_dianjiTest")), Qt::LeftButton);
        QCOMPARE(m_confirmTexts.size(), asked);
        if (asked)
            QCOMPARE(m_confirmTexts.first(), QStringLiteral("请确认您的螺旋桨已卸下"));
        QCOMPARE(tests.size(), sent);
    }

    void selfCheckRows_data()
    {
        QTest::addColumn<int>("warning");
        QTest::addColumn<int>("satellites");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QList<bool>>("rows"); // barometer, IMU, GPS, compass, receiver
        QTest::newRow("all healthy")
            << 0x00 << 12 << true << QList<bool>{true, true, true, true, true};
        QTest::newRow("barometer and receiver")
            << 0x44 << 12 << true << QList<bool>{false, true, true, true, false};
        QTest::newRow("IMU and compass")
            << 0xA0 << 12 << true << QList<bool>{true, false, true, false, true};
        QTest::newRow("other bits ignored")
            << 0x1B << 12 << true << QList<bool>{true, true, true, true, true};
        QTest::newRow("4 satellites")
            << 0x00 << 4 << true << QList<bool>{true, true, false, true, true};
        QTest::newRow("5 satellites")
            << 0x00 << 5 << true << QList<bool>{true, true, true, true, true};
        QTest::newRow("before any status")
            << 0xFF << 12 << true << QList<bool>{false, false, true, false, false};
        QTest::newRow("link down, old count")
            << 0xFF << 12 << false << QList<bool>{false, false, false, false, false};
    }
    void selfCheckRows()
    {
        QFETCH(int, warning);
        QFETCH(int, satellites);
        QFETCH(bool, connected);
        QFETCH(QList<bool>, rows);
        linkConnected = connected;
        aircraftParams().warning_code = uint8_t(warning);
        aircraftParams().gps_num = uint8_t(satellites);
        // Refreshed by the monitoring tick, as on the page.
        w->showPage(1);
        QVERIFY(page()->isMonitoring());
        QTest::qWait(KivToolsWgt::kMonitoringMs + 100);
        for (int row = 1; row <= 5; ++row) {
            QCOMPARE(child<QCheckBox>(QStringLiteral("checkBox_%1_1").arg(row))->isChecked(),
                     rows[row - 1]);
            QCOMPARE(child<QCheckBox>(QStringLiteral("checkBox_%1_2").arg(row))->isChecked(),
                     !rows[row - 1]);
        }
    }

    void monitoringOnlyWhileToolsPageShown()
    {
        w->showPage(0);
        QSignalSpy requests(page(), &KivToolsWgt::SignalOnlineMonitoring);
        QVERIFY(!page()->isMonitoring());
        w->showPage(1);
        QVERIFY(page()->isMonitoring());
        QTRY_VERIFY(requests.size() >= 2);
        w->showPage(2);
        QVERIFY(!page()->isMonitoring());
        const int before = int(requests.size());
        QTest::qWait(2 * KivToolsWgt::kMonitoringMs);
        QCOMPARE(requests.size(), before);
    }

    void maintenanceBlink_data()
    {
        QTest::addColumn<int>("toService");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("blinking");
        QTest::newRow("119") << 119 << QStringLiteral("119") << true;
        QTest::newRow("120") << 120 << QStringLiteral("120") << false;
        QTest::newRow("overdue") << -60 << QStringLiteral("0") << true;
    }
    void maintenanceBlink()
    {
        QFETCH(int, toService);
        QFETCH(QString, shown);
        QFETCH(bool, blinking);
        page()->showSubPage(4);
        auto *field = child<QLineEdit>(QStringLiteral("letNextCycle"));
        auto *tip = child<QCheckBox>(QStringLiteral("cbxMaintenanceTips"));
        aircraftParams().maintTimer1 = toService;
        page()->SlotUpdateTimerPage(1);
        QCOMPARE(field->text(), shown);
        QCOMPARE(page()->isTipBlinking(), blinking);
        if (!blinking) {
            QVERIFY(!field->styleSheet().contains(QLatin1String("255, 0, 0")));
            return;
        }
        // Red and normal in turn, every 500 ms, on the field and on the tab.
        QTRY_VERIFY(field->styleSheet().contains(QLatin1String("255, 0, 0")));
        QVERIFY(tip->isChecked());
        QVERIFY(page()->tabGroup()->button(4)->styleSheet().contains(QLatin1String("255, 0, 0")));
        QTRY_VERIFY(!field->styleSheet().contains(QLatin1String("255, 0, 0")));
    }

    void maintenanceCycleFromAircraftIsNotSentBack_data()
    {
        QTest::addColumn<uint>("cycle");
        QTest::addColumn<double>("shown");
        QTest::addColumn<bool>("marked");
        QTest::newRow("1500") << 1500u << 1500.0 << false;
        QTest::newRow("9000") << 9000u << 6000.0 << true;
    }
    void maintenanceCycleFromAircraftIsNotSentBack()
    {
        QFETCH(uint, cycle);
        QFETCH(double, shown);
        QFETCH(bool, marked);
        linkConnected = 1;
        QSignalSpy sent(guiController, &KivGuiController::SignalMaintenanceCycleSet);
        auto *box = child<QDoubleSpinBox>(QStringLiteral("dsbMaintenanceCycle"));
        aircraftParams().maintCycle = cycle;
        page()->SlotUpdateTimerPage(7);
        QCOMPARE(box->value(), shown);
        QCOMPARE(box->toolTip().contains(QString::number(cycle) + QLatin1Char(' ')), marked);
        QCOMPARE(box->styleSheet().contains(QLatin1String("255, 0, 0")), marked);
        // Leaving the box unchanged sends nothing either.
        page()->showSubPage(4);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(sent.size(), 0);
    }

    void typedCycleIsSentOnceWhenFinished()
    {
        linkConnected = 1;
        page()->showSubPage(4);
        QSignalSpy sent(guiController, &KivGuiController::SignalMaintenanceCycleSet);
        auto *box = child<QDoubleSpinBox>(QStringLiteral("dsbMaintenanceCycle"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("2000"));
        QCOMPARE(sent.size(), 0);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().first().toUInt(), 2000u);
    }

    void timerTabReadsTheCounters()
    {
        QSignalSpy reads(page(), &KivToolsWgt::SignalRequestTimerPage);
        page()->slot_tabClick(4);
        page()->slot_tabClick(4); // the tab on show: read again
        QCOMPARE(reads.size(), 2);
    }

    // The master attitude is shown in whole units, every other value in hundredths.
    void imuValues()
    {
        AircraftParams &p = aircraftParams();
        p.roll = -10; p.Pitch = 5; p.acc_x = 100; p.acc_y = -100; p.acc_z = 1000;
        p.eIMU_roll = -1234; p.eIMU_pitch = 5; p.eIMU_acc_x = 981; p.eIMU_acc_y = 0; p.eIMU_acc_z = -981;
        Q_EMIT w->SignalIMUUpdate();
        const QStringList master = {"-10", "5", "1.00", "-1.00", "10.00"};
        const QStringList slave = {"-12.34", "0.05", "9.81", "0.00", "-9.81"};
        const QStringList names = {"RollValue", "PicthValue", "AccelXAxisValue", "AccelYAxisValue", "AccelZAxisValue"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(child<QLabel>(QLatin1String("lblMasterIMU") + names[i])->text(), master[i]);
            QCOMPARE(child<QLabel>(QLatin1String("lblSlaveIMU") + names[i])->text(), slave[i]);
        }
    }

    void accessibleAndReachable_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese") << 1;
        QTest::newRow("English") << 0;
    }
    void accessibleAndReachable()
    {
        QFETCH(int, language);
        setLanguage(language);
        QCOMPARE(child<QPushButton>(QStringLiteral("btn_recover"))->text(),
                 language == 0 ? QStringLiteral("Restore factory settings")
                               : QStringLiteral("恢复出厂设置"));
        for (int subPage = 0; subPage < 5; ++subPage) {
            page()->showSubPage(subPage);
            QWidget *sub = page()->stackedWidget()->widget(subPage);
            QList<QWidget *> controls;
            for (QWidget *widget : sub->findChildren<QWidget *>()) {
                if (qobject_cast<QAbstractSpinBox *>(widget->parentWidget())
                    || !widget->isVisibleTo(sub))
                    continue;
                const bool control = qobject_cast<QAbstractButton *>(widget)
                                     || qobject_cast<QLineEdit *>(widget)
                                     || qobject_cast<QAbstractSpinBox *>(widget);
                if (!control)
                    continue;
                const QString name
                    = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
                QVERIFY2(language == 1 || !hasChinese(name),
                         qPrintable(widget->objectName() + QLatin1String(": ") + name));
                if (widget->isEnabled())
                    controls << widget;
            }
            // Tab (and the arrows inside the radio group) reaches every enabled control.
            QSet<QWidget *> missing(controls.begin(), controls.end());
            if (controls.isEmpty())
                continue;
            controls.first()->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 60 && !missing.isEmpty(); ++i) {
                QWidget *focus = QApplication::focusWidget();
                if (focus && qobject_cast<QAbstractSpinBox *>(focus->parentWidget()))
                    focus = focus->parentWidget();
                missing.remove(focus);
                if (qobject_cast<QRadioButton *>(focus)) {
                    for (int r = 1; r <= 5; ++r)
                        missing.remove(
                            child<QRadioButton>(QStringLiteral("checkBox_speed_%1").arg(r)));
                }
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QVERIFY2(missing.isEmpty(),
                     qPrintable(missing.isEmpty() ? QString() : (*missing.begin())->objectName()));
        }
    }

    void factoryResetFromTheKeyboard()
    {
        linkConnected = 1;
        m_confirmAnswer = false;
        page()->showSubPage(2);
        auto *recover = child<QPushButton>(QStringLiteral("btn_recover"));
        recover->setFocus();
        QTest::keyClick(recover, Qt::Key_Space);
        QCOMPARE(m_confirmTexts, QStringList{QStringLiteral("确定将飞控恢复出厂设置？")});
    }

    // The question before an export into a folder with complete files: Enter and Escape keep the
    // files, the other button (reached with Tab) downloads them again; in both languages.
    void rewriteQuestionFromTheKeyboard_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("picture");
        QTest::newRow("Chinese") << 1 << QStringLiteral("重新下载") << QStringLiteral("blackbox-rewrite.png");
        QTest::newRow("English") << 0 << QStringLiteral("Download again") << QStringLiteral("blackbox-rewrite-en.png");
    }
    void rewriteQuestionFromTheKeyboard()
    {
        QFETCH(int, language);
        QFETCH(QString, again);
        QFETCH(QString, picture);
        setLanguage(language);
        QList<QList<int>> keys = {{Qt::Key_Escape}, {Qt::Key_Return}, {Qt::Key_Tab, Qt::Key_Space}};
        QStringList seen;
        for (const QList<int> &press : keys) {
            QTimer answer; // answers once the box is up
            answer.start(20);
            connect(&answer, &QTimer::timeout, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box || !box->isVisible())
                    return;
                answer.stop();
                seen.clear();
                for (QAbstractButton *b : box->buttons())
                    seen << b->text();
                const QString folder = qEnvironmentVariable("R7_PICTURE_DIR");
                if (!folder.isEmpty())
                    box->grab().save(folder + QLatin1Char('/') + picture);
                for (int key : press)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            });
            const bool rewrite = KivToolsWgt::askRewriteBlackBoxes(page());
            QCOMPARE(rewrite, press.size() == 2);
            QVERIFY2(seen.contains(again), qPrintable(seen.join(QLatin1Char('|'))));
        }
    }
};

QTEST_MAIN(tst_KivToolsWgt)

#include "tst_kivtoolswgt.moc"
