#pragma once

#include <QByteArray>
#include <QList>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStringList>

#include <cstdint>

// The byte pipe to the aircraft's USB virtual COM port: finds ports by their USB identifiers,
// opens one with the fixed line settings, writes frames and passes every received chunk on.
class SerialPort : public QSerialPort
{
    Q_OBJECT

public:
    static constexpr quint16 kVendorId = 0x0483;  // STMicroelectronics
    static constexpr quint16 kProductId = 0x5740; // its virtual COM port
    static constexpr int kRefreshMs = 1000;
    static constexpr int kCloseFlushMs = 300;

    explicit SerialPort(QObject *parent = nullptr);
    ~SerialPort() override;

    void configurePort(const QString &name);
    bool openPort();
    // Writes out what is still queued (bounded), then closes.
    void closePort();
    int refreshPortList();
    const QStringList &portNames() const { return m_portNames; }
    bool isPortOpened() const { return portOpened; }

    // Restarts the one-second enumeration (after a port error, or when the scan ran out of names).
    void restartRefreshTimer();
    bool isRefreshing() const { return refreshTimerId != 0; }

    // Devices that count as aircraft ports whenever they exist, whatever their USB identifiers:
    // an aircraft behind another USB bridge, or a pseudo-terminal.
    void addExtraPortName(const QString &device);
    const QStringList &extraPortNames() const { return m_extraPortNames; }

Q_SIGNALS:
    void SignalReadAll(QByteArray data);
    void SignalSerialPortError();
    void SignalUpdatePortList(uint8_t num);

public Q_SLOTS:
    void SlotWriteData(QByteArray data);
    QByteArray readData();
    void SlothandleError(QSerialPort::SerialPortError error);

protected:
    using QSerialPort::readData; // the device's own read stays as it is; ours is the slot above
    void timerEvent(QTimerEvent *event) override;

private:
    bool portOpened = false;
    QList<QSerialPortInfo> portInfos;
    QStringList m_portNames;
    QStringList m_extraPortNames;
    int refreshTimerId = 0;
};
