#include "TemporarySettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace kivo::test {

namespace {
QString settingsFileBelow(const QString &folder)
{
    return folder + QStringLiteral("/Tulvex/Kivo Rudovaz.conf");
}

QString key(const QString &name)
{
    return QStringLiteral("1.0/") + name;
}
} // namespace

TemporarySettings::TemporarySettings()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolder()));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemFolder(0) + u':' + systemFolder(1)));
}

QString TemporarySettings::userFolder() const
{
    return m_root.filePath(QStringLiteral("user"));
}

QString TemporarySettings::systemFolder(int index) const
{
    return m_root.filePath(QStringLiteral("system%1").arg(index));
}

QString TemporarySettings::userFile() const
{
    return settingsFileBelow(userFolder());
}

QString TemporarySettings::systemFile(int index) const
{
    return settingsFileBelow(systemFolder(index));
}

void TemporarySettings::clear() const
{
    for (const QString &folder : {userFolder(), systemFolder(0), systemFolder(1)})
        QDir(folder).removeRecursively();
    QDir().mkpath(userFolder());
}

void TemporarySettings::store(const QString &file, const QString &name, const QVariant &value)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(key(name), value);
    settings.sync();
}

QVariant TemporarySettings::stored(const QString &file, const QString &name)
{
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(key(name));
}

} // namespace kivo::test
