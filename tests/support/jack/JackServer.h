#pragma once

#include <QProcess>
#include <QString>

#include <chrono>

namespace kivo::test {

// A JACK server of its own for one test process: `jackd` with the dummy
// backend under a unique server name, which becomes the process's default
// server (JACK_DEFAULT_SERVER) and the program's MIDI system (KIVO_MIDI_API).
// Stopped when the object goes.
//
// jackd2 names the socket of each client in /dev/shm after the client's name
// alone, whatever its server, so two clients named "kivotools" on two servers
// at once break each other's opening. CTest therefore runs the JACK tests with
// a /dev/shm of their own where the machine allows it (with-private-shm.sh),
// and only one process on the machine runs test servers at a time: the first
// server of a process waits for a lock file in the temporary folder and keeps
// it until the process ends.
class JackServer {
public:
    // One process cycle: the granularity with which JACK delivers MIDI.
    static constexpr std::chrono::microseconds period{5000};

    JackServer();
    JackServer(const JackServer &) = delete;
    JackServer &operator=(const JackServer &) = delete;
    ~JackServer();

    // True once the server accepts clients; otherwise failure() says why.
    bool isReady() const { return m_ready; }
    QString failure() const { return m_failure; }
    QString name() const { return m_name; }
    // Sends a signal to jackd (SIGTERM shuts it down, SIGKILL ends it at
    // once); safe from any thread.
    void sendSignal(int signal) const;

private:
    bool waitUntilAcceptingClients(std::chrono::milliseconds timeout);
    bool acceptsClients() const;

    QString m_name;
    QProcess m_process;
    qint64 m_pid = 0;
    bool m_ready = false;
    QString m_failure;
};

} // namespace kivo::test
