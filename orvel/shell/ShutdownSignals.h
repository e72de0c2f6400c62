#pragma once

// SIGTERM, SIGINT and SIGHUP (logout, Ctrl-C, a closed terminal) as a Qt
// signal on the event loop, so the app can write what is still waiting and
// leave normally instead of dying with a save queued.
//
// The handler only writes the signal's number to a pipe (the self-pipe
// pattern); a QSocketNotifier reads it on the event loop, where `received`
// is emitted. A second signal of the same kind while the first is being
// handled ends the process at once: the user does not want to wait.
//
// One instance per process; it puts the previous handlers back when it goes.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace Orvel {

class ShutdownSignals final : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

signals:
    void received(int signalNumber);

private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace Orvel
