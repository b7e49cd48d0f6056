// The spraying page in the main window without a link. What reaches the aircraft is checked on the
// wire by tst_e2e_sprayingpage; here: what the simulator cannot reach (paced reads cut short, the
// window closed by other means, the minimum row stopped), accessibility, keyboard, clipping.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/KivMainWindow.h"
#include "ui/LumActaPhytophySin.h"
#include "widgets/KivSliderControl.h"
#include "widgets/KivSwitch.h"

#include "support/PageProbes.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
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
#include <QTimer>
#include <QToolButton>

using PageProbes::hasChinese;
using PageProbes::focusedControl;

namespace {
KivMainWindow *w = nullptr;

LumActaPhytophySin *page() { return w->sprayingPage(); }

template<typename T>
T *child(const QByteArray &name)
{
    T *widget = page()->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name.constData());
    return widget;
}

bool isPending(QWidget *box) { return box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")); }
bool isConfirmed(QWidget *box) { return box->styleSheet().contains(QLatin1String("rgb(123, 123, 123)")); }

QList<QWidget *> controlsOf(int subPage)
{
    return PageProbes::tabReachable(page()->stackedWidget()->widget(subPage));
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

void clickTab(int index) { QTest::mouseClick(page()->tabGroup()->button(index), Qt::LeftButton); }

// Shows the pump sub-page without waiting through its paced reads.
void showPumpPage()
{
    w->showPage(3);
    page()->showSubPage(2);
}

// `row` is "SpraySpeed" (normal) or "SmallSpraySpeed" (minimum).
void runRow(const QByteArray &row, int speed)
{
    showPumpPage();
    clickSwitch(child<KivSwitch>("switch" + row));
    child<QDoubleSpinBox>("spin" + row)->setValue(speed);
    QVERIFY(page()->isPumpRunning());
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

    // Return in the box is the set button too.
    void returnSetsOnlyWhileConnected()
    {
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetSprayWidth);
        auto *spin = child<QDoubleSpinBox>("spinSetSprayWidth");
        spin->setValue(6.5);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(sent.size(), 0);
        QVERIFY(isPending(spin));
        linkConnected = 1;
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).toInt(), 650);
        QVERIFY(isConfirmed(spin));
    }

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
        QCOMPARE(page()->currentHelpPage(), help);
        // The tab already shown: nothing read, no help reloaded.
        log.names.clear();
        page()->clearHelpPage();
        clickTab(tab);
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 100);
        QVERIFY(log.names.isEmpty());
        QVERIFY(page()->currentHelpPage().isEmpty());
    }

    // The second pump read is paced, waiting with the event loop running: it is sent only if it
    // still makes sense, and nothing touches a deleted page.
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
        QElapsedTimer clock;
        qint64 first = -1, second = -1;
        connect(page(), &LumActaPhytophySin::SignalRequestSpraySpeed, this, [&] { first = clock.elapsed(); });
        connect(page(), &LumActaPhytophySin::SignalRequestSmallSpraySpeed, this, [&] { second = clock.elapsed(); });
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
        clock.start();
        clickTab(2);
        QTest::qWait(LumActaPhytophySin::kPumpReadPacingMs + 200);
        QVERIFY(first >= 0);
        QCOMPARE(second >= 0, during.isEmpty());
        if (during.isEmpty())
            QVERIFY(second - first >= LumActaPhytophySin::kPumpReadPacingMs - 5);
        QCOMPARE(spraying.isNull(), during == QLatin1String("close"));
    }

    // The spraying button shows the pump sub-page with its paced reads; closing the window in
    // the middle ends both the page's and the window's sequence (nothing touches the deleted window).
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

    // The e2e test has the other direction on the wire.
    void normalRowStopsTheMinimumRowFirst()
    {
        runRow("SmallSpraySpeed", 25);
        SignalLog log(page());
        clickSwitch(child<KivSwitch>("switchSpraySpeed"));
        QCOMPARE(log.names, QList<QByteArray>{"SignalSmallSpraySpeedEnd"});
        QVERIFY(!child<KivSwitch>("switchSmallSpraySpeed")->isChecked());
        QVERIFY(!child<QDoubleSpinBox>("spinSmallSpraySpeed")->isEnabled());
    }

    void linkLostSwitchesBothRowsOff_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("normal") << QByteArray("SpraySpeed");
        QTest::newRow("minimum") << QByteArray("SmallSpraySpeed");
    }
    void linkLostSwitchesBothRowsOff()
    {
        QFETCH(QByteArray, row);
        runRow(row, 40);
        SignalLog log(page());
        w->slot_connectResult(false);
        QVERIFY(log.names.isEmpty()); // nothing to send the stop on
        QVERIFY(!child<KivSwitch>("switchSpraySpeed")->isChecked());
        QVERIFY(!child<KivSwitch>("switchSmallSpraySpeed")->isChecked());
    }

    // The e2e test closes with the close button; any other close stops the run too.
    void closingTheWindowStopsTheRun()
    {
        runRow("SpraySpeed", 55);
        QPointer<KivMainWindow> window(w);
        SignalLog log(page());
        w->close();
        QCOMPARE(log.names, QList<QByteArray>{"SignalSpraySpeedEnd"});
        QTRY_VERIFY(window.isNull());
        w = nullptr;
    }

    void pumpReplyResendsARunningRow()
    {
        runRow("SpraySpeed", 50);
        QSignalSpy run(page(), &LumActaPhytophySin::SignalSpraySpeed);
        QSignalSpy small(page(), &LumActaPhytophySin::SignalSmallSpraySpeed);
        aircraftParams().pumpSpeed = 70;
        aircraftParams().smallPumpSpeed = 15;
        page()->SlotUpdateSprayTest();
        QCOMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 70.0);
        QCOMPARE(child<KivSliderControl>("sliSmallSpraySpeed")->value(), 15.0f);
        QCOMPARE(run.size(), 1);
        QCOMPARE(small.size(), 0); // that row is off
    }

    // The aircraft's switch states are shown, not sent back; the height only while switch 2 is on.
    void radarHeight()
    {
        QSignalSpy sent(page(), &LumActaPhytophySin::SignalSetExternalSwitch);
        auto *height = child<QLabel>("lblInfraredProbeHeightValue");
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        aircraftParams().extSwitch1 = 1;
        aircraftParams().extSwitch2 = 1;
        for (int number : {1, 2, 7})
            page()->SlotExternalSwitch(number);
        QVERIFY(child<KivSwitch>("switchLiquidLevelSensor")->isChecked());
        QVERIFY(child<KivSwitch>("switchInfraredSensor")->isChecked());
        page()->showProbeHeight(3.256);
        QCOMPARE(height->text(), QStringLiteral("3.26"));
        QVERIFY(height->accessibleName().contains(QLatin1String("3.26")));
        page()->showProbeHeight(0.5);
        QCOMPARE(height->text(), QStringLiteral("0.50"));
        aircraftParams().extSwitch2 = 0;
        page()->SlotExternalSwitch(2);
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        page()->showProbeHeight(4.5);
        QCOMPARE(height->text(), QStringLiteral("N/A"));
        QCOMPARE(sent.size(), 0);
    }

    void helpPagesExistInBothLanguages()
    {
        for (const char *file : {"SprayWidth.html", "WorkSpeed.html", "PumpCalibration.html", "ExternalSwitch.html", "SprayRate.html"}) {
            for (const char *folder : {"zh_CN", "en_US"}) {
                QFile help(QStringLiteral(R7_SOURCE_ROOT "/Introduction/%1/%2").arg(QLatin1String(folder), QLatin1String(file)));
                QVERIFY2(help.open(QIODevice::ReadOnly), qPrintable(help.fileName()));
                QCOMPARE(hasChinese(QString::fromUtf8(help.readAll())), folder[0] == 'z');
            }
        }
    }

    // The helper opens from the speed tab with the page's values; results follow the typing.
    void sprayRateHelper_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("none");
        QTest::newRow("Chinese") << 1 << QStringLiteral("所需流量：1.20 升/分钟") << QStringLiteral("应设药泵百分比：60 %")
                                 << QStringLiteral("请输入大于 0 的数值");
        QTest::newRow("English") << 0 << QStringLiteral("Required flow: 1.20 L/min") << QStringLiteral("Pump setting: 60 %")
                                 << QStringLiteral("Enter numbers above 0");
    }
    void sprayRateHelper()
    {
        QFETCH(int, language);
        QFETCH(QString, flow);
        QFETCH(QString, percent);
        QFETCH(QString, none);
        setLanguage(language);
        w->showPage(3);
        page()->showSubPage(1);
        child<QDoubleSpinBox>("spinSetSprayWidth")->setValue(4);
        child<QDoubleSpinBox>("spinSetWorkSpeed")->setValue(5);
        child<QDoubleSpinBox>("spinSpraySpeed")->setValue(50);
        QTest::mouseClick(child<QPushButton>("btnSprayRateSpeed"), Qt::LeftButton);
        QDialog *dialog = page()->findChild<QDialog *>(QStringLiteral("SprayRateDialog"));
        QVERIFY(dialog && dialog->isVisible());
        const auto type = [dialog](const char *box, const char *text) {
            auto *spin = dialog->findChild<QDoubleSpinBox *>(QLatin1String(box));
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, QLatin1String(text));
        };
        const auto shown = [dialog](const char *label) { return dialog->findChild<QLabel *>(QLatin1String(label))->text(); };
        type("spinApplicationRate", "0");
        QCOMPARE(shown("lblRequiredFlow"), none); // no result for zero
        type("spinApplicationRate", "10");
        QCOMPARE(shown("lblRequiredFlow"), flow);
        type("spinRunSeconds", "60");
        type("spinRunLitres", "1");
        QCOMPARE(shown("lblPumpPercent"), percent);
        for (QWidget *control : PageProbes::tabReachable(dialog)) {
            const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty() && (language == 1 || !hasChinese(name)), qPrintable(control->objectName() + name));
        }
        QTest::keyClick(dialog->findChild<QDoubleSpinBox *>(QStringLiteral("spinRunLitres")), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
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
        const auto checkName = [language](QWidget *widget, bool required) {
            const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            const QString what = widget->objectName() + QLatin1String(": ") + name;
            QVERIFY2(!required || !name.isEmpty(), qPrintable(what));
            QVERIFY2(language == 1 || !hasChinese(name), qPrintable(what));
        };
        for (QAbstractButton *tab : page()->tabGroup()->buttons())
            checkName(tab, true);
        for (int subPage = 0; subPage < 4; ++subPage) {
            page()->showSubPage(subPage);
            if (subPage == 2) // a row's bar and box take part while the row runs
                clickSwitch(child<KivSwitch>("switchSpraySpeed"));
            const QList<QWidget *> controls = controlsOf(subPage);
            QVERIFY(!controls.isEmpty());
            for (QWidget *control : controls)
                checkName(control, true);
            for (QLabel *label : page()->stackedWidget()->widget(subPage)->findChildren<QLabel *>())
                checkName(label, false);
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
    }

    // Space on a switch runs the row; the arrow keys on its bar step the speed and send it.
    void keyboardOperatesAPumpRow()
    {
        showPumpPage();
        SignalLog log(page());
        auto *normal = child<KivSwitch>("switchSpraySpeed");
        QTRY_VERIFY(!normal->isAnimating());
        normal->setFocus();
        QTest::keyClick(normal, Qt::Key_Space);
        QVERIFY(normal->isChecked());
        auto *bar = child<KivSliderControl>("sliSpraySpeed");
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_PageUp);
        QCOMPARE(child<QDoubleSpinBox>("spinSpraySpeed")->value(), 11.0);
        QCOMPARE(log.count("SignalSpraySpeed"), 2);
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
        for (QWidget *widget : sub->findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            const QString what = widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(what));
            if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty() && !label->wordWrap())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(what + QLatin1String(": ") + label->text()));
            QVERIFY2(sub->rect().contains(QRect(widget->mapTo(sub, QPoint(0, 0)), widget->size())), qPrintable(what));
        }
    }
};

QTEST_MAIN(tst_LumActaPhytophySin)
#include "tst_lumactaphytophysin.moc"
