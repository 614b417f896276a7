// The main window's start-up: the data folder and the settings it finds, the splash's
// checks, and the start-ups that end with a message.
#include "window/frmKivo.h"

#include "commands/ApiGlobal.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"
#include "window/Installation.h"

#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QScopeGuard>
#include <QTest>

#include <chrono>
#include <memory>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

namespace {

const QString workingDirectoryMessage = u"There was a problem setting the Application's working directory"_s;
const QString initializingMessage = u"Initializing Application Failed"_s;
// Follows the working-directory message when the settings file (%1) cannot be read.
const QString unreadableSettings = u"\r\nThe settings file \"%1\" cannot be read. Mend it, or empty it to start with "
                                   "new settings, then start Kivo Rudovaz again."_s;

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

} // namespace

Q_DECLARE_METATYPE(Personal)

class frmKivoStartUpTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void startUp_data();
    void startUp();
    void unreadableSettingsLockNobodyOut_data();
    void unreadableSettingsLockNobodyOut();
    void windowHiddenWhileSplashRuns();
    void splashCheckFailingEndsStartUp();
    void unusableCommonDialogsEndStartUp();
};

void frmKivoStartUpTest::startUp_data()
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

void frmKivoStartUpTest::startUp()
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

void frmKivoStartUpTest::unreadableSettingsLockNobodyOut_data()
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
void frmKivoStartUpTest::unreadableSettingsLockNobodyOut()
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

void frmKivoStartUpTest::windowHiddenWhileSplashRuns()
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

void frmKivoStartUpTest::splashCheckFailingEndsStartUp()
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
void frmKivoStartUpTest::unusableCommonDialogsEndStartUp()
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

QTEST_MAIN(frmKivoStartUpTest)
#include "frmKivoStartUpTest.moc"
