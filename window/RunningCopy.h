#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace kivo {

// One running copy of the program per data folder, so that two copies cannot write
// over each other's files. The first start holds a lock file in the data folder and
// listens on a local socket named after the folder; a later start hands its command
// line to it there and ends. A lock or socket left by a copy that was killed is taken over.
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
        // Another copy holds the folder but could not be reached.
        Unreachable,
    };
    Role start(const QString &dataFolder, const QString &commandLine);
    // Lets the folder go: the next start there becomes the running copy.
    void release();

    // The name of the local socket of the copy that runs on the folder.
    static QString serverName(const QString &dataFolder);
    static QString lockFileName();

Q_SIGNALS:
    // A later start on the folder handed over its command line, empty when it named no file.
    void commandLineArrived(const QString &commandLine);

private:
    void listen(const QString &name);
    static bool handOver(const QString &name, const QString &commandLine);
    void accept();
    void receive(QLocalSocket *socket);

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace kivo
