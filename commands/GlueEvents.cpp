#include "GlueEvents.h"

namespace kivo {

void GlueEvents::status(const QString &strMessage)
{
    raise([&](GlueListener &l) { l.UpdateStatusBar(strMessage); });
}

GlueEvents::StatusReport GlueEvents::reporter()
{
    return [this](const QString &strMessage) { status(strMessage); };
}

} // namespace kivo
