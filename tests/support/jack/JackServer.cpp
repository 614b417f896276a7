#include "JackServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <jack/jack.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

#if defined(__linux__)
#include <sys/prctl.h>
#endif
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kivo::test {

namespace {

void quietJackError(const char *) {}

QString uniqueServerName()
{
    static std::atomic<int> serial{0};
    return QStringLiteral("kivo-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(serial++);
}

// Waits for the machine's JACK test lock; the process keeps it to its end,
// when the system releases it. Returns why it cannot be had, or nothing.
QString takeMachineLock()
{
#if defined(Q_OS_UNIX)
    static const QString failure = [] {
        const QByteArray path = QFile::encodeName(QDir::temp().filePath(QStringLiteral("kivo-jack-tests.lock")));
        // Read access is enough for flock, and lets users share the file whoever made it.
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return QStringLiteral("cannot open the JACK test lock ") + QFile::decodeName(path);
        int result = 0;
        do {
            result = ::flock(fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        return result == 0 ? QString() : QStringLiteral("cannot take the JACK test lock ") + QFile::decodeName(path);
    }();
    return failure;
#else
    return {};
#endif
}

} // namespace

JackServer::JackServer()
    : m_name(uniqueServerName())
{
    m_failure = takeMachineLock();
    if (!m_failure.isEmpty())
        return;
    qputenv("JACK_DEFAULT_SERVER", m_name.toLocal8Bit());
    qputenv("JACK_NO_START_SERVER", "1");
    // The program's MIDI goes to this server too.
    qputenv("KIVO_MIDI_API", "jack");
    const auto frames = QString::number(period.count() * 48000 / 1'000'000);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
#if defined(__linux__)
    // A test process that is killed must not leave its server behind.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    // Realtime and synchronous: a client that is late for a cycle is waited for
    // instead of having that cycle's MIDI events dropped. The wait is as long
    // as realtime mode allows (under its 5 s watchdog), not jackd's 500 ms,
    // which a busy virtual machine can exceed when it pauses a core.
    m_process.start(QStringLiteral("jackd"),
                    {QStringLiteral("--realtime"), QStringLiteral("--realtime-priority"), QStringLiteral("20"),
                     QStringLiteral("--sync"), QStringLiteral("--timeout"), QStringLiteral("4000"),
                     QStringLiteral("-n"), m_name,
                     QStringLiteral("-d"), QStringLiteral("dummy"),
                     QStringLiteral("-r"), QStringLiteral("48000"),
                     QStringLiteral("-p"), frames,
                     QStringLiteral("-w"), QString::number(period.count()),
                     QStringLiteral("-C"), QStringLiteral("0"), QStringLiteral("-P"), QStringLiteral("0")});
    if (!m_process.waitForStarted()) {
        m_failure = QStringLiteral("jackd did not start: ") + m_process.errorString();
        return;
    }
    m_pid = m_process.processId();
    m_ready = waitUntilAcceptingClients(std::chrono::seconds(20));
}

JackServer::~JackServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // CTest shows it only for a failed test, where jackd's xruns and errors
    // tell a late client from a lost message.
    const QByteArray output = m_process.isOpen() ? m_process.readAll() : QByteArray();
    if (!output.isEmpty())
        std::fprintf(stderr, "jackd %s said:\n%s\n", qPrintable(m_name), output.constData());
}

void JackServer::sendSignal(int signal) const
{
#if defined(Q_OS_UNIX)
    if (m_pid > 0)
        ::kill(static_cast<pid_t>(m_pid), signal);
#else
    Q_UNUSED(signal);
#endif
}

bool JackServer::waitUntilAcceptingClients(std::chrono::milliseconds timeout)
{
    // Clients that try a server still starting report it on stderr.
    jack_set_error_function(quietJackError);
    const QDeadlineTimer deadline(timeout);
    bool accepting = false;
    while (!accepting && !deadline.hasExpired()) {
        accepting = acceptsClients();
        // Doubles as the poll interval and as the check that jackd still runs.
        if (!accepting && m_process.waitForFinished(20))
            break;
    }
    jack_set_error_function(nullptr);
    if (!accepting) {
        m_failure = QStringLiteral("JACK server %1 did not come up: %2")
                        .arg(m_name, QString::fromLocal8Bit(m_process.readAll()));
    }
    return accepting;
}

bool JackServer::acceptsClients() const
{
    const QByteArray server = m_name.toLocal8Bit();
    jack_status_t status{};
    jack_client_t *probe = jack_client_open(
        "kivo-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
        server.constData());
    if (probe == nullptr)
        return false;
    jack_client_close(probe);
    return true;
}

} // namespace kivo::test
