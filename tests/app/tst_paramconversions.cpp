#include "app/ParamConversions.h"

#include <QTest>

using namespace ParamConversions;

class tst_ParamConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void volts_data()
    {
        QTest::addColumn<double>("volts");
        QTest::addColumn<int>("wire");
        QTest::newRow("12.999 truncates") << 12.999 << 1299;
        QTest::newRow("10.8") << 10.8 << 1080;
        QTest::newRow("10.6") << 10.6 << 1060;
        // 4.35 * 100 is 434.99999999999994 in binary: the value typed is 4.35 V, not 4.34 V.
        QTest::newRow("4.35 as typed") << 4.35 << 435;
        QTest::newRow("0.29 as typed") << 0.29 << 29;
        QTest::newRow("60") << 60.0 << 6000;
        QTest::newRow("zero") << 0.0 << 0;
    }
    void volts()
    {
        QFETCH(double, volts);
        QFETCH(int, wire);
        QCOMPARE(int(voltsToWire(volts)), wire);
        // What the page shows from a reply goes back unchanged when the user sends it again.
        QCOMPARE(int(voltsToWire(wireToVolts(uint16_t(wire)))), wire);
    }

    void truncationTowardZero()
    {
        QCOMPARE(truncateScaled(-3.7, 1), -3);
        QCOMPARE(truncateScaled(3.7, 1), 3);
        QCOMPARE(truncateScaled(-0.29, 100), -29);
    }

    void sprayValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("wire");
        QTest::newRow("5.5") << 5.5 << 550;
        QTest::newRow("0.29") << 0.29 << 29;
        QTest::newRow("6.999") << 6.999 << 700; // the 0.005 rounds it
    }
    void sprayValues()
    {
        QFETCH(double, value);
        QFETCH(int, wire);
        QCOMPARE(int(sprayValueToWire(value)), wire);
    }

    void pageCodes()
    {
        QCOMPARE(wheelbaseToCode(1250), uint8_t(5));
        QCOMPARE(codeToWheelbase(5), 1250);
        QCOMPARE(wheelbaseToCode(999), uint8_t(3)); // integer division
        QCOMPARE(frameTypeCode(1, 1), uint8_t(0));
        QCOMPARE(frameTypeCode(4, 2), uint8_t(10));
        QCOMPARE(receiverOptionToCode(1), uint8_t(2));
        QCOMPARE(receiverOptionToCode(3), uint8_t(0));
        QCOMPARE(receiverCodeToOption(2), 1);
        QCOMPARE(toggleChannelReverse(0x00, 1), uint8_t(0x01));
        QCOMPARE(toggleChannelReverse(0x81, 8), uint8_t(0x01));
    }

    void batteryCells_data()
    {
        QTest::addColumn<int>("centivolts");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("cells");
        QTest::newRow("8.39 V") << 839 << 0 << 2;
        QTest::newRow("8.40 V") << 840 << 0 << 3;
        QTest::newRow("12.59 V") << 1259 << 0 << 3;
        QTest::newRow("16.80 V") << 1680 << 0 << 5;
        QTest::newRow("25.19 V") << 2519 << 0 << 6;
        QTest::newRow("25.20 V keeps unset") << 2520 << 0 << 0;
        QTest::newRow("30 V keeps previous") << 3000 << 4 << 4;
        QTest::newRow("no voltage") << 0 << 6 << 2;
    }
    void batteryCells()
    {
        QFETCH(int, centivolts);
        QFETCH(int, previous);
        QFETCH(int, cells);
        QCOMPARE(int(batteryCellsFromVoltage(uint16_t(centivolts), uint8_t(previous))), cells);
    }
};

QTEST_GUILESS_MAIN(tst_ParamConversions)
#include "tst_paramconversions.moc"
