#include "link/serialport.h"

#include <QDebug>
#include <QFileInfo>
#include <QTimerEvent>

SerialPort::SerialPort(QObject *parent)
    : QSerialPort(parent)
{
    setReadBufferSize(8192);
    clearError();
    refreshTimerId = startTimer(kRefreshMs, Qt::CoarseTimer);
    connect(this, &QSerialPort::errorOccurred, this, &SerialPort::SlothandleError);
    connect(this, &QSerialPort::readyRead, this, qOverload<>(&SerialPort::readData));
}

void SerialPort::configurePort(const QString &name)
{
    setPortName(name);
    setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
    setDataBits(QSerialPort::Data8);
    setParity(QSerialPort::NoParity);
    setStopBits(QSerialPort::OneStop);
    setFlowControl(QSerialPort::NoFlowControl);
}

bool SerialPort::openPort()
{
    if (!isOpen())
        open(QIODevice::ReadWrite);
    portOpened = isOpen();
    return portOpened;
}

SerialPort::~SerialPort()
{
    closePort();
}

void SerialPort::closePort()
{
    if (!isOpen())
        return;
    // Frames are written from the event loop; what the program queued last (the pumps' stop
    // commands on closing the window) must still reach the aircraft. Bounded: a device that
    // does not take the bytes does not hold the program up.
    if (error() == QSerialPort::NoError && bytesToWrite() > 0)
        waitForBytesWritten(kCloseFlushMs);
    close();
}

void SerialPort::addExtraPortName(const QString &device)
{
    if (!m_extraPortNames.contains(device))
        m_extraPortNames.append(device);
}

int SerialPort::refreshPortList()
{
    m_portNames.clear();
    portInfos = QSerialPortInfo::availablePorts();
    uint8_t count = 0;
    for (const QSerialPortInfo &info : std::as_const(portInfos)) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()
            && info.vendorIdentifier() == kVendorId && info.productIdentifier() == kProductId) {
            m_portNames.append(info.portName());
            ++count;
        }
    }
    for (const QString &device : std::as_const(m_extraPortNames)) {
        const bool listed = std::any_of(portInfos.cbegin(), portInfos.cend(), [&](const QSerialPortInfo &i) {
            return i.portName() == device || i.systemLocation() == device;
        });
        if ((listed || QFileInfo::exists(device)) && !m_portNames.contains(device)) {
            m_portNames.append(device);
            ++count;
        }
    }
    if (count == 0)
        return 0;
    Q_EMIT SignalUpdatePortList(count);
    return count;
}

void SerialPort::restartRefreshTimer()
{
    if (refreshTimerId)
        killTimer(refreshTimerId);
    refreshTimerId = startTimer(kRefreshMs, Qt::CoarseTimer);
}

void SerialPort::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != refreshTimerId) {
        QSerialPort::timerEvent(event);
        return;
    }
    // Once an aircraft port has been seen, the port scan takes over until it runs out of names.
    if (refreshPortList() > 0) {
        killTimer(refreshTimerId);
        refreshTimerId = 0;
    }
}

void SerialPort::SlotWriteData(QByteArray data)
{
    if (portOpened && isOpen()) {
        write(data);
        // Out now rather than on the next pass of the event loop: a firmware chunk answers the
        // aircraft's acknowledgement, and every pass is time the line stands idle.
        flush();
    }
}

QByteArray SerialPort::readData()
{
    Q_EMIT SignalReadAll(readAll());
    return readAll();
}

void SerialPort::SlothandleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || !portOpened)
        return;
    Q_EMIT SignalSerialPortError();
    restartRefreshTimer();
    qDebug() << "SerialPortError :" << errorString();
    qDebug() << "Serial number:" << int(error);
    portOpened = false;
    // A vanished device keeps reporting errors in a busy loop until the port is closed.
    closePort();
}
