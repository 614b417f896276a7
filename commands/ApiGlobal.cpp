#include "ApiGlobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>

#include <optional>

namespace kivo {

namespace {

QSettings::Scope scopeOf(RootKey hKey)
{
    return hKey == RootKey::HKEY_LOCAL_MACHINE ? QSettings::SystemScope : QSettings::UserScope;
}

// A key of the settings store is named by its path below the root, as on Windows:
// "SOFTWARE\<maker>\<product>" and any groups below it, so the program's own key is
// "SOFTWARE\Tulvex\Kivo Rudovaz\1.0". The maker and the product name the settings
// file (the registry key itself on Windows); the rest is the group inside it. A path
// of any other form names no key.
struct KeyPath {
    QString organization;
    QString application;
    QString group;
};

std::optional<KeyPath> parseKeyPath(const QString &keyName)
{
    const QStringList parts = keyName.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.front().compare(u"SOFTWARE", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return KeyPath{parts[1], parts[2], parts.mid(3).join(u'/')};
}

QString programKeyName()
{
    return QStringLiteral("SOFTWARE\\Tulvex\\Kivo Rudovaz\\1.0");
}

// Whether text of a settings file parses. The store parses a file once per process
// and tells only that first reader of damage; a copy of the text is read afresh.
// True when no copy can be made to tell.
bool parsesAfresh(const QByteArray &text)
{
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/kivo-settings-XXXXXX.conf"));
    if (!copy.open() || copy.write(text) != text.size() || !copy.flush())
        return true;
    QSettings probe(copy.fileName(), QSettings::IniFormat);
    probe.allKeys();
    return probe.status() == QSettings::NoError;
}

// One settings file per root stands for the settings key: the key exists while the
// file does. Reading the machine-wide values searches every system folder, since
// the installation may have placed them in any; per-user reads never fall back to
// machine-wide values.
class SettingsKey {
public:
    SettingsKey(RootKey hKey, const KeyPath &path)
        : m_settings(scopeOf(hKey), path.organization, path.application)
    {
        m_settings.setFallbacksEnabled(hKey == RootKey::HKEY_LOCAL_MACHINE);
        if (!path.group.isEmpty())
            m_settings.beginGroup(path.group);
    }
    explicit SettingsKey(RootKey hKey)
        : SettingsKey(hKey, *parseKeyPath(programKeyName()))
    {
    }

    QString fileName() const { return m_settings.fileName(); }
    bool exists() const { return QFileInfo::exists(fileName()); }
    // False when the store cannot read or parse the key whole.
    bool readsWhole()
    {
        // Groups are parsed when they are first looked at, and only then report damage.
        m_settings.allKeys();
        if (m_settings.status() != QSettings::NoError)
            return false;
#if !defined(Q_OS_WIN) && !defined(Q_OS_DARWIN)
        QFile file(fileName());
        return file.open(QIODevice::ReadOnly) && parsesAfresh(file.readAll());
#else
        return true;
#endif
    }
    QSettings &settings() noexcept { return m_settings; }

private:
    QSettings m_settings;
};

QVariant queryValueEx(QSettings &settings, const QString &valueName)
{
    return settings.value(valueName);
}

QString setValueEx(QSettings &settings, const QString &valueName, const QString &value)
{
    settings.setValue(valueName, value);
    settings.sync();
    return (settings.status() == QSettings::NoError ? MarkerSuccess : MarkerFailure).toString();
}

} // namespace

void createRegistryKey(RootKey hKey)
{
    const SettingsKey key(hKey);
    if (key.exists())
        return;
    const QFileInfo file(key.fileName());
    if (!QDir().mkpath(file.absolutePath()))
        return;
    QFile(file.absoluteFilePath()).open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

QString setRegistryValue(RootKey hKey, const QString &valueName, const QString &value)
{
    SettingsKey key(hKey);
    // A key that cannot be read whole is left as it is: writing it would drop what the
    // store could not read, which the user may yet mend.
    if (!key.exists() || !key.settings().isWritable() || !key.readsWhole())
        return MarkerFailure.toString();
    return setValueEx(key.settings(), valueName, value);
}

QString setRegistryValue(RootKey hKey, const QString &valueName, qint64 value)
{
    return setRegistryValue(hKey, valueName, QString::number(value));
}

QString getRegistryValue(RootKey hKey, const QString &valueName)
{
    SettingsKey key(hKey);
    const QVariant value = queryValueEx(key.settings(), valueName);
    if (value.typeId() == QMetaType::QString && !value.toString().isEmpty())
        return value.toString();
    // A stored number is a 32-bit one; its text is that of the signed value.
    if (isStoredNumber(value) && value.toLongLong() != 0)
        return QString::number(static_cast<qint32>(value.toLongLong()));
    return MarkerNone.toString();
}

bool isStoredNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
        return true;
    default:
        return false;
    }
}

QVariant queryRegistryValue(RootKey hKey, const QString &keyName, const QString &valueName)
{
    const std::optional<KeyPath> path = parseKeyPath(keyName);
    if (!path)
        return {};
    SettingsKey key(hKey, *path);
    return queryValueEx(key.settings(), valueName);
}

KeyState registryKeyState(RootKey hKey)
{
    SettingsKey key(hKey);
    if (!key.exists())
        return KeyState::Missing;
    if (!key.readsWhole())
        return KeyState::Unreadable;
    return key.settings().allKeys().isEmpty() ? KeyState::Empty : KeyState::HoldsValues;
}

QString registryKeyLocation(RootKey hKey)
{
    return QDir::toNativeSeparators(SettingsKey(hKey).fileName());
}

QString getPersonalFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

} // namespace kivo
