#include "Glue.h"

#include "commands/LastLoadedList.h"
#include "commands/ListExchange.h"
#include "commands/ListPrinter.h"
#include "commands/ListTransfer.h"
#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "model/UnreadLinesNotice.h"
#include "platform/KivoTools.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"

#include <QProgressBar>
#include <QWidget>

#include <vector>

namespace kivo {

namespace {

const QString saveFailedText = QStringLiteral(" Your Load Lists could not be saved");

// One line for each list that earlier versions let have a name too long for its file
// to be saved again, and whose edits are therefore not saved; empty when there is none.
QString namesTooLongText(const LoadLists &lists)
{
    QString text;
    for (const LoadListPtr &list : lists) {
        if (!isSavableName(list->name()) && differsFromFile(list->persistent()))
            text += lineBreak() + QStringLiteral("The name of the Load List \"") + list->name()
                + QStringLiteral("\" is too long for its file to be saved. Rename it to a shorter name.");
    }
    return text;
}

// The binding stays loaded for the life of the program once a function is bound.
KivoTools &programKivoTools()
{
    static KivoTools tools;
    return tools;
}

} // namespace

Glue::Glue()
    : Glue(getLibrary(), getLoadLists())
{
}

Glue::Glue(Library &library, LoadLists &loadLists)
    : mLibrary(library)
    , mLoadLists(loadLists)
    , m_tools(&programKivoTools())
{
}

void Glue::setMainForm(QWidget *mainForm)
{
    m_mainForm = mainForm;
}

QString Glue::lastLoadedName()
{
    return LastLoadedList::name();
}

void Glue::update()
{
    raise([&](GlueListener &l) { l.LibraryChange(mLibrary, 0); });
    const LoadListPtr active = mLoadLists.activeLoadList();
    raise([&](GlueListener &l) { l.LoadListChange(active, 0); });
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, 0); });
    status(QStringLiteral(" Application loaded successfully"));
}

bool Glue::saveLibrary()
{
    return mLibrary.save();
}

bool Glue::saveLibraryOrRestore(const std::vector<ModelPtr> &before)
{
    if (!saveLibrary())
        return false;
    mLibrary.restore(before);
    return true;
}

void Glue::addToLibrary(qint32 lngTag, const QString &strName, const QString &strPath)
{
    const QString old = mLibrary.tagExist(lngTag);
    if (!old.isEmpty()) {
        raise([&](GlueListener &l) { l.FileAlreadyExist(lngTag, strName, strPath, old); });
        return;
    }
    if (mLibrary.nameExist(strName)) {
        raise([&](GlueListener &l) { l.NameAlreadyExist(lngTag, strName, strPath); });
        return;
    }
    const std::vector<ModelPtr> before = mLibrary.records();
    mLibrary.add(newModel(lngTag, strName, strPath));
    if (mLibrary.records().size() == before.size())
        return;
    if (saveLibraryOrRestore(before)) {
        status(QStringLiteral(" File not added: the library could not be saved"));
        return;
    }
    const int row = mLibrary.getCount() - 1;
    raise([&](GlueListener &l) { l.LibraryChange(mLibrary, row); });
    status(QStringLiteral(" File added"));
}

void Glue::removeFromLibrary(const QString &strKey, int intLoc)
{
    const std::vector<ModelPtr> before = mLibrary.records();
    mLibrary.removeItem(strKey);
    if (saveLibraryOrRestore(before)) {
        status(QStringLiteral(" File not removed: the library could not be saved"));
        return;
    }
    raise([&](GlueListener &l) { l.LibraryChange(mLibrary, intLoc); });
    status(QStringLiteral(" File removed"));
}

void Glue::createLL(const QString &strName)
{
    const int before = mLoadLists.getCount();
    QString name = strName;
    mLoadLists.addLoadList(newLoadList(name));
    if (mLoadLists.getCount() == before)
        return;
    setActiveLL(name);
    const bool failed = mLoadLists.saveAll();
    const int row = mLoadLists.getCount() - 1;
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, row); });
    reportSaved(failed, QStringLiteral(" Your new Load List is ready to go!"));
}

void Glue::removeLL(const QString &strName, int intCmd)
{
    if (noLoadList()) {
        status(QStringLiteral(" No valid Load List to delete"));
        return;
    }
    if (isLastLoadedActive()) {
        status(QStringLiteral(" Cannot delete the Load List \"Last Loaded\""));
        return;
    }
    if (intCmd != static_cast<int>(Answer::Yes)) {
        raise([&](GlueListener &l) { l.ConfirmDelete(strName); });
        return;
    }
    const UnreadLinesNotice notice;
    mLoadLists.remove(strName);
    const LoadListPtr active = mLoadLists.activeLoadList();
    raise([&](GlueListener &l) { l.LoadListChange(active, 0); });
    const int row = mLoadLists.getCount() - 1;
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, row); });
    reportSaved(mLoadLists.saveAll(), QStringLiteral(" Load List removed!"));
}

void Glue::addToLL(const QString &strName, int intPos)
{
    if (noLoadList() || !getActiveLoadList()) {
        msgBox(QStringLiteral("Can only add Sound Image to an Active Load List"), Buttons::Ok, Icon::None,
               QStringLiteral("No Active Load List"));
        raise([&](GlueListener &l) { l.NoActiveList(QStringLiteral(" There is no Active Load List")); });
        return;
    }
    const LoadListPtr active = listToEdit();
    int location = intPos;
    if (location == -1)
        location = active->getCurrentEmpty();
    else if (!active->isLocationEmpty(location))
        location = -1;
    if (location != -1) {
        placeInLL(location, strName);
        return;
    }
    const int occupied = intPos == -1 ? active->CurrentLocation() : intPos;
    const ModelPtr current = active->getModel(occupied);
    const QString currentName = current ? current->name() : QString();
    raise([&](GlueListener &l) { l.LocationNotEmpty(currentName, occupied, strName); });
}

void Glue::placeInLL(int intLoc, const QString &strName)
{
    const ModelPtr record = mLibrary.getModel(strName);
    const QString path = record->path();
    if (fileNotExist(*record)) {
        raise([&](GlueListener &l) { l.FilesDoesNotExist(path, intLoc, strName); });
        return;
    }
    const LoadListPtr active = getActiveLoadList();
    active->add(intLoc, record);
    raise([&](GlueListener &l) { l.LoadListChange(active, intLoc + 1); });
    status(QStringLiteral(" Sound image added to ") + active->name());
}

void Glue::removeFromLL(int intLocation)
{
    if (!getActiveLoadList())
        return;
    const LoadListPtr active = listToEdit();
    active->remove(intLocation);
    raise([&](GlueListener &l) { l.LoadListChange(active, intLocation); });
    status(QStringLiteral(" Location %1 removed").arg(intLocation + 1));
}

void Glue::swapModels(int intId1, int intId2)
{
    if (!getActiveLoadList())
        return;
    const LoadListPtr active = listToEdit();
    int second = intId2;
    active->swap(intId1, second);
    raise([&](GlueListener &l) { l.LoadListChange(active, second); });
    status(QStringLiteral(" Sound Image location swapped"));
}

void Glue::setActiveLL(const QString &strName)
{
    const LoadListPtr list = mLoadLists.getLoadList(strName);
    mLoadLists.setActiveLoadList(list);
    raise([&](GlueListener &l) { l.LoadListChange(list, 0); });
}

void Glue::exportLL(const QString &strName, const QString &strPath)
{
    ListExchange(*this, mLoadLists, m_events).exportLL(strName, strPath);
}

void Glue::importLL(const QString &strFile, const QString &strName)
{
    ListExchange(*this, mLoadLists, m_events).importLL(strFile, strName);
}

bool Glue::saveAll()
{
    m_saveFailure.clear();
    if (noLoadList()) {
        status(QStringLiteral(" There is nothing to save"));
        return false;
    }
    forgetWriteFailure();
    const UnreadLinesNotice notice;
    const bool failed = mLoadLists.saveAll();
    reportSaved(failed, QStringLiteral(" All of your Load Lists has been saved"));
    if (failed) {
        const QString reason = lastWriteFailure();
        m_saveFailure = saveFailedText.trimmed() + (reason.isEmpty() ? QString() : lineBreak() + reason)
            + namesTooLongText(mLoadLists);
    }
    return failed;
}

void Glue::renameLL(const QString &strNewName, const QString &strOldName)
{
    const LoadListPtr active = getActiveLoadList();
    if (!active) {
        status(QStringLiteral(" You have no Load List to rename"));
        return;
    }
    if (isLastLoadedActive()) {
        status(QStringLiteral(" Cannot rename the Load List \"Last Loaded\""));
        return;
    }
    // Going on would take the list out of the set and write over the other list's file.
    const LoadListPtr namesake = mLoadLists.getLoadList(strNewName);
    if (namesake && namesake != active) {
        status(QStringLiteral(" A Load List named ") + strNewName + QStringLiteral(" already exists"));
        return;
    }
    // The list keeps its old name, in the set and on disk, when its new files cannot be written.
    if (mLoadLists.rename(strOldName, strNewName)) {
        status(saveFailedText);
        return;
    }
    const int row = mLoadLists.getCount() - 1;
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, row); });
    status(QStringLiteral(" Your Load List has been saved"));
}

bool Glue::saveLL(const QString &)
{
    if (noLoadList())
        return false;
    const LoadListPtr active = getActiveLoadList();
    if (!active)
        return false;
    const UnreadLinesNotice notice;
    bool failed = mLoadLists.saveLoadList(*active);
    failed = saveListOfLoadLists(mLoadLists) || failed;
    reportSaved(failed, QStringLiteral(" Your Load List has been saved"));
    return failed;
}

void Glue::sendBlock(qint32 lgDevice, QProgressBar &objProgress)
{
    ListTransfer transfer(*m_tools, mLoadLists, m_events.reporter());
    const ListTransfer::Progress progress{
        [&objProgress](int done, int total) {
            if (done == 0) {
                objProgress.setVisible(true);
                objProgress.setValue(objProgress.minimum());
            } else {
                objProgress.setValue(objProgress.value() + objProgress.maximum() / total);
            }
        },
        [&objProgress] { objProgress.setVisible(false); }};
    transfer.send(lgDevice, m_mainForm, progress, [this] { recordLastLoaded(); });
}

void Glue::recordLastLoaded()
{
    const bool failed = LastLoadedList(mLoadLists).record();
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, rowBeforeTransfer); });
    reportSaved(failed, QStringLiteral(" Finished Transferring to Kivo!"));
}

void Glue::loadAllLoadLists()
{
    mLoadLists.fillLoadLists();
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, 0); });
}

void Glue::getFileInfo(const QString &strKey, const QString &strSource, int strIndex)
{
    if (strKey.isEmpty()) {
        status(QString());
        raise([&](GlueListener &l) { l.UpdateFileInfo(QString(), 0); });
        return;
    }
    if (strSource == QStringLiteral("Library")) {
        reportRecord(mLibrary.getModel(strKey));
    } else if (strSource == QStringLiteral("Loadlist")) {
        const LoadListPtr active = getActiveLoadList();
        if (active)
            reportRecord(active->getModel(strIndex));
    }
}

void Glue::reportRecord(const ModelPtr &m)
{
    if (!m)
        return;
    status(QStringLiteral(" ") + m->path());
    const QString fileName = getFileName(m->path());
    raise([&](GlueListener &l) { l.UpdateFileInfo(fileName, m->tag()); });
}

void Glue::addLoadList(const LoadListPtr &ll)
{
    mLoadLists.addLoadList(ll);
    setActiveLL(ll->name());
    const bool failed = mLoadLists.saveAll();
    const int row = mLoadLists.getCount() - 1;
    raise([&](GlueListener &l) { l.LoadListsChange(mLoadLists, row); });
    if (failed)
        status(saveFailedText);
}

LoadListPtr Glue::getActiveLoadList() const
{
    return mLoadLists.activeLoadList();
}

bool Glue::noLoadList() const
{
    return mLoadLists.getCount() == 0;
}

bool Glue::isLastLoadedActive() const
{
    return LastLoadedList(mLoadLists).isActive();
}

LoadListPtr Glue::listToEdit()
{
    if (isLastLoadedActive())
        copyToUntitled();
    return getActiveLoadList();
}

void Glue::copyToUntitled()
{
    addLoadList(LastLoadedList(mLoadLists).untitledCopy());
}

void Glue::reportSaved(bool failed, const QString &success)
{
    status(failed ? saveFailedText : success);
}

void Glue::printList(const QString &strList)
{
    ListPrinter(m_events.reporter()).printList(strList, mLibrary, mLoadLists, m_printer);
}

} // namespace kivo
