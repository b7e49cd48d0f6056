#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A POSIX pseudo-terminal pair. This side holds the master, raw and non-blocking, watched by
// socket notifiers; the program under test opens the slave path like a serial port. A slave
// descriptor of our own stays open the whole time, so the master never sees a hang-up when the
// program closes and reopens the port (its port scan does that every few seconds).
class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxPending = 256 * 1024;

    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    // Opens a new pair; a path equal to avoidPath is traded for another one.
    bool open(const QString &avoidPath = QString());
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

    // Queues bytes for the program; what the pty cannot take now goes out when it can.
    void write(const QByteArray &bytes);
    // Drops what the program has not read yet (used when it went away).
    void discardUnread();
    qint64 droppedBytes() const { return m_dropped; }

signals:
    void dataReceived(const QByteArray &bytes);

private:
    bool openPair();
    void readMaster();
    void flushPending();
    void fail(const QString &what);

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;
    qint64 m_dropped = 0;
};
