#include "RunningCopy.h"

#include "platform/ClockSeam.h"
#include "platform/RuntimeError.h"
#include "platform/Timer.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>

#include <chrono>
#include <filesystem>
#include <system_error>

namespace kivo {

namespace {

// How long a later start keeps trying to reach the copy that holds the folder: that
// copy may have taken the lock a moment ago and not be listening yet.
constexpr int reachTimeMs = 5000;
constexpr int lockAttemptMs = 100;
constexpr int connectTimeMs = 1000;
constexpr int writeTimeMs = 2000;
// How long a later start waits for the running copy to take its command line. The copy
// answers between commands: after a transfer to the unit, which blocks it for a minute
// or two, or once the user has answered its start-up's or exit's questions.
constexpr std::chrono::milliseconds answerTime = std::chrono::minutes(10);
// The running copy's answer: it has taken the command line.
constexpr char takenAnswer = '\x06';
// A command line is one path; anything longer did not come from a start of the program.
constexpr qint64 longestMessage = 64 * 1024;
// A lock file names a process and a computer; more than this is no lock file.
constexpr qint64 longestLock = 4096;

QString folderPath(const QString &dataFolder)
{
    const QFileInfo info(dataFolder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The moment by the program's clock when a later start stops trying to reach the copy.
std::chrono::milliseconds reachDeadline()
{
    return ClockSeam::current().now() + std::chrono::milliseconds(reachTimeMs);
}

// Whether a file can be written in the folder now.
bool takesFiles(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kivo-probe-XXXXXX")));
    return probe.open() && probe.write("0", 1) == 1 && probe.flush();
}

// Whether a copy listens on the name. One too busy to take the connection at once
// (a long transfer, say) still listens; only a socket that nobody listens on, or none
// at all, is free.
bool answers(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(connectTimeMs)) {
        socket.abort();
        return true;
    }
    return socket.error() != QLocalSocket::ConnectionRefusedError && socket.error() != QLocalSocket::ServerNotFoundError;
}

// What a lock file holds, to tell whether it has changed; nothing for a folder.
QByteArray lockContent(const QString &lockFile)
{
    QFile file(lockFile);
    if (QFileInfo(lockFile).isDir() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(longestLock);
}

} // namespace

RunningCopy::RunningCopy(QObject *parent)
    : QObject(parent)
{
}

RunningCopy::~RunningCopy() = default;

QString RunningCopy::serverName(const QString &dataFolder)
{
    const QByteArray hash = QCryptographicHash::hash(folderPath(dataFolder).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("kivo-rudovaz-") + QString::fromLatin1(hash.toHex().left(32));
}

QString RunningCopy::lockFileName()
{
    return QStringLiteral("Kivo Rudovaz.lock");
}

RunningCopy::Role RunningCopy::start(const QString &dataFolder, const QString &commandLine)
{
    release();
    const QString name = serverName(dataFolder);
    const QString folder = folderPath(dataFolder);
    const QString lockFile = QDir(folder).filePath(lockFileName());
    std::chrono::milliseconds deadline = reachDeadline();
    bool refused = false;
    do {
        auto lock = std::make_unique<QLockFile>(lockFile);
        // The running copy holds the lock for as long as it runs; only a lock whose copy is
        // gone (killed, say) is stale, however old it is.
        lock->setStaleLockTime(0);
        const bool locked = lock->tryLock(lockAttemptMs);
        // A full disk takes no lock file either, but the lock reports it as a lock held
        // by another copy, and cannot clear the lock of a killed one. No copy can save
        // in such a folder, so none can lose another's changes; this start runs without
        // a lock unless a copy runs there already.
        const bool lockless = !locked && (lock->error() != QLockFile::LockFailedError || !takesFiles(folder));
        if ((locked || lockless) && claimName(name)) {
            if (locked)
                m_lock = std::move(lock);
            return Role::Running;
        }
        // A copy that runs without a lock keeps the folder until it ends.
        lock.reset();
        switch (handOver(name, commandLine)) {
        case HandOver::Taken:
            return Role::HandedOver;
        case HandOver::Refused:
            // The copy is closing and lets the folder go in a moment; the time it took
            // to decide does not count. Only once: a copy that keeps refusing is no
            // copy that closes.
            if (!refused)
                deadline = reachDeadline();
            refused = true;
            break;
        case HandOver::NotReached:
            // Waiting would not help: no copy on this computer holds that lock.
            if (!locked && !lockless && stuck(lockFile))
                return Role::LockedElsewhere;
            break;
        }
    } while (ClockSeam::current().now() < deadline);
    return Role::Unreachable;
}

RunningCopy::Role RunningCopy::takeOver(const QString &dataFolder, const QString &commandLine)
{
    // While the user decided, the copy named there may have let the folder go, or another
    // start may have taken it over: only the lock that was found goes.
    if (QFileInfo(m_stuck.path).isDir() == m_stuck.isFolder && lockContent(m_stuck.path) == m_stuck.content) {
        std::error_code error;
        std::filesystem::remove(QFile::encodeName(m_stuck.path).toStdString(), error);
        if (error)
            throw RuntimeError(ErrorNumber::PathFileAccess, QString::fromLocal8Bit(error.message()));
    }
    return start(dataFolder, commandLine);
}

void RunningCopy::takeHandOvers()
{
    m_holding = false;
    // Taking one may open a question, during which the window may hold again or let go.
    while (!m_holding && !m_waiting.empty()) {
        const Waiting next = m_waiting.front();
        m_waiting.pop_front();
        if (next.socket && next.socket->state() == QLocalSocket::ConnectedState)
            take(*next.socket, next.commandLine);
    }
}

void RunningCopy::release()
{
    // Closing the connections without an answer refuses what waits on them.
    m_waiting.clear();
    delete m_server;
    m_server = nullptr;
    m_lock.reset();
}

// Starts to listen on the name, unless a copy answers there: one that runs without a
// lock file (its folder took none when it started) holds the folder only through its
// socket. Two starts that find the name free at the same moment must not both listen,
// the second removing the first's socket: a lock beside the socket lets one of them
// look at a time.
bool RunningCopy::claimName(const QString &name)
{
    QLockFile guard(QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock")));
    guard.setStaleLockTime(0);
    // A guard that cannot be made (in a full temporary folder, say) guards nothing, and
    // the start goes on without it.
    if (!guard.tryLock(2 * connectTimeMs) && guard.error() == QLockFile::LockFailedError)
        return false;
    if (answers(name))
        return false;
    listen(name);
    return true;
}

// Whether no copy on this computer holds the lock file: it names another computer
// (one that shares the folder), or it names no copy at all (a folder of its name, an
// empty file). No start here can reach that copy or see that it has gone.
bool RunningCopy::stuck(const QString &lockFile)
{
    const QFileInfo file(lockFile);
    if (!file.exists())
        return false;
    m_stuck = {lockFile, {}, lockContent(lockFile), file.isDir()};
    QLockFile lock(lockFile);
    qint64 pid = 0;
    QString application;
    if (!lock.getLockInfo(&pid, &m_stuck.host, &application))
        return true;
    // A lock that names no computer is this computer's.
    return !m_stuck.host.isEmpty() && m_stuck.host != QSysInfo::machineHostName();
}

void RunningCopy::listen(const QString &name)
{
    m_holding = true;
    // A copy that was killed leaves its socket behind; the lock says that it is gone.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    // Only the user's own starts may hand over a file.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &RunningCopy::accept);
    // A copy that cannot listen still runs; a later start then cannot reach it and says so.
    m_server->listen(name);
}

RunningCopy::HandOver RunningCopy::handOver(const QString &name, const QString &commandLine)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeMs))
        return HandOver::NotReached;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << commandLine;
    if (socket.write(message) != message.size())
        return HandOver::NotReached;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(writeTimeMs))
            return HandOver::NotReached;
    }
    return awaitAnswer(socket);
}

// In an event loop rather than blocked: the copy that answers may run on this thread's loop.
RunningCopy::HandOver RunningCopy::awaitAnswer(QLocalSocket &socket)
{
    QEventLoop loop;
    Timer timeout(answerTime);
    connect(&timeout, &Timer::timeout, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::readyRead, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    timeout.start();
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState && timeout.isActive())
        loop.exec();
    char answer = 0;
    if (socket.getChar(&answer) && answer == takenAnswer)
        return HandOver::Taken;
    // A copy that does not answer in time may still be there; it must not take the
    // command line after this start has given up.
    socket.abort();
    return timeout.isActive() ? HandOver::Refused : HandOver::NotReached;
}

void RunningCopy::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        receive(socket);
    }
}

void RunningCopy::receive(QLocalSocket *socket)
{
    if (socket->bytesAvailable() > longestMessage) {
        socket->abort();
        return;
    }
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    QString commandLine;
    in >> commandLine;
    if (!in.commitTransaction()) {
        // The rest of the message may still be on its way; anything else is no start's.
        if (in.status() != QDataStream::ReadPastEnd)
            socket->abort();
        return;
    }
    socket->disconnect(this);
    if (m_holding) {
        m_waiting.push_back({socket, commandLine});
        Q_EMIT handOverWaiting();
        return;
    }
    take(*socket, commandLine);
}

void RunningCopy::take(QLocalSocket &socket, const QString &commandLine)
{
    // Answered before the command line goes on, which may open a question for a while;
    // the window queues it before anything else can run. An answer that cannot be sent
    // hands nothing over: the later start, which has gone or cannot hear it, goes on as
    // refused, and must not find its file offered here as well.
    if (!socket.putChar(takenAnswer) || !socket.flush()) {
        socket.abort();
        return;
    }
    socket.disconnectFromServer();
    Q_EMIT commandLineArrived(commandLine);
}

} // namespace kivo
