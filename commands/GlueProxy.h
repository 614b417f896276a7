#pragma once

#include "GlueListener.h"

#include <QString>
#include <QStringList>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QWidget;

namespace kivo {

class CommonDialog;
class FileDialogCommands;
class Glue;
class LibraryFileAdder;
class ListBoxFiller;
class SelectionCommands;
class Library;
class LoadLists;

// The drag format of library entries: a MIME type of our own that stands for the
// clipboard format registered as "KivoModel"; set by the presenter's start-up.
extern QString gModelClipFormat;

// Turns the main window's commands into calls of the facade and shows the facade's
// answers in the window's controls. Holds the controls it is given for its whole
// life; owns the facade and receives all of its events.
class GlueProxy final : public GlueListener {
public:
    // The facade works on the program's shared library and lists.
    GlueProxy();
    GlueProxy(Library &library, LoadLists &loadLists);
    ~GlueProxy() override;
    GlueProxy(const GlueProxy &) = delete;
    GlueProxy &operator=(const GlueProxy &) = delete;

    void init(QListWidget &objLibList, QListWidget &objLLList, QComboBox &objLLSList, QComboBox &objDevice,
              QLabel &objStatusLabel, QLabel &objPathLabel, QLabel &objTagLabel);
    void btnExportClick(CommonDialog &objDialog);
    void btnImportClick(CommonDialog &objDialog);
    void btnAddClick(CommonDialog &objDialog);
    void processRawFile(const QStringList &strFiles);
    // Offers the sound image files dropped on the library, in their order; each name
    // prompt offers the buttons for all files, also for a single file.
    void addDroppedFiles(const QStringList &strPaths);
    void sendFileToLibrary(const QString &strName, const QString &strPath);
    void sendFileHelper(const QString &strName, const QString &strPath);
    void btnRemoveClick();
    void btnMoveUpClick();
    void btnMoveDownClick();
    void btnMoveRightClick();
    void btnMoveLeftClick();
    void btnNewClick();
    void btnDeleteClick();
    void btnSaveClick();
    void btnRenameClick();
    void btnWriteClick(qint16 intDevice, QProgressBar &objProgress);
    void cboActiveListChange(const QString &strListName);
    void listBoxChanges(const QString &strKey, const QString &strSource, int intIndex = 0);
    void printList(const QString &strList, CommonDialog &objDialog);

    // The window that owns the reminder shown before a transfer.
    void setMainForm(QWidget *mainForm);
    // Edits of load lists stay in memory until they are saved; before the window goes
    // the user is asked to save them. False when the window stays: the user chose to,
    // or the save failed, and the edits would be lost with the window while the user
    // believed them saved.
    [[nodiscard]] bool saveBeforeExit();

    // The facade, valid after init (tests set the kivotools binding and the printer).
    Glue &glue();

private:
    void initGlue();
    void fillDeviceList();

    // The facade's events reach the handlers below.
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

    void mGlue_LibraryChange(const Library &objLibrary, int intSelect);
    void mGlue_LoadListChange(const LoadListPtr &objLL, int intSelect);
    void mGlue_LoadListsChange(const LoadLists &objLLS, int intSelect);
    void mGlue_UpdateStatusBar(const QString &strMessage);
    void mglue_FileAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath,
                                const QString &strOldName);
    void mglue_NameAlreadyExist(qint32 lngTag, const QString &strName, const QString &strPath);
    void mglue_UpdateFileInfo(const QString &strPath, qint32 strTag);
    void mglue_LocationNotEmpty(const QString &strCurrent, int intLoc, const QString &strNew);
    void mglue_ConfirmDelete(const QString &strName);
    void mglue_FilesDoesNotExist(const QString &strPath, int intLoc, const QString &strKey);
    void mglue_NoActiveList(const QString &strMessage);

    QListWidget *objLibList = nullptr;
    QListWidget *objLLList = nullptr;
    QComboBox *objLLSList = nullptr;
    QComboBox *objDevice = nullptr;
    QLabel *objStatusLabel = nullptr;
    QLabel *objPathLabel = nullptr;
    QLabel *objTagLabel = nullptr;
    qint16 mSavedListIndex = 0;
    std::unique_ptr<Glue> mGlue;
    std::unique_ptr<LibraryFileAdder> m_adder;
    std::unique_ptr<ListBoxFiller> m_filler;
    std::unique_ptr<FileDialogCommands> m_fileCommands;
    // Holds the stop flag of the loop that puts library entries into the load list,
    // which the answers to the facade's questions set.
    std::unique_ptr<SelectionCommands> m_selectionCommands;

    // What the facade is created on.
    Library &m_library;
    LoadLists &m_loadLists;
};

} // namespace kivo
