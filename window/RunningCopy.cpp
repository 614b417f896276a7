#include "RunningCopy.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace kivo {

namespace {

// How long a later start keeps trying to reach the copy that holds the folder: that
// copy may have taken the lock a moment ago and not be listening yet.
constexpr int reachTimeMs = 5000;
constexpr int lockAttemptMs = 100;
constexpr int connectTimeMs = 1000;
constexpr int writeTimeMs = 2000;
// A command line is one path; anything longer did not come from a start of the program.
constexpr qint64 longestMessage = 64 * 1024;

QString folderPath(const QString &dataFolder)
{
    const QFileInfo info(dataFolder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
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
    m_lock = std::make_unique<QLockFile>(QDir(folderPath(dataFolder)).filePath(lockFileName()));
    // The running copy holds the lock for as long as it runs; only a lock whose copy is
    // gone (killed, say) is stale, however old it is.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(reachTimeMs);
    do {
        if (m_lock->tryLock(lockAttemptMs)) {
            listen(name);
            return Role::Running;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // The folder takes no lock file (it is read-only, say). No copy can save
            // there, so none can lose another's changes; one that runs still takes
            // this start's file.
            m_lock.reset();
            if (handOver(name, commandLine))
                return Role::HandedOver;
            listen(name);
            return Role::Running;
        }
        if (handOver(name, commandLine)) {
            m_lock.reset();
            return Role::HandedOver;
        }
    } while (!deadline.hasExpired());
    m_lock.reset();
    return Role::Unreachable;
}

void RunningCopy::release()
{
    delete m_server;
    m_server = nullptr;
    m_lock.reset();
}

void RunningCopy::listen(const QString &name)
{
    // A copy that was killed leaves its socket behind; the lock says that it is gone.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    // Only the user's own starts may hand over a file.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &RunningCopy::accept);
    // A copy that cannot listen still runs; a later start then cannot reach it and says so.
    m_server->listen(name);
}

bool RunningCopy::handOver(const QString &name, const QString &commandLine)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << commandLine;
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(writeTimeMs))
            return false;
    }
    socket.disconnectFromServer();
    return true;
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
    socket->disconnectFromServer();
    Q_EMIT commandLineArrived(commandLine);
}

} // namespace kivo
