#include "window/frmKivo.h"

#include "commands/ApiGlobal.h"
#include "commands/GlueProxy.h"
#include "commands/dlgKivo.h"
#include "model/Factory.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/MidiDevices.h"
#include "platform/RuntimeError.h"
#include "window/Installation.h"
#include "window/RunningCopy.h"

#include "DrivenClock.h"
#include "FileSizeLimit.h"
#include "ModalAnswerer.h"
#include "ReadOnlyFolder.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QAbstractPrintDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kivo;
using namespace Qt::StringLiterals;
using namespace kivo::test;

namespace {

const QString workingDirectoryMessage = u"There was a problem setting the Application's working directory"_s;
const QString initializingMessage = u"Initializing Application Failed"_s;
// Follows the working-directory message when the settings file (%1) cannot be read.
const QString unreadableSettings = u"\r\nThe settings file \"%1\" cannot be read. Mend it, or empty it to start with "
                                   "new settings, then start Kivo Rudovaz again."_s;
const QString saveQuestion = u"Save the changes to your Load Lists before you exit?"_s;

// A seam that only notes whether the main window was visible at each message.
class VisibilityProbe final : public ModalSeam {
public:
    explicit VisibilityProbe(const QWidget *&window)
        : m_window(window)
    {
        ModalSeam::install(this);
    }
    ~VisibilityProbe() override { ModalSeam::install(nullptr); }
    VisibilityProbe(const VisibilityProbe &) = delete;
    VisibilityProbe &operator=(const VisibilityProbe &) = delete;

    Answer messageBox(const MessageRequest &request) override
    {
        texts.append(request.text);
        windowVisible.append(m_window != nullptr && m_window->isVisible());
        return Answer::Ok;
    }
    int execDialog(QDialog &) override { return QDialog::Rejected; }

    QStringList texts;
    QList<bool> windowVisible;

private:
    const QWidget *&m_window;
};

// Starts a second copy of the program on the same data folder, as a second click on a
// file does, and waits until the running window has taken what it handed over.
struct SecondStart {
    bool loaded = true;
    bool handedOver = false;
    bool arrived = false;
};

SecondStart startSecondCopy(frmKivo &running, const QString &commandLine)
{
    auto *copy = running.findChild<RunningCopy *>(u"runningCopy"_s);
    if (copy == nullptr)
        return {};
    QSignalSpy arrived(copy, &RunningCopy::commandLineArrived);
    Library library;
    LoadLists lists;
    frmKivo second(library, lists);
    second.setCommandLine(commandLine);
    SecondStart result;
    result.loaded = second.Form_Load();
    result.handedOver = second.handedOver();
    // The running copy takes it while the second start waits for its answer.
    result.arrived = result.handedOver && (!arrived.isEmpty() || arrived.wait());
    return result;
}

// A later start of the program in a process of its own, made while the running window
// waits on a question: it hands over its command line and says what became of it.
class LaterStart {
public:
    LaterStart() = default;
    LaterStart(const LaterStart &) = delete;
    LaterStart &operator=(const LaterStart &) = delete;
    ~LaterStart()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    // Starts it and waits until the running copy holds its command line unanswered.
    bool startAndWait(const frmKivo &running, const QString &dataFolder, const QString &commandLine)
    {
        auto *copy = running.findChild<RunningCopy *>(u"runningCopy"_s);
        if (copy == nullptr)
            return false;
        QSignalSpy waiting(copy, &RunningCopy::handOverWaiting);
        m_process.start(QStringLiteral(KIVO_LATER_START), {dataFolder, commandLine});
        return m_process.waitForStarted() && waiting.wait(20000);
    }
    bool ended() const { return m_process.state() == QProcess::NotRunning; }
    // "handed over", "running" (it holds the folder and starts on its own) or "unreachable".
    QString outcome() { return QString::fromLocal8Bit(m_process.readAllStandardOutput()).trimmed(); }

private:
    QProcess m_process;
};

// What a copy that was killed leaves in the data folder and beside it: its lock file
// naming a process that no longer runs, and its bound socket that nobody listens on.
void leaveKilledCopy(const QString &dataFolder)
{
    QProcess ended;
    ended.start(QStandardPaths::findExecutable(u"true"_s), {});
    QVERIFY(ended.waitForStarted());
    const QByteArray deadPid = QByteArray::number(ended.processId());
    QVERIFY(ended.waitForFinished());

    const QString lockFile = QDir(dataFolder).filePath(RunningCopy::lockFileName());
    {
        QLockFile ours(lockFile);
        QVERIFY(ours.tryLock());
        QFile file(lockFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray content = file.readAll();
        file.close();
        ours.unlock();
        content = deadPid + content.mid(content.indexOf('\n'));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const QByteArray socketPath
        = QFile::encodeName(QDir::tempPath() + u'/' + RunningCopy::serverName(dataFolder));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(std::size_t(socketPath.size()) < sizeof(address.sun_path));
    std::copy(socketPath.cbegin(), socketPath.cend(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    QVERIFY(bound);
    QVERIFY(QFileInfo::exists(QString::fromLocal8Bit(socketPath)));
}

} // namespace

Q_DECLARE_METATYPE(Personal)

class frmKivoTest : public QObject, private test::WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startUp_data();
    void startUp();
    void unreadableSettingsLockNobodyOut_data();
    void unreadableSettingsLockNobodyOut();
    void windowHiddenWhileSplashRuns();
    void splashCheckFailingEndsStartUp();
    void unusableCommonDialogsEndStartUp();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void windowAsDesigned();
    void locationNumbersStandBesideTheirRows();
    void menusAsDesigned_data();
    void menusAsDesigned();
    void restoreSelections_data();
    void restoreSelections();
    void shutDownRemembersSelections_data();
    void shutDownRemembersSelections();
    void commandLine_data();
    void commandLine();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void killedCopyBlocksNoStart();
    void fullDataFolderStartsWithoutALock_data();
    void fullDataFolderStartsWithoutALock();
    void handOverDuringExitQuestion_data();
    void handOverDuringExitQuestion();
    void handOverDuringStartUp_data();
    void handOverDuringStartUp();
    void fileTakenBeforeExitIsOffered();
    void unsavedChangesAtExit_data();
    void unsavedChangesAtExit();
    void exitAfterAStartPastUnreadLinesAsksNothing();
    void commandsForward_data();
    void commandsForward();
    void keys_data();
    void keys();
    void heldKeyActsOnce_data();
    void heldKeyActsOnce();
    void pictureBoxClick_data();
    void pictureBoxClick();
    void listRowsShowTheirDetails();
    void clickOnTheCurrentRow_data();
    void clickOnTheCurrentRow();
    void doubleClickPutsTheEntryIntoTheLoadList();
    void statusTooltipFollowsTheCaption();
    void helpViewer_data();
    void helpViewer();

private:
    void verifyOffered(const DialogSeen &seen, const QString &name, const QString &path);
};

void frmKivoTest::initTestCase()
{
    setUpOnce();
}

void frmKivoTest::init()
{
    setUp();
}

void frmKivoTest::cleanup()
{
    tearDown();
}

void frmKivoTest::startUp_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<Personal>("personal");
    QTest::addColumn<bool>("documentsExist");
    QTest::addColumn<bool>("documentsAreAFile");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("personalAfter"); // "=" the data folder, "NONE" absent, else a text
    QTest::addColumn<bool>("keyAfter");

    const QString pathNotFound = RuntimeError::standardDescription(ErrorNumber::PathNotFound);
    QTest::newRow("first start") << false << Personal::NoKey << true << false << true << QStringList() << u"="_s << true;
    QTest::newRow("first start, key without the value")
        << false << Personal::NoValue << true << false << true << QStringList() << u"="_s << true;
    QTest::newRow("folder and value present")
        << true << Personal::Exact << true << false << true << QStringList() << u"="_s << true;
    QTest::newRow("value in other letter case")
        << true << Personal::OtherCase << true << false << true << QStringList() << u"upper"_s << true;
    QTest::newRow("folder present, value missing")
        << true << Personal::NoValue << true << false << false << QStringList{workingDirectoryMessage} << u"NONE"_s << true;
    QTest::newRow("folder present, no key")
        << true << Personal::NoKey << true << false << false << QStringList{workingDirectoryMessage} << u"NONE"_s << false;
    QTest::newRow("value names another folder")
        << true << Personal::Elsewhere << true << false << false << QStringList{workingDirectoryMessage} << u"other"_s << true;
    QTest::newRow("value cannot be written")
        << false << Personal::Unwritable << true << false << false
        << QStringList{initializingMessage, workingDirectoryMessage + unreadableSettings} << u"NONE"_s << true;
    QTest::newRow("documents folder missing")
        << false << Personal::NoKey << false << false << true << QStringList() << u"="_s << true;
    // The data folder cannot be made: its message, and the program runs on without it.
    QTest::newRow("documents folder is a file")
        << false << Personal::NoKey << true << true << true << QStringList{pathNotFound} << u"="_s << true;
}

void frmKivoTest::startUp()
{
    QFETCH(bool, folderExists);
    QFETCH(Personal, personal);
    QFETCH(bool, documentsExist);
    QFETCH(bool, documentsAreAFile);
    QFETCH(bool, started);
    QFETCH(QStringList, messages);
    QFETCH(QString, personalAfter);
    QFETCH(bool, keyAfter);
    messages.replaceInStrings(u"%1"_s, m_settings->userFile());

    if (folderExists)
        QVERIFY(QDir().mkpath(dataFolder()));
    if (!documentsExist)
        QVERIFY(QDir(documentsFolder()).removeRecursively());
    const auto removeBlocker = qScopeGuard([this] {
        if (QFileInfo(documentsFolder()).isFile())
            QFile::remove(documentsFolder());
    });
    if (documentsAreAFile) {
        QVERIFY(QDir(documentsFolder()).removeRecursively());
        QFile blocker(documentsFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    setPersonal(personal);

    QCOMPARE(start({u"Port A"_s, u"Port B"_s}), started);

    QCOMPARE(m_seam->messageTexts(), messages);
    for (const MessageRequest &message : m_seam->messages()) {
        QCOMPARE(message.title, QString());
        QCOMPARE(message.icon, Icon::None);
    }
    QCOMPARE(m_window->isVisible(), started);
    // Each of the splash's five checks stays a moment so that it can be read; a start
    // that stops before the splash does not wait.
    QCOMPARE(m_pauses->asked(), QList<std::chrono::milliseconds>(started ? 5 : 0, std::chrono::milliseconds(150)));
    if (personal != Personal::Unwritable)
        QCOMPARE(QFileInfo::exists(m_settings->userFile()), keyAfter);
    const QString stored = getRegistryValue(RootKey::HKEY_CURRENT_USER, u"Personal"_s);
    if (personalAfter == u"=")
        QCOMPARE(stored, dataFolder());
    else if (personalAfter == u"upper")
        QCOMPARE(stored, dataFolder().toUpper());
    else if (personalAfter == u"other")
        QCOMPARE(stored, documentsFolder() + u"/Other/"_s);
    else
        QCOMPARE(stored, personalAfter);
    QCOMPARE(QFileInfo(dataFolder()).isDir(), !documentsAreAFile);
    if (!started)
        return;
    // The working folders are the stored forms.
    QCOMPARE(dataPath(), stored);
    QCOMPARE(appPath(), installFolder());
    QCOMPARE(control<QComboBox>(u"cboDevice"_s).currentIndex(), 0);
    QCOMPARE(control<QComboBox>(u"cboActiveList"_s).currentIndex(), -1);
    QCOMPARE(gDialog, &getDialog());
    QVERIFY(!gDialog->isVisible());
}

namespace {
enum class Damage { FullDiskAtFirstStart, Garbled };
} // namespace
Q_DECLARE_METATYPE(Damage)

void frmKivoTest::unreadableSettingsLockNobodyOut_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QStringList>("messages"); // %1: the settings file

    QTest::newRow("left empty by a first start on a full disk")
        << Damage::FullDiskAtFirstStart << QStringList{initializingMessage, workingDirectoryMessage};
    QTest::newRow("garbled") << Damage::Garbled << QStringList{workingDirectoryMessage + unreadableSettings};
}

// Settings that a start-up cannot read end it with a message that names them; once
// the file is empty, because there is room on the disk again or the user emptied it,
// the next start sets up the data folder as a first start does.
void frmKivoTest::unreadableSettingsLockNobodyOut()
{
    QFETCH(Damage, damage);
    QFETCH(QStringList, messages);

    const QString settingsFile = m_settings->userFile();
    // A crash can leave zeros in place of a file's text.
    const QByteArray garbled(120, '\0');
    if (damage == Damage::FullDiskAtFirstStart) {
        FileSizeLimit fullDisk(0);
        QVERIFY(!start());
    } else {
        QVERIFY(QDir().mkpath(dataFolder()));
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile).absolutePath()));
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(garbled);
        file.close();
        QVERIFY(!start());
    }

    QCOMPARE(m_seam->messageTexts(), messages.replaceInStrings(u"%1"_s, settingsFile));
    QVERIFY(QFileInfo(dataFolder()).isDir());
    {
        // The shut-down of the failed start wrote nothing over what the user is to mend.
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.readAll(), damage == Damage::Garbled ? garbled : QByteArray());
        QVERIFY(file.resize(0));
    }
    m_window.reset();
    const qsizetype shownBefore = m_seam->messages().size();

    QVERIFY(start());

    QCOMPARE(m_seam->messageTexts().mid(shownBefore), QStringList());
    QCOMPARE(getRegistryValue(RootKey::HKEY_CURRENT_USER, u"Personal"_s), dataFolder());
    QCOMPARE(dataPath(), dataFolder());
}

void frmKivoTest::windowHiddenWhileSplashRuns()
{
    // The splash reports the missing help file and goes on.
    QVERIFY(QFile::remove(installFolder() + u"kivoHelp.hlp"_s));
    const QWidget *window = nullptr;
    VisibilityProbe probe(window);
    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    m_window->setCommandLine(QString());
    window = m_window.get();

    QVERIFY(m_window->Form_Load());

    QCOMPARE(probe.texts, QStringList{u"Help file is missing or invalid"_s});
    QCOMPARE(probe.windowVisible, QList<bool>{false});
    QVERIFY(m_window->isVisible());
    m_window.reset();
}

void frmKivoTest::splashCheckFailingEndsStartUp()
{
    QVERIFY(QFile::remove(m_settings->systemFile(0)));
    writeInstallation(false);
    prepareDataFolder({u"Alpha"_s}, {{u"First"_s, {u"Alpha"_s}}});

    QVERIFY(!start({u"Port A"_s}));

    QCOMPARE(m_seam->messages().size(), 1);
    QCOMPARE(m_seam->messages().constFirst().title, u"Invalid File Path"_s);
    QVERIFY(!m_window->isVisible());
    // The shut-down ran over the empty lists, and the presenter never started.
    QCOMPARE(storedUserValue(u"Loadlist"_s), u"-1"_s);
    QCOMPARE(control<QListWidget>(u"objLibrary"_s).count(), 0);
    QCOMPARE(control<QListWidget>(u"lstNumbers"_s).count(), 0);
}

// The splash finds the dialogs' file, but it is no library: the start-up tells why
// and ends as for a missing one.
void frmKivoTest::unusableCommonDialogsEndStartUp()
{
    // A System folder of its own: the loader would take the name of one loaded
    // before in this process for that library.
    const QString system = m_root.filePath(u"damaged system"_s) + u'/';
    QVERIFY(QDir().mkpath(system));
    for (const QString &name : {kivotoolsFileName(), commonDialogFileName()}) {
        QFile damaged(system + name);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, '\0'));
    }
    TemporarySettings::store(m_settings->systemFile(0), u"System"_s, system);
    const QString dialogs = system + commonDialogFileName();
    prepareDataFolder({u"Alpha"_s}, {{u"First"_s, {u"Alpha"_s}}});

    QVERIFY(!start({u"Port A"_s}));

    const QStringList texts = m_seam->messageTexts();
    QCOMPARE(texts.size(), 1);
    const QString &text = texts.constFirst();
    QVERIFY2(text.startsWith(u"OCX file is missing or unregistered\r\nThe common dialogs cannot be loaded: "_s),
             qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(dialogs)), qPrintable(text));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(control<QListWidget>(u"objLibrary"_s).count(), 0);
}

void frmKivoTest::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QFont>("font");

    const auto designFont = [](const QString &family, qreal points, bool bold = false) {
        QFont font(family);
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    };
    const QFont tahoma = designFont(u"Tahoma"_s, 8.25);
    const QFont list = designFont(u"Arial"_s, 9.75);

    // Whole pixels of 15 twips.
    QTest::newRow("objLibrary") << u"objLibrary"_s << QRect(16, 96, 194, 225) << u"Kivo Master Library"_s << list;
    QTest::newRow("objLoadList") << u"objLoadList"_s << QRect(280, 120, 169, 202) << u"Your active Load List"_s << list;
    QTest::newRow("cboActiveList") << u"cboActiveList"_s << QRect(256, 96, 193, 21) << u"Your active Load List"_s
                                   << designFont(u"Tahoma"_s, 8.25, true);
    QTest::newRow("lstNumbers") << u"lstNumbers"_s << QRect(256, 120, 25, 202) << QString()
                                << designFont(u"Tahoma"_s, 9.75);
    QTest::newRow("cboDevice") << u"cboDevice"_s << QRect(512, 8, 201, 21) << QString() << tahoma;
    QTest::newRow("objProgressBar") << u"objProgressBar"_s << QRect(496, 336, 217, 27) << QString() << tahoma;
    QTest::newRow("objStatusBar") << u"objStatusBar"_s << QRect(24, 336, 417, 13) << QString()
                                  << designFont(u"Arial"_s, 8.25);
    QTest::newRow("lblPath") << u"lblPath"_s << QRect(504, 120, 201, 31) << QString() << tahoma;
    QTest::newRow("lblTag") << u"lblTag"_s << QRect(504, 184, 201, 31) << QString() << tahoma;
    QTest::newRow("Picture3") << u"Picture3"_s << QRect(493, 248, 245, 87) << QString() << tahoma;
    QTest::newRow("Image1") << u"Image1"_s << QRect(16, 328, 434, 30) << QString() << tahoma;
    QTest::newRow("TransferButton") << u"TransferButton"_s << QRect(503, 56, 206, 46)
                                    << u"Transfer active Load List to Kivo"_s << tahoma;
    QTest::newRow("addButton") << u"addButton"_s << QRect(24, 56, 29, 32) << u"Add sound images to your Library"_s
                               << tahoma;
    QTest::newRow("deleteButton") << u"deleteButton"_s << QRect(64, 56, 42, 32)
                                  << u"Delete sounds images from your Library"_s << tahoma;
    QTest::newRow("deleteLLbutton") << u"deleteLLbutton"_s << QRect(280, 56, 42, 32) << u"Delete active Load List"_s
                                    << tahoma;
    QTest::newRow("newButton") << u"newButton"_s << QRect(240, 56, 26, 32) << u"Create a new Load List"_s << tahoma;
    QTest::newRow("saveButton") << u"saveButton"_s << QRect(328, 56, 28, 32) << u"Save changes to Load List"_s
                                << tahoma;
    QTest::newRow("importButton") << u"importButton"_s << QRect(368, 56, 49, 32) << u"Import a Load List"_s << tahoma;
    QTest::newRow("exportButton") << u"exportButton"_s << QRect(424, 56, 44, 32) << u"Export active Load List"_s
                                  << tahoma;
    QTest::newRow("moveButton") << u"moveButton"_s << QRect(216, 192, 33, 32)
                                << u"Add Sound Image from Library to Load List"_s << tahoma;
    QTest::newRow("upButton") << u"upButton"_s << QRect(456, 160, 33, 32) << u"Shift current Sound Image up"_s
                              << tahoma;
    QTest::newRow("downButton") << u"downButton"_s << QRect(456, 192, 33, 32) << u"Shift current Sound Image down"_s
                                << tahoma;
    QTest::newRow("xButton") << u"xButton"_s << QRect(456, 224, 33, 32)
                             << u"Remove current Sound Image from load list"_s << tahoma;
}

void frmKivoTest::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, toolTip);
    QFETCH(QFont, font);

    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    auto &widget = control<QWidget>(name);
    QCOMPARE(widget.geometry(), geometry);
    QCOMPARE(widget.toolTip(), toolTip);
    QCOMPARE(widget.parentWidget(), m_window->centralWidget());
    QCOMPARE(widget.font().family(), font.family());
    QCOMPARE(widget.font().pointSizeF(), font.pointSizeF());
    QCOMPARE(widget.font().bold(), font.bold());
}

void frmKivoTest::windowAsDesigned()
{
    QVERIFY(start());

    // Fixed, with a client area of 738 x 370 below the menus.
    QCOMPARE(m_window->centralWidget()->size(), QSize(738, 370));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(m_window->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(m_window->windowTitle(), u"Kivo Rudovaz"_s);
    const auto &progress = control<QProgressBar>(u"objProgressBar"_s);
    QVERIFY(progress.isHidden());
    QCOMPARE(progress.minimum(), 0);
    QCOMPARE(progress.maximum(), 120);
    QCOMPARE(control<QListWidget>(u"objLibrary"_s).selectionMode(), QAbstractItemView::ExtendedSelection);
    QStringList numbers;
    for (int row = 0; row < control<QListWidget>(u"lstNumbers"_s).count(); ++row)
        numbers.append(control<QListWidget>(u"lstNumbers"_s).item(row)->text());
    QCOMPARE(numbers,
             (QStringList{u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"05"_s, u"06"_s, u"07"_s, u"08"_s, u"09"_s, u"10"_s,
                          u"11"_s, u"12"_s}));
    // Each number stands beside its location.
    const auto &locations = control<QListWidget>(u"objLoadList"_s);
    const auto &numberList = control<QListWidget>(u"lstNumbers"_s);
    for (int row = 0; row < locations.count(); ++row) {
        QCOMPARE(
            locations.viewport()->mapTo(m_window.get(), locations.visualItemRect(locations.item(row)).topLeft()).y(),
            numberList.viewport()
                ->mapTo(m_window.get(), numberList.visualItemRect(numberList.item(row)).topLeft())
                .y());
    }
    QCOMPARE(control<QLabel>(u"deleteLLbutton"_s).pixmap().toImage(),
             control<QLabel>(u"deleteButton"_s).pixmap().toImage());
    QVERIFY(!control<QLabel>(u"deleteButton"_s).pixmap().isNull());
    // Tab order of the controls that take the focus.
    QStringList chain;
    QWidget *widget = &control<QListWidget>(u"objLibrary"_s);
    for (int i = 0; i < 18; ++i) {
        chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty())
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain,
             (QStringList{u"objLibrary"_s, u"objLoadList"_s, u"cboActiveList"_s, u"lstNumbers"_s, u"cboDevice"_s,
                          u"Picture3"_s, u"TransferButton"_s, u"addButton"_s, u"deleteButton"_s, u"deleteLLbutton"_s,
                          u"newButton"_s, u"saveButton"_s, u"importButton"_s, u"exportButton"_s, u"moveButton"_s,
                          u"upButton"_s, u"downButton"_s, u"xButton"_s}));
}

namespace {

// The first and last pixel rows of the text in a row of a list box, as painted in
// the image of the window: pixels that stand out from the row's background.
std::pair<int, int> inkRows(const QImage &image, const QListWidget &list, int row, QWidget &window)
{
    const QRect rect = list.visualItemRect(list.item(row));
    const QRect cell(list.viewport()->mapTo(&window, rect.topLeft()), rect.size());
    const QColor background = image.pixelColor(cell.right() - 1, cell.top());
    constexpr int contrast = 96;
    int first = -1;
    int last = -1;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x < cell.right(); ++x) {
            if (std::abs(qGray(image.pixel(x, y)) - qGray(background.rgb())) > contrast) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

void frmKivoTest::locationNumbersStandBesideTheirRows()
{
    // Names of digits and letters without descenders, so that their text ends on the
    // base line as the numbers do.
    QStringList names;
    for (int n = 1; n <= 12; ++n)
        names.append(u"Row %1"_s.arg(n, 2, 10, QLatin1Char('0')));
    prepareDataFolder(names, {{u"First"_s, names}});
    QVERIFY(start());
    auto &locations = control<QListWidget>(u"objLoadList"_s);
    const auto &numbers = control<QListWidget>(u"lstNumbers"_s);
    // The last row is selected, so the rows compared show their text on the list's own background.
    locations.setCurrentRow(11);
    const QImage image = m_window->grab().toImage();

    for (int row = 0; row < 11; ++row) {
        const auto [numberTop, numberBase] = inkRows(image, numbers, row, *m_window);
        const auto [nameTop, nameBase] = inkRows(image, locations, row, *m_window);
        QVERIFY2(numberTop >= 0 && nameTop >= 0, qPrintable(u"row %1 shows no text"_s.arg(row)));
        QCOMPARE(numberBase, nameBase);
    }
    // Clear of the list's border.
    const int viewportTop = numbers.viewport()->mapTo(m_window.get(), QPoint(0, 0)).y();
    QVERIFY(inkRows(image, numbers, 0, *m_window).first > viewportTop);
}

void frmKivoTest::menusAsDesigned_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // object names, in order

    QTest::newRow("application") << u"flmApplicatoin"_s << u"&Application"_s
                                 << QStringList{u"flmPrint"_s, u"sep4"_s, u"flmExit"_s};
    QTest::newRow("print") << u"flmPrint"_s << u"&Print"_s << QStringList{u"flmPrintLib"_s, u"flmPrintLL"_s};
    QTest::newRow("library") << u"flmLibrary"_s << u"Li&brary"_s << QStringList{u"flmLibAdd"_s, u"flmLibRemove"_s};
    QTest::newRow("load list") << u"flmLL"_s << u"&Load List"_s
                               << QStringList{u"flmLLCreate"_s, u"flmLLRemove"_s, u"sep6"_s,        u"flmSave"_s,
                                              u"flmLLRename"_s, u"sep5"_s,        u"flmLLImport"_s, u"flmLLExport"_s};
    QTest::newRow("help") << u"flmHelp"_s << u"&Help"_s
                          << QStringList{u"flmKRH"_s, u"sep2"_s, u"flmKRWeb"_s, u"sep3"_s, u"flmAKR"_s};
}

void frmKivoTest::menusAsDesigned()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);

    m_window = std::make_unique<frmKivo>(*m_library, *m_lists);
    auto &submenu = control<QMenu>(menu);
    QCOMPARE(submenu.title(), caption);
    QStringList names;
    for (const QAction *action : submenu.actions())
        names.append(action->menu() != nullptr ? action->menu()->objectName() : action->objectName());
    QCOMPARE(names, items);
    for (const QAction *action : submenu.actions()) {
        QVERIFY(action->shortcut().isEmpty());
        if (action->isSeparator())
            QCOMPARE(action->text(), QString());
    }
    const QList<QAction *> bar = m_window->menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar.constFirst()->menu()->objectName(), u"flmApplicatoin"_s);
    QCOMPARE(bar.constLast()->menu()->objectName(), u"flmHelp"_s);
}

void frmKivoTest::restoreSelections_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("loadList"); // null: not stored
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("deviceCount"); // "=rows": the number of rows, "=rows+1" one more
    QTest::addColumn<int>("listRow");
    QTest::addColumn<int>("deviceRow");
    QTest::addColumn<QString>("deviceName"); // null: not stored, as by an older run

    const QStringList three{u"Port A"_s, u"Port B"_s, u"Port C"_s};
    QTest::newRow("nothing remembered") << three << QString() << QString() << QString() << 0 << 0 << QString();
    QTest::newRow("remembered rows") << three << u"2"_s << u"1"_s << u"=rows"_s << 2 << 1 << QString();
    QTest::newRow("no row was selected") << three << u"-1"_s << u"-1"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("the number of rows") << three << u"3"_s << u"=rows"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("beyond the rows") << three << u"7"_s << u"40"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("below -1") << three << u"-4"_s << u"-2"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("not a number") << three << u"abc"_s << u"x1"_s << u"=rows"_s << 0 << 0 << QString();
    QTest::newRow("blanks and a fraction") << three << u" 1.6"_s << u" 1"_s << u"=rows"_s << 2 << 1 << QString();
    QTest::newRow("devices changed") << three << u"1"_s << u"2"_s << u"=rows+1"_s << 1 << 0 << QString();
    QTest::newRow("device count absent") << three << u"1"_s << u"2"_s << QString() << 1 << 2 << QString();
    QTest::newRow("device count not a number") << three << u"1"_s << u"2"_s << u"many"_s << 1 << 0 << QString();
    QTest::newRow("second of two namesakes")
        << QStringList{u"Same"_s, u"Same"_s, u"Other"_s} << u"0"_s << u"1"_s << u"=rows"_s << 0 << 0 << QString();

    // The unit that was selected is found by its name wherever it is now, and none is
    // selected when it is gone.
    QTest::newRow("the named unit in another row")
        << three << u"0"_s << u"0"_s << u"=rows"_s << 0 << 2 << u"Port C"_s;
    QTest::newRow("the named unit gone") << three << u"0"_s << u"1"_s << u"=rows"_s << 0 << -1 << u"Port Z"_s;
    QTest::newRow("the named unit among other devices")
        << three << u"0"_s << u"0"_s << u"=rows+1"_s << 0 << 1 << u"Port B"_s;
    QTest::newRow("the named unit, no row remembered")
        << three << u"0"_s << u"-1"_s << u"=rows"_s << 0 << 1 << u"Port B"_s;
    QTest::newRow("namesakes: the remembered one")
        << QStringList{u"Same"_s, u"Same"_s, u"Other"_s} << u"0"_s << u"1"_s << u"=rows"_s << 0 << 1 << u"Same"_s;
    QTest::newRow("namesakes: the first when the remembered row is another's")
        << QStringList{u"Other"_s, u"Same"_s, u"Same"_s} << u"0"_s << u"0"_s << u"=rows"_s << 0 << 1 << u"Same"_s;
    QTest::newRow("a name in other letter case is another's")
        << QStringList{u"port a"_s, u"Port A"_s} << u"0"_s << u"0"_s << u"=rows"_s << 0 << 1 << u"Port A"_s;
    // ALSA numbers a client anew when it starts again.
    QTest::newRow("the named unit at another address")
        << QStringList{u"Midi Through:Midi Through Port-0 14:0"_s, u"Kivo:Kivo MIDI 1 24:0"_s} << u"0"_s << u"0"_s
        << u"=rows"_s << 0 << 1 << u"Kivo:Kivo MIDI 1 20:0"_s;
    QTest::newRow("the named unit at its own address before a namesake elsewhere")
        << QStringList{u"Kivo:Kivo MIDI 1 24:0"_s, u"Kivo:Kivo MIDI 1 20:0"_s} << u"0"_s << u"0"_s << u"=rows"_s
        << 0 << 1 << u"Kivo:Kivo MIDI 1 20:0"_s;
}

void frmKivoTest::restoreSelections()
{
    QFETCH(QStringList, devices);
    QFETCH(QString, loadList);
    QFETCH(QString, device);
    QFETCH(QString, deviceCount);
    QFETCH(int, listRow);
    QFETCH(int, deviceRow);
    QFETCH(QString, deviceName);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s},
                      {{u"L0"_s, {u"Alpha"_s}}, {u"L1"_s, {u"Bravo"_s}}, {u"L2"_s, {u"Charlie"_s}}});
    const auto rows = devices.size() + m_realDevices;
    const auto value = [rows](const QString &text) {
        if (text == u"=rows")
            return QString::number(rows);
        if (text == u"=rows+1")
            return QString::number(rows + 1);
        return text;
    };
    const QString file = m_settings->userFile();
    if (!loadList.isNull())
        TemporarySettings::store(file, u"Loadlist"_s, value(loadList));
    if (!device.isNull())
        TemporarySettings::store(file, u"Device"_s, value(device));
    if (!deviceCount.isNull())
        TemporarySettings::store(file, u"Device Count"_s, value(deviceCount));
    if (!deviceName.isNull())
        TemporarySettings::store(file, u"Device Name"_s, deviceName);

    QVERIFY(start(devices));

    const auto &lists = control<QComboBox>(u"cboActiveList"_s);
    QCOMPARE(lists.currentIndex(), listRow);
    // Selecting the row made its list the active one.
    QCOMPARE(m_lists->activeLoadList()->name(), lists.currentText());
    QCOMPARE(control<QListWidget>(u"objLoadList"_s).item(0)->text(),
             (QStringList{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}.at(listRow)));
    QCOMPARE(control<QComboBox>(u"cboDevice"_s).currentIndex(), deviceRow);
}

void frmKivoTest::shutDownRemembersSelections_data()
{
    QTest::addColumn<bool>("startUpFails");
    QTest::addColumn<int>("listRow");
    QTest::addColumn<int>("deviceRow");

    QTest::addColumn<QString>("deviceName");

    // The last run's unit was "Port B".
    QTest::newRow("after a normal start-up") << false << 1 << 2 << u"Port C"_s;
    // The unit away: its name is kept for the next start.
    QTest::newRow("no row selected") << false << -1 << -1 << u"Port B"_s;
    QTest::newRow("after a failed start-up") << true << -1 << -1 << u"Port B"_s;
}

void frmKivoTest::shutDownRemembersSelections()
{
    QFETCH(bool, startUpFails);
    QFETCH(int, listRow);
    QFETCH(int, deviceRow);
    QFETCH(QString, deviceName);

    prepareDataFolder({u"Alpha"_s}, {{u"L0"_s, {}}, {u"L1"_s, {}}});
    TemporarySettings::store(m_settings->userFile(), u"Device Name"_s, u"Port B"_s);
    if (startUpFails)
        setPersonal(Personal::Elsewhere);
    // A start-up that fails ends before the device list is filled.
    const QStringList devices = startUpFails ? QStringList() : QStringList{u"Port A"_s, u"Port B"_s, u"Port C"_s};
    QCOMPARE(start(devices), !startUpFails);
    if (!startUpFails) {
        control<QComboBox>(u"cboActiveList"_s).setCurrentIndex(listRow);
        control<QComboBox>(u"cboDevice"_s).setCurrentIndex(deviceRow);
        gDialog->setStrAll(QString());
        invoke(u"flmExit"_s);
        QVERIFY(!m_window->isVisible());
        // The dialog was closed as by its close box.
        QCOMPARE(gDialog->strAll(), CancelAll.toString());
    }

    QCOMPARE(storedUserValue(u"Loadlist"_s), QString::number(listRow));
    QCOMPARE(storedUserValue(u"Device"_s), QString::number(deviceRow));
    QCOMPARE(storedUserValue(u"Device Count"_s), QString::number(startUpFails ? 0 : devices.size() + m_realDevices));
    QCOMPARE(storedUserValue(u"Device Name"_s), deviceName);
    QVERIFY(m_seam->messageTexts().count(saveQuestion) == 0);
}

void frmKivoTest::commandLine_data()
{
    QTest::addColumn<QString>("commandLine"); // %1: the folder of the sounds
    QTest::addColumn<QString>("name"); // null: nothing offered
    QTest::addColumn<QString>("path");

    QTest::newRow("quoted, with a blank") << u"\"%1My Sound.tvs\""_s << u"My Sound"_s << u"%1My Sound.tvs"_s;
    QTest::newRow("arguments joined by a blank") << u"%1My Sound.tvs"_s << u"My Sound"_s << u"%1My Sound.tvs"_s;
    QTest::newRow("two dots") << u"%1a.b.tvs"_s << u"a.b"_s << u"%1a.b.tvs"_s;
    QTest::newRow("no dot in the file name") << u"\"%1Sound\""_s << u"Sound"_s << u"%1Sound"_s;
    QTest::newRow("dot in a folder only") << u"%1v.2/Sound"_s << u"Sound"_s << u"%1v.2/Sound"_s;
    QTest::newRow("nothing") << QString() << QString() << QString();
    QTest::newRow("a lone quote") << u"\""_s << QString() << QString();
    QTest::newRow("two quotes") << u"\"\""_s << QString() << QString();
}

void frmKivoTest::commandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, name);
    QFETCH(QString, path);

    const QString folder = m_root.filePath(u"sounds/"_s);
    const auto inFolder = [&folder](QString text) { return text.replace(u"%1"_s, folder); };
    DialogSeen seen;
    if (!name.isNull()) {
        QVERIFY(writeSoundFile(inFolder(path)));
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    }

    QVERIFY(start({}, inFolder(commandLine)));

    verifyOffered(seen, name, inFolder(path));
}

// The command line's file was offered to the library with the name prompt, or nothing
// was offered when name is null.
void frmKivoTest::verifyOffered(const DialogSeen &seen, const QString &name, const QString &path)
{
    QVERIFY(m_seam->allAnswersUsed());
    if (name.isNull()) {
        QCOMPARE(m_seam->dialogsShown(), 0);
        QCOMPARE(m_library->getCount(), 0);
        return;
    }
    QCOMPARE(seen.title, u"Adding Sound Image"_s);
    QCOMPARE(seen.defaultAnswer, name);
    QCOMPARE(seen.message, u"Enter name for file: "_s + path);
    QCOMPARE(m_library->getCount(), 1);
    QCOMPARE(m_library->getModel(name)->path(), path);
}

namespace {
// Where the data folder stands when the user answers the question at exit.
enum class Disk { Ordinary, Full, ReadOnly };
} // namespace
Q_DECLARE_METATYPE(Disk)
Q_DECLARE_METATYPE(Answer)

void frmKivoTest::secondStartHandsOver_data()
{
    QTest::addColumn<QString>("commandLine"); // %1: the folder of the sounds
    QTest::addColumn<QString>("name"); // null: nothing offered
    QTest::addColumn<bool>("oldLock"); // the running copy's lock file was last written long ago

    QTest::newRow("a file") << u"\"%1My Sound.tvs\""_s << u"My Sound"_s << false;
    QTest::newRow("no file: only to the front") << QString() << QString() << false;
    QTest::newRow("a lock held for hours") << u"%1Late.tvs"_s << u"Late"_s << true;
}

void frmKivoTest::secondStartHandsOver()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, name);
    QFETCH(bool, oldLock);

    const QString folder = m_root.filePath(u"sounds/"_s);
    commandLine.replace(u"%1"_s, folder);
    QVERIFY(start());
    if (oldLock) {
        QFile lock(dataFolder() + RunningCopy::lockFileName());
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3 * 3600), QFileDevice::FileModificationTime));
    }
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    DialogSeen seen;
    if (!name.isNull()) {
        QVERIFY(writeSoundFile(stripQuotes(commandLine)));
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    }

    const SecondStart second = startSecondCopy(*m_window, commandLine);

    QVERIFY(!second.loaded);
    QVERIFY(second.handedOver);
    QVERIFY(second.arrived);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // The second start ran no shut-down of its own.
    QCOMPARE(storedUserValue(u"Loadlist"_s), QString());
    verifyOffered(seen, name, name.isNull() ? QString() : stripQuotes(commandLine));
    if (!name.isNull())
        QCOMPARE(seen.owner, m_window.get());
}

void frmKivoTest::killedCopyBlocksNoStart()
{
    prepareDataFolder({}, {});
    // The socket goes with the window; this is for a run that fails before it.
    const auto removeSocket = qScopeGuard([this] { QLocalServer::removeServer(RunningCopy::serverName(dataFolder())); });
    leaveKilledCopy(dataFolder());
    if (QTest::currentTestFailed())
        return;

    QVERIFY2(start(), qPrintable(m_seam->messageTexts().join(u'|')));

    QLockFile lock(dataFolder() + RunningCopy::lockFileName());
    qint64 pid = 0;
    QString host;
    QString application;
    QVERIFY(lock.getLockInfo(&pid, &host, &application));
    QCOMPARE(pid, QCoreApplication::applicationPid());
    // The socket left behind was replaced by one that answers.
    const SecondStart second = startSecondCopy(*m_window, QString());
    QVERIFY(second.handedOver);
    QVERIFY(second.arrived);
}

void frmKivoTest::fullDataFolderStartsWithoutALock_data()
{
    QTest::addColumn<bool>("killedCopy");

    QTest::newRow("no lock before") << false;
    QTest::newRow("lock of a killed copy") << true;
}

// A lock file that cannot be written is no sign of another copy: the start runs on
// without one, as in a folder that takes no lock at all.
void frmKivoTest::fullDataFolderStartsWithoutALock()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, killedCopy);

    prepareDataFolder({}, {});
    const auto removeSocket = qScopeGuard([this] { QLocalServer::removeServer(RunningCopy::serverName(dataFolder())); });
    if (killedCopy) {
        leaveKilledCopy(dataFolder());
        if (QTest::currentTestFailed())
            return;
    }

    bool started = false;
    {
        FileSizeLimit full(0);
        started = start();
    }

    QVERIFY2(started, qPrintable(m_seam->messageTexts().join(u'|')));
    QCOMPARE(m_seam->messageTexts(), QStringList());
    QVERIFY(m_window->isVisible());
    // It still takes the file of a later start on the same full disk.
    FileSizeLimit full(0);
    const SecondStart second = startSecondCopy(*m_window, QString());
    QVERIFY(second.handedOver);
#else
    QSKIP("needs a file size limit");
#endif
}

void frmKivoTest::handOverDuringExitQuestion_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("fullDisk"); // the save that Yes asks for fails
    QTest::addColumn<QString>("outcome"); // of the later start
    QTest::addColumn<bool>("closed");

    // The window goes: the later start is refused and takes the folder over.
    QTest::newRow("Yes") << Answer::Yes << false << u"running"_s << true;
    QTest::newRow("No") << Answer::No << false << u"running"_s << true;
    // The window stays: it takes the file and offers it.
    QTest::newRow("Cancel") << Answer::Cancel << false << u"handed over"_s << false;
    QTest::newRow("Yes on a full disk") << Answer::Yes << true << u"handed over"_s << false;
}

void frmKivoTest::handOverDuringExitQuestion()
{
    QFETCH(Answer, answer);
    QFETCH(bool, fullDisk);
    QFETCH(QString, outcome);
    QFETCH(bool, closed);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    control<QListWidget>(u"objLibrary"_s).setCurrentRow(1);
    control<QListWidget>(u"objLoadList"_s).setCurrentRow(5);
    invoke(u"moveButton"_s);
    const qsizetype shownBefore = m_seam->messages().size();
    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));
    LaterStart later;
    bool waited = false;
    std::optional<FileSizeLimit> limit;
    m_seam->onNextMessage([&](const MessageRequest &) {
        waited = later.startAndWait(*m_window, dataFolder(), late);
        if (fullDisk)
            limit.emplace(16);
        return answer;
    });
    if (fullDisk)
        m_seam->onNextMessage([&limit](const MessageRequest &) {
            limit.reset();
            return Answer::Ok;
        });
    DialogSeen seen;
    if (!closed)
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));

    invoke(u"flmExit"_s);

    QVERIFY(waited);
    QCOMPARE(m_seam->messageTexts().at(shownBefore), saveQuestion);
    QTRY_VERIFY_WITH_TIMEOUT(later.ended(), 20000);
    QCOMPARE(later.outcome(), outcome);
    QCOMPARE(m_window->isVisible(), !closed);
    if (!closed) {
        QTRY_VERIFY(m_seam->allAnswersUsed());
        QCOMPARE(seen.message, u"Enter name for file: "_s + late);
        QVERIFY(m_library->getModel(u"Late"_s));
    }
}

void frmKivoTest::handOverDuringStartUp_data()
{
    QTest::addColumn<bool>("fails"); // an installation check stops the start-up
    QTest::addColumn<QString>("outcome"); // of the later start

    // It waits until the start-up is through, while the window asks for its own file's name.
    QTest::newRow("start-up goes on") << false << u"handed over"_s;
    QTest::newRow("start-up fails") << true << u"running"_s;
}

void frmKivoTest::handOverDuringStartUp()
{
    QFETCH(bool, fails);
    QFETCH(QString, outcome);

    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));
    QVERIFY(writeSoundFile(soundPath(u"Early"_s)));
    LaterStart later;
    bool waited = false;
    DialogSeen seen;
    if (fails) {
        QVERIFY(QFile::remove(m_settings->systemFile(0)));
        writeInstallation(false);
        m_seam->onNextMessage([&](const MessageRequest &) {
            waited = later.startAndWait(*m_window, dataFolder(), late);
            return Answer::Ok;
        });
    } else {
        // The start's own file is not taken: the two sound files would read as one.
        m_seam->onNextDialog([&](QDialog &dialog) {
            waited = later.startAndWait(*m_window, dataFolder(), late);
            return press(u"btnCancel"_s)(dialog);
        });
        m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    }

    QCOMPARE(start({}, soundPath(u"Early"_s)), !fails);

    QVERIFY(waited);
    QTRY_VERIFY_WITH_TIMEOUT(later.ended(), 20000);
    QCOMPARE(later.outcome(), outcome);
    if (!fails) {
        QTRY_VERIFY(m_seam->allAnswersUsed());
        QCOMPARE(seen.message, u"Enter name for file: "_s + late);
        QCOMPARE(m_library->getCount(), 1);
        QVERIFY(m_library->getModel(u"Late"_s));
    }
}

// A file that the window took while its menu was open waits for the menu; choosing
// Exit there still offers it before the window goes.
void frmKivoTest::fileTakenBeforeExitIsOffered()
{
    QVERIFY(start());
    auto *menu = m_window->findChild<QMenu *>(u"flmApplicatoin"_s);
    QVERIFY(menu != nullptr);
    menu->popup(m_window->geometry().center());
    QTRY_VERIFY(QApplication::activePopupWidget() == menu);
    DialogSeen seen;
    m_seam->onNextDialog(press(u"btnOk"_s, &seen));
    const QString late = soundPath(u"Late"_s);
    QVERIFY(writeSoundFile(late));

    const SecondStart second = startSecondCopy(*m_window, late);
    QVERIFY(second.handedOver);
    QVERIFY(second.arrived);
    QCOMPARE(m_seam->dialogsShown(), 0);
    menu->hide();
    invoke(u"flmExit"_s);

    verifyOffered(seen, u"Late"_s, late);
    QVERIFY(!m_window->isVisible());
}

void frmKivoTest::unsavedChangesAtExit_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<Disk>("disk");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("editInFile");
    QTest::addColumn<QStringList>("messages"); // the message boxes after the answer
    QTest::addColumn<QString>("status"); // null: not looked at

    const QString saved = u" All of your Load Lists has been saved"_s;
    const QString notSaved = u" Your Load Lists could not be saved"_s;
    // The window stays, and a box says so with the system's reason where it gave one.
    const QString notSavedBox = notSaved.trimmed();
    QTest::newRow("nothing changed") << false << false << 0 << Disk::Ordinary << true << false << QStringList()
                                     << QString();
    QTest::newRow("saved before exit") << true << true << 0 << Disk::Ordinary << true << true << QStringList()
                                       << saved;
    QTest::newRow("Yes saves") << true << false << int(Answer::Yes) << Disk::Ordinary << true << true
                               << QStringList() << saved;
    QTest::newRow("No drops the changes") << true << false << int(Answer::No) << Disk::Ordinary << true << false
                                          << QStringList() << QString();
    QTest::newRow("Cancel stays") << true << false << int(Answer::Cancel) << Disk::Ordinary << false << false
                                  << QStringList() << QString();
    QTest::newRow("Yes on a full disk stays")
        << true << false << int(Answer::Yes) << Disk::Full << false << false
        << QStringList{notSavedBox + u"\r\n"_s + qt_error_string(EFBIG)} << notSaved;
    // The opening has said why already.
    QTest::newRow("Yes in a read-only folder stays")
        << true << false << int(Answer::Yes) << Disk::ReadOnly << false << false
        << QStringList{u"Kivo Rudovaz data path no longer exist"_s, notSavedBox} << notSaved;
}

void frmKivoTest::unsavedChangesAtExit()
{
    QFETCH(bool, edit);
    QFETCH(bool, saveFirst);
    QFETCH(int, answer);
    QFETCH(Disk, disk);
    QFETCH(bool, closed);
    QFETCH(bool, editInFile);
    QFETCH(QStringList, messages);
    QFETCH(QString, status);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    const QString listFile = dataFolder() + u"First.dat"_s;
    if (edit) {
        control<QListWidget>(u"objLibrary"_s).setCurrentRow(1);
        control<QListWidget>(u"objLoadList"_s).setCurrentRow(5);
        invoke(u"moveButton"_s);
        QCOMPARE(control<QListWidget>(u"objLoadList"_s).item(5)->text(), u"Bravo"_s);
    }
    if (saveFirst)
        invoke(u"saveButton"_s);
    const qsizetype shownBefore = m_seam->messages().size();

    {
        std::optional<FileSizeLimit> fullDisk;
        std::optional<ReadOnlyFolder> readOnly;
        if (disk == Disk::Full) {
            fullDisk.emplace(16);
        } else if (disk == Disk::ReadOnly) {
            readOnly.emplace(dataFolder());
            if (!readOnly->isReadOnly())
                QSKIP("the data folder cannot be made read-only here");
        }
        if (answer != 0)
            m_seam->answerNext(static_cast<Answer>(answer));
        invoke(u"flmExit"_s);
    }

    const QStringList texts = m_seam->messageTexts().mid(shownBefore);
    QCOMPARE(texts.count(saveQuestion), answer != 0 ? 1 : 0);
    if (answer != 0) {
        const MessageRequest &question = m_seam->messages().at(shownBefore);
        QCOMPARE(question.text, saveQuestion);
        QCOMPARE(question.buttons, Buttons::YesNoCancel);
        QCOMPARE(question.icon, Icon::None);
        QCOMPARE(question.title, QString());
    }
    QCOMPARE(texts.mid(answer != 0 ? 1 : 0), messages);
    for (const MessageRequest &box : m_seam->messages().mid(shownBefore + (answer != 0 ? 1 : 0))) {
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.title, QString());
    }
    if (!status.isNull())
        QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), status);
    QCOMPARE(m_window->isVisible(), !closed);
    // The shut-down runs only when the window goes.
    QCOMPARE(storedUserValue(u"Loadlist"_s).isEmpty(), !closed);
    const auto fileHoldsEdit = [&listFile] {
        QFile file(listFile);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("Bravo");
    };
    QCOMPARE(fileHoldsEdit(), editInFile);
    if (!closed) {
        // Once there is room again, the same question saves the edit; else No leaves it.
        const bool retry = disk != Disk::Ordinary;
        m_seam->answerNext(retry ? Answer::Yes : Answer::No);
        invoke(u"flmExit"_s);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(fileHoldsEdit(), retry);
    }
}

void frmKivoTest::exitAfterAStartPastUnreadLinesAsksNothing()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    const QString listFile = dataFolder() + u"First.dat"_s;
    QFile file(listFile);
    QVERIFY(file.open(QIODevice::Append));
    QVERIFY(file.write("12\t3\tThirteenth\t/s/13.tvs\r\nthree\tfields\tonly\r\n") > 0);
    file.close();
    const auto bytesOf = [](const QString &path) {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const QByteArray before = bytesOf(listFile);
    QVERIFY(start());
    const qsizetype shownBefore = m_seam->messages().size();

    invoke(u"flmExit"_s);

    QCOMPARE(m_seam->messageTexts().mid(shownBefore), QStringList());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(bytesOf(listFile), before);
    QCOMPARE(QDir(dataFolder()).entryList({u"*.unread"_s}, QDir::Files), QStringList());
}

namespace {
// The dialog that a command shows before it does anything, answered with Cancel.
enum class Dialog { None, Text, File, Print, Reminder };
} // namespace
Q_DECLARE_METATYPE(Dialog)

void frmKivoTest::commandsForward_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Dialog>("dialog");
    QTest::addColumn<QString>("title"); // of the dialog
    QTest::addColumn<QString>("status"); // null: not looked at
    QTest::addColumn<QString>("message"); // null: no message box

    const QString selectImage = u"Please select a Sound Image from your Load List"_s;
    // With an empty library and no load list, each command says why it did nothing.
    const auto both = [](const QString &menu, const QString &button, Dialog dialog, const QString &title,
                         const QString &status, const QString &message) {
        for (const QString &control : {menu, button}) {
            if (!control.isEmpty())
                QTest::newRow(qPrintable(control)) << control << dialog << title << status << message;
        }
    };
    both(u"flmLibAdd"_s, u"addButton"_s, Dialog::File, u"Add Tulvex Sound Image"_s, u" Add Sound Image aborted"_s,
         QString());
    both(u"flmLibRemove"_s, u"deleteButton"_s, Dialog::None, QString(), QString(),
         u"Please select a Sound Image to remove"_s);
    both(u"flmLLCreate"_s, u"newButton"_s, Dialog::Text, u"Create New Load List"_s,
         u" New Load List creation aborted"_s, QString());
    both(u"flmLLRemove"_s, u"deleteLLbutton"_s, Dialog::None, QString(), u" No valid Load List to delete"_s, QString());
    both(u"flmSave"_s, u"saveButton"_s, Dialog::None, QString(), u" There is nothing to save"_s, QString());
    both(u"flmLLRename"_s, QString(), Dialog::Text, u"Rename Current Load List"_s, u" Rename Load List aborted"_s,
         QString());
    both(u"flmLLImport"_s, u"importButton"_s, Dialog::File, u"Select Export File"_s, u" Import was aborted"_s,
         QString());
    both(u"flmLLExport"_s, u"exportButton"_s, Dialog::File, u"Select Export Location"_s, u" Export aborted"_s,
         QString());
    // A cancelled print says nothing.
    both(u"flmPrintLib"_s, u"flmPrintLL"_s, Dialog::Print, QString(), u" Application loaded successfully"_s, QString());
    both(QString(), u"moveButton"_s, Dialog::None, QString(), QString(),
         u" Please select Sound Image from your list"_s);
    both(QString(), u"upButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"downButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"xButton"_s, Dialog::None, QString(), QString(), selectImage);
    both(QString(), u"TransferButton"_s, Dialog::Reminder, u"Reminder"_s, u" Writing to Kivo aborted"_s, QString());
}

void frmKivoTest::commandsForward()
{
    QFETCH(QString, control);
    QFETCH(Dialog, dialog);
    QFETCH(QString, title);
    QFETCH(QString, status);
    QFETCH(QString, message);

    QVERIFY(start());
    m_seam->clear();
    DialogSeen seen;
    bool printDialog = false;
    switch (dialog) {
    case Dialog::None:
        break;
    case Dialog::Text:
    case Dialog::Reminder:
        m_seam->onNextDialog(press(u"btnCancel"_s, &seen));
        break;
    case Dialog::File:
        m_seam->onNextFileDialog([&seen](QFileDialog &fileDialog) -> std::optional<QStringList> {
            seen.title = fileDialog.windowTitle();
            return std::nullopt;
        });
        break;
    case Dialog::Print:
        m_seam->onNextDialog([&printDialog](QDialog &shown) {
            printDialog = qobject_cast<QAbstractPrintDialog *>(&shown) != nullptr;
            return int(QDialog::Rejected);
        });
        break;
    }

    invoke(control);

    QVERIFY(m_seam->allAnswersUsed());
    QCOMPARE(m_seam->dialogsShown(), dialog == Dialog::None ? 0 : 1);
    QCOMPARE(seen.title, title);
    QCOMPARE(printDialog, dialog == Dialog::Print);
    QCOMPARE(m_seam->messageTexts(), message.isNull() ? QStringList() : QStringList{message});
    if (!status.isNull())
        QCOMPARE(this->control<QLabel>(u"objStatusBar"_s).text(), status);
    QVERIFY(m_window->isVisible());
}

namespace {
enum class KeyEffect { LibraryRowRemoved, LocationEmptied, FocusToLoadList, FocusToLibrary, Nothing };
}
Q_DECLARE_METATYPE(KeyEffect)

void frmKivoTest::keys_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<KeyEffect>("effect");

    const QString library = u"objLibrary"_s;
    const QString loadList = u"objLoadList"_s;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("library Delete") << library << int(Qt::Key_Delete) << none << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Backspace") << library << int(Qt::Key_Backspace) << none << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Shift+Delete")
        << library << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Right") << library << int(Qt::Key_Right) << none << KeyEffect::FocusToLoadList;
    QTest::newRow("library Left") << library << int(Qt::Key_Left) << none << KeyEffect::Nothing;
    QTest::newRow("library letter") << library << int(Qt::Key_X) << none << KeyEffect::Nothing;
    QTest::newRow("load list Delete") << loadList << int(Qt::Key_Delete) << none << KeyEffect::LocationEmptied;
    QTest::newRow("load list Backspace") << loadList << int(Qt::Key_Backspace) << none << KeyEffect::LocationEmptied;
    QTest::newRow("load list Left") << loadList << int(Qt::Key_Left) << none << KeyEffect::FocusToLibrary;
    QTest::newRow("load list Right") << loadList << int(Qt::Key_Right) << none << KeyEffect::Nothing;
}

void frmKivoTest::keys()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(KeyEffect, effect);

    test::DrivenClock clock;
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Bravo"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    library.setCurrentRow(1);
    loadList.setCurrentRow(2);
    auto &target = control<QListWidget>(list);
    target.setFocus();
    QVERIFY(target.hasFocus());

    QTest::keyClick(&target, static_cast<Qt::Key>(key), modifiers);

    // A key that removes acts a moment after its release, once it is clear that the
    // key is not held.
    clock.advance(std::chrono::seconds(1));
    QCOMPARE(m_library->getCount(), effect == KeyEffect::LibraryRowRemoved ? 2 : 3);
    QCOMPARE(m_library->nameExist(u"Bravo"_s), effect != KeyEffect::LibraryRowRemoved);
    QCOMPARE(loadList.item(2)->text(), effect == KeyEffect::LocationEmptied ? QString() : u"Bravo"_s);
    QWidget *focused = QApplication::focusWidget();
    if (effect == KeyEffect::FocusToLoadList)
        QCOMPARE(focused, &loadList);
    else if (effect == KeyEffect::FocusToLibrary)
        QCOMPARE(focused, &library);
    else
        QCOMPARE(focused, &target);
    QVERIFY(m_seam->messages().isEmpty());
}

namespace {
// Where a mouse button goes down and comes up again, relative to the picture box.
enum class Release { Inside, OnTheEdge, Outside };
} // namespace
Q_DECLARE_METATYPE(Release)

void frmKivoTest::pictureBoxClick_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Release>("release");
    QTest::addColumn<bool>("runs");

    QTest::newRow("left, inside") << Qt::LeftButton << Release::Inside << true;
    QTest::newRow("left, released on the box's last pixel") << Qt::LeftButton << Release::OnTheEdge << true;
    QTest::newRow("left, released off the box") << Qt::LeftButton << Release::Outside << false;
    QTest::newRow("right") << Qt::RightButton << Release::Inside << false;
    QTest::newRow("middle") << Qt::MiddleButton << Release::Inside << false;
}

void frmKivoTest::pictureBoxClick()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Release, release);
    QFETCH(bool, runs);

    QVERIFY(start());
    auto &box = control<QLabel>(u"saveButton"_s);
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    const QString before = status.text();
    const QPoint up = release == Release::Inside ? box.rect().center()
        : release == Release::OnTheEdge          ? box.rect().bottomRight()
                                                 : box.rect().bottomRight() + QPoint(5, 5);

    QTest::mousePress(&box, button, Qt::NoModifier, box.rect().center());
    QTest::mouseRelease(&box, button, Qt::NoModifier, up);

    QCOMPARE(status.text(), runs ? u" There is nothing to save"_s : before);
    QVERIFY(m_seam->messages().isEmpty());
}

namespace {
// One key event of a press held down and let go: the first press, a release and a
// press that the platform repeats (marked as repeats or not), and the last release.
enum class KeyStep { Press, RepeatedRelease, RepeatedPress, UnmarkedRelease, UnmarkedPress, Release };
using Presses = QList<QList<KeyStep>>;
} // namespace
Q_DECLARE_METATYPE(KeyStep)

void frmKivoTest::heldKeyActsOnce_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    // Each inner list is one press of the key, held down from its first to its last
    // event; the presses are apart as far as a person's are.
    QTest::addColumn<Presses>("presses");

    using enum KeyStep;
    const QString library = u"objLibrary"_s;
    const QString loadList = u"objLoadList"_s;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const QList<KeyStep> once{Press, Release};
    const QList<KeyStep> unmarked{Press, UnmarkedRelease, UnmarkedPress, UnmarkedRelease, UnmarkedPress, Release};
    // How the presses and their repeats come is the key filter's to tell apart; here
    // each list's command runs once for a held key.
    QTest::newRow("library, held, repeats unmarked") << library << int(Qt::Key_Delete) << none << Presses{unmarked};
    QTest::newRow("library, Backspace held") << library << int(Qt::Key_Backspace) << none << Presses{unmarked};
    QTest::newRow("library, Shift+Delete held")
        << library << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << Presses{unmarked};
    QTest::newRow("load list, held, repeats unmarked") << loadList << int(Qt::Key_Delete) << none << Presses{unmarked};
    QTest::newRow("load list, Backspace held") << loadList << int(Qt::Key_Backspace) << none << Presses{unmarked};
    QTest::newRow("load list, two presses") << loadList << int(Qt::Key_Backspace) << none << Presses{once, once};
}

void frmKivoTest::heldKeyActsOnce()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Presses, presses);

    test::DrivenClock clock;
    const QStringList names{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Delta"_s, u"Echo"_s, u"Foxtrot"_s};
    prepareDataFolder(names, {{u"First"_s, names}});
    QVERIFY(start());
    activate();
    const bool library = list == u"objLibrary"_s;
    auto &target = control<QListWidget>(list);
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    target.setFocus();
    // The library's command removes its current entry; the load list's empties its
    // current location, and says so.
    const auto commandsRun = [&] {
        return int(names.size()) - (library ? m_library->getCount() : m_lists->activeLoadList()->count());
    };

    int run = 0;
    for (const QList<KeyStep> &press : presses) {
        // The next entry, as the person would choose it between two presses.
        target.setCurrentRow(library ? 0 : run);
        for (const KeyStep step : press) {
            // Nothing acts before the key is let go for good.
            QCOMPARE(commandsRun(), run);
            const bool down
                = step == KeyStep::Press || step == KeyStep::RepeatedPress || step == KeyStep::UnmarkedPress;
            const bool repeat = step == KeyStep::RepeatedPress || step == KeyStep::RepeatedRelease;
            QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, QString(), repeat);
            QApplication::sendEvent(&target, &event);
        }
        ++run;
        clock.advance(std::chrono::seconds(1));
        QCOMPARE(commandsRun(), run);
        // One command ran, not a second one on the location that the first emptied.
        QCOMPARE(status.text(), library ? u" File removed"_s : u" Location %1 removed"_s.arg(run));
    }
    QVERIFY(m_seam->messages().isEmpty());
    QStringList rows;
    for (int row = 0; row < target.count(); ++row)
        rows.append(target.item(row)->text());
    const QStringList left = names.mid(run);
    QCOMPARE(rows, library ? left : QStringList(run, QString()) + left + QStringList(12 - names.size(), QString()));
}

void frmKivoTest::listRowsShowTheirDetails()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Charlie"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    const auto &path = control<QLabel>(u"lblPath"_s);
    const auto &status = control<QLabel>(u"objStatusBar"_s);

    // By the mouse.
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier,
                      library.visualItemRect(library.item(1)).center());
    QCOMPARE(library.currentRow(), 1);
    QCOMPARE(path.text(), u" Bravo.tvs"_s);
    QCOMPARE(status.text(), u" "_s + soundPath(u"Bravo"_s));
    QTest::mouseClick(loadList.viewport(), Qt::LeftButton, Qt::NoModifier,
                      loadList.visualItemRect(loadList.item(2)).center());
    QCOMPARE(path.text(), u" Charlie.tvs"_s);
    // By the keyboard.
    library.setFocus();
    QTest::keyClick(&library, Qt::Key_Up);
    QCOMPARE(path.text(), u" Alpha.tvs"_s);
    QTest::keyClick(&library, Qt::Key_Down);
    QCOMPARE(path.text(), u" Bravo.tvs"_s);
    // An empty location clears the details.
    loadList.setCurrentRow(1);
    QCOMPARE(path.text(), u" "_s);
    QCOMPARE(status.text(), QString());
}

void frmKivoTest::clickOnTheCurrentRow_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("otherRow");
    QTest::addColumn<QString>("shown"); // the clicked entry

    QTest::newRow("library") << u"objLibrary"_s << 1 << u"objLoadList"_s << 2 << u"Bravo"_s;
    QTest::newRow("load list") << u"objLoadList"_s << 2 << u"objLibrary"_s << 1 << u"Charlie"_s;
}

void frmKivoTest::clickOnTheCurrentRow()
{
    QFETCH(QString, list);
    QFETCH(int, row);
    QFETCH(QString, other);
    QFETCH(int, otherRow);
    QFETCH(QString, shown);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Charlie"_s}}});
    QVERIFY(start());
    activate();
    const auto click = [this](const QString &name, int at) {
        auto &box = control<QListWidget>(name);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, box.visualItemRect(box.item(at)).center());
    };
    click(list, row);
    click(other, otherRow);
    QVERIFY(control<QLabel>(u"lblPath"_s).text() != u" "_s + shown + u".tvs"_s);

    // Back on the row that stayed current.
    click(list, row);

    QCOMPARE(control<QListWidget>(list).currentRow(), row);
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), u" "_s + shown + u".tvs"_s);
    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" "_s + soundPath(shown));
    const auto tag = static_cast<quint32>(m_library->getModel(shown)->tag());
    QCOMPARE(control<QLabel>(u"lblTag"_s).text(), u" "_s + QString::number(tag, 16).toUpper());
}

void frmKivoTest::doubleClickPutsTheEntryIntoTheLoadList()
{
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    loadList.setCurrentRow(5);
    const QPoint charlie = library.visualItemRect(library.item(2)).center();

    // The first click of the two shows the entry's details.
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier, charlie);
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), u" Charlie.tvs"_s);
    QTest::mouseDClick(library.viewport(), Qt::LeftButton, Qt::NoModifier, charlie);

    QCOMPARE(loadList.item(5)->text(), u"Charlie"_s);
    QCOMPARE(m_lists->activeLoadList()->getModel(5)->name(), u"Charlie"_s);
    QCOMPARE(library.selectedItems().size(), 1);
    QVERIFY(m_seam->messages().isEmpty());
}

void frmKivoTest::statusTooltipFollowsTheCaption()
{
    prepareDataFolder({u"Alpha"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    QTRY_COMPARE(status.toolTip(), u" Application loaded successfully"_s);

    invoke(u"saveButton"_s);
    QTRY_COMPARE(status.toolTip(), status.text());
    QVERIFY(!status.text().isEmpty());

    // An empty location shows an empty status text.
    control<QListWidget>(u"objLoadList"_s).setCurrentRow(3);
    QCOMPARE(status.text(), QString());
    QTRY_COMPARE(status.toolTip(), QString());
}

void frmKivoTest::helpViewer_data()
{
    QTest::addColumn<bool>("helpFileThere");
    QTest::addColumn<QString>("shown");

    QTest::newRow("help file there") << true << u"Kivo Rudovaz help contents"_s;
    QTest::newRow("help file missing") << false << u"cannot be found"_s;
}

void frmKivoTest::helpViewer()
{
    QFETCH(bool, helpFileThere);
    QFETCH(QString, shown);

    QVERIFY(start());
    if (!helpFileThere)
        QVERIFY(QFile::remove(installFolder() + u"kivoHelp.hlp"_s));

    invoke(u"flmKRH"_s);
    invoke(u"flmKRH"_s);

    const auto viewers = m_window->findChildren<QTextBrowser *>();
    QCOMPARE(viewers.size(), 1);
    QPointer<QTextBrowser> viewer = viewers.constFirst();
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QVERIFY2(viewer->toPlainText().contains(shown), qPrintable(viewer->toPlainText()));

    invoke(u"flmExit"_s);
    QTRY_VERIFY(viewer.isNull() || !viewer->isVisible());
}

QTEST_MAIN(frmKivoTest)
#include "frmKivoTest.moc"
