// The settings page in the main window without a link: paced reads that survive the window,
// accessibility and keyboard in both languages, nothing clipped, and the page's own rules for
// values that are the user's and values that are the aircraft's.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/Language.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/SubPageRecord.h"
#include "widgets/KivChannelBar.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumPushButton.h"

#include "support/PageProbes.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

using PageProbes::hasChinese;
using PageProbes::focusedControl;

namespace {
KivMainWindow *w = nullptr;

KivSettingWgt *page()
{
    return w->settingsPage();
}

template<typename T>
T *child(const char *name)
{
    return page()->findChild<T *>(QLatin1String(name));
}

QList<QWidget *> controlsOf(int subPage)
{
    return PageProbes::tabReachable(page()->stackedWidget()->widget(subPage));
}

} // namespace

class tst_KivSettingWgt : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    void setLanguage(int code)
    {
        w->applyLanguage(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
        w->settingsPage()->SlotReturnHeightLoadPicture();
        w->settingsPage()->SlotGPSPositionLoadPicture();
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
        settingsSubPage = 0;
        linkConnected = 0;
        aircraftParams().SP_S = 0;
        w = new KivMainWindow;
        mainWindow = w;
        w->initLanguage(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTRY_VERIFY(page()->subPagesBuilt()); // right after the first paint
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

    // The second read of a tab waits with the event loop running; whatever happens meanwhile,
    // it is sent only when it still makes sense, and nothing touches a deleted page.
    void pacedReadStops_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("during");
        QTest::newRow("window closed") << 1 << QStringLiteral("close");
        QTest::newRow("link lost") << 2 << QStringLiteral("link");
        QTest::newRow("other tab") << 1 << QStringLiteral("tab");
        QTest::newRow("nothing") << 2 << QString();
    }
    void pacedReadStops()
    {
        QFETCH(int, tab);
        QFETCH(QString, during);
        linkConnected = 1;
        QSignalSpy channelReverse(page(), &KivSettingWgt::signal_request_RemoteChannelReverse);
        QSignalSpy gains(page(), &KivSettingWgt::signal_request_InductionDegrees);
        QSignalSpy battery(page(), &KivSettingWgt::signal_request_DC);
        QTimer::singleShot(50, this, [during] {
            if (during == QLatin1String("close")) {
                delete w;
                w = nullptr;
            } else if (during == QLatin1String("link")) {
                linkConnected = 0;
            } else if (during == QLatin1String("tab")) {
                page()->slot_tabClick(3);
            }
        });
        QPointer<KivSettingWgt> settings(page());
        settings->slot_tabClick(tab);
        QTest::qWait(300);
        const int second = channelReverse.size() + gains.size();
        QCOMPARE(second, during.isEmpty() ? 1 : 0);
        if (during == QLatin1String("tab")) {
            QCOMPARE(battery.size(), 1);
            QCOMPARE(page()->stackedWidget()->currentIndex(), 3);
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
        QCOMPARE(child<QLabel>("lblProtectFirst")->text(), language == 0 ? QStringLiteral("Warning") : QStringLiteral("报警"));
        for (int subPage = 0; subPage < 6; ++subPage) {
            page()->showSubPage(subPage);
            const QList<QWidget *> controls = controlsOf(subPage);
            QVERIFY(!controls.isEmpty());
            for (QWidget *control : controls) {
                const QString what = control->objectName();
                const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty(), qPrintable(what));
                QVERIFY2(language == 1 || !hasChinese(name), qPrintable(what + QLatin1String(": ") + name));
                if (qobject_cast<LumPushButton *>(control)) // pictures only: the name is also the tip
                    QCOMPARE(control->toolTip(), name);
            }
            // Tab reaches every control; a group of radio buttons is one Tab stop whose arrow
            // keys reach the others.
            QSet<QWidget *> missing(controls.begin(), controls.end());
            QList<QWidget *> reached;
            controls.first()->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 400 && !missing.isEmpty(); ++i) {
                reached << focusedControl();
                missing.remove(focusedControl());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            for (QWidget *radio : reached) {
                if (!qobject_cast<QRadioButton *>(radio) || !controls.contains(radio))
                    continue;
                radio->setFocus(Qt::TabFocusReason);
                for (int i = 0; i < 6; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
                    missing.remove(QApplication::focusWidget());
                }
            }
            QStringList names;
            for (QWidget *left : std::as_const(missing))
                names << left->objectName();
            QVERIFY2(missing.isEmpty(), qPrintable(names.join(QLatin1Char(' '))));
        }
    }

    void nothingClipped_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("subPage");
        for (int subPage = 0; subPage < 6; ++subPage) {
            QTest::addRow("Chinese %d", subPage) << 1 << subPage;
            QTest::addRow("English %d", subPage) << 0 << subPage;
        }
    }
    void nothingClipped()
    {
        QFETCH(int, language);
        QFETCH(int, subPage);
        setLanguage(language);
        page()->showSubPage(subPage);
        QWidget *sub = page()->stackedWidget()->widget(subPage);
        QCoreApplication::processEvents();
        const QRect area = sub->rect();
        for (QWidget *widget : sub->findChildren<QWidget *>()) {
            if (!widget->isVisible() || qobject_cast<LumPushButton *>(widget))
                continue; // the frame grid scrolls
            const bool text = qobject_cast<QLabel *>(widget) || qobject_cast<QAbstractButton *>(widget)
                              || qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget);
            if (!text)
                continue;
            const QString what = widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(what));
            if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(what + QLatin1String(": ") + label->text()));
            const QRect at(widget->mapTo(sub, QPoint(0, 0)), widget->size());
            QVERIFY2(area.contains(at), qPrintable(what));
        }
    }

    void gainEditOfflineIsRedAndUnsent()
    {
        QSignalSpy sent(guiController, &KivGuiController::send_GD);
        auto *box = child<QSpinBox>("editAttitude");
        page()->showSubPage(2);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("120"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->value(), 120);
        QVERIFY(box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        QCOMPARE(sent.size(), 0);
        // Connected: the step key is an edit too, and it is sent once.
        linkConnected = 1;
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(int(aircraftParams().sensRateP), 121);
    }

    void keyboardOperatesControls()
    {
        linkConnected = 1;
        page()->SlotHandShaked(true);
        aircraftParams().Contrl_Rec = 0;
        QSignalSpy frame(guiController, &KivGuiController::send_JX);
        QSignalSpy protect(guiController, &KivGuiController::send_DYBH);

        page()->showSubPage(0);
        auto *first = child<LumPushButton>("btn_jixing_1_1");
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Space);
        QCOMPARE(frame.size(), 1);
        // Arrows only move the focus: passing over a frame type does not send it.
        QTest::keyClick(first, Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("btn_jixing_1_2"));
        QCOMPARE(frame.size(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(frame.size(), 2);
        QCOMPARE(int(aircraftParams().Uav_Type), 1);

        page()->showSubPage(1);
        auto *pitchReverse = child<QPushButton>("btn_rev_3");
        pitchReverse->setFocus();
        QTest::keyClick(pitchReverse, Qt::Key_Space);
        QCOMPARE(int(aircraftParams().Contrl_Rec), 0x02);

        page()->showSubPage(3);
        auto *protection = child<KivSwitch>("switch_dianchi");
        protection->setFocus();
        QTest::keyClick(protection, Qt::Key_Space);
        QCOMPARE(protect.size(), 1);
    }

    // Re-translating rebuilds the action texts and keeps the aircraft's action: nothing is sent.
    void retranslatingSendsNoAction()
    {
        linkConnected = 1;
        aircraftParams().SP_S = 2;
        page()->setProtectSwitch(true);
        QSignalSpy protect(guiController, &KivGuiController::send_DYBH);
        setLanguage(0);
        setLanguage(1);
        QCOMPARE(protect.size(), 0);
        QCOMPARE(child<QComboBox>("comProtectFirst")->currentIndex(), 1);
        QCOMPARE(child<QLabel>("lblProtectSecond")->text(), QStringLiteral("着陆"));
    }

    void aircraftValuesOutsideTheBoxesAreMarked()
    {
        page()->setGPSPosition(char(80), char(-5));
        auto *x = child<QDoubleSpinBox>("spinGPSPositionX");
        auto *y = child<QDoubleSpinBox>("spinGPSPositionY");
        QCOMPARE(x->value(), 50.0);
        QVERIFY(x->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        QVERIFY(x->toolTip().contains(QLatin1String("80")));
        QCOMPARE(y->value(), -5.0);
        QVERIFY(!y->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        // The voltage boxes keep their own tip beside the mark, in the current language.
        page()->showProtectVoltages(70.0, 10.6);
        auto *first = child<QDoubleSpinBox>("editVoltageFirst");
        setLanguage(0);
        QVERIFY(first->toolTip().contains(QLatin1String("between 0 and 60")));
        QVERIFY(first->toolTip().contains(QLatin1String("70")));
        QVERIFY(!hasChinese(first->toolTip()));
    }

    void frameHelpFollowsThePointer()
    {
        page()->showSubPage(0);
        auto *hexaI = child<LumPushButton>("btn_jixing_2_2");
        QTest::mouseMove(hexaI, hexaI->rect().center());
        QTRY_COMPARE(page()->currentHelpPage(), QStringLiteral("Frame_HexaI.html"));
        QTest::mouseMove(hexaI, QPoint(hexaI->width() + 5, hexaI->height() / 2)); // the gap beside it
        QTRY_COMPARE(page()->currentHelpPage(), QStringLiteral("Frame.html"));
    }

    // The tiles of the sub-pages built after the first paint explain themselves as well.
    void tileHelpOnSubPagesBuiltLater_data()
    {
        QTest::addColumn<int>("subPage");
        QTest::addColumn<QString>("tile");
        QTest::newRow("receiver") << 1 << QStringLiteral("widget_Settings_RC_Type");
        QTest::newRow("gains") << 2 << QStringLiteral("widget_Settings_Sense_Sense");
        QTest::newRow("battery") << 3 << QStringLiteral("widget_Settings_Battery_Calibrate");
    }
    void tileHelpOnSubPagesBuiltLater()
    {
        QFETCH(int, subPage);
        QFETCH(QString, tile);
        page()->showSubPage(subPage);
        auto *hovered = page()->findChild<QWidget *>(tile);
        QTest::mouseMove(hovered, QPoint(4, 4));
        QTRY_COMPARE(page()->currentHelpPage(), tile.mid(int(qstrlen("widget_"))) + QStringLiteral(".html"));
    }

    // The pictures are loaded for the sub-page on show, in the language of the moment: also
    // when the language changed while another sub-page was on show.
    void picturesFollowTheLanguage()
    {
        auto *picture = child<QLabel>("lblPixmap");
        auto *gps = child<QLabel>("lblGPSPositionPixmap");
        QVERIFY(picture->styleSheet().isEmpty()); // not decoded while its sub-page is hidden
        page()->showSubPage(KivSettingWgt::kReturnHeightTab);
        QVERIFY(picture->styleSheet().contains(QLatin1String("CH_ReturnHeight.jpg")));
        setLanguage(0);
        QVERIFY(picture->styleSheet().contains(QLatin1String("EN_ReturnHeight.jpg")));
        QVERIFY(gps->styleSheet().isEmpty());
        page()->showSubPage(KivSettingWgt::kGpsPositionTab);
        QVERIFY(gps->styleSheet().contains(QLatin1String("EN_GPSPosition.png")));
        setLanguage(1);
        page()->showSubPage(KivSettingWgt::kReturnHeightTab);
        QVERIFY(picture->styleSheet().contains(QLatin1String("CH_ReturnHeight.jpg")));
    }

    // The sub-pages behind the first are built after the first paint. What the aircraft (or the
    // defaults before a link) showed meanwhile appears once they exist: the latest value of each
    // kind, values of different channels or gains each kept.
    void valuesShownBeforeTheSubPagesExist_data()
    {
        using Page = std::function<void(KivSettingWgt &)>;
        QTest::addColumn<Page>("show");
        QTest::addColumn<Page>("check");
        const auto spin = [](KivSettingWgt &p, const char *name) {
            if (auto *box = p.findChild<QSpinBox *>(QLatin1String(name)))
                return double(box->value());
            return p.findChild<QDoubleSpinBox *>(QLatin1String(name))->value();
        };
        const auto checked = [](KivSettingWgt &p, const char *name) {
            return p.findChild<QAbstractButton *>(QLatin1String(name))->isChecked();
        };
        QTest::newRow("receiver") << Page([](KivSettingWgt &p) { p.showReceiverType(1); p.showReceiverType(2); })
                                  << Page([=](KivSettingWgt &p) { QVERIFY(checked(p, "checkBox_PPM")); });
        QTest::newRow("channel reverse") << Page([](KivSettingWgt &p) { p.showChannelReverse(0x05); })
                                         << Page([=](KivSettingWgt &p) {
                                                QVERIFY(checked(p, "btn_rev_1") && checked(p, "btn_rev_4"));
                                                QVERIFY(!checked(p, "btn_rev_2") && !checked(p, "btn_rev_3"));
                                            });
        QTest::newRow("channel bars") << Page([](KivSettingWgt &p) {
                                             p.showChannelValue(10, 3);
                                             p.showChannelValue(60, 5);
                                             p.showChannelValue(30, 3);
                                         })
                                      << Page([](KivSettingWgt &p) {
                                             QCOMPARE(p.findChild<KivChannelBar *>(QStringLiteral("slider_youmen"))->value(), 30.0f);
                                             QCOMPARE(p.findChild<KivChannelBar *>(QStringLiteral("slider_kongzhimoshi"))->value(), 60.0f);
                                         });
        QTest::newRow("wheelbase") << Page([](KivSettingWgt &p) { p.showWheelbase(750); })
                                   << Page([=](KivSettingWgt &p) { QVERIFY(checked(p, "checkBox_FJZJ750")); });
        QTest::newRow("gains") << Page([](KivSettingWgt &p) {
                                      p.showGain(120, 1);
                                      p.showGain(150, 2);
                                      p.showGain(200, 1);
                                  })
                               << Page([=](KivSettingWgt &p) {
                                      QCOMPARE(spin(p, "editAttitude"), 200.0);
                                      QCOMPARE(spin(p, "editStable"), 150.0);
                                  });
        QTest::newRow("battery") << Page([](KivSettingWgt &p) {
                                        p.showCalibrationVoltage(24.5);
                                        p.showProtectVoltages(11.1, 10.5);
                                        p.SlotHandShaked(true);
                                        aircraftParams().SP_S = 2;
                                        p.setProtectSwitch(true);
                                    })
                                 << Page([=](KivSettingWgt &p) {
                                        QCOMPARE(spin(p, "spinVoltageCalibration"), 24.5);
                                        QCOMPARE(spin(p, "editVoltageFirst"), 11.1);
                                        QCOMPARE(spin(p, "editVoltageSecond"), 10.5);
                                        auto *protection = p.findChild<KivSwitch *>(QStringLiteral("switch_dianchi"));
                                        QVERIFY(protection->isEnabled() && protection->isChecked());
                                        QCOMPARE(p.findChild<QComboBox *>(QStringLiteral("comProtectFirst"))->currentIndex(), 1);
                                    });
        QTest::newRow("height and position") << Page([](KivSettingWgt &p) {
                                                    p.setReturnHeight(12);
                                                    p.setGPSPosition(char(5), char(-3));
                                                })
                                             << Page([=](KivSettingWgt &p) {
                                                    QCOMPARE(spin(p, "spinReturnHeight"), 12.0);
                                                    QCOMPARE(spin(p, "spinGPSPositionX"), 5.0);
                                                    QCOMPARE(spin(p, "spinGPSPositionY"), -3.0);
                                                });
    }
    void valuesShownBeforeTheSubPagesExist()
    {
        using Page = std::function<void(KivSettingWgt &)>;
        QFETCH(Page, show);
        QFETCH(Page, check);
        KivSettingWgt fresh; // never painted: nothing builds its sub-pages but the request below
        show(fresh);
        QCoreApplication::processEvents(); // only a paint starts the build
        QVERIFY(!fresh.subPagesBuilt());
        QVERIFY(!fresh.findChild<QWidget *>(QStringLiteral("editAttitude")));
        linkConnected = 1; // so that anything echoed would be sent
        std::vector<std::unique_ptr<QSignalSpy>> sends; // every send_* of the controller
        const QMetaObject *controller = guiController->metaObject();
        for (int i = 0; i < controller->methodCount(); ++i) {
            const QMetaMethod method = controller->method(i);
            if (method.methodType() == QMetaMethod::Signal && method.name().startsWith("send_"))
                sends.push_back(std::make_unique<QSignalSpy>(guiController, method));
        }
        QVERIFY(sends.size() >= 6);
        fresh.ensureSubPagesBuilt();
        check(fresh);
        for (const auto &spy : sends)
            QCOMPARE(spy->size(), 0); // shown, not sent back
    }

    // Switched to straight through the stack while the page is on show: the sub-page is built
    // and its widgets are visible at once, not after the next pass of the event loop.
    void subPageSwitchedToDirectlyIsComplete()
    {
        KivSettingWgt fresh;
        fresh.show();
        QVERIFY(!fresh.subPagesBuilt());
        fresh.stackedWidget()->setCurrentIndex(2);
        QVERIFY(fresh.subPagesBuilt());
        QVERIFY(fresh.findChild<QSpinBox *>(QStringLiteral("editAttitude"))->isVisible());
        QVERIFY(!fresh.findChild<QWidget *>(QStringLiteral("checkBox_FJZJ250"))->isVisible()); // no such aircraft
    }
};

QTEST_MAIN(tst_KivSettingWgt)
#include "tst_kivsettingwgt.moc"
