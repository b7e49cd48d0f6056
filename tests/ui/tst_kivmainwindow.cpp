// The main window as a user meets it: its form, connection display, navigation and help rules,
// dragging, keys, language switching and the update hint.
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/WaitWithEvents.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/SubPageRecord.h"
#include "ui/UpdateHint.h"
#include "update/KivUpdateWgt.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
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

template<typename T>
T *child(const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}
} // namespace

class tst_KivMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;


private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        guiController = new KivGuiController(this);
    }

    void init()
    {
        // A renamed form object would leave its slot unconnected with only a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
        w = new KivMainWindow;
        mainWindow = w;
        w->initLanguage(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        // The settings sub-pages behind the first are built right after the first paint.
        QTRY_VERIFY(w->settingsPage()->subPagesBuilt());
    }
    void cleanup()
    {
        delete w; // nothing if the test closed it
        w = nullptr;
    }

    void formObjects()
    {
        for (const char *name : {"btn_minWin", "btn_close", "btn_connect"})
            QVERIFY2(child<QPushButton>(name), name);
        for (const char *name : {"btn_settings", "btn_tools", "btn_ActaPhytophySin", "btn_update", "btn_zh_s_lan", "btn_en_lan"})
            QVERIFY2(child<QToolButton>(name), name);
        for (const char *name : {"lb_redLight", "lb_blueLight", "lblStaticVersion", "lblVersion"})
            QVERIFY2(child<QLabel>(name), name);
        QCOMPARE(w->size(), QSize(867, 751));
        QCOMPARE(child<QLabel>("lblVersion")->text(), QStringLiteral("1.55"));
        QVERIFY(!child<QPushButton>("btn_connect")->isEnabled());
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        auto *stack = child<QStackedWidget>("stackedWidget");
        QCOMPARE(stack->count(), 4);
        QCOMPARE(stack->currentIndex(), 0);
        // Controls without text still have a name for screen readers.
        for (const char *name : {"btn_minWin", "btn_close", "btn_zh_s_lan", "btn_en_lan", "lb_redLight", "lb_blueLight"})
            QVERIFY2(!w->findChild<QWidget *>(QLatin1String(name))->accessibleName().isEmpty(), name);
    }

    void connectionDisplay()
    {
        auto *button = child<QPushButton>("btn_connect");
        QCOMPARE(button->text(), QStringLiteral("   未连接"));
        QVERIFY(button->styleSheet().contains(QLatin1String("no_connect.png")));
        w->setConnectState(true);
        QCOMPARE(button->text(), QStringLiteral("   已连接"));
        QVERIFY(button->styleSheet().contains(QLatin1String("url(:/images/connect.png)")));
        w->setRedLamp(true);
        QVERIFY(!child<QLabel>("lb_redLight")->pixmap().isNull());
        QVERIFY(w->isRedLampOn());
        QSignalSpy relayed(w, &KivMainWindow::SignalHandShaked);
        auto *calibration = child<QPushButton>("btn_startCorrect");
        linkConnected = 1;
        calibration->setChecked(true);
        linkConnected = 0;
        w->slot_connectResult(false);
        QCOMPARE(relayed.size(), 1);
        QVERIFY(!calibration->isChecked()); // a lost link ends the RC calibration
    }

    // As a screen reader drives the window: it hears the connection state, and activating a page
    // button or a sub-page tab does what a click does.
    void accessibleActivationAndState()
    {
        auto *connectButton = child<QPushButton>("btn_connect");
        QAccessibleInterface *connectIface = QAccessible::queryAccessibleInterface(connectButton);
        QCOMPARE(connectIface->text(QAccessible::Name), QStringLiteral("未连接"));
        w->setConnectState(true);
        QCOMPARE(connectIface->text(QAccessible::Name), QStringLiteral("已连接"));

        QSignalSpy versions(w, &KivMainWindow::SignalRequestFirmwareVersion);
        auto *stack = child<QStackedWidget>("stackedWidget");
        const auto activate = [](QAbstractButton *button, const QString &action) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
            QVERIFY(iface && iface->actionInterface());
            QVERIFY(iface->actionInterface()->actionNames().contains(action));
            iface->actionInterface()->doAction(action);
        };
        activate(child<QToolButton>("btn_update"), QAccessibleActionInterface::toggleAction());
        QCOMPARE(stack->currentIndex(), 2);
        QCOMPARE(versions.size(), 1);
        subPageRecord.toolsTab = 1;
        activate(child<QToolButton>("btn_tools"), QAccessibleActionInterface::pressAction());
        QCOMPARE(stack->currentIndex(), 1);
        QCOMPARE(w->toolsPage()->currentHelpPage(), QStringLiteral("Motor.html"));
        QAbstractButton *tab = w->toolsPage()->tabGroup()->button(2);
        QSignalSpy tabClicks(w->toolsPage()->tabGroup(), &QButtonGroup::idClicked);
        activate(tab, QAccessibleActionInterface::toggleAction());
        QCOMPARE(tabClicks.size(), 1);
        QVERIFY(tab->isChecked());
        QVERIFY(QAccessible::queryAccessibleInterface(tab)->state().checked);
    }

    void frameTabReadsTheFrameType()
    {
        QSignalSpy frameReads(w, &KivMainWindow::signal_request_JX);
        QSignalSpy receiverReads(w, &KivMainWindow::signal_request_ReceiveType);
        QButtonGroup *tabs = w->settingsPage()->tabGroup();
        tabs->button(1)->click();
        tabs->button(0)->click();
        QTRY_COMPARE(receiverReads.size(), 1);
        QCOMPARE(frameReads.size(), 1);
    }

    void pageButtonsAndHelpIndex()
    {
        QSignalSpy versions(w, &KivMainWindow::SignalRequestFirmwareVersion);
        auto *stack = child<QStackedWidget>("stackedWidget");
        subPageRecord.toolsTab = 3;
        QTest::mouseClick(child<QToolButton>("btn_tools"), Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), 1);
        QCOMPARE(int(subPageRecord.helpIndex), 8);
        QCOMPARE(w->toolsPage()->currentHelpPage(), QStringLiteral("Parameter.html"));
        // Tab 0 of the tools page has no help page: nothing is reloaded.
        subPageRecord.toolsTab = 0;
        w->toolsPage()->clearHelpPage();
        QTest::mouseClick(child<QToolButton>("btn_settings"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>("btn_tools"), Qt::LeftButton);
        QCOMPARE(int(subPageRecord.helpIndex), 5);
        QVERIFY(w->toolsPage()->currentHelpPage().isEmpty());
        subPageRecord.settingsTab = 2;
        QTest::mouseClick(child<QToolButton>("btn_settings"), Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(w->settingsPage()->currentHelpPage(), QStringLiteral("Gain.html"));
        QTest::mouseClick(child<QToolButton>("btn_update"), Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), 2);
        QCOMPARE(versions.size(), 1);
        // Only the monitoring of the page on show runs.
        QVERIFY(!w->toolsPage()->isMonitoring());
        QTest::mouseClick(child<QToolButton>("btn_tools"), Qt::LeftButton);
        QVERIFY(w->toolsPage()->isMonitoring());
    }

    // A help page that is not installed: a note naming it, in the pages' own help views.
    void missingHelpPageShowsANote()
    {
        w->toolsPage()->clearHelpPage();
        w->toolsPage()->loadHelpPage(QStringLiteral("NoSuchPage.html"));
        QVERIFY(
            w->toolsPage()->helpView()->toPlainText().contains(QLatin1String("NoSuchPage.html")));
        // No help folder at all (a language without one) for the update page's own help.
        const auto restore = qScopeGuard([] { languageCode = 1; });
        languageCode = 7;
        w->updatePage()->reloadHelpText();
        QVERIFY(w->updatePage()->infoView()->toPlainText().contains(
            QLatin1String("FirmwareUpdate.html")));
    }

    void sprayingButtonReadsFourValues()
    {
        QList<QPair<QByteArray, qint64>> requests;
        QElapsedTimer clock;
        clock.start();
        for (auto signal : {&KivMainWindow::SignalRequestSpraySpeed, &KivMainWindow::SignalRequestSmallSpraySpeed,
                            &KivMainWindow::SignalRequestSetSprayWidth, &KivMainWindow::SignalRequestSetWorkSpeed}) {
            const QByteArray name = QMetaMethod::fromSignal(signal).name();
            connect(w, signal, this, [&requests, &clock, name] { requests.append({name, clock.elapsed()}); });
        }
        QTest::mouseClick(child<QToolButton>("btn_ActaPhytophySin"), Qt::LeftButton);
        QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), 3);
        // The page's own entry (its first tab reads the spray width), then the window's four.
        QCOMPARE(requests.size(), 5);
        QCOMPARE(requests[0].first, QByteArray("SignalRequestSetSprayWidth"));
        QCOMPARE(requests[1].first, QByteArray("SignalRequestSpraySpeed"));
        QCOMPARE(requests[2].first, QByteArray("SignalRequestSmallSpraySpeed"));
        QCOMPARE(requests[3].first, QByteArray("SignalRequestSetSprayWidth"));
        QCOMPARE(requests[4].first, QByteArray("SignalRequestSetWorkSpeed"));
        for (int i = 2; i < 5; ++i)
            QVERIFY(requests[i].second - requests[i - 1].second >= 490);
        // Again while already checked: five more.
        QTest::mouseClick(child<QToolButton>("btn_ActaPhytophySin"), Qt::LeftButton);
        QCOMPARE(requests.size(), 10);
    }

    void dragOnlyFromTheTitleBar()
    {
        const QPoint start = w->pos();
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(400, 300)); // inside the pages
        QTest::mouseMove(w, QPoint(450, 350));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(450, 350));
        QCOMPARE(w->pos(), start);
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(300, 15)); // title bar
        QMouseEvent move(QEvent::MouseMove, QPointF(340, 45), w->mapToGlobal(QPointF(340, 45)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(340, 45));
        QCOMPARE(w->pos(), start + QPoint(40, 30));
    }

    void returnKeyOncePerPress()
    {
        QSignalSpy keys(w, &KivMainWindow::keyPress);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        for (QKeyEvent *e : {&press, &repeat, &repeat, &enter, &other})
            QApplication::sendEvent(w, e);
        QCOMPARE(keys.size(), 2);
        QCOMPARE(keys.at(0).at(0).toInt(), 0);
    }

    void updateHint_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("shown");
        QTest::newRow("newer") << QByteArray("{\"code\":200,\"info\":{\"version\":1.6,\"url\":\"https://example.com/r7\"}}") << true;
        QTest::newRow("same") << QByteArray("{\"code\":200,\"info\":{\"version\":1.55,\"url\":\"https://example.com/r7\"}}") << false;
        QTest::newRow("refused") << QByteArray("{\"code\":404,\"info\":{\"version\":\"2.0\",\"url\":\"https://example.com/r7\"}}") << false;
    }
    void updateHint()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, shown);
        w->parseSoftwareUpdateReply(reply);
        QCOMPARE(w->updateHint()->isVisible(), shown);
    }

    void switchingToEnglishAndBack()
    {
        auto *settings = child<QToolButton>("btn_settings");
        QTest::mouseClick(child<QToolButton>("btn_en_lan"), Qt::LeftButton);
        QCOMPARE(languageCode, 0);
        QTRY_COMPARE(settings->text(), QStringLiteral("Settings")); // the change event is posted
        QCOMPARE(child<QPushButton>("btn_connect")->text().trimmed(), QStringLiteral("Not connected"));
        QCOMPARE(child<QToolButton>("btn_tools")->text(), QStringLiteral("Tools"));
        QCOMPARE(child<QToolButton>("btn_ActaPhytophySin")->text(), QStringLiteral("Spraying"));
        QCOMPARE(child<QLabel>("lblStaticVersion")->text(), QStringLiteral("Version:"));
        auto *version = child<QLabel>("lblStaticVersion");
        QTRY_VERIFY2(version->width() >= version->sizeHint().width(), "the longer English text is cut");
        QVERIFY(!child<QPushButton>("btn_close")->accessibleName().contains(QChar(0x5173))); // no longer "关闭"
        QCOMPARE(readIniValue(configFilePath(), QStringLiteral("Language")), QStringLiteral("EN"));
        QCOMPARE(w->windowTitle(), QStringLiteral("R7 Assistant"));
        QTest::mouseClick(child<QToolButton>("btn_zh_s_lan"), Qt::LeftButton);
        QTRY_COMPARE(settings->text(), QStringLiteral("设置"));
        QCOMPARE(languageCode, 1);
    }

    // Start-up builds only the page on show. The others are built however they first come on
    // show (their button, or the stack switched directly as a screen reader or a test may),
    // shown at once, in the language of the moment, with the selection that brought them.
    void lazyPagesBuiltWhenShown_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("button"); // empty: the stack is switched directly
        QTest::addColumn<QByteArray>("firstTab");
        QTest::addColumn<QString>("englishTab");
        QTest::newRow("tools by its button") << 1 << QByteArray("btn_tools") << QByteArray("btn_dianjiceshi") << QStringLiteral("Motors");
        QTest::newRow("tools by the stack") << 1 << QByteArray() << QByteArray("btn_dianjiceshi") << QStringLiteral("Motors");
        QTest::newRow("spraying by its button") << 3 << QByteArray("btn_ActaPhytophySin") << QByteArray("btnSprayWidth") << QStringLiteral("Spray width");
        QTest::newRow("spraying by the stack") << 3 << QByteArray() << QByteArray("btnSprayWidth") << QStringLiteral("Spray width");
    }
    void lazyPagesBuiltWhenShown()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, button);
        QFETCH(QByteArray, firstTab);
        QFETCH(QString, englishTab);
        QVERIFY(!w->builtToolsPage());
        QVERIFY(!w->builtSprayingPage());
        QVERIFY(!child<QAbstractButton>(firstTab));
        QTest::mouseClick(child<QToolButton>("btn_en_lan"), Qt::LeftButton);
        QTRY_COMPARE(child<QToolButton>("btn_settings")->text(), QStringLiteral("Settings"));
        QSignalSpy monitoring(w, &KivMainWindow::SignalOnlineMonitoring);
        auto *stack = child<QStackedWidget>("stackedWidget");
        if (button.isEmpty())
            stack->setCurrentIndex(index);
        else
            QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), index);
        QWidget *page = index == 1 ? static_cast<QWidget *>(w->builtToolsPage()) : w->builtSprayingPage();
        QVERIFY(page);
        QVERIFY(page->isVisible());
        QCOMPARE(page->size(), stack->size());
        QCOMPARE(child<QAbstractButton>(firstTab)->text(), englishTab);
        QCOMPARE(index == 1 ? w->builtSprayingPage() != nullptr : w->builtToolsPage() != nullptr, false);
        if (index == 1) { // online monitoring runs while the tools page is on show
            QTRY_VERIFY(!monitoring.isEmpty());
            QCOMPARE(w->builtToolsPage()->shownMotorIdle(), 3); // before the aircraft says
        }
        QTest::mouseClick(child<QToolButton>("btn_zh_s_lan"), Qt::LeftButton);
        QTRY_COMPARE(child<QAbstractButton>(firstTab)->text(),
                     QCoreApplication::translate(index == 1 ? "KivToolsWgt" : "LumActaPhytophySin",
                                                 index == 1 ? "电机" : "喷幅"));
    }

    // Tab goes from the page buttons into the page on show and from there to the language
    // buttons of the status bar, also for a page built after start-up.
    void tabOrderRunsThroughThePageOnShow_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("subPage"); // of the settings page, built after the first paint
        QTest::newRow("settings") << 0 << 0;
        QTest::newRow("settings, receiver") << 0 << 1;
        QTest::newRow("settings, battery") << 0 << 3;
        QTest::newRow("tools") << 1 << 0;
        QTest::newRow("update") << 2 << 0;
        QTest::newRow("spraying") << 3 << 0;
    }
    void tabOrderRunsThroughThePageOnShow()
    {
        QFETCH(int, index);
        QFETCH(int, subPage);
        w->showPage(index);
        w->settingsPage()->showSubPage(subPage);
        QWidget *page = child<QStackedWidget>("stackedWidget")->currentWidget();
        QList<QWidget *> sequence; // what Tab visits, in order
        for (QWidget *next = w->nextInFocusChain(); next != w; next = next->nextInFocusChain())
            if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus))
                sequence << next;
        const auto inPage = [page](QWidget *widget) { return page->isAncestorOf(widget); };
        const qsizetype first = std::find_if(sequence.cbegin(), sequence.cend(), inPage) - sequence.cbegin();
        const qsizetype last = sequence.crend() - std::find_if(sequence.crbegin(), sequence.crend(), inPage) - 1;
        QVERIFY2(first < sequence.size(), "nothing on the page takes focus");
        QCOMPARE(std::count_if(sequence.cbegin(), sequence.cend(), inPage), last - first + 1); // one run
        QVERIFY(sequence.indexOf(child<QToolButton>("btn_update")) < first);
        QCOMPARE(sequence.indexOf(child<QToolButton>("btn_zh_s_lan")), last + 1);
    }

    void closingDeletesTheWindow()
    {
        QPointer<KivMainWindow> window(w);
        QTest::mouseClick(child<QPushButton>("btn_close"), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        w = nullptr;
    }

    // The paced sequences wait with the event loop running: the user may close the window in
    // the middle. The sequence ends there (run under AddressSanitizer, nothing touches the
    // deleted window).
    void closingDuringTheSprayingReadsEndsThem()
    {
        QPointer<KivMainWindow> window(w);
        QSignalSpy speed(w, &KivMainWindow::SignalRequestSpraySpeed);
        QSignalSpy small(w, &KivMainWindow::SignalRequestSmallSpraySpeed);
        QSignalSpy width(w, &KivMainWindow::SignalRequestSetSprayWidth);
        QSignalSpy work(w, &KivMainWindow::SignalRequestSetWorkSpeed);
        QTimer::singleShot(200, w, &QWidget::close);
        QTest::mouseClick(child<QToolButton>("btn_ActaPhytophySin"), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        w = nullptr;
        QTest::qWait(1600);
        QCOMPARE(speed.size(), 1);
        QCOMPARE(width.size(), 1); // the page's entry, before the window's paced reads
        QCOMPARE(small.size() + work.size(), 0);
    }

    void closingDuringTheVersionRequests()
    {
        QPointer<KivMainWindow> window(w);
        // Stands in for the application's twelve paced version requests.
        connect(w, &KivMainWindow::SignalRequestFirmwareVersion, this, [] { waitWithEvents(300); });
        QTimer::singleShot(100, w, &QWidget::close);
        QTest::mouseClick(child<QToolButton>("btn_update"), Qt::LeftButton);
        QVERIFY(window.isNull());
        w = nullptr;
    }
};

QTEST_MAIN(tst_KivMainWindow)
#include "tst_kivmainwindow.moc"
