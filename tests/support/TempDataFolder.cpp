#include "TempDataFolder.h"

#include "model/Global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kivo::test {

TempDataFolder::TempDataFolder()
    : m_previous(dataPath())
{
    setDataPath(path());
}

TempDataFolder::~TempDataFolder()
{
    setDataPath(m_previous);
}

QString TempDataFolder::path() const
{
    return QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
}

QString TempDataFolder::filePath(const QString &name) const
{
    return path() + name;
}

QByteArray TempDataFolder::readBytes(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempDataFolder::writeBytes(const QString &name, const QByteArray &bytes) const
{
    const QString target = filePath(name);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace kivo::test
