// The settings page driven as a user drives it (clicks and keys on its widgets, and the
// accessibility interface) in the whole program, against the simulated aircraft on a
// pseudo-terminal. What reached the aircraft is read from its settings and received frames.
#include "e2e/ProgramRig.h"
#include "ui/KivSettingWgt.h"
#include "widgets/KivChannelBar.h"
#include "widgets/KivSwitch.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

using namespace e2e;

namespace {
KivSettingWgt *page()
{
    return mainWindow->settingsPage();
}

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
    QTest::keyClick(box, Qt::Key_Return);
}

// Closes every message box that opens and counts them.
class BoxCloser : public QObject
{
public:
    int seen = 0;
    BoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++seen;
                box->accept();
            }
        });
        m_timer.start(50);
    }

private:
    QTimer m_timer;
};
} // namespace

class tst_E2eSettingsPage : public QObject
{
    Q_OBJECT

    QList<Received> m_received;

    int writes(quint8 type, int from) const
    {
        int count = 0;
        for (int i = from; i < m_received.size(); ++i)
            count += m_received[i].type == type && !m_received[i].payload.isEmpty();
        return count;
    }
    QByteArray lastWrite(quint8 type) const
    {
        for (int i = int(m_received.size()) - 1; i >= 0; --i) {
            if (m_received[i].type == type && !m_received[i].payload.isEmpty())
                return m_received[i].payload;
        }
        return {};
    }
    void clickTab(int index)
    {
        QTest::mouseClick(page()->tabGroup()->button(index), Qt::LeftButton);
    }
    // Leaves the tab and comes back, so that its values are read again.
    void rereadTab(int index)
    {
        clickTab(index == 0 ? 1 : 0);
        clickTab(index);
        QTest::qWait(600);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // What the aircraft holds before the program first reads it.
        onBoard().gainAttitude = 30;   // below the page's 50..500
        onBoard().gainThrottle = 800;  // above it
        onBoard().protectionAction = 0;
        QVERIFY(connectProgram(this, m_received));
        QTest::qWait(500); // the last replies
    }

    // Reading the gains writes nothing back; values the boxes cannot hold are marked, not sent.
    void gainsReadAreNotWrittenBack()
    {
        QCOMPARE(writes(0x0A, 0), 0);
        QCOMPARE(onBoard().gainAttitude, quint16(30));
        QCOMPARE(onBoard().gainThrottle, quint16(800));
        auto *attitude = child<QSpinBox>("editAttitude");
        QCOMPARE(attitude->value(), 50);
        QVERIFY(attitude->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        QVERIFY(attitude->toolTip().contains(QLatin1String("30")));
        QVERIFY(child<QSpinBox>("editThrottle")->toolTip().contains(QLatin1String("800")));
        QVERIFY(!child<QSpinBox>("editStable")->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));

        // A typed gain travels once, as typed, with the other two as the aircraft has them.
        clickTab(2);
        QTest::qWait(600); // the tab's reads, the wheelbase reply's gains read
        const int from = int(m_received.size());
        typeInto(child<QSpinBox>("editStable"), QStringLiteral("500"));
        QTRY_COMPARE(onBoard().gainStability, quint16(500));
        QTest::qWait(300);
        QCOMPARE(writes(0x0A, from), 1);
        QCOMPARE(onBoard().gainAttitude, quint16(30));
        QCOMPARE(onBoard().gainThrottle, quint16(800));
    }

    void tabClicksReadOnce_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QList<QByteArray>>("signals_");
        QTest::addColumn<QList<int>>("reads");
        // Rows in an order where every click changes the tab.
        QTest::newRow("remote") << 1 << QList<QByteArray>{"signal_request_ReceiveType", "signal_request_RemoteChannelReverse"} << QList<int>{0x04, 0x06};
        QTest::newRow("frame") << 0 << QList<QByteArray>{"signal_request_JX"} << QList<int>{};
        QTest::newRow("gains") << 2 << QList<QByteArray>{"signal_request_MotorWheelbase", "signal_request_InductionDegrees"} << QList<int>{0x09, 0x0A};
        QTest::newRow("battery") << 3 << QList<QByteArray>{"signal_request_DC"} << QList<int>{0x0C};
        QTest::newRow("return height") << 4 << QList<QByteArray>{"SignalRequestReturnHeight"} << QList<int>{0x12};
    }
    void tabClicksReadOnce()
    {
        QFETCH(int, tab);
        QFETCH(QList<QByteArray>, signals_);
        QFETCH(QList<int>, reads);
        QList<QByteArray> emitted;
        const QMetaObject *meta = page()->metaObject();
        QList<QMetaObject::Connection> spies;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod m = meta->method(i);
            if (m.methodType() == QMetaMethod::Signal)
                spies << connect(page(), m, this, metaObject()->method(metaObject()->indexOfSlot("record()")));
        }
        m_emitted.clear();
        const int from = int(m_received.size());
        clickTab(tab);
        QTest::qWait(600);
        for (int type : reads)
            QVERIFY2(std::any_of(m_received.begin() + from, m_received.end(),
                                 [type](const Received &r) { return r.type == type && r.payload.isEmpty(); }),
                     qPrintable(QString::number(type, 16)));
        // The same tab again: shown, nothing read.
        const int again = int(m_received.size());
        clickTab(tab);
        QTest::qWait(400);
        for (const auto &c : spies)
            disconnect(c);
        QCOMPARE(m_emitted, signals_);
        QCOMPARE(page()->stackedWidget()->currentIndex(), tab);
        QVERIFY(std::none_of(m_received.begin() + again, m_received.end(),
                             [](const Received &r) { return r.payload.isEmpty() && r.type != 0xC1; }));
    }

    void frameTypeClick_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("4,2") << 4 << 2;
        QTest::newRow("2,3") << 2 << 3;
        QTest::newRow("1,1") << 1 << 1;
    }
    void frameTypeClick()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        clickTab(0);
        QTest::qWait(300); // the tab's own read of the frame type is answered first
        const int from = int(m_received.size());
        auto *button = child<QPushButton>(QStringLiteral("btn_jixing_%1_%2").arg(row).arg(column).toLatin1().constData());
        child<QScrollArea>("scrollArea")->ensureWidgetVisible(button);
        QTest::mouseClick(button, Qt::LeftButton);
        const int code = 3 * (row - 1) + (column - 1);
        QTRY_COMPARE(int(onBoard().uavType), code);
        QTest::qWait(300);
        QCOMPARE(writes(0x02, from), 1);
        QVERIFY(button->isChecked());
    }

    void wheelbase1500IsCode5()
    {
        clickTab(2);
        const int from = int(m_received.size());
        auto *radio1500 = child<QRadioButton>("checkBox_FJZJ1500");
        QTest::mouseClick(radio1500, Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().wheelbase), 5);
        QCOMPARE(writes(0x09, from), 1);
        // What the aircraft reports is checked again.
        onBoard().wheelbase = 2;
        rereadTab(2);
        QTRY_VERIFY(child<QRadioButton>("checkBox_FJZJ500")->isChecked());
        onBoard().wheelbase = 5;
        rereadTab(2);
        QTRY_VERIFY(radio1500->isChecked());
        QCOMPARE(writes(0x0A, from), 0); // the gains read after each wheelbase reply
    }

    void revButtonFlipsItsOwnBit_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("bit");
        const int bits[9] = {0, 0x01, 0x08, 0x02, 0x04, 0x10, 0x20, 0x40, 0x80};
        for (int n = 1; n <= 8; ++n)
            QTest::addRow("btn_rev_%d", n) << n << bits[n];
    }
    void revButtonFlipsItsOwnBit()
    {
        QFETCH(int, number);
        QFETCH(int, bit);
        clickTab(1);
        onBoard().channelReverse = bit; // reversed on the aircraft: shown reversed
        rereadTab(1);
        auto *rev = child<QPushButton>(QStringLiteral("btn_rev_%1").arg(number).toLatin1().constData());
        QTRY_VERIFY(rev->isChecked());
        QVERIFY(rev->styleSheet().contains(QLatin1String("255, 0, 0")));
        QTest::mouseClick(rev, Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().channelReverse), 0);
        QVERIFY(!rev->isChecked());
        QVERIFY(!rev->styleSheet().contains(QLatin1String("255, 0, 0")));
    }

    // The bar beside the caption "油门" follows the throttle stick, not the yaw stick.
    void throttleMovesTheBarCaptionedThrottle()
    {
        clickTab(1);
        const auto barCaptioned = [](const QString &caption) -> KivChannelBar * {
            for (QLabel *label : page()->findChildren<QLabel *>()) {
                if (label->text() != caption)
                    continue;
                for (QGridLayout *grid : label->parentWidget()->findChildren<QGridLayout *>()) {
                    if (grid->indexOf(label) < 0)
                        continue;
                    int row, column, rows, columns;
                    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
                    return qobject_cast<KivChannelBar *>(grid->itemAtPosition(row, column + 1)->widget());
                }
            }
            return nullptr;
        };
        KivChannelBar *throttle = barCaptioned(QStringLiteral("油门"));
        KivChannelBar *yaw = barCaptioned(QStringLiteral("偏航"));
        QVERIFY(throttle && yaw && throttle != yaw);
        // On the bench the throttle stays between -100 and -20; yaw swings through +-60.
        const auto sample = [&](float low, float high) {
            bool yawLeft = false;
            for (int i = 0; i < 40; ++i) {
                QTest::qWait(50);
                QVERIFY2(throttle->value() >= low && throttle->value() <= high, qPrintable(QString::number(throttle->value())));
                yawLeft = yawLeft || yaw->value() < low || yaw->value() > high;
            }
            QVERIFY(yawLeft);
        };
        QTRY_VERIFY(throttle->value() < 0);
        sample(-100, -20);
        QTest::mouseClick(child<QPushButton>("btn_rev_4"), Qt::LeftButton); // throttle reversed
        QTRY_VERIFY(throttle->value() > 0);
        sample(20, 100);
        QTest::mouseClick(child<QPushButton>("btn_rev_4"), Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().channelReverse), 0);
    }

    void protectionVoltages()
    {
        clickTab(3);
        QTest::qWait(300);
        auto *first = child<QDoubleSpinBox>("editVoltageFirst");
        auto *second = child<QDoubleSpinBox>("editVoltageSecond");
        QCOMPARE(second->value(), 10.6);
        int from = int(m_received.size());
        {
            // Equal levels: one warning, although the box opening takes the focus from the field.
            BoxCloser closer;
            typeInto(first, QStringLiteral("10.6"));
            QTRY_COMPARE(closer.seen, 1);
            QTest::qWait(300);
            QCOMPARE(closer.seen, 1);
        }
        QCOMPARE(writes(0x0C, from), 0);
        QCOMPARE(onBoard().lowVoltage1, quint16(1080));
        from = int(m_received.size());
        typeInto(first, QStringLiteral("10.61"));
        QTRY_COMPARE(onBoard().lowVoltage1, quint16(1061));
        QCOMPARE(onBoard().lowVoltage2, quint16(1060));
        QCOMPARE(writes(0x0C, from), 1);
    }

    void switchingProtectionOnStoresAction1()
    {
        clickTab(3);
        auto *protection = child<KivSwitch>("switch_dianchi");
        // A reply re-shows the switch, which slides even when its state stays; a click during
        // the slide is dropped.
        QTest::qWait(300);
        QTRY_VERIFY(!protection->isAnimating());
        QVERIFY(protection->isEnabled());
        QVERIFY(!protection->isChecked()); // as read: action 0
        QCOMPARE(child<QLabel>("lblProtectSecond")->text(), QStringLiteral("报警"));
        const int from = int(m_received.size());
        QTest::mouseClick(protection, Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().protectionAction), 1);
        QTest::qWait(300);
        QCOMPARE(writes(0x0C, from), 1);
        QVERIFY(child<QComboBox>("comProtectFirst")->isVisible());
        QCOMPARE(child<QComboBox>("comProtectFirst")->currentIndex(), 0);
        QCOMPARE(child<QLabel>("lblProtectSecond")->text(), QStringLiteral("着陆"));
    }

    void calibrationVoltageRoundsToTheHundredth()
    {
        clickTab(3);
        auto *box = child<QDoubleSpinBox>("spinVoltageCalibration");
        typeInto(box, QStringLiteral("16.4"));
        const int from = int(m_received.size());
        QTest::mouseClick(child<QPushButton>("btn_correct"), Qt::LeftButton);
        QTRY_COMPARE(writes(0x0B, from), 1);
        const QByteArray payload = lastWrite(0x0B);
        QCOMPARE(uint8_t(payload[1]) | uint8_t(payload[2]) << 8, 1640);
    }

    void returnHeightAndGpsPosition()
    {
        clickTab(4);
        QTest::qWait(300);
        typeInto(child<QDoubleSpinBox>("spinReturnHeight"), QStringLiteral("30"));
        QTest::mouseClick(child<QPushButton>("btnReturnHeight"), Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().returnHeight), 30);
        QCOMPARE(lastWrite(0x12), QByteArray(1, char(30)));

        page()->showSubPage(5); // its tab is hidden
        typeInto(child<QDoubleSpinBox>("spinGPSPositionX"), QStringLiteral("-50"));
        typeInto(child<QDoubleSpinBox>("spinGPSPositionY"), QStringLiteral("50"));
        QTest::mouseClick(child<QPushButton>("btnSendGPSPosition"), Qt::LeftButton);
        QTRY_COMPARE(int(onBoard().gpsPosX), -50);
        QCOMPARE(int(onBoard().gpsPosY), 50);
        QCOMPARE(lastWrite(0x03), QByteArray("\xCE\x32", 2));
    }

    // A height the box cannot hold is shown as not confirmed, and nothing is written.
    void returnHeightOutOfRangeIsMarked()
    {
        onBoard().returnHeight = 50;
        const int from = int(m_received.size());
        rereadTab(4);
        auto *box = child<QDoubleSpinBox>("spinReturnHeight");
        QTRY_VERIFY(box->toolTip().contains(QLatin1String("50")));
        QCOMPARE(box->value(), 30.0);
        QVERIFY(box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
        QCOMPARE(writes(0x12, from), 0);
        onBoard().returnHeight = 20;
        rereadTab(4);
        QTRY_COMPARE(box->value(), 20.0);
        QVERIFY(box->toolTip().isEmpty());
        QVERIFY(!box->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
    }

    // As a screen reader drives it: actions and values through the accessibility interface.
    void drivenThroughAccessibility()
    {
        clickTab(1);
        QAccessibleInterface *ppm = QAccessible::queryAccessibleInterface(child<QRadioButton>("checkBox_PPM"));
        // The action assistive technology is offered for a radio button.
        QVERIFY(ppm->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        ppm->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_COMPARE(int(onBoard().receiverType), 1);

        clickTab(2);
        QTest::qWait(600);
        QAccessibleInterface *attitude = QAccessible::queryAccessibleInterface(child<QSpinBox>("editAttitude"));
        QCOMPARE(attitude->text(QAccessible::Name), QStringLiteral("姿态感度"));
        attitude->valueInterface()->setCurrentValue(150);
        QTRY_COMPARE(onBoard().gainAttitude, quint16(150));

        clickTab(3);
        QTest::qWait(400); // the tab's read is answered first
        QTRY_VERIFY(!child<KivSwitch>("switch_dianchi")->isAnimating());
        QAccessibleInterface *protection = QAccessible::queryAccessibleInterface(child<KivSwitch>("switch_dianchi"));
        QCOMPARE(protection->role(), QAccessible::CheckBox);
        QVERIFY(protection->state().checked);
        protection->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_COMPARE(int(onBoard().protectionAction), 0);
        QVERIFY(!protection->state().checked);
    }

    // Last: the link drops. The calibration button must then start a new calibration.
    void rcCalibrationAfterLinkLoss()
    {
        clickTab(1);
        auto *start = child<QPushButton>("btn_startCorrect");
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY(aircraft->state().rcCalibrating);
        QCOMPARE(start->text(), QStringLiteral("停止校准"));
        aircraft->setSilent(true);
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(0), 8000);
        QVERIFY(!start->isChecked());
        QCOMPARE(start->text(), QStringLiteral("开始校准"));
        aircraft->state().rcCalibrating = false;
        aircraft->setSilent(false);
        QVERIFY(waitForReadBack());
        const int from = int(m_received.size());
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY(aircraft->state().rcCalibrating);
        QCOMPARE(lastWrite(0x05), QByteArray(1, char(3)));
        QCOMPARE(writes(0x05, from), 1);
        QCOMPARE(start->text(), QStringLiteral("停止校准"));
    }

public Q_SLOTS:
    void record() { m_emitted << sender()->metaObject()->method(senderSignalIndex()).name(); }

private:
    QList<QByteArray> m_emitted;
};

int main(int argc, char *argv[])
{
    return runProgram<tst_E2eSettingsPage>(argc, argv);
}

#include "tst_e2e_settingspage.moc"
