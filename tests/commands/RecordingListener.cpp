#include "RecordingListener.h"

#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"

namespace kivo::test {

QStringList RecordingListener::statusTexts() const
{
    QStringList texts;
    const QString prefix = QStringLiteral("UpdateStatusBar(");
    for (const QString &event : events) {
        if (event.startsWith(prefix))
            texts.append(event.mid(prefix.size(), event.size() - prefix.size() - 1));
    }
    return texts;
}

void RecordingListener::reset()
{
    events.clear();
    onFileAlreadyExist = nullptr;
    onNameAlreadyExist = nullptr;
    onLocationNotEmpty = nullptr;
    onConfirmDelete = nullptr;
    onFilesDoesNotExist = nullptr;
    onLoadListsChange = nullptr;
    onUpdateStatusBar = nullptr;
}

void RecordingListener::LibraryChange(const Library &l, int intSelect)
{
    events.append(QStringLiteral("LibraryChange(%1 of %2)").arg(intSelect).arg(l.getCount()));
}

void RecordingListener::LoadListChange(const LoadListPtr &ll, int intSelect)
{
    events.append(QStringLiteral("LoadListChange(%1,%2)").arg(ll ? ll->name() : QStringLiteral("none")).arg(intSelect));
}

void RecordingListener::LoadListsChange(const LoadLists &loads, int intSelect)
{
    events.append(QStringLiteral("LoadListsChange(%1 of %2)").arg(intSelect).arg(loads.getCount()));
    if (onLoadListsChange)
        onLoadListsChange(loads, intSelect);
}

void RecordingListener::UpdateStatusBar(const QString &strMessage)
{
    events.append(QStringLiteral("UpdateStatusBar(%1)").arg(strMessage));
    if (onUpdateStatusBar)
        onUpdateStatusBar(strMessage);
}

void RecordingListener::FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                         const QString &strOldName)
{
    events.append(QStringLiteral("FileAlreadyExist(%1,%2,%3,%4)").arg(lngTag).arg(strName, getFileName(strPath), strOldName));
    if (onFileAlreadyExist)
        onFileAlreadyExist(lngTag, strName, strPath, strOldName);
}

void RecordingListener::NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath)
{
    events.append(QStringLiteral("NameAlreadyExist(%1,%2,%3)").arg(lngTag).arg(strName, getFileName(strPath)));
    if (onNameAlreadyExist)
        onNameAlreadyExist(lngTag, strName, strPath);
}

void RecordingListener::UpdateFileInfo(const QString &strPath, qint32 lngTag)
{
    events.append(QStringLiteral("UpdateFileInfo(%1,%2)").arg(strPath).arg(lngTag));
}

void RecordingListener::LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew)
{
    events.append(QStringLiteral("LocationNotEmpty(%1,%2,%3)").arg(strCurrent).arg(intLoc).arg(strNew));
    if (onLocationNotEmpty)
        onLocationNotEmpty(strCurrent, intLoc, strNew);
}

void RecordingListener::ConfirmDelete(const QString &strName)
{
    events.append(QStringLiteral("ConfirmDelete(%1)").arg(strName));
    if (onConfirmDelete)
        onConfirmDelete(strName);
}

void RecordingListener::FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey)
{
    events.append(QStringLiteral("FilesDoesNotExist(%1,%2,%3)").arg(getFileName(strPath)).arg(intLoc).arg(strKey));
    if (onFilesDoesNotExist)
        onFilesDoesNotExist(strPath, intLoc, strKey);
}

void RecordingListener::NoActiveList(const QString &strMessage)
{
    events.append(QStringLiteral("NoActiveList(%1)").arg(strMessage));
}

} // namespace kivo::test
