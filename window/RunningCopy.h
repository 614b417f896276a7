#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace kivo {

// One running copy of the program per data folder, so that two copies cannot write
// over each other's files. The first start holds a lock file in the data folder and
// listens on a local socket named after the folder; a later start hands its command
// line to it there and ends once the running copy has answered that it took it. A copy
// that is closing answers nothing: the later start then takes the folder when it is
// free and starts on its own. A lock or socket left by a copy that was killed is taken
// over. A copy that runs without a lock (its folder took none) still holds the folder
// through its socket until it ends.
class RunningCopy final : public QObject {
    Q_OBJECT

public:
    explicit RunningCopy(QObject *parent = nullptr);
    ~RunningCopy() override;

    enum class Role {
        // This start is the one copy on the folder and takes later starts' command lines.
        Running,
        // Another copy runs on the folder and has been given the command line.
        HandedOver,
        // Another copy on this computer holds the folder but could not be reached.
        Unreachable,
        // The lock names no copy on this computer: one on another computer that shares
        // the folder, or nothing that can be read (see stuckLock()).
        LockedElsewhere,
    };
    Role start(const QString &dataFolder, const QString &commandLine);

    // The lock that made start() answer LockedElsewhere.
    struct StuckLock {
        QString path;
        // The computer that the lock names; empty when it names none.
        QString host;
        // What it held when it was read: a lock that changes after has been taken since.
        QByteArray content;
        bool isFolder = false;
    };
    const StuckLock &stuckLock() const noexcept { return m_stuck; }
    // Removes the lock that start() found stuck, when it is still the same, and starts
    // again. Throws RuntimeError with the system's reason when it cannot be removed.
    Role takeOver(const QString &dataFolder, const QString &commandLine);

    // Later starts' command lines wait unanswered until takeHandOvers(): from the
    // start until the window is ready for them, and while it decides whether to close.
    void holdHandOvers() noexcept { m_holding = true; }
    // Takes the command lines that wait, and each later one as it arrives.
    void takeHandOvers();
    // Lets the folder go: the next start there becomes the running copy. The command
    // lines that wait are refused, and their starts start on their own.
    void release();

    // The name of the local socket of the copy that runs on the folder.
    static QString serverName(const QString &dataFolder);
    static QString lockFileName();

Q_SIGNALS:
    // A later start on the folder handed over its command line, empty when it named no file.
    void commandLineArrived(const QString &commandLine);
    // A later start waits for its command line to be taken.
    void handOverWaiting();

private:
    enum class HandOver { Taken, Refused, NotReached };
    bool claimName(const QString &name);
    void listen(const QString &name);
    bool stuck(const QString &lockFile);
    static HandOver handOver(const QString &name, const QString &commandLine);
    static HandOver awaitAnswer(QLocalSocket &socket);
    void accept();
    void receive(QLocalSocket *socket);
    void take(QLocalSocket &socket, const QString &commandLine);

    struct Waiting {
        QPointer<QLocalSocket> socket;
        QString commandLine;
    };

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_holding = true;
    std::deque<Waiting> m_waiting;
    StuckLock m_stuck;
};

} // namespace kivo
