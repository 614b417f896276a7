#include "Version.h"

namespace kivo {

QString versionText()
{
    return QStringLiteral("Version ") + QString::number(KIVO_VERSION_MAJOR) + u'.'
           + QString::number(KIVO_VERSION_MINOR);
}

} // namespace kivo
