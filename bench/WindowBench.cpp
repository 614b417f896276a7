// The main window over a large data folder: from its creation to its being shown with
// every list filled (less the installation checks' fixed pauses), and one add to the
// library through the presenter with the refill of the library list. With
// KIVO_BENCH_SMOKE set, one run shows that all of it still works.
#include "LargeDataFolder.h"
#include "SmokeRun.h"

#include "commands/ApiGlobal.h"
#include "commands/GlueProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "window/Installation.h"
#include "window/frmKivo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The splash screen pauses 5 x 150 ms by design.
constexpr double splashPauseMs = 750.0;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

// A user whose documents folder holds the large data folder, and an installation
// that passes the checks of the splash screen.
class Machine {
public:
    Machine()
    {
        const QString config = m_root.filePath(QStringLiteral("config"));
        const QString system = m_root.filePath(QStringLiteral("system"));
        const QString documents = m_root.filePath(QStringLiteral("Documents"));
        const QString install = m_root.filePath(QStringLiteral("install")) + QDir::separator();
        QDir().mkpath(config);
        QDir().mkpath(system + QStringLiteral("/Tulvex"));
        QDir().mkpath(install);
        qputenv("HOME", QFile::encodeName(m_root.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
        writeFile(config + QStringLiteral("/user-dirs.dirs"),
                  "XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documents) + "\"\n");
        for (const QString &name : {QStringLiteral("kivoHelp.hlp"), kivo::kivotoolsFileName()})
            writeFile(install + name, "installed\n");
        // The start-up loads the dialogs from there.
        QFile::copy(QStringLiteral(KIVO_COMMON_DIALOGS_LIBRARY), install + kivo::commonDialogFileName());
        QSettings machine(system + QStringLiteral("/Tulvex/Kivo Rudovaz.conf"), QSettings::IniFormat);
        machine.setValue(QStringLiteral("1.0/Path"), install);
        machine.setValue(QStringLiteral("1.0/System"), install);
        machine.sync();

        const QString data = documents + QStringLiteral("/My Kivo Rudovaz Files/");
        QDir().mkpath(data);
        kivo::createRegistryKey(kivo::RootKey::HKEY_CURRENT_USER);
        kivo::setRegistryValue(kivo::RootKey::HKEY_CURRENT_USER, QStringLiteral("Personal"), data);
        kivo::setDataPath(data);
        kivo::bench::writeLargeDataFolder();
        QDir().mkpath(soundFolder());
    }

    // Where the sound image files that the runs add are.
    QString soundFolder() const { return m_root.filePath(QStringLiteral("Sounds")); }

private:
    QTemporaryDir m_root;
};

double elapsedMs(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void report(const char *what, std::vector<double> times, double goalMs)
{
    std::sort(times.begin(), times.end());
    std::printf("%-58s min %8.1f ms  median %8.1f ms  max %8.1f ms  (goal under %.0f ms)\n", what, times.front(),
                times[times.size() / 2], times.back(), goalMs);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Machine machine;
    kivo::bench::NoQuestions seam;
    kivo::ModalSeam::install(&seam);

    const int runs = kivo::bench::smokeRun() ? 1 : 5;
    std::vector<double> startUps;
    std::vector<double> adds;
    for (int run = 0; run < runs; ++run) {
        kivo::Library library;
        kivo::LoadLists lists;
        QElapsedTimer timer;
        timer.start();
        kivo::frmKivo window(library, lists);
        window.setCommandLine(QString());
        if (!window.Form_Load() || !window.isVisible()) {
            std::fprintf(stderr, "the start-up failed\n");
            return 1;
        }
        startUps.push_back(elapsedMs(timer) - splashPauseMs);
        const auto *libraryList = window.findChild<QListWidget *>(QStringLiteral("objLibrary"));
        if (libraryList->count() != kivo::bench::libraryRecords || lists.getCount() != kivo::bench::loadListCount) {
            std::fprintf(stderr, "the lists were not filled: %d records, %d load lists\n", libraryList->count(),
                         lists.getCount());
            return 1;
        }

        const kivo::ModelPtr added =
            kivo::bench::writeSoundImage(machine.soundFolder(), kivo::bench::libraryRecords + run);
        timer.restart();
        window.glueProxy().sendFileHelper(added->name(), added->path());
        adds.push_back(elapsedMs(timer));
        if (libraryList->count() != kivo::bench::libraryRecords + 1) {
            std::fprintf(stderr, "the record was not added\n");
            return 1;
        }
        // The next run starts from the library as written.
        window.glueProxy().btnRemoveClick();
        window.close();
    }
    std::printf("Main window over %d records and %d load lists, %d runs\n", kivo::bench::libraryRecords,
                kivo::bench::loadListCount, runs);
    report("start-up until shown with the lists filled, less 750 ms", startUps, 300);
    report("one add to the library with the refill", adds, 50);
    return 0;
}
