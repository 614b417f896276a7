#pragma once

#include "GlueListener.h"

#include <QString>

#include <functional>

namespace kivo {

// Delivers the facade's events to its one listener, and drops them while there is
// none; the facade and the helpers that do a command's work answer through it.
class GlueEvents {
public:
    using StatusReport = std::function<void(const QString &)>;

    // Not owned; nullptr drops the events.
    void setListener(GlueListener *listener) noexcept { m_listener = listener; }

    template <typename Event>
    void raise(Event &&event)
    {
        if (m_listener != nullptr)
            event(*m_listener);
    }
    void status(const QString &strMessage);
    // Reports to the status line, for the helpers that do a command's work.
    StatusReport reporter();

private:
    GlueListener *m_listener = nullptr;
};

} // namespace kivo
