#include "CommonDialog.h"

#include "CommonDialogs.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QPrinter>

namespace kivo {

CommonDialog::CommonDialog() = default;

CommonDialog::CommonDialog(const QString &libraryFile)
{
    load(libraryFile);
}

CommonDialog::~CommonDialog() = default;

void CommonDialog::load(const QString &libraryFile)
{
    const QString file = QDir::toNativeSeparators(libraryFile);
    // Checked first: for a missing file the loader tells of the other names it tried.
    if (!QFileInfo(libraryFile).isFile())
        throw RuntimeError(ErrorNumber::FileNotFound, QStringLiteral("File not found: %1").arg(file));
    // Never unloaded: the dialogs are used until the program ends.
    QLibrary library(libraryFile);
    if (!library.load()) {
        // The loader's reason names the file.
        throw RuntimeError(ErrorNumber::Other,
                           QStringLiteral("The common dialogs cannot be loaded: %1").arg(library.errorString()));
    }
    const auto entry = reinterpret_cast<CommonDialogsEntry>(library.resolve(commonDialogsEntryName));
    if (entry == nullptr) {
        throw RuntimeError(ErrorNumber::EntryPointNotFound,
                           QStringLiteral("Can't find DLL entry point %1 in %2")
                               .arg(QLatin1StringView(commonDialogsEntryName), file));
    }
    CommonDialogs *dialogs = entry(commonDialogsVersion);
    if (dialogs == nullptr) {
        throw RuntimeError(ErrorNumber::Other,
                           QStringLiteral("%1 holds common dialogs of another version than this program's").arg(file));
    }
    m_dialogs = dialogs;
}

void CommonDialog::ShowOpen()
{
    showFileDialog(false);
}

void CommonDialog::ShowSave()
{
    showFileDialog(true);
}

void CommonDialog::ShowPrinter()
{
    if (!dialogs().showPrintDialog(*this, printer()))
        cancelled();
}

QPrinter &CommonDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

CommonDialogs &CommonDialog::dialogs() const
{
    if (m_dialogs == nullptr)
        throw RuntimeError(ErrorNumber::Other, QStringLiteral("The common dialogs are not loaded"));
    return *m_dialogs;
}

void CommonDialog::showFileDialog(bool save)
{
    const std::optional<QStringList> files = dialogs().showFileDialog(*this, save);
    if (!files || files->isEmpty()) {
        FileName.clear();
        cancelled();
        return;
    }
    takeResult(*files);
}

void CommonDialog::takeResult(const QStringList &files)
{
    const QString text = resultText(files);
    // The platform's buffer of MaxFileSize characters holds the text and its terminating NUL.
    if (text.size() >= MaxFileSize) {
        FileName.clear();
        throw RuntimeError(ErrorNumber::Other,
                           QStringLiteral("The FileName buffer is too small to store the selected file name(s)"));
    }
    FileName = text;
}

void CommonDialog::cancelled()
{
    if (CancelError)
        throw RuntimeError(ErrorNumber::CancelError);
}

// One file: its full path. Several: the folder (with a trailing separator only when
// it is a root), then each name, separated by NUL characters.
QString CommonDialog::resultText(const QStringList &files)
{
    if (files.size() == 1)
        return QDir::toNativeSeparators(QFileInfo(files.constFirst()).absoluteFilePath());
    QString text = QDir::toNativeSeparators(QFileInfo(files.constFirst()).absolutePath());
    for (const QString &file : files)
        text += QChar(u'\0') + QFileInfo(file).fileName();
    return text;
}

} // namespace kivo
