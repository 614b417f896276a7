#include "CommonDialog.h"

#include "ModalSeam.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

namespace kivo {

namespace {

bool has(qint32 flags, CommonDialogFlags flag)
{
    return (flags & flag) != 0;
}

// OFN_HIDEREADONLY, OFN_PATHMUSTEXIST, OFN_EXPLORER and OFN_LONGNAMES need nothing:
// Qt's dialog has no read-only box, only offers folders that exist, and always
// shows long names in its one style.
QFileDialog::FileMode fileMode(qint32 flags, bool save)
{
    if (save)
        return QFileDialog::AnyFile;
    if (has(flags, OFN_ALLOWMULTISELECT))
        return QFileDialog::ExistingFiles;
    if (has(flags, OFN_FILEMUSTEXIST))
        return QFileDialog::ExistingFile;
    return QFileDialog::AnyFile;
}

} // namespace

CommonDialog::CommonDialog() = default;

CommonDialog::~CommonDialog() = default;

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
    QPrintDialog dialog(&printer(), QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !has(Flags, PD_HIDEPRINTTOFILE));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !has(Flags, PD_NOSELECTION));
    // On OK the dialog has set its choices on the printer it was given.
    if (ModalSeam::current().execDialog(dialog) != QDialog::Accepted)
        cancelled();
}

QPrinter &CommonDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CommonDialog::showFileDialog(bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), DialogTitle);
    configure(dialog, save);
    const std::optional<QStringList> files = ModalSeam::current().execFileDialog(dialog);
    if (!files || files->isEmpty()) {
        FileName.clear();
        cancelled();
        return;
    }
    takeResult(*files);
}

void CommonDialog::configure(QFileDialog &dialog, bool save) const
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileMode(Flags, save));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !has(Flags, OFN_OVERWRITEPROMPT));
    // The filter's text is shown as it stands; its pattern only selects the files.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!FileName.isEmpty())
        dialog.selectFile(QDir::fromNativeSeparators(FileName));
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

// "text|pattern|text|pattern" to Qt's "text (pattern pattern)"; a text without its
// pattern is left out, as the platform's dialog leaves it out.
QStringList CommonDialog::nameFilters(const QString &filter)
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
