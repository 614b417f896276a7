#include "RecordingListener.h"

#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"

namespace kivo::test {

namespace {

// One event as "Name(a,b,...)"; the arguments are joined as they are, so that names
// holding "%1" are recorded as typed.
QString line(QStringView event, const QStringList &arguments)
{
    return event.toString() + u'(' + arguments.join(u',') + u')';
}

} // namespace

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
    events.append(line(u"LoadListChange", {ll ? ll->name() : QStringLiteral("none"), QString::number(intSelect)}));
}

void RecordingListener::LoadListsChange(const LoadLists &loads, int intSelect)
{
    events.append(QStringLiteral("LoadListsChange(%1 of %2)").arg(intSelect).arg(loads.getCount()));
    if (onLoadListsChange)
        onLoadListsChange(loads, intSelect);
}

void RecordingListener::UpdateStatusBar(const QString &strMessage)
{
    events.append(line(u"UpdateStatusBar", {strMessage}));
    if (onUpdateStatusBar)
        onUpdateStatusBar(strMessage);
}

void RecordingListener::FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                         const QString &strOldName)
{
    events.append(line(u"FileAlreadyExist", {QString::number(lngTag), strName, getFileName(strPath), strOldName}));
    if (onFileAlreadyExist)
        onFileAlreadyExist(lngTag, strName, strPath, strOldName);
}

void RecordingListener::NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath)
{
    events.append(line(u"NameAlreadyExist", {QString::number(lngTag), strName, getFileName(strPath)}));
    if (onNameAlreadyExist)
        onNameAlreadyExist(lngTag, strName, strPath);
}

void RecordingListener::UpdateFileInfo(const QString &strPath, qint32 lngTag)
{
    events.append(line(u"UpdateFileInfo", {strPath, QString::number(lngTag)}));
}

void RecordingListener::LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew)
{
    events.append(line(u"LocationNotEmpty", {strCurrent, QString::number(intLoc), strNew}));
    if (onLocationNotEmpty)
        onLocationNotEmpty(strCurrent, intLoc, strNew);
}

void RecordingListener::ConfirmDelete(const QString &strName)
{
    events.append(line(u"ConfirmDelete", {strName}));
    if (onConfirmDelete)
        onConfirmDelete(strName);
}

void RecordingListener::FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey)
{
    events.append(line(u"FilesDoesNotExist", {getFileName(strPath), QString::number(intLoc), strKey}));
    if (onFilesDoesNotExist)
        onFilesDoesNotExist(strPath, intLoc, strKey);
}

void RecordingListener::NoActiveList(const QString &strMessage)
{
    events.append(line(u"NoActiveList", {strMessage}));
}

} // namespace kivo::test
