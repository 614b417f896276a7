#pragma once

#include <QString>

class QWidget;

namespace kivo {

enum class HelpCommand { HELP_QUIT = 2, HELP_CONTENTS = 3 };

// The program's help: HELP_CONTENTS opens the help file (HTML) in a help viewer
// window that belongs to the owner, one viewer per owner, and shows its contents
// page; HELP_QUIT closes the owner's viewer (the file is not looked at). A help file
// that cannot be read is reported inside the viewer.
void WinHelp(QWidget &owner, const QString &helpFile, HelpCommand command);

} // namespace kivo
