#pragma once

#include "platform/ClockSeam.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace kivo::test {

// Stands in for the program's clock while it lives: time stands still until the test
// moves it on, and each timer that falls due on the way fires then, in the order of
// their times, so that a test shows what happens at a moment, and what does not
// happen before it, without waiting for the clock on the wall.
class DrivenClock final : public ClockSeam {
public:
    DrivenClock();
    ~DrivenClock() override;
    DrivenClock(const DrivenClock &) = delete;
    DrivenClock &operator=(const DrivenClock &) = delete;

    std::chrono::milliseconds now() const override { return m_now; }
    std::unique_ptr<Alarm> setAlarm(std::chrono::milliseconds after, std::function<void()> ring) override;

    // Moves the clock on, firing what falls due up to the new time, that included; a
    // timer started by one that fires fires too when it falls due in the same span.
    void advance(std::chrono::milliseconds by);
    // The time until the next timer falls due, none when no timer runs.
    std::optional<std::chrono::milliseconds> untilNext() const;

private:
    class DrivenAlarm;
    void forget(const DrivenAlarm *alarm);
    DrivenAlarm *next() const;

    std::chrono::milliseconds m_now{0};
    std::uint64_t m_alarmsSet = 0;
    std::vector<DrivenAlarm *> m_alarms;
};

} // namespace kivo::test
