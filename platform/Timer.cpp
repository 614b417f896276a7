#include "Timer.h"

#include <utility>

namespace kivo {

Timer::Timer(std::chrono::milliseconds interval, QObject *parent)
    : QObject(parent)
    , m_interval(interval)
{
}

Timer::~Timer() = default;

void Timer::start()
{
    m_alarm = ClockSeam::current().setAlarm(m_interval, [this] { ring(); });
    m_active = true;
}

void Timer::stop()
{
    m_alarm.reset();
    m_active = false;
}

void Timer::ring()
{
    m_active = false;
    m_rung = std::move(m_alarm);
    Q_EMIT timeout();
}

} // namespace kivo
