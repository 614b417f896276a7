// Loading and saving a large data folder, and one add-and-save to a large library.
#include "LargeDataFolder.h"
#include "SmokeRun.h"

#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

#include <benchmark/benchmark.h>

namespace {

using kivo::bench::libraryRecord;
using kivo::bench::libraryRecords;

// A data folder with a full library and full load lists, written once for all runs.
class DataFolder {
public:
    DataFolder()
    {
        static kivo::bench::NoQuestions seam;
        kivo::ModalSeam::install(&seam);
        kivo::setDataPath(QDir::toNativeSeparators(m_dir.path()) + QDir::separator());
        kivo::bench::writeLargeDataFolder();
    }

private:
    QTemporaryDir m_dir;
};

const DataFolder &dataFolder()
{
    static const DataFolder folder;
    return folder;
}

struct LoadedFolder {
    kivo::Library library;
    kivo::LoadLists lists;

    LoadedFolder()
    {
        kivo::loadFromFile(library.persistent(), QString());
        kivo::loadListOfLoadLists(lists);
        lists.fillLoadLists();
    }
};

void loadWholeFolder(benchmark::State &state)
{
    dataFolder();
    for (auto _ : state) {
        LoadedFolder loaded;
        benchmark::DoNotOptimize(loaded.library.getCount());
    }
}

// Every file gets new content: each list has two locations exchanged and the library
// has its first record moved to the end.
void saveWholeFolderChanged(benchmark::State &state)
{
    dataFolder();
    LoadedFolder loaded;
    for (auto _ : state) {
        for (const kivo::LoadListPtr &list : loaded.lists) {
            int second = 1;
            list->swap(0, second);
        }
        kivo::Library &library = loaded.library;
        const kivo::ModelPtr first = library.getModel(1);
        library.removeItem(first->name());
        library.add(first);
        if (library.save())
            std::abort();
        if (loaded.lists.saveAll())
            std::abort();
    }
}

// The save command after an edit of one list: every file is written again, and all but
// one already hold their content.
void saveWholeFolderOneListChanged(benchmark::State &state)
{
    dataFolder();
    LoadedFolder loaded;
    const kivo::LoadListPtr edited = *loaded.lists.begin();
    for (auto _ : state) {
        int second = 1;
        edited->swap(0, second);
        if (loaded.lists.saveAll())
            std::abort();
    }
}

void addAndSaveToLibrary(benchmark::State &state)
{
    dataFolder();
    LoadedFolder loaded;
    if (loaded.library.save())
        std::abort();
    // The library file keeps what earlier repetitions added, so names go on from there.
    static int next = libraryRecords;
    for (auto _ : state) {
        loaded.library.add(libraryRecord(next++));
        if (loaded.library.save())
            std::abort();
    }
}

void configure(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond);
    if (kivo::bench::smokeRun())
        b->Iterations(1);
    else
        b->Repetitions(7)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(loadWholeFolder)->Apply(configure);
BENCHMARK(saveWholeFolderChanged)->Apply(configure);
BENCHMARK(saveWholeFolderOneListChanged)->Apply(configure);
BENCHMARK(addAndSaveToLibrary)->Apply(configure);

BENCHMARK_MAIN();
