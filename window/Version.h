#pragma once

#include <QString>

namespace kivo {

// "Version " followed by the program's major and minor version, as the splash screen
// and the About box show it.
QString versionText();

} // namespace kivo
