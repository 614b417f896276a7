#include "NoSoundImage.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo::test {

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

bool makeNoSoundImage(NoSoundImage kind, const QString &path)
{
    switch (kind) {
    case NoSoundImage::Pipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case NoSoundImage::Empty:
        return writeBytes(path, {});
    case NoSoundImage::Short:
        // A header that lacks its last byte.
        return writeBytes(path, QByteArray::fromHex("000000104B49564F00000101000000"));
    case NoSoundImage::Folder:
        return QDir().mkpath(path);
    case NoSoundImage::DanglingLink:
        return QFile::link(path + QStringLiteral(".gone"), path);
    case NoSoundImage::Device:
        return QFile::link(QStringLiteral("/dev/null"), path);
    }
    return false;
}

PipeOpener::PipeOpener(const QString &path, std::chrono::milliseconds deadline)
    : m_path(QFile::encodeName(path))
    , m_thread([this, deadline] { watch(deadline); })
{
}

PipeOpener::~PipeOpener()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_finish.notify_one();
    m_thread.join();
    if (m_readEnd >= 0)
        ::close(m_readEnd);
}

void PipeOpener::watch(std::chrono::milliseconds deadline)
{
    std::unique_lock lock(m_mutex);
    if (m_finish.wait_for(lock, deadline, [this] { return m_finished; }))
        return;
    // Code that waited once may open the pipe again.
    do
        openOtherEnds();
    while (!m_finish.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_finished; }));
}

void PipeOpener::openOtherEnds()
{
    m_opened = true;
    // A read end lets a writer that waits go on; it stays open, so that what the
    // writer writes has somewhere to go.
    if (m_readEnd < 0)
        m_readEnd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // A write end opened and closed lets a reader that waits go on to the end of the data.
    const int writeEnd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writeEnd >= 0)
        ::close(writeEnd);
}

} // namespace kivo::test
