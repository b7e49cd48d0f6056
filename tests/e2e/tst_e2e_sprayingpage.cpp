// The spraying page driven as a user drives it, in the whole program, against the simulated
// aircraft: what reached it is read from its settings, its pump state and the frames it received.
#include "ProgramRig.h"

#include "app/KivApplication.h"
#include "app/LinkConnected.h"
#include "link/serialport.h"
#include "sim/SimulatedAircraft.h"
#include "ui/KivMainWindow.h"
#include "ui/LumActaPhytophySin.h"
#include "widgets/KivSliderControl.h"
#include "widgets/KivSwitch.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using e2e::aircraft;
using e2e::Received;
using e2e::waitForReadBack;

namespace {
LumActaPhytophySin *page() { return mainWindow->sprayingPage(); }
AircraftState &onBoard() { return aircraft->state(); }
bool isRed(QWidget *box) { return box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")); }
bool isGrey(QWidget *box) { return box->styleSheet().contains(QLatin1String("rgb(123, 123, 123)")); }
QByteArray pump(quint8 sub, quint8 speed) { return QByteArray(1, char(sub)) + char(speed); }

template<typename T>
T *child(const char *name)
{
    T *widget = page()->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

void typeInto(QAbstractSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab); // leaves the box: the value is taken
}

void clickSwitch(KivSwitch *s)
{
    QTRY_VERIFY(!s->isAnimating()); // a click during the slide is dropped
    QTest::mouseClick(s, Qt::LeftButton);
}

void clickTab(int index) { QTest::mouseClick(page()->tabGroup()->button(index), Qt::LeftButton); }
} // namespace

class tst_E2eSprayingPage : public QObject
{
    Q_OBJECT

    QList<Received> m_received;

    // The 0x19 frames with a two-byte payload (runs and stops) from index `from` on.
    QList<QByteArray> pumpCommands(int from) const
    {
        QList<QByteArray> commands;
        for (int i = from; i < m_received.size(); ++i) {
            if (m_received[i].type == 0x19 && m_received[i].payload.size() == 2 && !commands.contains(m_received[i].payload))
                commands << m_received[i].payload;
        }
        return commands;
    }
    int writes(quint8 type, int length, int from) const
    {
        int count = 0;
        for (int i = from; i < m_received.size(); ++i)
            count += m_received[i].type == type && m_received[i].payload.size() == length;
        return count;
    }
    void openSprayingPage()
    {
        // The window's four reads, 500 ms apart, after the page's own.
        QTest::mouseClick(mainWindow->findChild<QToolButton *>(QStringLiteral("btn_ActaPhytophySin")), Qt::LeftButton);
        QTest::qWait(300);
    }
    // On the pump tab, its reads answered; the normal row then runs at `speed` (typed).
    void runNormalRow(int speed)
    {
        if (page()->stackedWidget()->currentIndex() != 2 || !mainWindow->findChild<QToolButton *>(QStringLiteral("btn_ActaPhytophySin"))->isChecked()) {
            openSprayingPage();
            clickTab(2);
            QTest::qWait(300);
        }
        clickSwitch(child<KivSwitch>("switchSpraySpeed"));
        typeInto(child<QDoubleSpinBox>("spinSpraySpeed"), QString::number(speed));
        QTRY_COMPARE(int(onBoard().pumpRunning), 1);
        QCOMPARE(int(onBoard().settings.pumpSpeed), speed);
    }
private Q_SLOTS:
    void initTestCase()
    {
        onBoard().settings.sprayWidth = 550;
        onBoard().settings.workSpeed = 620;
        QVERIFY(e2e::connectProgram(this, m_received));
        QTest::qWait(500); // the last replies
    }

    // Shown when the page opens, nothing written back.
    void valuesReadWhenThePageOpens()
    {
        const int from = int(m_received.size());
        openSprayingPage();
        QTest::qWait(1800);
        QCOMPARE(child<QDoubleSpinBox>("spinSetSprayWidth")->value(), 5.5);
        clickTab(1);
        QTRY_COMPARE(child<QDoubleSpinBox>("spinSetWorkSpeed")->value(), 6.2);
        QVERIFY(isGrey(child<QDoubleSpinBox>("spinSetWorkSpeed")));
        clickTab(2);
        QTRY_COMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 60.0);
        QTRY_COMPARE(child<QDoubleSpinBox>("spinSmallSpraySpeed")->value(), 20.0);
        QCOMPARE(writes(0x17, 2, from) + writes(0x18, 2, from) + pumpCommands(from).size(), 0);
    }

    void sprayWidthAndWorkSpeedTravelAsHundredths()
    {
        openSprayingPage();
        clickTab(0);
        auto *width = child<QDoubleSpinBox>("spinSetSprayWidth");
        typeInto(width, QStringLiteral("3.3"));
        QVERIFY(isRed(width));
        QTest::mouseClick(child<QPushButton>("btnSetSprayWidth"), Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().settings.sprayWidth), 330);
        QVERIFY(isGrey(width));

        clickTab(1);
        QTest::qWait(300);
        auto *speed = child<QDoubleSpinBox>("spinSetWorkSpeed");
        typeInto(speed, QStringLiteral("8.7"));
        QTest::mouseClick(child<QPushButton>("btnSetWorkSpeed"), Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().settings.workSpeed), 870);
    }

    void minimumRowStopsTheNormalRowFirst()
    {
        const int from = int(m_received.size());
        runNormalRow(45);
        clickSwitch(child<KivSwitch>("switchSmallSpraySpeed"));
        QTRY_COMPARE(int(onBoard().pumpRunning), 0);
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
        QVERIFY(!child<QDoubleSpinBox>("spinSpraySpeed")->isEnabled());
        typeInto(child<QDoubleSpinBox>("spinSmallSpraySpeed"), QStringLiteral("25"));
        QTRY_COMPARE(int(onBoard().pumpRunning), 2);
        QCOMPARE(int(onBoard().settings.smallPumpSpeed), 25);
        QCOMPARE(pumpCommands(from), (QList<QByteArray>{pump(0x01, 45), pump(0x11, 45), pump(0x02, 25)}));
        clickSwitch(child<KivSwitch>("switchSmallSpraySpeed"));
        QTRY_COMPARE(int(onBoard().pumpRunning), 0);
        QCOMPARE(pumpCommands(from).last(), pump(0x12, 25));
    }

    void barMovedWhileOffSendsNothing()
    {
        openSprayingPage();
        clickTab(2);
        QTest::qWait(400);
        const int from = int(m_received.size());
        auto *bar = child<KivSliderControl>("sliSpraySpeed");
        QVERIFY(!bar->isEnabled());
        bar->setValue(77.0f, true); // as a drag moves it
        QCOMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 77.0);
        QTest::qWait(400);
        // Nor through the accessibility interface: the bar does not move.
        QAccessible::queryAccessibleInterface(bar)->valueInterface()->setCurrentValue(80);
        QCOMPARE(bar->value(), 77.0f);
        QCOMPARE(pumpCommands(from).size(), 0);
        QCOMPARE(int(onBoard().pumpRunning), 0);
    }

    void everyWayOutStopsTheRun_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("speed"); // a new value each time: a row sends only a changed value
        QTest::newRow("spray width tab") << QStringLiteral("tab0") << 52;
        QTest::newRow("work speed tab") << QStringLiteral("tab1") << 51;
        QTest::newRow("sensor tab") << QStringLiteral("tab3") << 53;
        QTest::newRow("settings page") << QStringLiteral("btn_settings") << 54;
        QTest::newRow("tools page") << QStringLiteral("btn_tools") << 56;
        QTest::newRow("Esc") << QStringLiteral("esc") << 55;
        QTest::newRow("Esc in a box") << QStringLiteral("spinSpraySpeed") << 57;
    }
    void everyWayOutStopsTheRun()
    {
        QFETCH(QString, way);
        QFETCH(int, speed);
        const int from = int(m_received.size());
        runNormalRow(speed);
        if (way.startsWith(QLatin1String("tab")))
            clickTab(way.mid(3).toInt());
        else if (way.startsWith(QLatin1String("btn_")))
            QTest::mouseClick(mainWindow->findChild<QToolButton *>(way), Qt::LeftButton);
        else {
            if (way != QLatin1String("esc"))
                child<QDoubleSpinBox>("spinSpraySpeed")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
        QTRY_COMPARE(int(onBoard().pumpRunning), 0);
        QCOMPARE(pumpCommands(from), (QList<QByteArray>{pump(0x01, speed), pump(0x11, speed)}));
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
    }

    // Metres with two decimals only while the radar switch is on.
    void radarHeight()
    {
        openSprayingPage();
        clickTab(3);
        auto *radar = child<KivSwitch>("switchInfraredSensor");
        auto *height = child<QLabel>("lblInfraredProbeHeightValue");
        QTRY_VERIFY(radar->isChecked()); // as the aircraft has it
        QTRY_VERIFY(height->text().contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d$"))));
        clickSwitch(radar);
        QTRY_COMPARE(int(onBoard().settings.extSwitch2), 0);
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        QTest::qWait(500); // telemetry goes on
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        auto *level = child<KivSwitch>("switchLiquidLevelSensor");
        clickSwitch(level);
        QTRY_COMPARE(int(onBoard().settings.extSwitch1), 0);
        clickSwitch(radar);
        QTRY_COMPARE(int(onBoard().settings.extSwitch2), 1);
        QTRY_VERIFY(height->text().contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d$"))));
        // Read back when the tab is entered again.
        onBoard().settings.extSwitch1 = 1;
        clickTab(0);
        clickTab(3);
        QTRY_VERIFY(level->isChecked());
    }

    void drivenThroughAccessibility()
    {
        openSprayingPage();
        QAccessibleInterface *tab = QAccessible::queryAccessibleInterface(page()->tabGroup()->button(2));
        tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::qWait(400);
        QCOMPARE(page()->stackedWidget()->currentIndex(), 2);
        const int from = int(m_received.size());
        QAccessibleInterface *normal = QAccessible::queryAccessibleInterface(child<KivSwitch>("switchSpraySpeed"));
        QCOMPARE(normal->role(), QAccessible::CheckBox);
        QVERIFY(!normal->text(QAccessible::Name).isEmpty());
        QTRY_VERIFY(!child<KivSwitch>("switchSpraySpeed")->isAnimating());
        normal->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(normal->state().checked);
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(child<QDoubleSpinBox>("spinSpraySpeed"));
        box->valueInterface()->setCurrentValue(33);
        QTRY_COMPARE(int(onBoard().pumpRunning), 1);
        QCOMPARE(int(onBoard().settings.pumpSpeed), 33);
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(child<KivSliderControl>("sliSpraySpeed"));
        QCOMPARE(bar->role(), QAccessible::Slider);
        bar->valueInterface()->setCurrentValue(41);
        QTRY_COMPARE(int(onBoard().settings.pumpSpeed), 41);
        QTRY_VERIFY(!child<KivSwitch>("switchSpraySpeed")->isAnimating()); // a toggle during the slide is dropped
        normal->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_COMPARE(int(onBoard().pumpRunning), 0);
        QCOMPARE(pumpCommands(from), (QList<QByteArray>{pump(0x01, 33), pump(0x01, 41), pump(0x11, 41)}));
    }

    // A set button sends nothing while the link is down and leaves its value red.
    void linkLostDuringARun()
    {
        runNormalRow(48);
        aircraft->setSilent(true);
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(0), 8000);
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
        QVERIFY(!page()->isPumpRunning());
        clickTab(0);
        const int from = int(m_received.size());
        auto *width = child<QDoubleSpinBox>("spinSetSprayWidth");
        typeInto(width, QStringLiteral("7.25"));
        QTest::mouseClick(child<QPushButton>("btnSetSprayWidth"), Qt::LeftButton);
        QTest::qWait(500);
        QCOMPARE(writes(0x17, 2, from), 0);
        QVERIFY(isRed(width));
        QCOMPARE(int(onBoard().settings.sprayWidth), 330);

        onBoard().pumpRunning = 0; // the aircraft stopped on its own side
        aircraft->setSilent(false);
        QVERIFY(waitForReadBack());
        QTRY_COMPARE(width->value(), 3.3); // the read-back after the handshake
        QVERIFY(isGrey(width));
    }

    // Last: the stop is on the wire before the port closes.
    void closingTheWindowStopsTheRun()
    {
        runNormalRow(66);
        const int from = int(m_received.size());
        QPointer<KivMainWindow> window(mainWindow);
        QTest::mouseClick(mainWindow->findChild<QPushButton *>(QStringLiteral("btn_close")), Qt::LeftButton);
        // As at the program's exit: the port closes at once, with no event handled in between.
        app()->serialPort()->closePort();
        QTRY_COMPARE(int(onBoard().pumpRunning), 0);
        QCOMPARE(pumpCommands(from), QList<QByteArray>{pump(0x11, 66)});
        QTRY_VERIFY(window.isNull());
    }

private:
    static KivApplication *app() { return KivApplication::instance(); }
};

int main(int argc, char *argv[])
{
    return e2e::runProgram<tst_E2eSprayingPage>(argc, argv);
}

#include "tst_e2e_sprayingpage.moc"
