#include "GlueProxy.h"

#include "commands/Glue.h"
#include "commands/LibraryFileAdder.h"
#include "commands/ListBoxFiller.h"
#include "commands/dlgKivo.h"
#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/CommonDialog.h"
#include "platform/MidiDevices.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <algorithm>
#include <exception>

namespace kivo {

QString gModelClipFormat;

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

const QString noPrinterText =
    QStringLiteral(" There is no valid Printer ") + QStringLiteral("associated with your machine, command aborted");

// Why the name prompt asks again for a name whose list file could not be saved again.
QString nameTooLongText()
{
    return QStringLiteral("Name is too long to be saved as a file") + lineBreak() + QStringLiteral("Name can have up to ")
        + QString::number(maxSavableNameLength())
        + QStringLiteral(" characters, fewer with accents or letters outside A to Z");
}

} // namespace

GlueProxy::GlueProxy()
    : GlueProxy(getLibrary(), getLoadLists())
{
}

GlueProxy::GlueProxy(Library &library, LoadLists &loadLists)
    : m_library(library)
    , m_loadLists(loadLists)
{
}

GlueProxy::~GlueProxy() = default;

Glue &GlueProxy::glue()
{
    Q_ASSERT(mGlue);
    return *mGlue;
}

// ---- set-up ----

void GlueProxy::init(QListWidget &libList, QListWidget &llList, QComboBox &llsList, QComboBox &device,
                     QLabel &statusLabel, QLabel &pathLabel, QLabel &tagLabel)
{
    objLibList = &libList;
    objLLList = &llList;
    objLLSList = &llsList;
    objDevice = &device;
    objStatusLabel = &statusLabel;
    objPathLabel = &pathLabel;
    objTagLabel = &tagLabel;
    // Status texts and paths carry names and paths, which must show as they are, never as markup.
    for (QLabel *label : {objStatusLabel, objPathLabel, objTagLabel})
        label->setTextFormat(Qt::PlainText);
    mCancelAdd = false;
    m_filler = std::make_unique<ListBoxFiller>(libList, llList, llsList);
    initGlue();
    fillDeviceList();
}

void GlueProxy::initGlue()
{
    mGlue = std::make_unique<Glue>(m_library, m_loadLists);
    mGlue->setListener(this);
    m_adder = std::make_unique<LibraryFileAdder>(*mGlue, [this](const QString &text) { mGlue_UpdateStatusBar(text); });
    loadFromFile(m_library.persistent(), QString());
    loadListOfLoadLists(m_loadLists);
    mGlue->loadAllLoadLists();
    mGlue->update();
    // Qt on Windows maps this type to the clipboard format registered under the name.
    gModelClipFormat = QStringLiteral("application/x-qt-windows-mime;value=\"KivoModel\"");
}

void GlueProxy::fillDeviceList()
{
    // Row n is output device n; the window restores the selection.
    ListBoxFiller::appendUnselected(*objDevice, outputDeviceNames());
}

// ---- file commands ----

void GlueProxy::btnAddClick(CommonDialog &objDialog)
{
    sharedDialog().setStrAll(QString());
    const QString files = showAddDialog(objDialog);
    if (files.isEmpty()) {
        mGlue_UpdateStatusBar(QStringLiteral(" Add Sound Image aborted"));
        return;
    }
    processRawFile(files.split(QChar(0), Qt::KeepEmptyParts));
}

QString GlueProxy::showAddDialog(CommonDialog &objDialog)
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

void GlueProxy::processRawFile(const QStringList &strFiles)
{
    m_adder->processRawFile(strFiles);
}

void GlueProxy::addDroppedFiles(const QStringList &strPaths)
{
    m_adder->addDroppedFiles(strPaths);
}

void GlueProxy::sendFileToLibrary(const QString &strName, const QString &strPath)
{
    m_adder->sendFileToLibrary(strName, strPath);
}

void GlueProxy::sendFileHelper(const QString &strName, const QString &strPath)
{
    m_adder->sendFileHelper(strName, strPath);
}

void GlueProxy::btnExportClick(CommonDialog &objDialog)
{
    try {
        objDialog.FileName = objLLSList->currentText();
        objDialog.DialogTitle = QStringLiteral("Select Export Location");
        objDialog.Filter = exportFilter;
        objDialog.Flags = exportDialogFlags;
        objDialog.CancelError = true;
        objDialog.ShowSave();
        const QString file = objDialog.FileName;
        if (file.isEmpty())
            return;
        const QString name = getBaseName(file);
        const QString folder = file.left(lastSeparatorIndex(file) + 1);
        glue().exportLL(name, folder);
    } catch (const std::exception &error) {
        reportFileFailure(error, QStringLiteral(" Export aborted"));
    }
}

void GlueProxy::btnImportClick(CommonDialog &objDialog)
{
    try {
        objDialog.FileName = QString();
        objDialog.DialogTitle = QStringLiteral("Select Export File");
        objDialog.Filter = exportFilter;
        objDialog.Flags = importDialogFlags;
        objDialog.CancelError = true;
        objDialog.ShowOpen();
        const QString file = objDialog.FileName;
        if (file.isEmpty())
            return;
        const QString name = askValidName(false, QStringLiteral("Please enter a name"),
                                          QStringLiteral("Create New Load List"), getBaseName(file));
        if (!name.isEmpty())
            glue().importLL(file, name);
        else
            mGlue_UpdateStatusBar(QStringLiteral(" Import was aborted"));
    } catch (const std::exception &error) {
        reportFileFailure(error, QStringLiteral(" Import was aborted"));
    }
}

void GlueProxy::reportFileFailure(const std::exception &error, const QString &strCancelled)
{
    if (isCancel(error))
        mGlue_UpdateStatusBar(strCancelled);
    else
        msgBox(describe(error));
}

QString GlueProxy::askValidName(bool blnShowAll, const QString &strMessage, const QString &strTitle,
                                const QString &strDefault)
{
    sharedDialog().showAll(blnShowAll);
    QString answer = askText(strTitle, strDefault, strMessage);
    // A list whose file could be written once but never again would lose every later edit.
    bool valid = isValidName(answer) && isSavableName(answer);
    while (!answer.isEmpty() && !valid) {
        if (isSavableName(answer))
            answer = askText(strTitle, answer, QStringLiteral("Please enter a valid name"),
                             QStringLiteral("Cannot use: /\\:*?\"<>|") + lineBreak()
                                 + QStringLiteral("Name must start with either a letter or number"));
        else
            answer = askText(strTitle, answer, QStringLiteral("Please enter a shorter name"), nameTooLongText());
        valid = isValidName(answer) && isSavableName(answer);
    }
    return answer;
}

// ---- editing, selection, transfer and print commands ----

void GlueProxy::btnRemoveClick()
{
    const int row = objLibList->currentRow();
    if (objLibList->count() == 0 || row < 0) {
        msgBox(QStringLiteral("Please select a Sound Image to remove"), Buttons::Ok, Icon::None,
               QStringLiteral("Error Removing File"));
        return;
    }
    glue().removeFromLibrary(objLibList->item(row)->text(), row);
}

bool GlueProxy::checkLLSelection()
{
    if (objLLList->currentRow() < 0) {
        msgBox(QStringLiteral("Please select a Sound Image from your Load List"));
        return false;
    }
    return true;
}

void GlueProxy::btnMoveUpClick()
{
    if (!checkLLSelection())
        return;
    const int i = objLLList->currentRow();
    glue().swapModels(i, i - 1);
}

void GlueProxy::btnMoveDownClick()
{
    if (!checkLLSelection())
        return;
    const int i = objLLList->currentRow();
    glue().swapModels(i, i + 1);
}

void GlueProxy::btnMoveRightClick()
{
    const qsizetype selected = objLibList->selectedItems().size();
    if (selected > LoadList::locationCount) {
        msgBox(QStringLiteral("Load List can only have 12 images"));
        return;
    }
    if (selected == 0 || objLibList->currentRow() < 0) {
        msgBox(QStringLiteral(" Please select Sound Image from your list"));
        return;
    }
    addSelectedToLL(objLLList->currentRow() < 0 ? -1 : objLLList->currentRow());
}

QList<int> GlueProxy::selectedLibraryRows() const
{
    // selectedItems() answers in the order of selection, not of the rows.
    QList<int> rows;
    for (const QListWidgetItem *item : objLibList->selectedItems())
        rows.append(objLibList->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void GlueProxy::addSelectedToLL(int loc)
{
    mCancelAdd = false;
    const QList<int> rows = selectedLibraryRows();
    // The names are taken first: the answers to the facade's questions may refill the list.
    QStringList names;
    for (const int row : rows)
        names.append(objLibList->item(row)->text());
    for (const QString &name : names) {
        glue().addToLL(name, loc);
        loc = -1;
        if (mCancelAdd)
            return;
    }
}

void GlueProxy::btnMoveLeftClick()
{
    const int row = objLLList->currentRow();
    if (row < 0) {
        msgBox(QStringLiteral("Please select a Sound Image from your Load List"));
        return;
    }
    if (objLLList->item(row)->text().isEmpty()) {
        mGlue_UpdateStatusBar(QStringLiteral(" Nothing to remove"));
        return;
    }
    glue().removeFromLL(row);
}

void GlueProxy::btnNewClick()
{
    const QString name = askValidName(false, QStringLiteral("Please enter a name"),
                                      QStringLiteral("Create New Load List"), QString());
    if (!name.isEmpty())
        glue().createLL(name);
    else
        mGlue_UpdateStatusBar(QStringLiteral(" New Load List creation aborted"));
}

void GlueProxy::btnDeleteClick()
{
    glue().removeLL(objLLSList->currentText(), -1);
}

void GlueProxy::btnSaveClick()
{
    // The status line and the file layer's message tell how it went.
    static_cast<void>(glue().saveAll());
}

void GlueProxy::btnRenameClick()
{
    const QString old = objLLSList->currentText();
    const QString name = askValidName(false, QStringLiteral("Enter a new name"),
                                      QStringLiteral("Rename Current Load List"), old);
    if (name != objLLSList->currentText() && !name.isEmpty())
        glue().renameLL(name, objLLSList->currentText());
    else
        mGlue_UpdateStatusBar(QStringLiteral(" Rename Load List aborted"));
}

void GlueProxy::btnWriteClick(qint16 intDevice, QProgressBar &objProgress)
{
    mSavedListIndex = static_cast<qint16>(objLLSList->currentIndex());
    glue().sendBlock(intDevice, objProgress);
}

void GlueProxy::cboActiveListChange(const QString &strListName)
{
    glue().setActiveLL(strListName);
}

void GlueProxy::listBoxChanges(const QString &strKey, const QString &strSource, int intIndex)
{
    glue().getFileInfo(strKey, strSource, intIndex);
}

void GlueProxy::printList(const QString &strList, CommonDialog &objDialog)
{
    try {
        objDialog.CancelError = true;
        objDialog.Flags = printDialogFlags;
        objDialog.PrinterDefault = false;
        objDialog.ShowPrinter();
        if (strList == QStringLiteral("LOADLIST") || strList == QStringLiteral("LIBRARY")) {
            glue().setPrinter(&objDialog.printer());
            glue().printList(strList);
        }
    } catch (const std::exception &error) {
        if (!isCancel(error))
            mGlue_UpdateStatusBar(noPrinterText);
    }
}

void GlueProxy::setMainForm(QWidget *mainForm)
{
    glue().setMainForm(mainForm);
}

bool GlueProxy::saveBeforeExit()
{
    if (!m_loadLists.hasUnsavedChanges())
        return true;
    switch (msgBox(QStringLiteral("Save the changes to your Load Lists before you exit?"), Buttons::YesNoCancel)) {
    case Answer::Yes:
        if (!glue().saveAll())
            return true;
        // The user expects the window to go, and would not look at the status line.
        msgBox(glue().saveFailure());
        return false;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

// ---- answers to the facade's events ----

void GlueProxy::LibraryChange(const Library &l, int intSelect)
{
    mGlue_LibraryChange(l, intSelect);
}

void GlueProxy::LoadListChange(const LoadListPtr &ll, int intSelect)
{
    mGlue_LoadListChange(ll, intSelect);
}

void GlueProxy::LoadListsChange(const LoadLists &loads, int intSelect)
{
    mGlue_LoadListsChange(loads, intSelect);
}

void GlueProxy::UpdateStatusBar(const QString &strMessage)
{
    mGlue_UpdateStatusBar(strMessage);
}

void GlueProxy::FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                 const QString &strOldName)
{
    mglue_FileAlreadyExist(lngTag, strName, strPath, strOldName);
}

void GlueProxy::NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath)
{
    mglue_NameAlreadyExist(lngTag, strName, strPath);
}

void GlueProxy::UpdateFileInfo(const QString &strPath, qint32 lngTag)
{
    mglue_UpdateFileInfo(strPath, lngTag);
}

void GlueProxy::LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew)
{
    mglue_LocationNotEmpty(strCurrent, intLoc, strNew);
}

void GlueProxy::ConfirmDelete(const QString &strName)
{
    mglue_ConfirmDelete(strName);
}

void GlueProxy::FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey)
{
    mglue_FilesDoesNotExist(strPath, intLoc, strKey);
}

void GlueProxy::NoActiveList(const QString &strMessage)
{
    mglue_NoActiveList(strMessage);
}

void GlueProxy::mGlue_LibraryChange(const Library &objLibrary, int intSelect)
{
    m_filler->showLibrary(objLibrary, intSelect);
}

void GlueProxy::mGlue_LoadListChange(const LoadListPtr &objLL, int intSelect)
{
    m_filler->showLoadList(objLL, intSelect);
}

void GlueProxy::mGlue_LoadListsChange(const LoadLists &objLLS, int intSelect)
{
    m_filler->showLoadLists(objLLS, intSelect, mSavedListIndex);
}

void GlueProxy::mGlue_UpdateStatusBar(const QString &strMessage)
{
    objStatusLabel->setText(strMessage);
    // Shown before the command goes on: a transfer keeps the thread while it reports.
    objStatusLabel->repaint();
}

void GlueProxy::mglue_FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                       const QString &strOldName)
{
    const QString text = QStringLiteral("File: ") + strPath + QStringLiteral(" already exist as: ") + strOldName
        + lineBreak() + lineBreak() + QStringLiteral("Do you want to replace it as: ") + strName + QStringLiteral("?");
    if (msgBox(text, Buttons::YesNo, Icon::None, QStringLiteral("File Already Exist")) != Answer::Yes)
        return;
    glue().removeFromLibrary(strOldName, -1);
    // The old record stays when the library could not be saved without it; adding the
    // new one would only ask the same question again.
    if (m_library.nameExist(strOldName))
        return;
    glue().addToLibrary(lngTag, strName, strPath);
}

void GlueProxy::mglue_NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath)
{
    const QString answer = askText(QStringLiteral("Duplicate Name"), strName,
                                   QStringLiteral("The name: ") + strName + QStringLiteral(" is already in the list.")
                                       + lineBreak() + QStringLiteral("Please enter a new name"));
    if (!answer.isEmpty())
        glue().addToLibrary(lngTag, answer, strPath);
    else
        mGlue_UpdateStatusBar(QStringLiteral("Same name exist in list"));
}

void GlueProxy::mglue_UpdateFileInfo(const QString &strPath, qint32 strTag)
{
    objPathLabel->setText(QStringLiteral(" ") + strPath);
    if (strTag != 0)
        objTagLabel->setText(QStringLiteral(" ") + QString::number(static_cast<quint32>(strTag), 16).toUpper());
    else
        objTagLabel->setText(QString());
}

void GlueProxy::mglue_LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew)
{
    const QString text = strCurrent + QStringLiteral(" is at location ") + QString::number(intLoc + 1) + lineBreak()
        + QStringLiteral("Replace with ") + strNew + QStringLiteral("?");
    switch (msgBox(text, Buttons::YesNoCancel, Icon::None, QStringLiteral("Location Not Available"))) {
    case Answer::Yes:
        glue().removeFromLL(intLoc);
        glue().addToLL(strNew, intLoc);
        break;
    case Answer::Cancel:
        mCancelAdd = true;
        break;
    default:
        break;
    }
}

void GlueProxy::mglue_ConfirmDelete(const QString &strName)
{
    if (msgBox(QStringLiteral("Delete Load List ") + strName + QStringLiteral("?"), Buttons::YesNo, Icon::None,
               QStringLiteral("Delete Active List"))
        == Answer::Yes)
        glue().removeLL(strName, static_cast<int>(Answer::Yes));
}

void GlueProxy::mglue_FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey)
{
    const QString text = strPath + QStringLiteral(" does not exist") + lineBreak()
        + QStringLiteral("If file is on removeable media, please insert and try again");
    switch (msgBox(text, Buttons::AbortRetryIgnore, Icon::None, QStringLiteral("File Missing"))) {
    case Answer::Abort:
        mCancelAdd = true;
        break;
    case Answer::Retry:
        glue().addToLL(strKey, intLoc);
        break;
    default:
        break;
    }
}

void GlueProxy::mglue_NoActiveList(const QString &strMessage)
{
    mCancelAdd = true;
    mGlue_UpdateStatusBar(strMessage);
}

} // namespace kivo
