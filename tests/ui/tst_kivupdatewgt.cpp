// The firmware update page in the main window, without a link or services: the offer, the
// confirmation and its answers, progress, success and refusal, the row being flashed left alone,
// and every control reachable in both languages. Version comparison is checked in
// tst_updatehelpers and end to end.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/Configuration.h"
#include "ui/KivMainWindow.h"
#include "update/KivUpdateWgt.h"

#include "support/PageProbes.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using PageProbes::hasChinese;

namespace {
KivMainWindow *w = nullptr;

KivUpdateWgt *page()
{
    return w->updatePage();
}

template<typename T>
T *child(const QString &name)
{
    return page()->findChild<T *>(name);
}

QMessageBox *openBox(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return static_cast<QMessageBox *>(widget);
    }
    return nullptr;
}

void answer(QMessageBox *box, const QString &buttonText)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == buttonText) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button ") + buttonText));
}

} // namespace

class tst_KivUpdateWgt : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    static QString catalogue(const QString &fcuVersion,
                             const QString &notes = QStringLiteral("1. 优化\n2. <b>粗</b>"))
    {
        QJsonObject fcu{{"version", fcuVersion},
                        {"releaseNote", notes},
                        {"eng_releaseNote", QStringLiteral("1. Better\n2. <b>bold</b>")},
                        {"releaseDate", "2024-03-05 10:10:00"},
                        {"url", "http://127.0.0.1:1/files/fcu.bin"}};
        QJsonObject pmu{{"version", "1.9"}, {"url", "http://127.0.0.1:1/files/pmu.bin"}};
        return QString::fromUtf8(QJsonDocument(QJsonObject{{"FCU", fcu}, {"PMU", pmu}}).toJson());
    }
    void setAircraftVersion(int module, int major, int minor)
    {
        aircraftParams().moduleVersion[module].major = uint8_t(major);
        aircraftParams().moduleVersion[module].minor = uint8_t(minor);
    }
    QString imageFile()
    {
        const QString path = m_home.filePath(QStringLiteral("fcu.bin"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(500, 'F'));
        return path;
    }
    // FCU 2.9 on the aircraft, 3.00 in the catalogue, the image downloaded: the button is offered.
    void offerFcu()
    {
        linkConnected = 1;
        // Every parameter group read from the aircraft: the backup before the update needs no reads.
        for (uint8_t command : {0x02, 0x04, 0x06, 0x09, 0x0A, 0x0C, 0x08})
            guiController->returnInfo(command, QString());
        setAircraftVersion(0, 2, 9);
        page()->UpdateFileReady({QString(), catalogue(QStringLiteral("3.00")), 2});
        page()->UpdateFileReady({QStringLiteral("FCU"), imageFile(), 1});
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::UpdateButtonPage));
    }
    // Clicks the FCU button as assistive technology does, and answers the confirmation.
    void confirmFcu(const QString &buttonText)
    {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(
            child<QToolButton>(QStringLiteral("btnUpdateFCU")));
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(openBox("confirmUpdateBox"));
        QCOMPARE(openBox("confirmUpdateBox")->text(), QStringLiteral("确认将固件升级到3.00"));
        if (!buttonText.isEmpty())
            answer(openBox("confirmUpdateBox"), buttonText);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        setServiceBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:1"))); // nothing listens
        guiController = new KivGuiController(this);
    }
    void init()
    {
        linkConnected = 0;
        for (int i = 0; i < AircraftParams::kModuleCount; ++i)
            setAircraftVersion(i, 0, 0);
        w = new KivMainWindow;
        mainWindow = w;
        w->initLanguage(1);
        storeLanguage(1);
        w->showPage(2);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanup()
    {
        for (const char *name : {"confirmUpdateBox", "updateSuccessBox", "updateRefusedBox"}) {
            if (QMessageBox *box = openBox(name))
                box->close();
        }
        w->applyLanguage(1);
        delete w;
        w = nullptr;
        mainWindow = nullptr;
        linkConnected = 0;
    }

    // The page clears "IniTmp" of the data folder, not of whatever folder it was started from.
    void temporaryFilesOfTheDataFolder()
    {
        QTemporaryDir startedFrom;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(startedFrom.path()));
        const QString ours = dataFolderPath() + QStringLiteral("IniTmp/old.ini");
        const QString theirs = startedFrom.filePath(QStringLiteral("Data/IniTmp/keep.ini"));
        for (const QString &path : {ours, theirs}) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        {
            KivUpdateWgt another;
        }
        QDir::setCurrent(previous);
        QVERIFY(!QFile::exists(ours));
        QVERIFY(QFile::exists(theirs));
    }

    // A catalogue that is not JSON keeps the one we had, and with it the offer.
    void brokenCatalogueChangesNothing()
    {
        offerFcu();
        page()->UpdateFileReady({QString(), QStringLiteral("<html>busy</html>"), 2});
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::UpdateButtonPage));
        QCOMPARE(versionJsonValue(QStringLiteral("FCU"), QStringLiteral("version")),
                 QStringLiteral("3.00"));
    }

    // Notes shown by language, escaped: markup from the network is shown as text.
    void releaseNotesByLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Chinese") << 1 << "2. <b>粗</b>";
        QTest::newRow("English") << 0 << "2. <b>bold</b>";
    }
    void releaseNotesByLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, expected);
        offerFcu();
        storeLanguage(language);
        page()->SlotEnterIn(QStringLiteral("widget_FCU"));
        QVERIFY2(page()->infoView()->toPlainText().contains(expected),
                 qPrintable(page()->infoView()->toPlainText()));
        page()->SlotEnterIn(QStringLiteral("widget_GMU")); // no notes: the help page
        QVERIFY(!page()->infoView()->toPlainText().contains(expected));
        // Keyboard focus on the button shows them as the pointer does.
        child<QToolButton>(QStringLiteral("btnUpdateFCU"))->setFocus(Qt::TabFocusReason);
        QVERIFY(page()->infoView()->toPlainText().contains(expected));
    }

    // "确定" starts the transfer of the row's image only while the link is up and the image is
    // still there; "取消", closing the box, or the link going (which closes it) start nothing.
    void confirmation_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("starts");
        QTest::newRow("OK") << "确定"
                            << "" << true;
        QTest::newRow("cancel") << "取消"
                                << "" << false;
        QTest::newRow("window closed") << ""
                                       << "close" << false;
        QTest::newRow("OK after the link went down") << "确定"
                                                     << "link" << false;
        QTest::newRow("OK after the image was forgotten") << "确定"
                                                          << "image" << false;
        QTest::newRow("link lost: the box closes") << ""
                                                   << "unplug" << false;
    }
    void confirmation()
    {
        QFETCH(QString, button);
        QFETCH(QString, meanwhile);
        QFETCH(bool, starts);
        offerFcu();
        QSignalSpy request(guiController, &KivGuiController::SignalFirmwareUpdataRequest);
        confirmFcu(QString());
        QMessageBox *box = openBox("confirmUpdateBox");
        if (meanwhile == QLatin1String("link") || meanwhile == QLatin1String("unplug"))
            linkConnected = 0;
        else if (meanwhile == QLatin1String("image"))
            setFileMapValue(QStringLiteral("FCU"), QString());
        if (meanwhile == QLatin1String("close"))
            box->close();
        else if (meanwhile == QLatin1String("unplug"))
            w->slot_connectResult(false);
        else
            answer(box, button);
        QTRY_VERIFY(!openBox("confirmUpdateBox"));
        QCOMPARE(request.size(), starts ? 1 : 0);
        QCOMPARE(child<QWidget>(QStringLiteral("widget_bg"))->isEnabled(), !starts);
        if (starts) {
            QCOMPARE(request.first().at(0).toInt(), 0);
            QCOMPARE(request.first().at(1).toString(), imageFile());
            QCOMPARE(page()->updatingModule(), QStringLiteral("FCU"));
        }
    }

    // The row being flashed keeps its pie; a catalogue arriving meanwhile fetches nothing for it.
    void rowBeingFlashedIsLeftAlone()
    {
        offerFcu();
        confirmFcu(QStringLiteral("确定"));
        page()->setProgress(QStringLiteral("FCU"), 0);
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::ProgressPage));
        page()->setProgress(QStringLiteral("FCU"), 42);
        page()->UpdateFileReady({QString(), catalogue(QStringLiteral("3.01")), 2});
        page()->UpdateFileReady({QStringLiteral("FCU"), QStringLiteral("/elsewhere.bin"), 1});
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::ProgressPage));
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), imageFile());
        QVERIFY(!page()->downloadManager()->isDownloading(
            {QStringLiteral("FCU"), QStringLiteral("http://127.0.0.1:1/files/fcu.bin"), 1}));
        QCOMPARE(child<QWidget>(QStringLiteral("FCUproBtn"))->accessibleName(),
                 QStringLiteral("FCU升级进度42%"));
        page()->setProgress(QStringLiteral("FCU"), 100);
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
    }

    // Success is shown once, for a transfer of ours; a stray or repeated "done" shows nothing.
    void successOnlyForOurTransfer()
    {
        page()->SlotFirmwareUpdateSuccess();
        QVERIFY(!openBox("updateSuccessBox"));
        offerFcu();
        confirmFcu(QStringLiteral("确定"));
        page()->SlotFirmwareUpdateSuccess();
        QVERIFY(openBox("updateSuccessBox"));
        // The parameters were backed up before the update began, and the message says where.
        const QString text = openBox("updateSuccessBox")->text();
        const QRegularExpression path(QStringLiteral("[^\\s：]*backup-\\d{8}-\\d{6}(-\\d+)?\\.lum"));
        QVERIFY2(QFile::exists(path.match(text).captured()), qPrintable(text));
        openBox("updateSuccessBox")->close();
        page()->SlotFirmwareUpdateSuccess();
        QVERIFY(!openBox("updateSuccessBox"));
    }

    // A refused update gives the rows back (an unplugged cable is checked end to end).
    void refusalEnablesTheRows()
    {
        offerFcu();
        confirmFcu(QStringLiteral("确定"));
        page()->setProgress(QStringLiteral("FCU"), 0);
        Q_EMIT guiController->SignalFirmwareUpdateRefused(
            QStringLiteral("FCU的固件版本未知，无法更新"));
        QVERIFY(openBox("updateRefusedBox"));
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::UpdateButtonPage));
        QVERIFY(child<QWidget>(QStringLiteral("widget_bg"))->isEnabled());
        QVERIFY(page()->updatingModule().isEmpty());
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
        offerFcu();
        linkConnected = 1;
        setAircraftVersion(6, 1, 0);
        page()->UpdateFileReady({QStringLiteral("PMU"), imageFile(), 1});
        w->applyLanguage(language);
        QTest::qWait(50); // the language change, then the layouts it asks for
        auto *fcu = child<QToolButton>(QStringLiteral("btnUpdateFCU"));
        auto *pmu = child<QToolButton>(QStringLiteral("btnUpdatePMU"));
        const QList<QWidget *> controls{fcu, pmu, page()->infoView()};
        for (QWidget *control : controls) {
            const QString name
                = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
            QVERIFY2(language == 1 || !hasChinese(name), qPrintable(name));
        }
        QCOMPARE(fcu->accessibleName(),
                 language == 0 ? QStringLiteral("Upgrade FCU") : QStringLiteral("升级FCU"));
        // Every text fits its label or button.
        for (QLabel *label : page()->findChildren<QLabel *>()) {
            if (label->isVisibleTo(page()) && !label->text().isEmpty())
                QVERIFY2(label->sizeHint().width() <= label->width() + 1,
                         qPrintable(label->text()));
        }
        QVERIFY(fcu->sizeHint().width() <= fcu->width() + 1);
        // Tab goes from one button to the next and on to the notes; Space opens the confirmation.
        fcu->setFocus(Qt::TabFocusReason);
        QTest::keyClick(fcu, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), pmu);
        QTest::keyClick(pmu, Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == page()->infoView(),
                 qPrintable(QApplication::focusWidget()->objectName()));
        QTest::keyClick(fcu, Qt::Key_Space);
        QTRY_VERIFY(openBox("confirmUpdateBox"));
        const QString ok = language == 0 ? QStringLiteral("OK") : QStringLiteral("确定");
        const QList<QAbstractButton *> buttons = openBox("confirmUpdateBox")->buttons();
        QVERIFY(std::any_of(
            buttons.begin(), buttons.end(), [&ok](QAbstractButton *b) { return b->text() == ok; }));
    }
};

QTEST_MAIN(tst_KivUpdateWgt)
#include "tst_kivupdatewgt.moc"
