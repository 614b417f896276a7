#include "QtCommonDialogs.h"

#include "CommonDialog.h"
#include "ModalSeam.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kivo {

namespace {

// OFN_HIDEREADONLY, OFN_PATHMUSTEXIST, OFN_EXPLORER and OFN_LONGNAMES need nothing:
// Qt's dialog has no read-only box, only offers folders that exist, and always
// shows long names in its one style.
QFileDialog::FileMode fileMode(const CommonDialog &control, bool save)
{
    if (save)
        return QFileDialog::AnyFile;
    if (control.hasFlag(OFN_ALLOWMULTISELECT))
        return QFileDialog::ExistingFiles;
    if (control.hasFlag(OFN_FILEMUSTEXIST))
        return QFileDialog::ExistingFile;
    return QFileDialog::AnyFile;
}

} // namespace

std::optional<QStringList> QtCommonDialogs::showFileDialog(const CommonDialog &control, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), control.DialogTitle);
    configure(dialog, control, save);
    return ModalSeam::current().execFileDialog(dialog);
}

bool QtCommonDialogs::showPrintDialog(const CommonDialog &control, QPrinter &printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !control.hasFlag(PD_HIDEPRINTTOFILE));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !control.hasFlag(PD_NOSELECTION));
    // On OK the dialog has set its choices on the printer it was given.
    return ModalSeam::current().execDialog(dialog) == QDialog::Accepted;
}

void QtCommonDialogs::configure(QFileDialog &dialog, const CommonDialog &control, bool save)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileMode(control, save));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !control.hasFlag(OFN_OVERWRITEPROMPT));
    // The filter's text is shown as it stands; its pattern only selects the files.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = nameFilters(control.Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!control.FileName.isEmpty())
        dialog.selectFile(QDir::fromNativeSeparators(control.FileName));
}

// "text|pattern|text|pattern" to Qt's "text (pattern pattern)"; a text without its
// pattern is left out, as the platform's dialog leaves it out.
QStringList QtCommonDialogs::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')'));
    }
    return filters;
}

} // namespace kivo

extern "C" Q_DECL_EXPORT kivo::CommonDialogs *kivoCommonDialogs(std::int32_t version)
{
    static kivo::QtCommonDialogs dialogs;
    return version == kivo::commonDialogsVersion ? &dialogs : nullptr;
}
