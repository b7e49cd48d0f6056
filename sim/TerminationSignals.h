#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal through a self-pipe, so the event loop ends cleanly
// (destructors run, the pseudo-terminal is released).
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    static void handler(int signalNumber);
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
