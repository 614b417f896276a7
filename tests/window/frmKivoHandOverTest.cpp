// The file on the command line, offered to the library by the start itself or by the
// copy already running on the data folder, to which a later start hands it over.
#include "window/frmKivo.h"
#include "window/RunningCopy.h"

#include "model/Global.h"

#include "FileSizeLimit.h"
#include "HandOverFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstddef>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

namespace {

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

class frmKivoHandOverTest : public QObject, private HandOverFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void commandLine_data();
    void commandLine();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void killedCopyBlocksNoStart();
    void fullDataFolderStartsWithoutALock_data();
    void fullDataFolderStartsWithoutALock();
};

void frmKivoHandOverTest::commandLine_data()
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

void frmKivoHandOverTest::commandLine()
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

void frmKivoHandOverTest::secondStartHandsOver_data()
{
    QTest::addColumn<QString>("commandLine"); // %1: the folder of the sounds
    QTest::addColumn<QString>("name"); // null: nothing offered
    QTest::addColumn<bool>("oldLock"); // the running copy's lock file was last written long ago

    QTest::newRow("a file") << u"\"%1My Sound.tvs\""_s << u"My Sound"_s << false;
    QTest::newRow("no file: only to the front") << QString() << QString() << false;
    QTest::newRow("a lock held for hours") << u"%1Late.tvs"_s << u"Late"_s << true;
}

void frmKivoHandOverTest::secondStartHandsOver()
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

void frmKivoHandOverTest::killedCopyBlocksNoStart()
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

void frmKivoHandOverTest::fullDataFolderStartsWithoutALock_data()
{
    QTest::addColumn<bool>("killedCopy");

    QTest::newRow("no lock before") << false;
    QTest::newRow("lock of a killed copy") << true;
}

// A lock file that cannot be written is no sign of another copy: the start runs on
// without one, as in a folder that takes no lock at all.
void frmKivoHandOverTest::fullDataFolderStartsWithoutALock()
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

QTEST_MAIN(frmKivoHandOverTest)
#include "frmKivoHandOverTest.moc"
