#include "ClockSeam.h"

#include <QObject>
#include <QTimer>

#include <utility>

namespace kivo {

namespace {

class EventLoopAlarm final : public ClockSeam::Alarm {
public:
    EventLoopAlarm(std::chrono::milliseconds after, std::function<void()> ring)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(ring));
        m_timer.start(after);
    }

private:
    QTimer m_timer;
};

class SystemClock final : public ClockSeam {
public:
    std::chrono::milliseconds now() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }

    std::unique_ptr<Alarm> setAlarm(std::chrono::milliseconds after, std::function<void()> ring) override
    {
        return std::make_unique<EventLoopAlarm>(after, std::move(ring));
    }
};

ClockSeam *g_installed = nullptr;

} // namespace

ClockSeam &ClockSeam::current()
{
    if (g_installed != nullptr)
        return *g_installed;
    static SystemClock system;
    return system;
}

void ClockSeam::install(ClockSeam *seam)
{
    g_installed = seam;
}

} // namespace kivo
