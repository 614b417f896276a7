#include "ApiGlobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace kivo {

namespace {

QSettings::Scope scopeOf(RootKey hKey)
{
    return hKey == RootKey::HKEY_LOCAL_MACHINE ? QSettings::SystemScope : QSettings::UserScope;
}

// One settings file per root stands for the settings key: the key exists while the
// file does. Reading the machine-wide values searches every system folder, since
// the installation may have placed them in any; per-user reads never fall back to
// machine-wide values.
class SettingsKey {
public:
    explicit SettingsKey(RootKey hKey)
        : m_settings(scopeOf(hKey), QStringLiteral("Tulvex"), QStringLiteral("Kivo Rudovaz"))
    {
        m_settings.setFallbacksEnabled(hKey == RootKey::HKEY_LOCAL_MACHINE);
        m_settings.beginGroup(QStringLiteral("1.0"));
    }

    QString fileName() const { return m_settings.fileName(); }
    bool exists() const { return QFileInfo::exists(fileName()); }
    QSettings &settings() noexcept { return m_settings; }

private:
    QSettings m_settings;
};

bool isNumber(const QVariant &value)
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
    if (!key.exists() || !key.settings().isWritable())
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
    if (isNumber(value) && value.toLongLong() != 0)
        return QString::number(static_cast<qint32>(value.toLongLong()));
    return MarkerNone.toString();
}

QString getPersonalFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

} // namespace kivo
