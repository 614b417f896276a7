#pragma once

#include <QStringList>

#include <cstdint>
#include <optional>

class QPrinter;

namespace kivo {

class CommonDialog;

// The open, save and print dialogs behind the common dialog control. They live in
// a library of their own that the installation puts into the "System" folder and
// that the program loads at run time (CommonDialog::load); the library hands them
// out through its one C entry point, commonDialogsEntryName.
class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;

    // The open (save false) or save dialog, set up from the control's properties and
    // shown modally: the chosen paths, or nullopt when the user cancelled.
    virtual std::optional<QStringList> showFileDialog(const CommonDialog &control, bool save) = 0;
    // The print dialog over the printer, set up from the control's flags and shown
    // modally: true when the user chose OK, which leaves the choices on the printer.
    virtual bool showPrintDialog(const CommonDialog &control, QPrinter &printer) = 0;
};

// Raised whenever the interface above changes, so that a library of another
// version is refused rather than called.
inline constexpr std::int32_t commonDialogsVersion = 1;

// The entry point: the library's dialogs for the interface version asked for, or
// nullptr when it has none of that version.
using CommonDialogsEntry = CommonDialogs *(*)(std::int32_t version);
inline constexpr char commonDialogsEntryName[] = "kivoCommonDialogs";

} // namespace kivo
