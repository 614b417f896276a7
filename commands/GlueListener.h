#pragma once

#include "model/LoadList.h"

#include <QString>

namespace kivo {

class Library;
class LoadLists;

// What LoadListsChange gets for intSelect after a transfer: the list box selects the
// row that was selected as the transfer began, as the transfer's copy has been added.
inline constexpr int rowBeforeTransfer = -99;

// The one listener of the facade's events. Each is delivered synchronously; a
// handler may call back into the facade, which has finished its own changes by then.
class GlueListener {
public:
    virtual ~GlueListener() = default;

    virtual void LibraryChange(const Library &l, int intSelect) = 0;
    virtual void LoadListChange(const LoadListPtr &ll, int intSelect) = 0;
    virtual void LoadListsChange(const LoadLists &loads, int intSelect) = 0;
    virtual void UpdateStatusBar(const QString &strMessage) = 0;
    virtual void FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                  const QString &strOldName) = 0;
    virtual void NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath) = 0;
    virtual void UpdateFileInfo(const QString &strPath, qint32 lngTag) = 0;
    virtual void LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew) = 0;
    virtual void ConfirmDelete(const QString &strName) = 0;
    virtual void FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey) = 0;
    virtual void NoActiveList(const QString &strMessage) = 0;
};

} // namespace kivo
