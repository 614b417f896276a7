#pragma once

#include <QString>

namespace kivo {

// Puts the machine-wide settings that the program's own installation wrote
// (PREFIX/etc/xdg beside the program's PREFIX/bin, or /etc/xdg for /usr/bin) first
// in the machine-wide search, so that the program finds "Path" and "System"
// wherever it was installed. Call it once, before the first setting is read.
void useInstalledSettings(const QString &applicationDirPath);

// The files that the installation puts into the "System" folder and the start-up
// checks look for: the common dialogs and kivotools.
QString commonDialogFileName();
QString kivotoolsFileName();

} // namespace kivo
