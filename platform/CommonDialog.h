#pragma once

#include "kivoruntime_export.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

class QPrinter;

namespace kivo {

class CommonDialogs;

// The flags that the file and print dialogs understand, with the platform's values.
enum CommonDialogFlags : qint32 {
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_ALLOWMULTISELECT = 0x200,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_EXPLORER = 0x80000,
    OFN_LONGNAMES = 0x200000,
    PD_NOSELECTION = 0x4,
    PD_HIDEPRINTTOFILE = 0x100000,
};

// The open, save and print dialogs behind one set of properties. The dialogs
// themselves are in the common dialogs' library, which the control is bound to
// with load(); the properties, the results and the printer are the control's.
class KIVORUNTIME_EXPORT CommonDialog {
public:
    // The control's properties; a property that a caller does not set keeps the value it was set to last.
    QString FileName;
    QString DialogTitle;
    QString Filter; // "text|pattern|text|pattern..."; several patterns of one text separated by ';'
    qint32 Flags = 0;
    bool CancelError = false;
    qint32 MaxFileSize = 260;
    // Kept for callers; the system's default printer is never changed from here.
    bool PrinterDefault = true;

    CommonDialog();
    // Bound to the dialogs in the library file at once (see load).
    explicit CommonDialog(const QString &libraryFile);
    ~CommonDialog();
    CommonDialog(const CommonDialog &) = delete;
    CommonDialog &operator=(const CommonDialog &) = delete;

    // Binds the control to the dialogs of the library file; the library stays
    // loaded until the program ends. Throws RuntimeError naming the file and the
    // reason when the file cannot be loaded or holds no dialogs of this program's
    // version; the control is then bound as it was before.
    void load(const QString &libraryFile);

    bool hasFlag(CommonDialogFlags flag) const { return (Flags & flag) != 0; }

    // A control that is not bound to its dialogs throws RuntimeError at each of them.
    // Cancel with CancelError true throws RuntimeError(ErrorNumber::CancelError, ...); with CancelError false it
    // leaves FileName empty (open/save). Several files come back in FileName as folder, NUL, name, NUL, name...
    // A result that does not fit MaxFileSize (with its terminating NUL) throws RuntimeError.
    void ShowOpen();
    void ShowSave();
    void ShowPrinter();
    // The printer the user chose in ShowPrinter (with its copies); printing uses it.
    QPrinter &printer();

private:
    CommonDialogs &dialogs() const;
    void showFileDialog(bool save);
    void takeResult(const QStringList &files);
    void cancelled();

    static QString resultText(const QStringList &files);

    CommonDialogs *m_dialogs = nullptr;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace kivo
