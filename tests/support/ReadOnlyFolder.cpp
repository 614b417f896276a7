#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace kivo::test {

ReadOnlyFolder::ReadOnlyFolder(const QString &folder)
    : m_folder(folder)
    , m_permissions(QFile::permissions(folder))
{
    QFile::setPermissions(folder, m_permissions
                                      & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup
                                          | QFileDevice::WriteOther));
    if (!isReadOnly())
        m_immutable = setImmutable(true);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_immutable)
        setImmutable(false);
    QFile::setPermissions(m_folder, m_permissions);
}

bool ReadOnlyFolder::isReadOnly() const
{
    QTemporaryFile probe(QDir(m_folder).filePath(QStringLiteral("probe")));
    return !probe.open();
}

bool ReadOnlyFolder::setImmutable(bool on) const
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#else
    Q_UNUSED(on);
    return false;
#endif
}

} // namespace kivo::test
