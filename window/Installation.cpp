#include "Installation.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace kivo {

void useInstalledSettings(const QString &applicationDirPath)
{
#ifdef Q_OS_WIN
    // The installation writes the registry itself there.
    Q_UNUSED(applicationDirPath);
#else
    const QString installed = QDir::cleanPath(applicationDirPath + QStringLiteral("/../etc/xdg"));
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
