#pragma once

#include "HandOverQueue.h"
#include "KeyReleaseFilter.h"
#include "RunningCopy.h"
#include "frmKivoControls.h"

#include "platform/CommonDialog.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class QDrag;
class QDragMoveEvent;
class QDropEvent;
class QLabel;

namespace kivo {

class GlueProxy;
class GraphicButton;
class Library;
class LoadLists;

// The main window: the library, the active load list, the load lists and the MIDI
// devices, with the menus and picture buttons that turn every action into one call
// of the presenter. It holds no command logic of its own.
class frmKivo final : public QMainWindow, private frmKivoControls {
    Q_OBJECT

public:
    // Works on the program's one library and set of load lists.
    frmKivo();
    frmKivo(Library &library, LoadLists &loadLists);
    ~frmKivo() override;

    // The start-up: settles the data folder, runs the installation checks, fills the
    // lists and shows the window. False when it failed; the window has then been
    // unloaded and the program ends. False too when another copy of the program runs
    // on the data folder and has taken this start's command line (handedOver()).
    bool Form_Load();
    bool handedOver() const noexcept { return m_handedOver; }
    // The shut-down: remembers the selections and releases the help viewer and the
    // text-input dialog. Runs once, when the window is unloaded.
    void Form_Unload();

    // The presenter, created on first use.
    GlueProxy &glueProxy();

    // The sound image file offered to the library at start-up: by default the
    // arguments after the program's name, joined by one blank.
    void setCommandLine(const QString &commandLine) { m_commandLine = commandLine; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void connectControls();

    // Whether this start is the one copy on the data folder; false when it handed its
    // command line over or must not run (it has told the user why).
    bool holdDataFolder();
    static bool mayTakeOver(const RunningCopy::StuckLock &lock);
    bool loadCommonDialogs();
    void offerCommandLine(const QString &commandLine);
    // A later start's command line: the window comes to the front and offers its file.
    void commandLineHandedOver(const QString &commandLine);
    void comeToFront();
    void createGraphicButtons();
    void pictureBoxClicked(QLabel *box);
    using Click = void (frmKivo::*)();
    // The command that the picture box stands for.
    Click clickOf(const QLabel *box) const;
    void keyUp(const QWidget *list, int keyCode);

    void addButton_Click();
    void deleteButton_Click();
    void deleteLLbutton_Click();
    void downButton_Click();
    void exportButton_Click();
    void importButton_Click();
    void moveButton_Click();
    void newButton_Click();
    void saveButton_Click();
    void TransferButton_Click();
    void upButton_Click();
    void xButton_Click();

    void flmPrintLib_Click();
    void flmPrintLL_Click();
    void flmExit_Click();
    void flmLibAdd_Click();
    void flmLibRemove_Click();
    void flmLLCreate_Click();
    void flmLLRemove_Click();
    void flmSave_Click();
    void flmLLRename_Click();
    void flmLLImport_Click();
    void flmLLExport_Click();
    void flmKRH_Click();
    void flmKRWeb_Click();
    void flmAKR_Click();

    void cboActiveList_Click();
    void objLibrary_Click();
    void objLoadList_Click();
    void objLibrary_DblClick();
    void objLibrary_KeyUp(int keyCode);
    void objLoadList_KeyUp(int keyCode);
    void objStatusBar_Change();

    // Drag and drop: library entries dragged onto the load list, files dropped on
    // the library.
    void objLibrary_MouseDown();
    void dragFromLibrary();
    Qt::DropActions objLibrary_OLEStartDrag(QDrag &drag);
    void objLoadList_OLEDragOver(QDragMoveEvent *event);
    void objLoadList_OLEDragDrop(QDropEvent *event);
    void objLibrary_OLEDragOver(QDragMoveEvent *event);
    void objLibrary_OLEDragDrop(QDropEvent *event);
    // What a drop does first: what follows may ask the user, over this window.
    void activateForDrop();

    Library &m_library;
    LoadLists &m_loadLists;
    std::unique_ptr<GlueProxy> mGlueProxy;
    QString m_commandLine;
    // Before the window's first child: from then on the window's events reach it.
    HandOverQueue m_handOvers;
    RunningCopy *m_runningCopy;
    bool m_handedOver = false;
    bool m_loaded = false;
    bool m_unloaded = false;
    QLabel *m_pressedBox = nullptr;
    KeyReleaseFilter m_keyReleases;

    CommonDialog objDialog;
    std::array<std::unique_ptr<GraphicButton>, 12> graphicButtons;
};

} // namespace kivo
