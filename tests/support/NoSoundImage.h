#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kivo::test {

// What a path named like a sound image may be without holding one.
enum class NoSoundImage { Pipe, Empty, Short, Folder, DanglingLink, Device };

// Makes one at the path, whose folder exists; false when that fails.
bool makeNoSoundImage(NoSoundImage kind, const QString &path);

// Guards code that must not wait for the other end of a named pipe: once the
// deadline passes it keeps opening the other end (for reading and for writing)
// until it is destroyed, so that code that waits goes on, and the test fails on
// opened() instead of hanging.
class PipeOpener {
public:
    explicit PipeOpener(const QString &path, std::chrono::milliseconds deadline = std::chrono::seconds(10));
    ~PipeOpener();
    PipeOpener(const PipeOpener &) = delete;
    PipeOpener &operator=(const PipeOpener &) = delete;

    // True when the guarded code still ran at the deadline: it waited for the pipe.
    bool opened() const noexcept { return m_opened; }

private:
    void watch(std::chrono::milliseconds deadline);
    void openOtherEnds();

    QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_finish;
    bool m_finished = false;
    std::atomic<bool> m_opened{false};
    int m_readEnd = -1;
    std::thread m_thread;
};

} // namespace kivo::test

Q_DECLARE_METATYPE(kivo::test::NoSoundImage)
