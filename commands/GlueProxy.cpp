#include "GlueProxy.h"

#include "commands/FileDialogCommands.h"
#include "commands/Glue.h"
#include "commands/LibraryFileAdder.h"
#include "commands/ListBoxFiller.h"
#include "commands/ListNamePrompt.h"
#include "commands/SelectionCommands.h"
#include "commands/dlgKivo.h"
#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/MidiDevices.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace kivo {

QString gModelClipFormat;

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
    m_filler = std::make_unique<ListBoxFiller>(libList, llList, llsList);
    initGlue();
    fillDeviceList();
}

void GlueProxy::initGlue()
{
    mGlue = std::make_unique<Glue>(m_library, m_loadLists);
    mGlue->setListener(this);
    const auto status = [this](const QString &text) { mGlue_UpdateStatusBar(text); };
    m_adder = std::make_unique<LibraryFileAdder>(*mGlue, status);
    m_fileCommands = std::make_unique<FileDialogCommands>(*mGlue, *m_adder, *objLLSList, status);
    m_selectionCommands = std::make_unique<SelectionCommands>(*mGlue, *objLibList, *objLLList, status);
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
    m_fileCommands->btnAddClick(objDialog);
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
    m_fileCommands->btnExportClick(objDialog);
}

void GlueProxy::btnImportClick(CommonDialog &objDialog)
{
    m_fileCommands->btnImportClick(objDialog);
}

// ---- editing, selection, transfer and print commands ----

void GlueProxy::btnRemoveClick()
{
    m_selectionCommands->btnRemoveClick();
}

void GlueProxy::btnMoveUpClick()
{
    m_selectionCommands->btnMoveUpClick();
}

void GlueProxy::btnMoveDownClick()
{
    m_selectionCommands->btnMoveDownClick();
}

void GlueProxy::btnMoveRightClick()
{
    m_selectionCommands->btnMoveRightClick();
}

void GlueProxy::btnMoveLeftClick()
{
    m_selectionCommands->btnMoveLeftClick();
}

void GlueProxy::btnNewClick()
{
    const QString name = ListNamePrompt::askValidName(false, QStringLiteral("Please enter a name"),
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
    const QString name = ListNamePrompt::askValidName(false, QStringLiteral("Enter a new name"),
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
    m_fileCommands->printList(strList, objDialog);
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
        m_selectionCommands->cancelAdd();
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
        m_selectionCommands->cancelAdd();
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
    m_selectionCommands->cancelAdd();
    mGlue_UpdateStatusBar(strMessage);
}

} // namespace kivo
