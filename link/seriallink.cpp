#include "link/seriallink.h"

#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/FrameReader.h"
#include "link/WireWriter.h"

#include <QDateTime>
#include <QDebug>
#include <QMetaEnum>
#include <QTimerEvent>

SerialLink::SerialLink(QObject *parent, AircraftParams *params, BlackBoxDownloadState *blackBox)
    : QThread(parent)
    , m_params(params ? *params : aircraftParams())
    , m_blackBox(blackBox ? *blackBox : blackBoxDownloadState())
{
    qRegisterMetaType<uint8_t>("uint8_t");

    // The handler of each command byte, looked up once by name from the cmdtype keys.
    const QMetaEnum types = QMetaEnum::fromType<cmdtype>();
    for (int i = 0; i < types.keyCount(); ++i) {
        const QByteArray signature = QByteArray("replyUav") + types.key(i) + "(QByteArray)";
        const int index = metaObject()->indexOfMethod(signature.constData());
        Q_ASSERT_X(index >= 0, "SerialLink", signature.constData());
        if (index >= 0)
            m_replyHandlers[uint8_t(types.value(i))] = metaObject()->method(index);
    }

    resendTimer.setInterval(kResendMs);
    connect(&resendTimer, &QTimer::timeout, this, &SerialLink::SlotResendData);
    linkTimeoutTimer.setInterval(kLinkTimeoutMs);
    connect(&linkTimeoutTimer, &QTimer::timeout, this, &SerialLink::SlotReconnect);
    connect(this, &SerialLink::SignalResendEnable, this, &SerialLink::SlotResendEnable);
}

SerialLink::~SerialLink()
{
    {
        std::lock_guard<std::mutex> lock(receiveMutex);
        m_stopRequested = true;
    }
    m_bytesArrived.notify_all();
    wait();
}

// --- Connection --------------------------------------------------------------------------------

void SerialLink::connectLine()
{
    if (!isRunning())
        start(QThread::InheritPriority);
    if (heartbeatTimerId)
        killTimer(heartbeatTimerId);
    heartbeatTimerId = startTimer(kTickMs, Qt::CoarseTimer);
    sendConnect();
}

void SerialLink::sendConnect()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    const QByteArray payload = WireWriter()
                                   .u8(heartbeatFlag)
                                   .u8(uint8_t(date.year() % 100))
                                   .u8(uint8_t(date.month()))
                                   .u8(uint8_t(date.day()))
                                   .u8(uint8_t(time.hour()))
                                   .u8(uint8_t(time.minute()))
                                   .u8(uint8_t(time.second()));
    // Repeated by the one-second tick, not by the resend timer.
    sendTracked(_ConnectHeartbeat, payload, 0, false);
}

void SerialLink::sendHeartbeat(char flagBit)
{
    Q_EMIT SignalSendData(buildFrame(_ConnectHeartbeat, 1, QByteArray(1, flagBit)));
}

void SerialLink::sendDisconnect()
{
    Q_EMIT SignalSendData(buildFrame(_ConnectHeartbeat, 0, QByteArray()));
    handShaked = false;
}

void SerialLink::setContinuous(bool flag)
{
    continuous = flag;
    heartbeatFlag = flag ? 0x00 : 0xFF;
}

void SerialLink::replyUav_ConnectHeartbeat(QByteArray b)
{
    ackPending(_ConnectHeartbeat, 0);
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    bool expected = false;
    if (r.u8(8) == 0 && handShaked.compare_exchange_strong(expected, true))
        Q_EMIT SignalHandShaked(true);
}

// --- Pending command ---------------------------------------------------------------------------

void SerialLink::sendTracked(uint8_t type, const QByteArray &payload, int16_t key, bool resend,
                             bool bulk)
{
    if (continuous && !bulk)
        return;
    const QByteArray frame = buildFrame(type, uint8_t(payload.size()), payload);
    {
        QMutexLocker lock(&m_pendingMutex);
        lastFrame = frame;
        pendingType = type;
        pendingKey = key;
        resendActive = resend;
    }
    Q_EMIT SignalSendData(frame);
    Q_EMIT SignalResendEnable(resend);
}

void SerialLink::ackPending(uint8_t type, int16_t key)
{
    {
        // Compare and clear in one section: a command tracked in between must keep its resends.
        QMutexLocker lock(&m_pendingMutex);
        if (pendingType != type || pendingKey != key)
            return;
        clearPending();
    }
    Q_EMIT SignalResendEnable(false);
}

void SerialLink::clearPending()
{
    resendActive = false;
    lastFrame.clear();
}

bool SerialLink::isResendActive() const
{
    QMutexLocker lock(&m_pendingMutex);
    return resendActive;
}

QByteArray SerialLink::pendingFrame() const
{
    QMutexLocker lock(&m_pendingMutex);
    return lastFrame;
}

uint8_t SerialLink::currentPendingType() const
{
    QMutexLocker lock(&m_pendingMutex);
    return pendingType;
}

int16_t SerialLink::currentPendingKey() const
{
    QMutexLocker lock(&m_pendingMutex);
    return pendingKey;
}

void SerialLink::SlotResendData()
{
    if (!handShaked)
        return;
    QByteArray frame;
    {
        QMutexLocker lock(&m_pendingMutex);
        if (resendActive)
            frame = lastFrame;
    }
    if (!frame.isEmpty())
        Q_EMIT SignalSendData(frame);
}

void SerialLink::SlotResendEnable(bool enable)
{
    if (enable) {
        if (!resendTimer.isActive())
            resendTimer.start(); // a running timer keeps its phase
        return;
    }
    // A "stop" queued from the worker may arrive after the GUI thread has already tracked a newer
    // command; that command still needs its resends.
    if (isResendActive())
        return;
    resendTimer.stop();
}

// --- Receiving ---------------------------------------------------------------------------------

void SerialLink::SlotReceiveData(QByteArray data)
{
    {
        std::lock_guard<std::mutex> lock(receiveMutex);
        receiveBuffer.append(data);
    }
    m_bytesArrived.notify_one();
    linkTimeoutTimer.start(kLinkTimeoutMs);
}

void SerialLink::run()
{
    QList<QByteArray> frames;
    QByteArray received;
    for (;;) {
        {
            // Only take the bytes under the lock: the GUI thread's receive slot never waits for
            // an extraction.
            std::unique_lock<std::mutex> lock(receiveMutex);
            // Sleep until bytes arrive instead of polling.
            m_bytesArrived.wait(lock, [this] { return !receiveBuffer.isEmpty() || m_stopRequested; });
            if (m_stopRequested)
                return;
            received.swap(receiveBuffer);
        }
        frames.clear();
        m_extractor.extractFrames(received, frames);
        received.clear();
        const int e5Reports = m_extractor.takeE5Reports();
        for (int i = 0; i < e5Reports; ++i)
            Q_EMIT SignalReturnBlackBoxes(_E5, m_blackBox.currentSubIndex, QByteArray());
        for (auto it = frames.crbegin(); it != frames.crend(); ++it)
            dispatchFrame(*it);
    }
}

void SerialLink::dispatchFrame(const QByteArray &frame)
{
    if (frame.size() < FrameExtractor::kMinFrameSize)
        return;
    const QMetaMethod &handler = m_replyHandlers[uint8_t(frame[6])];
    if (handler.isValid())
        handler.invoke(this, Qt::DirectConnection, Q_ARG(QByteArray, frame));
}

// --- Link loss ---------------------------------------------------------------------------------

void SerialLink::dropConnection()
{
    handShaked = false;
    continuous = false;
    {
        QMutexLocker lock(&m_pendingMutex);
        clearPending();
    }
    Q_EMIT SignalHandShaked(false);
    Q_EMIT SignalResendEnable(false);
}

void SerialLink::SlotDisconnect()
{
    qDebug() << "断开链接";
    heartbeatFlag = 0xFF;
    dropConnection();
}

void SerialLink::SlotReconnect()
{
    qDebug() << "断开链接！";
    linkTimeoutTimer.stop();
    dropConnection();
}

void SerialLink::timerEvent(QTimerEvent *event)
{
    if (!handShaked)
        sendConnect();
    else if (event->timerId() == heartbeatTimerId)
        sendHeartbeat(char(heartbeatFlag.load()));
}
