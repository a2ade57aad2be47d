// SPDX-License-Identifier: MIT
#pragma once
// SIGTERM, SIGINT and SIGHUP (shutdown, logout, Ctrl+C, a closed terminal)
// become a request handled in the event loop, so that they end the program
// the way its exit command does. The handler itself only writes one byte to a
// socket. A second signal ends the program at once, in case the ordinary
// shutdown is stuck.

#include <QObject>

class QSocketNotifier;

namespace velmix {

class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    // One at a time. A signal ignored when the program started (nohup, a
    // background job) stays ignored.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // The signal that asked for the shutdown; 0 while none has.
    static int received();

signals:
    void requested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace velmix
