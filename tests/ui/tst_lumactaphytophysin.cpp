// The spraying page in the main window without a link: what each sub-page sends and when, the
// pump rows (one at a time, stopped on every way out, Esc, a lost link), the paced pump reads that
// survive the window, the radar height, accessibility and keyboard in both languages, nothing
// clipped.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/Language.h"
#include "ui/KivMainWindow.h"
#include "ui/LumActaPhytophySin.h"
#include "widgets/KivSliderControl.h"
#include "widgets/KivSwitch.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

namespace {
KivMainWindow *w = nullptr;

LumActaPhytophySin *page()
{
    return w->sprayingPage();
}

template<typename T>
T *child(const char *name)
{
    T *widget = page()->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

bool hasChinese(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
}

bool isPending(QWidget *box)
{
    return box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)"));
}

bool isConfirmed(QWidget *box)
{
    return box->styleSheet().contains(QLatin1String("rgb(123, 123, 123)"));
}

// The controls of a sub-page a user can reach with Tab.
QList<QWidget *> controlsOf(int subPage)
{
    QList<QWidget *> controls;
    QWidget *sub = page()->stackedWidget()->widget(subPage);
    for (QWidget *widget : sub->findChildren<QWidget *>()) {
        const bool part = qobject_cast<QAbstractSpinBox *>(widget->parentWidget()); // its line edit
        if (!part && (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(sub) && widget->isEnabled())
            controls << widget;
    }
    return controls;
}

QWidget *focusedControl()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && qobject_cast<QAbstractSpinBox *>(focus->parentWidget()))
        return focus->parentWidget();
    return focus;
}

// Every signal of the page, by name, in the order emitted.
class SignalLog : public QObject
{
    Q_OBJECT

public:
    QList<QByteArray> names;

    explicit SignalLog(QObject *sender)
    {
        const QMetaObject *meta = sender->metaObject();
        const QMetaMethod record = metaObject()->method(metaObject()->indexOfSlot("record()"));
        for (int i = LumActaPhytophySin::staticMetaObject.methodOffset(); i < meta->methodCount(); ++i) {
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                connect(sender, meta->method(i), this, record);
        }
    }
    int count(const char *name) const { return int(names.count(QByteArray(name))); }

public Q_SLOTS:
    void record() { names << sender()->metaObject()->method(senderSignalIndex()).name(); }
};

void clickSwitch(KivSwitch *s)
{
    QTRY_VERIFY(!s->isAnimating()); // a click during the slide is dropped
    QTest::mouseClick(s, Qt::LeftButton);
}

void clickTab(int index)
{
    QTest::mouseClick(page()->tabGroup()->button(index), Qt::LeftButton);
}
} // namespace

class tst_LumActaPhytophySin : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    void setLanguage(int code)
    {
        w->applyLanguage(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
    }
    // Shows the spraying page as its navigation button does (with its reads).
    void openPage()
    {
        QTest::mouseClick(w->findChild<QToolButton *>(QStringLiteral("btn_ActaPhytophySin")), Qt::LeftButton);
    }
    // Shows the pump sub-page without waiting through its paced reads.
    void showPumpPage()
    {
        w->showPage(3);
        page()->showSubPage(2);
    }
    void runNormalRow(int speed)
    {
        showPumpPage();
        clickSwitch(child<KivSwitch>("switchSpraySpeed"));
        auto *box = child<QDoubleSpinBox>("spinSpraySpeed");
        box->setValue(speed);
        QVERIFY(page()->isPumpRunning());
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        guiController = new KivGuiController(this);
    }

    void init()
    {
        // Slots are connected by name: a renamed widget leaves its slot with only a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
        linkConnected = 0;
        AircraftParams &p = aircraftParams();
        p.sprayWidth = 0;
        p.workSpeed = 0;
        p.pumpSpeed = 0;
        p.smallPumpSpeed = 0;
        p.extSwitch1 = 0;
        p.extSwitch2 = 0;
        w = new KivMainWindow;
        mainWindow = w;
        w->initLanguage(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
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

    void formAsSpecified()
    {
        const char *const tabs[] = {"btnSprayWidth", "btnWorkSpeed", "btnPumpCalibration", "btnSensorSwitch"};
        const char *const pages[] = {"widSprayWidth", "widWorkSpeed", "widPumpCalibration", "page"};
        const char *const texts[] = {"喷幅", "工作速度", "药泵校准", "传感开关"};
        for (int i = 0; i < 4; ++i) {
            QAbstractButton *tab = page()->tabGroup()->button(i);
            QCOMPARE(tab->objectName(), QLatin1String(tabs[i]));
            QCOMPARE(tab->text(), QString::fromUtf8(texts[i]));
            QCOMPARE(page()->stackedWidget()->widget(i)->objectName(), QLatin1String(pages[i]));
        }
        QVERIFY(page()->tabGroup()->button(0)->isChecked());
        QCOMPARE(page()->stackedWidget()->currentIndex(), 0);
        QCOMPARE(page()->currentHelpPage(), QStringLiteral("SprayWidth.html"));

        auto *width = child<QDoubleSpinBox>("spinSetSprayWidth");
        QCOMPARE(width->decimals(), 2);
        QCOMPARE(width->minimum(), 1.0);
        QCOMPARE(width->maximum(), 15.0);
        QCOMPARE(width->suffix(), QStringLiteral("米"));
        auto *speed = child<QDoubleSpinBox>("spinSetWorkSpeed");
        QCOMPARE(speed->minimum(), 2.0);
        QCOMPARE(speed->maximum(), 20.0);
        QCOMPARE(speed->value(), 2.0);
        QCOMPARE(speed->suffix(), QStringLiteral("米/秒"));
        QCOMPARE(child<QPushButton>("btnSetSprayWidth")->text(), QStringLiteral("设置"));
        for (const char *box : {"spinSpraySpeed", "spinSmallSpraySpeed"}) {
            auto *spin = child<QDoubleSpinBox>(box);
            QCOMPARE(spin->decimals(), 0);
            QCOMPARE(spin->maximum(), 110.0);
            QCOMPARE(spin->suffix(), QStringLiteral("%"));
            QVERIFY(!spin->isEnabled());
        }
        for (const char *bar : {"sliSpraySpeed", "sliSmallSpraySpeed"}) {
            QCOMPARE(child<KivSliderControl>(bar)->maximum(), 110.0f);
            QVERIFY(!child<KivSliderControl>(bar)->isEnabled());
        }
        for (const char *s : {"switchSpraySpeed", "switchSmallSpraySpeed", "switchInfraredSensor", "switchLiquidLevelSensor"})
            QVERIFY(!child<KivSwitch>(s)->isChecked());
        QCOMPARE(child<QLabel>("lblInfraredProbeHeightValue")->text(), QStringLiteral("N/A"));
    }

    // --- Spray width and work speed -------------------------------------------------------------

    void setValueEncoding_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("wire");
        QTest::newRow("3.3 m is 330, not 329") << QByteArray("spinSetSprayWidth") << QByteArray("btnSetSprayWidth") << "3.3" << 330;
        QTest::newRow("4.35 m") << QByteArray("spinSetSprayWidth") << QByteArray("btnSetSprayWidth") << "4.35" << 435;
        QTest::newRow("15 m") << QByteArray("spinSetSprayWidth") << QByteArray("btnSetSprayWidth") << "15" << 1500;
        QTest::newRow("2.01 m/s") << QByteArray("spinSetWorkSpeed") << QByteArray("btnSetWorkSpeed") << "2.01" << 201;
        QTest::newRow("8.7 m/s") << QByteArray("spinSetWorkSpeed") << QByteArray("btnSetWorkSpeed") << "8.7" << 870;
    }
    void setValueEncoding()
    {
        QFETCH(QByteArray, box);
        QFETCH(QByteArray, button);
        QFETCH(QString, typed);
        QFETCH(int, wire);
        const bool width = box == "spinSetSprayWidth";
        page()->showSubPage(width ? 0 : 1);
        linkConnected = 1;
        QSignalSpy sprayWidth(page(), &LumActaPhytophySin::SignalSetSprayWidth);
        QSignalSpy workSpeed(page(), &LumActaPhytophySin::SignalSetWorkSpeed);
        auto *spin = child<QDoubleSpinBox>(box.constData());
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, typed);
        QVERIFY(isPending(spin));
        QTest::mouseClick(child<QPushButton>(button.constData()), Qt::LeftButton);
        QSignalSpy &sent = width ? sprayWidth : workSpeed;
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).toInt(), wire);
        QCOMPARE((width ? sprayWidth : workSpeed).size(), 1);
        QCOMPARE((width ? workSpeed : sprayWidth).size(), 0);
        QCOMPARE(int(width ? aircraftParams().sprayWidth : aircraftParams().workSpeed), wire);
        QVERIFY(isConfirmed(spin));
    }

    void setWhileDisconnectedStaysRed()
    {
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetSprayWidth);
        auto *spin = child<QDoubleSpinBox>("spinSetSprayWidth");
        spin->setValue(6.5);
        QTest::mouseClick(child<QPushButton>("btnSetSprayWidth"), Qt::LeftButton);
        QCOMPARE(sent.size(), 0);
        QCOMPARE(int(aircraftParams().sprayWidth), 0);
        QVERIFY(isPending(spin));
        // Return in the box is the button too: still nothing while disconnected.
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(sent.size(), 0);
        linkConnected = 1;
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).toInt(), 650);
        QVERIFY(isConfirmed(spin));
    }

    void aircraftValuesAreShownConfirmed()
    {
        auto *width = child<QDoubleSpinBox>("spinSetSprayWidth");
        auto *speed = child<QDoubleSpinBox>("spinSetWorkSpeed");
        width->setValue(9);
        QVERIFY(isPending(width));
        aircraftParams().sprayWidth = 425;
        aircraftParams().workSpeed = 730;
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetSprayWidth);
        page()->SlotUpdateSprayWidth();
        page()->SlotUpdateWorkSpeed();
        QCOMPARE(width->value(), 4.25);
        QCOMPARE(speed->value(), 7.3);
        QVERIFY(isConfirmed(width));
        QVERIFY(isConfirmed(speed));
        QCOMPARE(sent.size(), 0);
    }

    // --- Sub-page entry --------------------------------------------------------------------------

    void tabEntryActions_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QList<QByteArray>>("emitted");
        QTest::addColumn<QString>("help");
        QTest::newRow("work speed") << 1 << QList<QByteArray>{"SignalRequestWorkSpeed"} << "WorkSpeed.html";
        QTest::newRow("pump") << 2 << QList<QByteArray>{"SignalRequestSpraySpeed", "SignalRequestSmallSpraySpeed"} << "PumpCalibration.html";
        QTest::newRow("sensors") << 3 << QList<QByteArray>{"SignalSensorSwitch"} << "ExternalSwitch.html";
    }
    void tabEntryActions()
    {
        QFETCH(int, tab);
        QFETCH(QList<QByteArray>, emitted);
        QFETCH(QString, help);
        w->showPage(3);
        SignalLog log(page());
        clickTab(tab);
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 100);
        QCOMPARE(log.names, emitted);
        QCOMPARE(page()->stackedWidget()->currentIndex(), tab);
        QCOMPARE(page()->currentHelpPage(), help);
        // The tab already shown: nothing read, no help reloaded.
        log.names.clear();
        page()->clearHelpPage();
        clickTab(tab);
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 100);
        QVERIFY(log.names.isEmpty());
        QVERIFY(page()->currentHelpPage().isEmpty());
    }

    void pumpReadsArePaced()
    {
        w->showPage(3);
        QElapsedTimer clock;
        QList<qint64> at;
        connect(page(), &LumActaPhytophySin::SignalRequestSpraySpeed, this, [&] { at << clock.elapsed(); });
        connect(page(), &LumActaPhytophySin::SignalRequestSmallSpraySpeed, this, [&] { at << clock.elapsed(); });
        clock.start();
        clickTab(2);
        QCOMPARE(at.size(), 2);
        QVERIFY(at[1] - at[0] >= LumActaPhytophySin::kPumpReadPacingMs - 5);
    }

    // The second pump read waits with the event loop running; whatever happens meanwhile, it is
    // sent only when it still makes sense, and nothing touches a deleted page.
    void pacedPumpReadStops_data()
    {
        QTest::addColumn<QString>("during");
        QTest::newRow("window closed") << QStringLiteral("close");
        QTest::newRow("link lost") << QStringLiteral("link");
        QTest::newRow("other tab") << QStringLiteral("tab");
        QTest::newRow("nothing") << QString();
    }
    void pacedPumpReadStops()
    {
        QFETCH(QString, during);
        linkConnected = 1;
        w->showPage(3);
        QSignalSpy small(page(), &LumActaPhytophySin::SignalRequestSmallSpraySpeed);
        QSignalSpy sensors(page(), &LumActaPhytophySin::SignalSensorSwitch);
        QTimer::singleShot(100, this, [during] {
            if (during == QLatin1String("close")) {
                delete w;
                w = nullptr;
            } else if (during == QLatin1String("link")) {
                linkConnected = 0;
            } else if (during == QLatin1String("tab")) {
                clickTab(3);
            }
        });
        QPointer<LumActaPhytophySin> spraying(page());
        clickTab(2);
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 200);
        QCOMPARE(small.size(), during.isEmpty() ? 1 : 0);
        if (during == QLatin1String("close"))
            QVERIFY(spraying.isNull());
        if (during == QLatin1String("tab")) {
            QCOMPARE(sensors.size(), 1);
            QCOMPARE(page()->stackedWidget()->currentIndex(), 3);
        }
    }

    // The spraying button shows the pump sub-page with its paced reads; closing the window in
    // the middle ends both the page's and the window's sequence (run under AddressSanitizer,
    // nothing touches the deleted window).
    void closingDuringThePumpEntryFromThePageButton()
    {
        page()->showSubPage(2);
        w->showPage(0);
        QPointer<KivMainWindow> window(w);
        QSignalSpy small(page(), &LumActaPhytophySin::SignalRequestSmallSpraySpeed);
        QSignalSpy speed(w, &KivMainWindow::SignalRequestSpraySpeed); // the page's first read, relayed
        QSignalSpy width(w, &KivMainWindow::SignalRequestSetSprayWidth);
        QSignalSpy work(w, &KivMainWindow::SignalRequestSetWorkSpeed);
        QTimer::singleShot(100, w, &QWidget::close);
        QTest::mouseClick(w->findChild<QToolButton *>(QStringLiteral("btn_ActaPhytophySin")), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        w = nullptr;
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 200);
        QCOMPARE(speed.size(), 1);
        QCOMPARE(small.size() + width.size() + work.size(), 0);
    }

    // --- Pump runs --------------------------------------------------------------------------------

    void switchingOnSendsNothingUntilTheValueChanges()
    {
        showPumpPage();
        SignalLog log(page());
        auto *normal = child<KivSwitch>("switchSpraySpeed");
        clickSwitch(normal);
        QVERIFY(normal->isChecked());
        QVERIFY(log.names.isEmpty());
        QVERIFY(child<KivSliderControl>("sliSpraySpeed")->isEnabled());
        QVERIFY(child<QDoubleSpinBox>("spinSpraySpeed")->isEnabled());
        QVERIFY(!child<QDoubleSpinBox>("spinSmallSpraySpeed")->isEnabled());
        QSignalSpy run(page(), &LumActaPhytophySin::SignalSpraySpeed);
        child<QDoubleSpinBox>("spinSpraySpeed")->setValue(45.6); // no decimals: 46
        QCOMPARE(run.size(), 1);
        QCOMPARE(run.at(0).at(0).toInt(), 46);
        QCOMPARE(int(aircraftParams().pumpSpeed), 46);
        QCOMPARE(child<KivSliderControl>("sliSpraySpeed")->value(), 46.0f);
        // Switched off by the user: the stop command.
        clickSwitch(normal);
        QCOMPARE(log.names, (QList<QByteArray>{"SignalSpraySpeed", "SignalSpraySpeedEnd"}));
        QVERIFY(!child<QDoubleSpinBox>("spinSpraySpeed")->isEnabled());
        QVERIFY(!page()->isPumpRunning());
    }

    void minimumRowStopsTheNormalRowFirst()
    {
        runNormalRow(60);
        SignalLog log(page());
        clickSwitch(child<KivSwitch>("switchSmallSpraySpeed"));
        QCOMPARE(log.names, QList<QByteArray>{"SignalSpraySpeedEnd"});
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
        QVERIFY(!child<KivSliderControl>("sliSpraySpeed")->isEnabled());
        QVERIFY(!child<QDoubleSpinBox>("spinSpraySpeed")->isEnabled());
        QVERIFY(child<QDoubleSpinBox>("spinSmallSpraySpeed")->isEnabled());
        child<QDoubleSpinBox>("spinSmallSpraySpeed")->setValue(25);
        QCOMPARE(log.names.last(), QByteArray("SignalSmallSpraySpeed"));
        QCOMPARE(int(aircraftParams().smallPumpSpeed), 25);
        // And the mirror image.
        log.names.clear();
        clickSwitch(child<KivSwitch>("switchSpraySpeed"));
        QCOMPARE(log.names, QList<QByteArray>{"SignalSmallSpraySpeedEnd"});
        QVERIFY(!child<KivSwitch>("switchSmallSpraySpeed")->isChecked());
        QVERIFY(child<KivSwitch>("switchSpraySpeed")->isChecked());
    }

    void barMovedWhileOffSendsNothing()
    {
        showPumpPage();
        SignalLog log(page());
        auto *bar = child<KivSliderControl>("sliSmallSpraySpeed");
        bar->setValue(37.0f, true); // as a drag sets it
        QCOMPARE(child<QDoubleSpinBox>("spinSmallSpraySpeed")->value(), 37.0);
        QVERIFY(log.names.isEmpty());
        QCOMPARE(int(aircraftParams().smallPumpSpeed), 0);
        // A screen reader cannot move a row that is off either.
        QAccessible::queryAccessibleInterface(bar)->valueInterface()->setCurrentValue(80);
        QCOMPARE(bar->value(), 37.0f);
        QVERIFY(log.names.isEmpty());
    }

    void pumpReplyResendsARunningRow()
    {
        runNormalRow(50);
        QSignalSpy run(page(), &LumActaPhytophySin::SignalSpraySpeed);
        QSignalSpy small(page(), &LumActaPhytophySin::SignalSmallSpraySpeed);
        aircraftParams().pumpSpeed = 70;
        aircraftParams().smallPumpSpeed = 15;
        page()->SlotUpdateSprayTest();
        QCOMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 70.0);
        QCOMPARE(child<QDoubleSpinBox>("spinSmallSpraySpeed")->value(), 15.0);
        QCOMPARE(child<KivSliderControl>("sliSmallSpraySpeed")->value(), 15.0f);
        QCOMPARE(run.size(), 1);
        QCOMPARE(small.size(), 0); // that row is off
    }

    // Every way out of the pump sub-page stops a run with the stop command.
    void everyWayOutStopsTheRun_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("spray width tab") << QStringLiteral("tab0");
        QTest::newRow("work speed tab") << QStringLiteral("tab1");
        QTest::newRow("sensor tab") << QStringLiteral("tab3");
        QTest::newRow("settings page") << QStringLiteral("settings");
        QTest::newRow("tools page") << QStringLiteral("tools");
        QTest::newRow("close button") << QStringLiteral("closeButton");
        QTest::newRow("window closed otherwise") << QStringLiteral("close");
        QTest::newRow("Esc") << QStringLiteral("esc");
        QTest::newRow("Esc in a box") << QStringLiteral("escInBox");
        QTest::newRow("link lost") << QStringLiteral("link");
    }
    void everyWayOutStopsTheRun()
    {
        QFETCH(QString, way);
        runNormalRow(55);
        QPointer<KivMainWindow> window(w);
        SignalLog log(page());
        if (way.startsWith(QLatin1String("tab"))) {
            const int tab = way.mid(3).toInt();
            clickTab(tab);
            // The tab's read first, then the stop (which is then the command resent until answered).
            QCOMPARE(log.names.size(), 2);
            QCOMPARE(log.names[1], QByteArray("SignalSpraySpeedEnd"));
            QCOMPARE(page()->currentHelpPage(), QString::fromLatin1(tab == 0 ? "SprayWidth.html" : tab == 1 ? "WorkSpeed.html" : "ExternalSwitch.html"));
        } else if (way == QLatin1String("settings") || way == QLatin1String("tools")) {
            QTest::mouseClick(w->findChild<QToolButton *>(way == QLatin1String("settings") ? QStringLiteral("btn_settings") : QStringLiteral("btn_tools")), Qt::LeftButton);
            QCOMPARE(log.names, QList<QByteArray>{"SignalSpraySpeedEnd"});
        } else if (way == QLatin1String("closeButton") || way == QLatin1String("close")) {
            if (way == QLatin1String("close"))
                w->close();
            else
                QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btn_close")), Qt::LeftButton);
            QCOMPARE(log.names, QList<QByteArray>{"SignalSpraySpeedEnd"});
            QTRY_VERIFY(window.isNull());
            w = nullptr;
            QCOMPARE(log.names.size(), 1);
            return;
        } else if (way == QLatin1String("esc") || way == QLatin1String("escInBox")) {
            QWidget *target = way == QLatin1String("esc") ? static_cast<QWidget *>(child<KivSwitch>("switchSpraySpeed"))
                                                          : child<QDoubleSpinBox>("spinSpraySpeed");
            target->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QCOMPARE(log.names, QList<QByteArray>{"SignalSpraySpeedEnd"});
            QCOMPARE(page()->stackedWidget()->currentIndex(), 2); // the page stays where it was
        } else if (way == QLatin1String("link")) {
            linkConnected = 0;
            w->slot_connectResult(false);
            // Nothing to send it on: the page only stops showing a run.
            QVERIFY(log.names.isEmpty());
        }
        QVERIFY(!page()->isPumpRunning());
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
        QVERIFY(!child<QDoubleSpinBox>("spinSpraySpeed")->isEnabled());
        QVERIFY(!child<KivSliderControl>("sliSpraySpeed")->isEnabled());
        QVERIFY(child<KivSwitch>("switchSpraySpeed")->toolTip().isEmpty());
    }

    void escWithoutARunDoesNothing()
    {
        showPumpPage();
        SignalLog log(page());
        child<KivSwitch>("switchSpraySpeed")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(log.names.isEmpty());
        QVERIFY(!page()->isPumpRunning());
    }

    // --- Sensor switches and the radar height ----------------------------------------------------

    void sensorSwitches()
    {
        w->showPage(3);
        page()->showSubPage(3);
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetExternalSwitch);
        clickSwitch(child<KivSwitch>("switchLiquidLevelSensor"));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).value<schar>(), schar(1));
        QCOMPARE(sent.at(0).at(1).value<schar>(), schar(1));
        QCOMPARE(int(aircraftParams().extSwitch1), 1);
        clickSwitch(child<KivSwitch>("switchInfraredSensor"));
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.at(1).at(0).value<schar>(), schar(2));
        QCOMPARE(sent.at(1).at(1).value<schar>(), schar(1));
        QCOMPARE(int(aircraftParams().extSwitch2), 1);
        page()->showProbeHeight(3.256);
        auto *height = child<QLabel>("lblInfraredProbeHeightValue");
        QCOMPARE(height->text(), QStringLiteral("3.26"));
        QVERIFY(height->accessibleName().contains(QLatin1String("3.26")));
        clickSwitch(child<KivSwitch>("switchInfraredSensor"));
        QCOMPARE(sent.at(2).at(1).value<schar>(), schar(0));
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        page()->showProbeHeight(4.5);
        QCOMPARE(height->text(), QStringLiteral("N/A")); // the radar is off
    }

    void aircraftSwitchStatesSendNothing()
    {
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetExternalSwitch);
        aircraftParams().extSwitch1 = 1;
        aircraftParams().extSwitch2 = 0;
        page()->SlotExternalSwitch(1);
        page()->SlotExternalSwitch(2);
        page()->SlotExternalSwitch(7);
        QVERIFY(child<KivSwitch>("switchLiquidLevelSensor")->isChecked());
        QVERIFY(!child<KivSwitch>("switchInfraredSensor")->isChecked());
        aircraftParams().extSwitch2 = 1;
        page()->SlotExternalSwitch(2);
        QVERIFY(child<KivSwitch>("switchInfraredSensor")->isChecked());
        page()->showProbeHeight(0.5);
        QCOMPARE(page()->shownProbeHeight(), QStringLiteral("0.50"));
        aircraftParams().extSwitch2 = 0;
        page()->SlotExternalSwitch(2);
        QCOMPARE(page()->shownProbeHeight(), QStringLiteral("N/A"));
        QCOMPARE(sent.size(), 0);
    }

    // --- Language, accessibility and keyboard ----------------------------------------------------

    void languageChange()
    {
        w->showPage(3);
        page()->showSubPage(3);
        setLanguage(0);
        QCOMPARE(page()->tabGroup()->button(2)->text(), QStringLiteral("Pump calibration"));
        QCOMPARE(child<QLabel>("lblInfraredProbeHeightValue")->text(), QStringLiteral("N/A"));
        QCOMPARE(child<QDoubleSpinBox>("spinSetSprayWidth")->suffix(), QStringLiteral(" m"));
        QCOMPARE(page()->currentHelpPage(), QStringLiteral("ExternalSwitch.html"));
        setLanguage(1);
        QCOMPARE(page()->currentHelpPage(), QStringLiteral("ExternalSwitch.html"));
    }

    // Each tab's help page exists in both languages.
    void helpPagesExist_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file : {"SprayWidth.html", "WorkSpeed.html", "PumpCalibration.html", "ExternalSwitch.html"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }
    void helpPagesExist()
    {
        QFETCH(QString, file);
        for (const char *folder : {"zh_CN", "en_US"}) {
            QFile page(QStringLiteral(R7_SOURCE_ROOT "/Introduction/%1/%2").arg(QLatin1String(folder), file));
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
            const QString html = QString::fromUtf8(page.readAll());
            QVERIFY(html.contains(QLatin1String("help.css")));
            QCOMPARE(hasChinese(html), folder[0] == 'z');
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
        w->showPage(3);
        for (int subPage = 0; subPage < 4; ++subPage) {
            page()->showSubPage(subPage);
            if (subPage == 2) // a row's bar and box take part while the row runs
                clickSwitch(child<KivSwitch>("switchSpraySpeed"));
            const QList<QWidget *> controls = controlsOf(subPage);
            QVERIFY(!controls.isEmpty());
            for (QWidget *control : controls) {
                const QString what = control->objectName();
                const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty(), qPrintable(what));
                QVERIFY2(language == 1 || !hasChinese(name), qPrintable(what + QLatin1String(": ") + name));
            }
            for (QLabel *label : page()->stackedWidget()->widget(subPage)->findChildren<QLabel *>()) {
                const QString text = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
                QVERIFY2(language == 1 || !hasChinese(text), qPrintable(label->objectName() + QLatin1String(": ") + text));
            }
            QSet<QWidget *> missing(controls.begin(), controls.end());
            controls.first()->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 100 && !missing.isEmpty(); ++i) {
                missing.remove(focusedControl());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QStringList names;
            for (QWidget *left : std::as_const(missing))
                names << left->objectName();
            QVERIFY2(missing.isEmpty(), qPrintable(names.join(QLatin1Char(' '))));
            if (subPage == 2)
                page()->SlotSpraySpeedAllClose();
        }
        // The tabs too.
        for (QAbstractButton *tab : page()->tabGroup()->buttons()) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(tab);
            QVERIFY(!iface->text(QAccessible::Name).isEmpty());
            QVERIFY(language == 1 || !hasChinese(iface->text(QAccessible::Name)));
        }
    }

    void keyboardAndScreenReaderOperateThePage()
    {
        w->showPage(3);
        page()->showSubPage(2);
        SignalLog log(page());
        // Space on a switch runs the row; the arrow keys on its bar step the speed and send it.
        auto *normal = child<KivSwitch>("switchSpraySpeed");
        QTRY_VERIFY(!normal->isAnimating());
        normal->setFocus();
        QTest::keyClick(normal, Qt::Key_Space);
        QVERIFY(normal->isChecked());
        auto *bar = child<KivSliderControl>("sliSpraySpeed");
        bar->setFocus();
        QCOMPARE(QApplication::focusWidget(), bar);
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_PageUp);
        QCOMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 11.0);
        QCOMPARE(bar->value(), 11.0f);
        QCOMPARE(log.count("SignalSpraySpeed"), 2);
        // As a screen reader: the bar is a slider with a value, the switch a check box.
        QAccessibleInterface *barIface = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(barIface->role(), QAccessible::Slider);
        QCOMPARE(barIface->valueInterface()->currentValue().toInt(), 11);
        barIface->valueInterface()->setCurrentValue(64);
        QCOMPARE(int(aircraftParams().pumpSpeed), 64);
        QAccessibleInterface *boxIface = QAccessible::queryAccessibleInterface(child<QDoubleSpinBox>("spinSpraySpeed"));
        boxIface->valueInterface()->setCurrentValue(30);
        QCOMPARE(int(aircraftParams().pumpSpeed), 30);
        QAccessibleInterface *minimum = QAccessible::queryAccessibleInterface(child<KivSwitch>("switchSmallSpraySpeed"));
        QCOMPARE(minimum->role(), QAccessible::CheckBox);
        QTRY_VERIFY(!normal->isAnimating());
        minimum->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(minimum->state().checked);
        QVERIFY(!normal->isChecked());
        QCOMPARE(log.names.last(), QByteArray("SignalSpraySpeedEnd"));
    }

    void nothingClipped_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("subPage");
        for (int subPage = 0; subPage < 4; ++subPage) {
            QTest::addRow("Chinese %d", subPage) << 1 << subPage;
            QTest::addRow("English %d", subPage) << 0 << subPage;
        }
    }
    void nothingClipped()
    {
        QFETCH(int, language);
        QFETCH(int, subPage);
        setLanguage(language);
        w->showPage(3);
        page()->showSubPage(subPage);
        page()->showProbeHeight(12.34);
        QWidget *sub = page()->stackedWidget()->widget(subPage);
        QCoreApplication::processEvents();
        const QRect area = sub->rect();
        for (QWidget *widget : sub->findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            const QString what = widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(what));
            if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty() && !label->wordWrap())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(what + QLatin1String(": ") + label->text()));
            const QRect at(widget->mapTo(sub, QPoint(0, 0)), widget->size());
            QVERIFY2(area.contains(at), qPrintable(what));
        }
    }
};

QTEST_MAIN(tst_LumActaPhytophySin)
#include "tst_lumactaphytophysin.moc"
