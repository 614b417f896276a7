#pragma once

#include "commands/GlueListener.h"

#include <QStringList>

#include <functional>

namespace kivo::test {

// Records every event of the facade as one line of text, and answers question
// events by calling back into the facade the way the presenter does.
class RecordingListener final : public GlueListener {
public:
    QStringList events;

    std::function<void(qint32, const QString &, const QString &, const QString &)> onFileAlreadyExist;
    std::function<void(qint32, const QString &, const QString &)> onNameAlreadyExist;
    std::function<void(const QString &, int, const QString &)> onLocationNotEmpty;
    std::function<void(const QString &)> onConfirmDelete;
    std::function<void(const QString &, int, const QString &)> onFilesDoesNotExist;
    std::function<void(const LoadLists &, int)> onLoadListsChange;
    std::function<void(const QString &)> onUpdateStatusBar;

    QStringList statusTexts() const;
    // Forgets the events and the answers.
    void reset();

    void LibraryChange(const Library &l, int intSelect) override;
    void LoadListChange(const LoadListPtr &ll, int intSelect) override;
    void LoadListsChange(const LoadLists &loads, int intSelect) override;
    void UpdateStatusBar(const QString &strMessage) override;
    void FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                          const QString &strOldName) override;
    void NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath) override;
    void UpdateFileInfo(const QString &strPath, qint32 lngTag) override;
    void LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew) override;
    void ConfirmDelete(const QString &strName) override;
    void FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey) override;
    void NoActiveList(const QString &strMessage) override;
};

} // namespace kivo::test
