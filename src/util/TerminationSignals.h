#pragma once

#include <QObject>

class QSocketNotifier;

namespace Lanvo {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) into a Qt signal on the
// thread that created the object. The handler only writes the signal's number into a socket pair;
// the event loop reads it there, where anything may be done. One object at a time; its destruction
// gives the signals back their previous handling.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Lanvo
