// Loaded into the installed program with LD_PRELOAD, before the program's own code
// runs: makes one call through the program's kivotools binding, prints the result
// and the file of every kivotools library then mapped into the process, and ends
// the process. This shows which copy of kivotools the installed program binds.

#include "platform/KivoTools.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QSet>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QSet<QString> mappedKivoTools()
{
    QSet<QString> files;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        return files;
    // The file reports no size, so it is read whole rather than line by line.
    const QStringList lines = QString::fromLocal8Bit(maps.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const qsizetype file = line.indexOf(u'/');
        if (file >= 0 && line.contains(QStringLiteral("kivotools")))
            files.insert(line.mid(file));
    }
    return files;
}

__attribute__((constructor)) void probe()
{
    const char *soundImage = std::getenv("KIVO_PROBE_FILE");
    if (soundImage == nullptr)
        return;
    int status = 0;
    try {
        kivo::KivoTools tools;
        std::printf("%d\n", tools.readTag(QString::fromLocal8Bit(soundImage)));
    } catch (const kivo::RuntimeError &error) {
        std::printf("%s\n", qPrintable(error.description()));
        status = 1;
    }
    for (const QString &file : mappedKivoTools())
        std::printf("%s\n", qPrintable(file));
    std::fflush(stdout);
    _exit(status);
}

} // namespace
