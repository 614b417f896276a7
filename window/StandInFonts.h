#pragma once

#include <QString>

namespace kivo {

// The window is designed in Tahoma. Where the machine's own fonts have no Tahoma,
// the program loads the stand-in of the same metrics from the folder where the
// font package that the installation depends on puts it (Wine's Tahoma on Debian),
// for itself alone: the machine's font configuration stays as it is. Arial needs
// nothing of the kind, as the font configuration maps it to Liberation Sans.
// Returns whether Tahoma is there now; without it the text is drawn in the
// machine's replacement, and the program runs all the same. Call it once the
// application object exists, before the first window.
bool useStandInFonts(const QString &folder);

// The folder of the stand-in fonts that the build was configured with; empty where
// the system brings Tahoma itself.
QString standInFontFolder();

} // namespace kivo
