#include "DrivenClock.h"

#include <algorithm>
#include <utility>

namespace kivo::test {

class DrivenClock::DrivenAlarm final : public ClockSeam::Alarm {
public:
    DrivenAlarm(DrivenClock &owner, std::chrono::milliseconds dueAt, std::uint64_t setAs, std::function<void()> action)
        : clock(&owner)
        , due(dueAt)
        , order(setAs)
        , ring(std::move(action))
    {
    }
    ~DrivenAlarm() override
    {
        if (clock != nullptr)
            clock->forget(this);
    }
    DrivenAlarm(const DrivenAlarm &) = delete;
    DrivenAlarm &operator=(const DrivenAlarm &) = delete;

    // None once the clock has gone.
    DrivenClock *clock;
    std::chrono::milliseconds due;
    // Alarms due at the same time ring in the order in which they were set.
    std::uint64_t order;
    std::function<void()> ring;
};

DrivenClock::DrivenClock()
{
    ClockSeam::install(this);
}

DrivenClock::~DrivenClock()
{
    ClockSeam::install(nullptr);
    for (DrivenAlarm *alarm : m_alarms)
        alarm->clock = nullptr;
}

std::unique_ptr<ClockSeam::Alarm> DrivenClock::setAlarm(std::chrono::milliseconds after, std::function<void()> ring)
{
    auto alarm = std::make_unique<DrivenAlarm>(*this, m_now + after, m_alarmsSet++, std::move(ring));
    m_alarms.push_back(alarm.get());
    return alarm;
}

void DrivenClock::advance(std::chrono::milliseconds by)
{
    const std::chrono::milliseconds until = m_now + by;
    while (DrivenAlarm *alarm = next()) {
        if (alarm->due > until)
            break;
        m_now = std::max(m_now, alarm->due);
        // It rings once; its owner may drop it while it rings.
        forget(alarm);
        alarm->clock = nullptr;
        const std::function<void()> ring = std::move(alarm->ring);
        ring();
    }
    m_now = until;
}

std::optional<std::chrono::milliseconds> DrivenClock::untilNext() const
{
    if (const DrivenAlarm *alarm = next())
        return std::max(alarm->due - m_now, std::chrono::milliseconds(0));
    return std::nullopt;
}

void DrivenClock::forget(const DrivenAlarm *alarm)
{
    std::erase(m_alarms, alarm);
}

DrivenClock::DrivenAlarm *DrivenClock::next() const
{
    const auto earliest = std::min_element(m_alarms.begin(), m_alarms.end(), [](const DrivenAlarm *a, const DrivenAlarm *b) {
        return std::pair(a->due, a->order) < std::pair(b->due, b->order);
    });
    return earliest == m_alarms.end() ? nullptr : *earliest;
}

} // namespace kivo::test
