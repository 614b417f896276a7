#include "frmKivo.h"

#include "DragAndDrop.h"
#include "DropListBox.h"
#include "GraphicButton.h"
#include "HelpCommands.h"
#include "HelpViewer.h"
#include "Installation.h"
#include "KivoApplication.h"
#include "RunningCopy.h"
#include "frmSplash.h"

#include "commands/ApiGlobal.h"
#include "commands/DataFolderSetup.h"
#include "commands/GlueProxy.h"
#include "commands/RememberedSelections.h"
#include "commands/dlgKivo.h"
#include "model/Factory.h"
#include "model/Global.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>

#include <utility>

namespace kivo {

namespace {

// A handler as the toolkit calls it: one command, whose run-time error is shown
// before it could pass through the toolkit's code.
template <typename... Args>
auto asCommand(frmKivo *window, void (frmKivo::*handler)(Args...))
{
    return [window, handler](Args... args) { KivoApplication::runCommand([&] { (window->*handler)(args...); }); };
}

QString commandLineOfProgram()
{
    return QCoreApplication::arguments().mid(1).join(u' ');
}

} // namespace

frmKivo::frmKivo()
    : frmKivo(getLibrary(), getLoadLists())
{
}

frmKivo::frmKivo(Library &library, LoadLists &loadLists)
    : QMainWindow(nullptr,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_library(library)
    , m_loadLists(loadLists)
    , m_commandLine(commandLineOfProgram())
    , m_handOvers(*this, [this](const QString &commandLine) { offerCommandLine(commandLine); })
    , m_runningCopy(new RunningCopy(this))
{
    setupControls(*this);
    createMenus();
    connectControls();
    setFixedSize(centralWidget()->width(), centralWidget()->height() + menuBar()->sizeHint().height());
    m_runningCopy->setObjectName(QStringLiteral("runningCopy"));
    connect(m_runningCopy, &RunningCopy::commandLineArrived, this, asCommand(this, &frmKivo::commandLineHandedOver));
    // The question that keeps the later start waiting comes to the front with the window.
    connect(m_runningCopy, &RunningCopy::handOverWaiting, this, &frmKivo::comeToFront);
}

frmKivo::~frmKivo() = default;

GlueProxy &frmKivo::glueProxy()
{
    if (!mGlueProxy)
        mGlueProxy = std::make_unique<GlueProxy>(m_library, m_loadLists);
    return *mGlueProxy;
}

void frmKivo::createMenus()
{
    auto item = [this](QMenu *menu, const QString &name, const QString &caption, void (frmKivo::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, asCommand(this, handler));
    };
    auto submenu = [](QWidget *parent, const QString &name, const QString &caption) {
        auto *menu = new QMenu(caption, parent);
        menu->setObjectName(name);
        return menu;
    };
    auto separator = [](QMenu *menu, const QString &name) { menu->addSeparator()->setObjectName(name); };

    QMenu *application = submenu(menuBar(), QStringLiteral("flmApplicatoin"), QStringLiteral("&Application"));
    QMenu *print = submenu(application, QStringLiteral("flmPrint"), QStringLiteral("&Print"));
    item(print, QStringLiteral("flmPrintLib"), QStringLiteral("&Library"), &frmKivo::flmPrintLib_Click);
    item(print, QStringLiteral("flmPrintLL"), QStringLiteral("&Active Load List"), &frmKivo::flmPrintLL_Click);
    application->addMenu(print);
    separator(application, QStringLiteral("sep4"));
    item(application, QStringLiteral("flmExit"), QStringLiteral("E&xit"), &frmKivo::flmExit_Click);
    menuBar()->addMenu(application);

    QMenu *library = submenu(menuBar(), QStringLiteral("flmLibrary"), QStringLiteral("Li&brary"));
    item(library, QStringLiteral("flmLibAdd"), QStringLiteral("&Add Sound Image"), &frmKivo::flmLibAdd_Click);
    item(library, QStringLiteral("flmLibRemove"), QStringLiteral("&Delete Sound Image"), &frmKivo::flmLibRemove_Click);
    menuBar()->addMenu(library);

    QMenu *loadList = submenu(menuBar(), QStringLiteral("flmLL"), QStringLiteral("&Load List"));
    item(loadList, QStringLiteral("flmLLCreate"), QStringLiteral("&Create New Load List"), &frmKivo::flmLLCreate_Click);
    item(loadList, QStringLiteral("flmLLRemove"), QStringLiteral("&Delete Active List"), &frmKivo::flmLLRemove_Click);
    separator(loadList, QStringLiteral("sep6"));
    item(loadList, QStringLiteral("flmSave"), QStringLiteral("&Save Active List"), &frmKivo::flmSave_Click);
    item(loadList, QStringLiteral("flmLLRename"), QStringLiteral("&Rename Active List"), &frmKivo::flmLLRename_Click);
    separator(loadList, QStringLiteral("sep5"));
    item(loadList, QStringLiteral("flmLLImport"), QStringLiteral("&Import a Load List"), &frmKivo::flmLLImport_Click);
    item(loadList, QStringLiteral("flmLLExport"), QStringLiteral("&Export Active List"), &frmKivo::flmLLExport_Click);
    menuBar()->addMenu(loadList);

    QMenu *help = submenu(menuBar(), QStringLiteral("flmHelp"), QStringLiteral("&Help"));
    item(help, QStringLiteral("flmKRH"), QStringLiteral("Kivo Rudovaz H&elp"), &frmKivo::flmKRH_Click);
    separator(help, QStringLiteral("sep2"));
    item(help, QStringLiteral("flmKRWeb"), QStringLiteral("Kivo Rudovaz on the &Web"), &frmKivo::flmKRWeb_Click);
    separator(help, QStringLiteral("sep3"));
    item(help, QStringLiteral("flmAKR"), QStringLiteral("About Kivo &Rudovaz"), &frmKivo::flmAKR_Click);
    menuBar()->addMenu(help);
}

void frmKivo::connectControls()
{
    connect(cboActiveList, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0)
            KivoApplication::runCommand([this] { cboActiveList_Click(); });
    });
    connect(objLibrary, &DropListBox::Click, this, asCommand(this, &frmKivo::objLibrary_Click));
    connect(objLoadList, &DropListBox::Click, this, asCommand(this, &frmKivo::objLoadList_Click));
    connect(objLibrary, &QListWidget::itemDoubleClicked, this, asCommand(this, &frmKivo::objLibrary_DblClick));
    connect(objLibrary, &DropListBox::MouseDown, this, &frmKivo::objLibrary_MouseDown);
    connect(objLibrary, &DropListBox::StartDrag, this, asCommand(this, &frmKivo::dragFromLibrary));
    connect(objLibrary, &DropListBox::OLEDragOver, this, &frmKivo::objLibrary_OLEDragOver);
    connect(objLibrary, &DropListBox::OLEDragDrop, this, asCommand(this, &frmKivo::objLibrary_OLEDragDrop));
    connect(objLoadList, &DropListBox::OLEDragOver, this, &frmKivo::objLoadList_OLEDragOver);
    connect(objLoadList, &DropListBox::OLEDragDrop, this, asCommand(this, &frmKivo::objLoadList_OLEDragDrop));
    m_keyReleases.watch(*objLibrary);
    m_keyReleases.watch(*objLoadList);
    connect(&m_keyReleases, &KeyReleaseFilter::KeyUp, this, asCommand(this, &frmKivo::keyUp));
    objStatusBar->installEventFilter(this);
    for (const PictureBox &button : pictureBoxes())
        (this->*button.box)->installEventFilter(this);
}

bool frmKivo::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == objStatusBar) {
        // The label tells nobody that its caption changed; it is repainted at once
        // after each status text, and the tooltip is read only when it is about to show.
        if (type == QEvent::Paint || type == QEvent::ToolTip)
            objStatusBar_Change();
    } else if (auto *box = qobject_cast<QLabel *>(watched);
               box && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)) {
        // Only a mouse event may be taken as one: the box sees every other kind too.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            m_pressedBox = box;
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            const bool clicked = m_pressedBox == box && box->rect().contains(mouse->position().toPoint());
            m_pressedBox = nullptr;
            if (clicked)
                KivoApplication::runCommand([&] { pictureBoxClicked(box); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmKivo::keyUp(const QWidget *list, int keyCode)
{
    if (list == objLibrary)
        objLibrary_KeyUp(keyCode);
    else
        objLoadList_KeyUp(keyCode);
}

void frmKivo::pictureBoxClicked(QLabel *box)
{
    // A box that holds the mouse for its hover picture lets go before its command,
    // which may open a modal dialog that needs the mouse; the next movement over the
    // box takes it again.
    if (QWidget::mouseGrabber() == box)
        box->releaseMouse();
    if (const Click click = clickOf(box))
        (this->*click)();
}

frmKivo::Click frmKivo::clickOf(const QLabel *box) const
{
    static const std::array<std::pair<QLabel *frmKivoControls::*, Click>, 12> clicks{{
        {&frmKivo::TransferButton, &frmKivo::TransferButton_Click},
        {&frmKivo::addButton, &frmKivo::addButton_Click},
        {&frmKivo::deleteButton, &frmKivo::deleteButton_Click},
        {&frmKivo::newButton, &frmKivo::newButton_Click},
        {&frmKivo::deleteLLbutton, &frmKivo::deleteLLbutton_Click},
        {&frmKivo::saveButton, &frmKivo::saveButton_Click},
        {&frmKivo::importButton, &frmKivo::importButton_Click},
        {&frmKivo::exportButton, &frmKivo::exportButton_Click},
        {&frmKivo::moveButton, &frmKivo::moveButton_Click},
        {&frmKivo::upButton, &frmKivo::upButton_Click},
        {&frmKivo::downButton, &frmKivo::downButton_Click},
        {&frmKivo::xButton, &frmKivo::xButton_Click},
    }};
    for (const auto &[boxOfButton, click] : clicks) {
        if (this->*boxOfButton == box)
            return click;
    }
    return nullptr;
}

bool frmKivo::Form_Load()
{
    if (!DataFolderSetup().initDataFolder()) {
        msgBox(DataFolderSetup::workingDirectoryProblem());
        close();
        return false;
    }
    // A second copy on the same data folder would write over this one's files. This
    // start ends without its shut-down: the selections are the running copy's to keep.
    if (!holdDataFolder())
        return false;
    // The window stays hidden while the splash runs: it has not been shown yet.
    bool passed = false;
    {
        frmSplash splash;
        passed = splash.showSplash();
    }
    if (!passed || !loadCommonDialogs()) {
        close();
        return false;
    }
    numberLocations();
    glueProxy().init(*objLibrary, *objLoadList, *cboActiveList, *cboDevice, *objStatusBar, *lblPath, *lblTag);
    glueProxy().setMainForm(this);
    RememberedSelections(*cboActiveList, *cboDevice).restoreSelections();
    gDialog = &getDialog();
    gDialog->hide();
    // Shown before the command line's file is offered, so that its name prompt
    // belongs to the window.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
    show();
    offerCommandLine(m_commandLine);
    createGraphicButtons();
    m_loaded = true;
    m_handOvers.open();
    // Later starts that came while this one started have waited for it to get this far.
    m_runningCopy->takeHandOvers();
    return true;
}

bool frmKivo::holdDataFolder()
{
    RunningCopy::Role role = m_runningCopy->start(dataPath(), m_commandLine);
    // The user knows whether the copy named in the lock still runs; once it is taken over,
    // another copy may hold the folder by then.
    while (role == RunningCopy::Role::LockedElsewhere) {
        if (!mayTakeOver(m_runningCopy->stuckLock()))
            return false;
        try {
            role = m_runningCopy->takeOver(dataPath(), m_commandLine);
        } catch (const RuntimeError &error) {
            msgBox(QStringLiteral("Kivo Rudovaz cannot take your files over: \"%1\" cannot be removed.")
                       .arg(QDir::toNativeSeparators(m_runningCopy->stuckLock().path))
                   + lineBreak() + error.description());
            return false;
        }
    }
    switch (role) {
    case RunningCopy::Role::Running:
        return true;
    case RunningCopy::Role::HandedOver:
        m_handedOver = true;
        return false;
    case RunningCopy::Role::Unreachable:
    case RunningCopy::Role::LockedElsewhere:
        break;
    }
    msgBox(QStringLiteral("Kivo Rudovaz is already running on your files, but it does not answer"));
    return false;
}

// Asks whether to take over a lock that no copy on this computer holds; a copy that
// still runs elsewhere and this one would overwrite each other's saves.
bool frmKivo::mayTakeOver(const RunningCopy::StuckLock &lock)
{
    const QString path = QDir::toNativeSeparators(lock.path);
    const QString text = lock.host.isEmpty()
        ? QStringLiteral("Your files are locked by \"%1\", which names no copy of Kivo Rudovaz.").arg(path)
            + lineBreak() + lineBreak()
            + QStringLiteral("Remove it and take your files over? Do so only if Kivo Rudovaz runs on them on no "
                             "other computer.")
        : QStringLiteral("Kivo Rudovaz is running on your files on the computer \"%2\", or it ended there "
                         "without letting them go, as the lock file \"%1\" says. It cannot be reached from here.")
                  .arg(path, lock.host)
            + lineBreak() + lineBreak()
            + QStringLiteral("Take your files over? Do so only if Kivo Rudovaz no longer runs on \"%1\": two "
                             "copies would overwrite each other's saves.")
                  .arg(lock.host);
    return msgBox(text, Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
}

// The file and print dialogs, from the System folder where the splash has just
// found their library. One that is there but cannot be used stops the start-up as
// a missing one does, with the reason.
bool frmKivo::loadCommonDialogs()
{
    const QString system = getRegistryValue(RootKey::HKEY_LOCAL_MACHINE, QStringLiteral("System"));
    try {
        objDialog.load(system + commonDialogFileName());
    } catch (const RuntimeError &error) {
        msgBox(QStringLiteral("OCX file is missing or unregistered") + lineBreak() + error.description());
        return false;
    }
    return true;
}

void frmKivo::offerCommandLine(const QString &commandLine)
{
    if (commandLine.isEmpty())
        return;
    // A lone quote or a pair of quotes names no file.
    const QString path = commandLine == u"\"" ? QString() : stripQuotes(commandLine);
    if (path.isEmpty())
        return;
    // A file name without a dot has no base name; it is offered under its whole name.
    const QString fileName = getFileName(path);
    const QString name = fileName.contains(u'.') ? getBaseName(path) : fileName;
    glueProxy().sendFileToLibrary(name, path);
}

void frmKivo::comeToFront()
{
    if (isVisible()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
    }
}

void frmKivo::commandLineHandedOver(const QString &commandLine)
{
    comeToFront();
    m_handOvers.add(commandLine);
}

void frmKivo::createGraphicButtons()
{
    for (std::size_t i = 0; i < graphicButtons.size(); ++i) {
        const PictureBox &button = pictureBoxes()[i];
        const QString key = button.key.toString();
        graphicButtons[i] = std::make_unique<GraphicButton>();
        graphicButtons[i]->setPictureBox(this->*button.box);
        graphicButtons[i]->initialize(ImageList1.value(key), ImageList1.value(key + QStringLiteral("_02")),
                                      ImageList1.value(key + QStringLiteral("_01")));
    }
}

void frmKivo::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && m_loaded) {
        // A file taken while the exit is decided would go with the window: later
        // starts wait for the answer, and start on their own if the window goes.
        m_runningCopy->holdHandOvers();
        // Files taken before are offered as promised, though the user chose to exit
        // before they came up (from the menu that held them back, say).
        m_handOvers.offerAll();
        if (!glueProxy().saveBeforeExit()) {
            m_runningCopy->takeHandOvers();
            event->ignore();
            return;
        }
    }
    if (!m_unloaded)
        Form_Unload();
    event->accept();
}

bool frmKivo::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    m_handOvers.windowEvent(*event);
    return handled;
}

void frmKivo::Form_Unload()
{
    m_unloaded = true;
    // A key let go just before has nothing left to act on.
    m_keyReleases.cancel();
    m_handOvers.close();
    RememberedSelections(*cboActiveList, *cboDevice).rememberSelections();
    WinHelp(*this, QString(), HelpCommand::HELP_QUIT);
    if (gDialog != nullptr)
        gDialog->unload();
    // Last: a start that takes the folder over reads the selections just remembered.
    m_runningCopy->release();
}

void frmKivo::addButton_Click()
{
    glueProxy().btnAddClick(objDialog);
}

void frmKivo::deleteButton_Click()
{
    glueProxy().btnRemoveClick();
}

void frmKivo::deleteLLbutton_Click()
{
    glueProxy().btnDeleteClick();
}

void frmKivo::downButton_Click()
{
    glueProxy().btnMoveDownClick();
}

void frmKivo::exportButton_Click()
{
    glueProxy().btnExportClick(objDialog);
}

void frmKivo::importButton_Click()
{
    glueProxy().btnImportClick(objDialog);
}

void frmKivo::moveButton_Click()
{
    glueProxy().btnMoveRightClick();
}

void frmKivo::newButton_Click()
{
    glueProxy().btnNewClick();
}

void frmKivo::saveButton_Click()
{
    glueProxy().btnSaveClick();
}

void frmKivo::TransferButton_Click()
{
    glueProxy().btnWriteClick(static_cast<qint16>(cboDevice->currentIndex()), *objProgressBar);
}

void frmKivo::upButton_Click()
{
    glueProxy().btnMoveUpClick();
}

void frmKivo::xButton_Click()
{
    glueProxy().btnMoveLeftClick();
}

void frmKivo::flmPrintLib_Click()
{
    glueProxy().printList(QStringLiteral("LIBRARY"), objDialog);
}

void frmKivo::flmPrintLL_Click()
{
    glueProxy().printList(QStringLiteral("LOADLIST"), objDialog);
}

void frmKivo::flmExit_Click()
{
    close();
}

void frmKivo::flmLibAdd_Click()
{
    glueProxy().btnAddClick(objDialog);
}

void frmKivo::flmLibRemove_Click()
{
    glueProxy().btnRemoveClick();
}

void frmKivo::flmLLCreate_Click()
{
    glueProxy().btnNewClick();
}

void frmKivo::flmLLRemove_Click()
{
    glueProxy().btnDeleteClick();
}

void frmKivo::flmSave_Click()
{
    glueProxy().btnSaveClick();
}

void frmKivo::flmLLRename_Click()
{
    glueProxy().btnRenameClick();
}

void frmKivo::flmLLImport_Click()
{
    glueProxy().btnImportClick(objDialog);
}

void frmKivo::flmLLExport_Click()
{
    glueProxy().btnExportClick(objDialog);
}

void frmKivo::flmKRH_Click()
{
    WinHelp(*this, appPath() + QStringLiteral("kivoHelp.hlp"), HelpCommand::HELP_CONTENTS);
}

void frmKivo::flmKRWeb_Click()
{
    openProductWebSite();
}

void frmKivo::flmAKR_Click()
{
    showAboutBox();
}

void frmKivo::cboActiveList_Click()
{
    glueProxy().cboActiveListChange(cboActiveList->currentText());
}

void frmKivo::objLibrary_Click()
{
    const QListWidgetItem *current = objLibrary->currentItem();
    glueProxy().listBoxChanges(current != nullptr ? current->text() : QString(), QStringLiteral("Library"));
}

void frmKivo::objLoadList_Click()
{
    const QListWidgetItem *current = objLoadList->currentItem();
    glueProxy().listBoxChanges(current != nullptr ? current->text() : QString(), QStringLiteral("Loadlist"),
                               objLoadList->currentRow());
}

void frmKivo::objLibrary_DblClick()
{
    glueProxy().btnMoveRightClick();
}

void frmKivo::objLibrary_KeyUp(int keyCode)
{
    switch (keyCode) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        glueProxy().btnRemoveClick();
        break;
    case Qt::Key_Right:
        objLoadList->setFocus();
        break;
    default:
        break;
    }
}

void frmKivo::objLoadList_KeyUp(int keyCode)
{
    switch (keyCode) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        glueProxy().btnMoveLeftClick();
        break;
    case Qt::Key_Left:
        objLibrary->setFocus();
        break;
    default:
        break;
    }
}

void frmKivo::objStatusBar_Change()
{
    if (objStatusBar->toolTip() != objStatusBar->text())
        objStatusBar->setToolTip(objStatusBar->text());
}

void frmKivo::objLibrary_MouseDown()
{
    if (!objLibrary->selectionModel()->selectedRows().isEmpty())
        objLibrary->beginDragOnMove();
}

void frmKivo::dragFromLibrary()
{
    // The drag runs until the button is released; Qt deletes it afterwards.
    auto *drag = new QDrag(objLibrary);
    const Qt::DropActions allowed = objLibrary_OLEStartDrag(*drag);
    drag->exec(allowed, Qt::CopyAction);
}

Qt::DropActions frmKivo::objLibrary_OLEStartDrag(QDrag &drag)
{
    const QListWidgetItem *current = objLibrary->currentItem();
    drag.setMimeData(modelDragData(current != nullptr ? current->text() : QString()).release());
    return Qt::CopyAction;
}

void frmKivo::objLoadList_OLEDragOver(QDragMoveEvent *event)
{
    // The event comes to the list's viewport; rows are counted from the list's top edge.
    const QPoint pointer = objLoadList->viewport()->mapTo(objLoadList, event->position().toPoint());
    const int row = loadListRowAt(pointer.y(), objLoadList->height());
    if (row >= 0 && row < objLoadList->count())
        objLoadList->setCurrentRow(row);
    if (hasModelDragData(*event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}

void frmKivo::objLoadList_OLEDragDrop(QDropEvent *event)
{
    // Only library entries are taken, whatever a platform delivers after a refused move.
    if (!hasModelDragData(*event->mimeData()) || !event->possibleActions().testFlag(Qt::CopyAction))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    activateForDrop();
    glueProxy().btnMoveRightClick();
}

void frmKivo::objLibrary_OLEDragOver(QDragMoveEvent *event)
{
    if (hasFileList(*event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

void frmKivo::objLibrary_OLEDragDrop(QDropEvent *event)
{
    activateForDrop();
    QStringList files = droppedFiles(*event->mimeData());
    files.removeIf([](const QString &path) { return !isSoundImageFile(path); });
    glueProxy().addDroppedFiles(files);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void frmKivo::activateForDrop()
{
    activateWindow();
}

} // namespace kivo
