// The export's progress dialog: percentages (none before a record's length is known), the three
// ways the user closes it (each ends the download once), dragging, names for screen readers in
// both languages, and its picture.
#include "blackbox/KivBlackBoxesProgress.h"
#include "config/Translation.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_KivBlackBoxesProgress : public QObject
{
    Q_OBJECT

    static void setLanguage(int code)
    {
        applyTranslation(code);
        QCoreApplication::processEvents(); // the language change is posted
    }
    static void sendMouse(QWidget *w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
    {
        QMouseEvent event(
            type, local, w->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }

private Q_SLOTS:
    void cleanup() { setLanguage(1); }

    void progress_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("subMaxIndex");
        QTest::addColumn<int>("currentSubIndex");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("open");
        QTest::newRow("a third, truncated") << 5 << 3 << 1 << 33 << true;
        QTest::newRow("length not known yet") << 5 << 0 << 1 << 0 << true;
        QTest::newRow("last chunk of a record") << 4 << 7 << 7 << 100 << true;
        QTest::newRow("last chunk of record 1") << 1 << 7 << 7 << 0 << false;
    }
    void progress()
    {
        QFETCH(int, index);
        QFETCH(int, subMaxIndex);
        QFETCH(int, currentSubIndex);
        QFETCH(int, value);
        QFETCH(bool, open);
        KivBlackBoxesProgress dialog;
        QSignalSpy closing(&dialog, &KivBlackBoxesProgress::SignalCloseDownloadBlackBoxes);
        dialog.show();
        dialog.SlotCurrentReadFile(QStringLiteral("index5date2024-05-06time14-10-00.xls"));
        dialog.SlotProgressBlackBoxes(index, subMaxIndex, currentSubIndex);
        QCOMPARE(dialog.progressValue(), value);
        QCOMPARE(dialog.isVisible(), open);
        QCOMPARE(dialog.currentFileName().isEmpty(), !open);
        QCOMPARE(closing.count(), 0); // finished, not abandoned
    }

    void closing_data()
    {
        QTest::addColumn<int>("way"); // clicking and Escape are checked end to end
        QTest::newRow("window closed") << 2;
        QTest::newRow("Space on the focused close button") << 3;
    }
    void closing()
    {
        QFETCH(int, way);
        KivBlackBoxesProgress dialog;
        QSignalSpy closing(&dialog, &KivBlackBoxesProgress::SignalCloseDownloadBlackBoxes);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.SlotCurrentReadFile(QStringLiteral("index3date.xls"));
        dialog.SlotProgressBlackBoxes(3, 10, 4);
        auto *button = dialog.findChild<QPushButton *>(QStringLiteral("btn_close"));
        QVERIFY(button);
        if (way == 2)
            dialog.close();
        else {
            QCOMPARE(QApplication::focusWidget(), button);
            QTest::keyClick(button, Qt::Key_Space);
        }
        QCOMPARE(closing.count(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.progressValue(), 0);
        QVERIFY(dialog.currentFileName().isEmpty());
    }

    void dragging()
    {
        KivBlackBoxesProgress dialog;
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint start = dialog.pos();
        sendMouse(&dialog, QEvent::MouseButtonPress, QPoint(30, 20), Qt::LeftButton);
        sendMouse(&dialog, QEvent::MouseMove, QPoint(80, 50), Qt::LeftButton);
        QCOMPARE(dialog.pos(), start + QPoint(50, 30));
        sendMouse(&dialog, QEvent::MouseButtonRelease, QPoint(80, 50), Qt::NoButton);
        const QPoint dropped = dialog.pos();
        sendMouse(&dialog, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
        QCOMPARE(dialog.pos(), dropped);
    }

    // Names in the current language, texts that fit, and a picture of each language.
    void languages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("closeName");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("resumed"); // notes on a record taken up again, or skipped
        QTest::addColumn<QString>("skipped");
        QTest::newRow("Chinese") << 1 << QStringLiteral("正在导出数据.....请耐心等待")
                                 << QStringLiteral("关闭并停止导出")
                                 << QStringLiteral("blackbox-progress.png")
                                 << QStringLiteral("\n（从第 21 块继续）") << QStringLiteral("\n（已完整，跳过）");
        QTest::newRow("English") << 0 << QStringLiteral("Exporting data... please wait")
                                 << QStringLiteral("Close and stop the export")
                                 << QStringLiteral("blackbox-progress-en.png")
                                 << QStringLiteral("\n(continuing from chunk 21)") << QStringLiteral("\n(complete, skipped)");
    }
    void languages()
    {
        QFETCH(int, code);
        QFETCH(QString, hint);
        QFETCH(QString, closeName);
        QFETCH(QString, picture);
        QFETCH(QString, resumed);
        QFETCH(QString, skipped);
        KivBlackBoxesProgress dialog;
        setLanguage(code);
        if (code == 0 && findTranslationFile(QStringLiteral("R7Assistant.qm")).isEmpty())
            QSKIP("the English translation is not next to the test");
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblHint"))->text(), hint);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.SlotCurrentReadFile(QStringLiteral("index12date2024-05-06time14-10-00.xls"));
        dialog.SlotProgressBlackBoxes(12, 40, 17);

        const auto nameOf = [&dialog](const char *object) {
            QWidget *w = dialog.findChild<QWidget *>(QLatin1String(object));
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        };
        QCOMPARE(nameOf("btn_close"), closeName);
        QVERIFY(!nameOf("BlackBoxesProgress").isEmpty());
        QVERIFY(nameOf("BlackBoxesProgress") != nameOf("lblCurrentIndexValue"));
        auto *button = dialog.findChild<QPushButton *>(QStringLiteral("btn_close"));
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
        for (const char *name : {"lblHint", "lblCurrentIndex", "lblCurrentIndexValue"}) {
            auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
            QVERIFY2(label->sizeHint().width() <= label->width(), name);
        }
        const QString folder = qEnvironmentVariable("R7_PICTURE_DIR");
        if (!folder.isEmpty())
            QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + picture));

        // Said in the language of the moment, also when it changes while shown.
        const QString name = QStringLiteral("index11date2024-05-06time13-10-00.xls");
        auto *file = dialog.findChild<QLabel *>(QStringLiteral("lblCurrentIndexValue"));
        setLanguage(1 - code);
        dialog.SlotRecordResumed(name, 21);
        setLanguage(code);
        QCoreApplication::processEvents(); // the layout request the new texts posted
        QCOMPARE(file->text(), name + resumed);
        QVERIFY(file->heightForWidth(file->width()) <= file->height());
        if (!folder.isEmpty())
            QVERIFY(dialog.grab().save(folder + QLatin1Char('/') + QString(picture).replace(QLatin1String(".png"), QLatin1String("-resumed.png"))));
        dialog.SlotRecordSkipped(name);
        QCOMPARE(file->text(), name + skipped);
        QVERIFY(file->heightForWidth(file->width()) <= file->height());
    }
};

QTEST_MAIN(tst_KivBlackBoxesProgress)
#include "tst_kivblackboxesprogress.moc"
