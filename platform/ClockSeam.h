#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace kivo {

// The program's timers and deadlines read the time through here, so that tests drive
// it: a test installs a clock of its own and moves it on, and what falls due then runs
// at once, with no waiting for the clock on the wall. The program installs nothing and
// so goes by the system's steady clock and the event loop's timers.
class ClockSeam {
public:
    // Rings once, when its time has come, unless it is gone before.
    class Alarm {
    public:
        virtual ~Alarm() = default;
    };

    virtual ~ClockSeam() = default;

    // The time since a fixed moment; it never goes back.
    virtual std::chrono::milliseconds now() const = 0;
    // Calls ring on this thread once `after` has passed. An alarm must not be destroyed
    // while it rings.
    virtual std::unique_ptr<Alarm> setAlarm(std::chrono::milliseconds after, std::function<void()> ring) = 0;

    static ClockSeam &current();
    // Installs the seam to use from now on; nullptr goes back to the system's clock.
    static void install(ClockSeam *seam);
};

} // namespace kivo
