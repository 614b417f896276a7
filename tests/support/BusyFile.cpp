#include "BusyFile.h"

#include <QFile>

#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace kivo::test {

BusyFile::BusyFile(QString path)
    : m_path(std::move(path))
{
#ifdef Q_OS_LINUX
    const QByteArray file = QFile::encodeName(m_path);
    m_busy = ::mount(file.constData(), file.constData(), nullptr, MS_BIND, nullptr) == 0;
#endif
}

BusyFile::~BusyFile()
{
#ifdef Q_OS_LINUX
    if (m_busy)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
#endif
}

} // namespace kivo::test
