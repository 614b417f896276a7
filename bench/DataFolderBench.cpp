// Loading and saving a large data folder, and one add-and-save to a large library.
#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/ModalSeam.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int libraryRecords = 10000;
constexpr int loadListCount = 1000;

// Nothing in these runs should ask the user anything: a message box means a fault.
class NoQuestions final : public kivo::ModalSeam {
public:
    kivo::Answer messageBox(const kivo::MessageRequest &request) override
    {
        std::fprintf(stderr, "unexpected message box: %s\n", qPrintable(request.text));
        std::abort();
    }
    int execDialog(QDialog &) override { std::abort(); }
};

QString recordName(int i)
{
    return QStringLiteral("Sound image %1").arg(i);
}

kivo::ModelPtr libraryRecord(int i)
{
    return kivo::newModel(i, recordName(i),
                          QStringLiteral("/home/user/Sounds/bank %1/sound image %2.tvs").arg(i / 100).arg(i));
}

// A data folder with a full library and full load lists, written once for all runs.
class DataFolder {
public:
    DataFolder()
    {
        static NoQuestions seam;
        kivo::ModalSeam::install(&seam);
        kivo::setDataPath(QDir::toNativeSeparators(m_dir.path()) + QDir::separator());
        kivo::Library library;
        for (int i = 0; i < libraryRecords; ++i)
            library.add(libraryRecord(i));
        library.save();
        kivo::LoadLists lists;
        for (int l = 0; l < loadListCount; ++l) {
            QString name = QStringLiteral("Load list %1").arg(l);
            const kivo::LoadListPtr list = kivo::newLoadList(name);
            for (int location = 0; location < kivo::LoadList::locationCount; ++location)
                list->add(location, library.getModel((l * 12 + location) % libraryRecords + 1));
            lists.addLoadList(list);
        }
        lists.saveAll();
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
        library.save();
        loaded.lists.saveAll();
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
        loaded.lists.saveAll();
    }
}

void addAndSaveToLibrary(benchmark::State &state)
{
    dataFolder();
    LoadedFolder loaded;
    loaded.library.save();
    // The library file keeps what earlier repetitions added, so names go on from there.
    static int next = libraryRecords;
    for (auto _ : state) {
        loaded.library.add(libraryRecord(next++));
        loaded.library.save();
    }
}

void configure(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(loadWholeFolder)->Apply(configure);
BENCHMARK(saveWholeFolderChanged)->Apply(configure);
BENCHMARK(saveWholeFolderOneListChanged)->Apply(configure);
BENCHMARK(addAndSaveToLibrary)->Apply(configure);

BENCHMARK_MAIN();
