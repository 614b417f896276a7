#pragma once

#include "ClockSeam.h"

#include <QObject>

#include <chrono>
#include <memory>

namespace kivo {

// A single-shot timer that goes by the clock seam, so that a test moves on by its own
// clock what the program waits a moment for. Each start takes the clock installed then.
class Timer final : public QObject {
    Q_OBJECT

public:
    explicit Timer(std::chrono::milliseconds interval, QObject *parent = nullptr);
    ~Timer() override;
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    // Starts the wait again from now.
    void start();
    void stop();
    bool isActive() const noexcept { return m_active; }
    std::chrono::milliseconds interval() const noexcept { return m_interval; }

Q_SIGNALS:
    // The interval has passed since the last start.
    void timeout();

private:
    void ring();

    std::chrono::milliseconds m_interval;
    std::unique_ptr<ClockSeam::Alarm> m_alarm;
    // The alarm that rang last: a handler of the timeout may start or stop the timer
    // while it still rings, so it goes only when the next one rings.
    std::unique_ptr<ClockSeam::Alarm> m_rung;
    bool m_active = false;
};

} // namespace kivo
