#include "Installation.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace kivo {

#ifndef Q_OS_WIN
namespace {

// The settings folder of the installation that holds the program, by the rule by
// which the installation places it: below the prefix, but in /etc for the system's
// own prefix /usr.
QString installedSettingsFolder(const QString &applicationDirPath)
{
    const QString sysconf = QStringLiteral(KIVO_SYSCONF_DIR);
    if (QDir::isAbsolutePath(sysconf))
        return QDir::cleanPath(sysconf + QStringLiteral("/xdg"));
    const QString prefix = QDir::cleanPath(applicationDirPath + u'/' + QStringLiteral(KIVO_PREFIX_FROM_BIN));
    const QString root = prefix == QStringLiteral("/usr") || prefix == QStringLiteral("/") ? QString() : prefix;
    return QDir::cleanPath(root + u'/' + sysconf + QStringLiteral("/xdg"));
}

} // namespace
#endif

void useInstalledSettings(const QString &applicationDirPath)
{
#ifdef Q_OS_WIN
    // The installation writes the registry itself there.
    Q_UNUSED(applicationDirPath);
#else
    const QString installed = installedSettingsFolder(applicationDirPath);
    QByteArray dirs = QFile::encodeName(installed);
    const QByteArray others = qgetenv("XDG_CONFIG_DIRS");
    // The search falls back to /etc/xdg only when the variable is unset.
    dirs += ':' + (others.isEmpty() ? QByteArray("/etc/xdg") : others);
    qputenv("XDG_CONFIG_DIRS", dirs);
#endif
}

QString commonDialogFileName()
{
    return QStringLiteral(KIVO_COMDLG_FILE_NAME);
}

QString kivotoolsFileName()
{
    return QStringLiteral(KIVO_KIVOTOOLS_FILE_NAME);
}

} // namespace kivo
