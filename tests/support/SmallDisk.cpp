#include "SmallDisk.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace kivo::test {

SmallDisk::SmallDisk(const QString &folder, qint64 bytes)
    : m_folder(QDir::cleanPath(folder))
{
#ifdef Q_OS_LINUX
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        options.constData())
        == 0;
#else
    Q_UNUSED(bytes);
#endif
}

SmallDisk::~SmallDisk()
{
#ifdef Q_OS_LINUX
    // Lazily: a file that a failed test left open must not keep the mount.
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
#endif
}

bool SmallDisk::fill() const
{
#ifdef Q_OS_LINUX
    if (!m_mounted)
        return false;
    const QByteArray path = QFile::encodeName(QDir(m_folder).filePath(QStringLiteral(".filler")));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    // Whole blocks first, then single bytes for what a block no longer fits in.
    for (qsizetype size = block.size(); size > 0;) {
        if (::write(fd, block.constData(), static_cast<size_t>(size)) < 0) {
            if (errno != ENOSPC) {
                ::close(fd);
                return false;
            }
            size = size > 1 ? 1 : 0;
        }
    }
    ::close(fd);
    return true;
#else
    return false;
#endif
}

} // namespace kivo::test
