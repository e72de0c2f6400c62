#pragma once

// The app's executor on the Qt event loop: posted work and timers run on the
// thread of the QObject that owns the executor (the GUI thread), so the app
// model, the views and the tray item share one thread without locks.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvelkit/async/Executor.h"
#include "orvelkit/async/TimerQueue.h"
#endif

#include <QObject>
#include <QTimer>
#include <mutex>

namespace Orvel {

class QtExecutor final : public QObject, public OrvelKit::Executor {
    Q_OBJECT
public:
    explicit QtExecutor(QObject* parent = nullptr);
    // Work not yet run and timers not yet fired are dropped.
    ~QtExecutor() override;

    // Callable from any thread.
    void post(std::function<void()> work) override;
    // Callable from any thread; the timer fires on the executor's thread.
    OrvelKit::Timer schedule(Duration delay, OrvelKit::TimerCallback callback) override;
    OrvelKit::Timer scheduleRepeating(Duration interval, OrvelKit::TimerCallback callback) override;
    TimePoint now() const override { return Clock::now(); }

private:
    OrvelKit::Timer addTimer(Duration delay, std::optional<Duration> interval,
                             OrvelKit::TimerCallback callback);
    // Points the one QTimer at the earliest due timer; executor thread only.
    void rearm();
    void fireDue();

    std::mutex mutex_;
    OrvelKit::TimerQueue timers_;
    QTimer wake_;
};

} // namespace Orvel
