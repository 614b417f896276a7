#include "FileDialogCommands.h"

#include "commands/Glue.h"
#include "commands/LibraryFileAdder.h"
#include "commands/ListNamePrompt.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "platform/CommonDialog.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QComboBox>

#include <utility>

namespace kivo {

namespace {

constexpr qint32 addDialogFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST
    | OFN_EXPLORER | OFN_LONGNAMES;
constexpr qint32 exportDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
constexpr qint32 importDialogFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
constexpr qint32 printDialogFlags = PD_HIDEPRINTTOFILE | PD_NOSELECTION;
const QString exportFilter = QStringLiteral("Kivo Export File (*.kxf)|*.kxf");

// The common dialogs report Cancel as a failure of their own.
bool isCancel(const std::exception &error)
{
    const auto *runtimeError = dynamic_cast<const RuntimeError *>(&error);
    return runtimeError != nullptr && runtimeError->number() == ErrorNumber::CancelError;
}

// Shows the save dialog (the export) or the open dialog (the import) for an export
// file; the file chosen, or the empty text.
QString showExportFileDialog(CommonDialog &objDialog, const QString &strFileName, const QString &strTitle, bool blnSave)
{
    objDialog.FileName = strFileName;
    objDialog.DialogTitle = strTitle;
    objDialog.Filter = exportFilter;
    objDialog.Flags = blnSave ? exportDialogFlags : importDialogFlags;
    objDialog.CancelError = true;
    if (blnSave)
        objDialog.ShowSave();
    else
        objDialog.ShowOpen();
    return objDialog.FileName;
}

const QString noPrinterText =
    QStringLiteral(" There is no valid Printer ") + QStringLiteral("associated with your machine, command aborted");

} // namespace

FileDialogCommands::FileDialogCommands(Glue &glue, LibraryFileAdder &adder, const QComboBox &llsList,
                                       StatusReport status)
    : m_glue(glue)
    , m_adder(adder)
    , m_llsList(llsList)
    , m_status(std::move(status))
{
}

void FileDialogCommands::btnAddClick(CommonDialog &objDialog)
{
    sharedDialog().setStrAll(QString());
    const QString files = showAddDialog(objDialog);
    if (files.isEmpty()) {
        m_status(QStringLiteral(" Add Sound Image aborted"));
        return;
    }
    m_adder.processRawFile(files.split(QChar(0), Qt::KeepEmptyParts));
}

QString FileDialogCommands::showAddDialog(CommonDialog &objDialog)
{
    try {
        objDialog.MaxFileSize = 32000;
        objDialog.FileName = QString();
        objDialog.DialogTitle = QStringLiteral("Add Tulvex Sound Image");
        objDialog.Filter = QStringLiteral("Tulvex Sound Image (*.tvs)|*.tvs");
        objDialog.Flags = addDialogFlags;
        objDialog.CancelError = true;
        objDialog.ShowOpen();
        return objDialog.FileName;
    } catch (const std::exception &error) {
        reportFileFailure(error, QStringLiteral(" No file selected"));
    }
    return {};
}

void FileDialogCommands::btnExportClick(CommonDialog &objDialog)
{
    try {
        const QString file =
            showExportFileDialog(objDialog, m_llsList.currentText(), QStringLiteral("Select Export Location"), true);
        if (file.isEmpty())
            return;
        const QString name = getBaseName(file);
        const QString folder = file.left(lastSeparatorIndex(file) + 1);
        m_glue.exportLL(name, folder);
    } catch (const std::exception &error) {
        reportFileFailure(error, QStringLiteral(" Export aborted"));
    }
}

void FileDialogCommands::btnImportClick(CommonDialog &objDialog)
{
    try {
        const QString file = showExportFileDialog(objDialog, QString(), QStringLiteral("Select Export File"), false);
        if (file.isEmpty())
            return;
        const QString name = ListNamePrompt::askValidName(false, QStringLiteral("Please enter a name"),
                                                          QStringLiteral("Create New Load List"), getBaseName(file));
        if (!name.isEmpty())
            m_glue.importLL(file, name);
        else
            m_status(QStringLiteral(" Import was aborted"));
    } catch (const std::exception &error) {
        reportFileFailure(error, QStringLiteral(" Import was aborted"));
    }
}

void FileDialogCommands::reportFileFailure(const std::exception &error, const QString &strCancelled)
{
    if (isCancel(error))
        m_status(strCancelled);
    else
        msgBox(describe(error));
}

void FileDialogCommands::printList(const QString &strList, CommonDialog &objDialog)
{
    try {
        objDialog.CancelError = true;
        objDialog.Flags = printDialogFlags;
        objDialog.PrinterDefault = false;
        objDialog.ShowPrinter();
        if (strList == QStringLiteral("LOADLIST") || strList == QStringLiteral("LIBRARY")) {
            m_glue.setPrinter(&objDialog.printer());
            m_glue.printList(strList);
        }
    } catch (const std::exception &error) {
        if (!isCancel(error))
            m_status(noPrinterText);
    }
}

} // namespace kivo
