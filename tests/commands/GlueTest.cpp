#include "commands/Glue.h"
#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/Library.h"
#include "model/LoadLists.h"

#include "FileSizeLimit.h"
#include "GlueFixture.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

using namespace kivo;

namespace {

struct Fixture : test::GlueFixture {
    void writeSound(const QString &name) { QVERIFY(GlueFixture::writeSound(name)); }
    void addSound(const QString &name, qint32 tag)
    {
        writeSound(name);
        glue.addToLibrary(tag, name, soundPath(name));
    }
    // A list with the named sounds at the given locations; the sounds join the library.
    void makeList(const QString &name, const QList<std::pair<int, QString>> &entries = {})
    {
        glue.createLL(name);
        for (const auto &[location, sound] : entries) {
            if (!library.nameExist(sound))
                addSound(sound, static_cast<qint32>(qHash(sound) & 0xffff));
            glue.addToLL(sound, location);
        }
    }
    QByteArray bytes(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList listNames() const
    {
        QStringList names;
        for (const LoadListPtr &list : lists)
            names.append(list->name());
        return names;
    }
    void forget()
    {
        listener.reset();
        seam.clear();
    }
};

using Step = std::function<void(Fixture &)>;

const QString lastLoaded = QStringLiteral("Last Loaded");

// Makes "Last Loaded" the active list the way a transfer leaves it: a copy of Live.
void recordLastLoaded(Fixture &f)
{
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}, {4, QStringLiteral("b")}});
    QString name = lastLoaded;
    auto copy = newLoadList(name);
    f.lists.addLoadList(copy);
    f.lists.copyInto(*f.lists.getLoadList(QStringLiteral("Live")), *copy);
    f.glue.setActiveLL(lastLoaded);
}

} // namespace

Q_DECLARE_METATYPE(Step)

class GlueTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandEvents_data();
    void commandEvents();
    void questionAnswers_data();
    void questionAnswers();
    void editOfLastLoadedGoesToLowestFreeCopy_data();
    void editOfLastLoadedGoesToLowestFreeCopy();
    void savingCommandsWriteTheirFiles_data();
    void savingCommandsWriteTheirFiles();
    void renameOntoTakenNameLosesNothing();
    void renameOnFullDiskKeepsTheList();
    void importKeepsEveryPathInsideThePackage_data();
    void importKeepsEveryPathInsideThePackage();
    void failedLibrarySaveTakesTheCommandBack_data();
    void failedLibrarySaveTakesTheCommandBack();
    void failedImportLeavesNothingBehind_data();
    void failedImportLeavesNothingBehind();
    void importNamesTheLinesThatItPassesOver_data();
    void importNamesTheLinesThatItPassesOver();
    void failedSaveIsReportedAndKeepsLists();
    void addToLLWithoutListShowsBox();
    void fileInfoNamesTheRecord_data();
    void fileInfoNamesTheRecord();
};

void GlueTest::commandEvents_data()
{
    QTest::addColumn<Step>("setup");
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("expected");

    const Step none = [](Fixture &) {};
    const Step live = [](Fixture &f) { f.makeList(QStringLiteral("Live")); };
    const Step liveWithA0 = [](Fixture &f) { f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}}); };
    // Names are the user's own text: markers such as "%1" in them must come out as typed.
    const QString bass = QStringLiteral("Bass %1");
    const QString pad = QStringLiteral("Pad %2");

    QTest::newRow("update without lists") << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << Step([](Fixture &f) { f.glue.update(); })
        << QStringList{QStringLiteral("LibraryChange(0 of 1)"), QStringLiteral("LoadListChange(none,0)"),
                       QStringLiteral("LoadListsChange(0 of 0)"),
                       QStringLiteral("UpdateStatusBar( Application loaded successfully)")};
    QTest::newRow("add to library selects new row") << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << Step([](Fixture &f) { f.addSound(QStringLiteral("b"), 6); })
        << QStringList{QStringLiteral("LibraryChange(1 of 2)"), QStringLiteral("UpdateStatusBar( File added)")};
    QTest::newRow("known tag wins over known name") << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << QStringList{QStringLiteral("FileAlreadyExist(5,a,a.tvs,a)")};
    QTest::newRow("first record of a tag is named") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), -1);
        f.library.add(newModel(-1, QStringLiteral("b"), f.soundPath(QStringLiteral("b"))));
    }) << Step([](Fixture &f) { f.addSound(QStringLiteral("c"), -1); })
        << QStringList{QStringLiteral("FileAlreadyExist(-1,c,c.tvs,a)")};
    QTest::newRow("known name") << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 6); })
        << QStringList{QStringLiteral("NameAlreadyExist(6,a,a.tvs)")};
    QTest::newRow("known name holding markers") << Step([bass](Fixture &f) { f.addSound(bass, 5); })
        << Step([bass](Fixture &f) { f.addSound(bass, 6); })
        << QStringList{QStringLiteral("NameAlreadyExist(6,Bass %1,Bass %1.tvs)")};
    QTest::newRow("known tag, names holding markers") << Step([pad](Fixture &f) { f.addSound(pad, 5); })
        << Step([bass](Fixture &f) { f.addSound(bass, 5); })
        << QStringList{QStringLiteral("FileAlreadyExist(5,Bass %1,Bass %1.tvs,Pad %2)")};
    QTest::newRow("remove from library") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), 5);
        f.addSound(QStringLiteral("b"), 6);
    }) << Step([](Fixture &f) { f.glue.removeFromLibrary(QStringLiteral("a"), 0); })
        << QStringList{QStringLiteral("LibraryChange(0 of 1)"), QStringLiteral("UpdateStatusBar( File removed)")};
    QTest::newRow("create list") << none << Step([](Fixture &f) { f.glue.createLL(QStringLiteral("Live")); })
        << QStringList{QStringLiteral("LoadListChange(Live,0)"), QStringLiteral("LoadListsChange(0 of 1)"),
                       QStringLiteral("UpdateStatusBar( Your new Load List is ready to go!)")};
    QTest::newRow("create taken name") << live << Step([](Fixture &f) { f.glue.createLL(QStringLiteral("LIVE")); })
        << QStringList{};
    QTest::newRow("remove asks first") << live << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("Live")); })
        << QStringList{QStringLiteral("ConfirmDelete(Live)")};
    QTest::newRow("remove asks first, name holding markers") << Step([pad](Fixture &f) { f.makeList(pad); })
        << Step([pad](Fixture &f) { f.glue.removeLL(pad); }) << QStringList{QStringLiteral("ConfirmDelete(Pad %2)")};
    QTest::newRow("remove with -1 asks") << live << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("Live"), -1); })
        << QStringList{QStringLiteral("ConfirmDelete(Live)")};
    QTest::newRow("remove last list") << live << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("Live"), 6); })
        << QStringList{QStringLiteral("LoadListChange(none,0)"), QStringLiteral("LoadListsChange(-1 of 0)"),
                       QStringLiteral("UpdateStatusBar( Load List removed!)")};
    QTest::newRow("remove activates last remaining") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("A"));
        f.makeList(QStringLiteral("B"));
        f.makeList(QStringLiteral("C"));
        f.glue.setActiveLL(QStringLiteral("C"));
    }) << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("C"), 6); })
        << QStringList{QStringLiteral("LoadListChange(B,0)"), QStringLiteral("LoadListsChange(1 of 2)"),
                       QStringLiteral("UpdateStatusBar( Load List removed!)")};
    QTest::newRow("remove without lists") << none << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("Live"), 6); })
        << QStringList{QStringLiteral("UpdateStatusBar( No valid Load List to delete)")};
    QTest::newRow("remove Last Loaded even confirmed") << Step(recordLastLoaded)
        << Step([](Fixture &f) { f.glue.removeLL(lastLoaded, 6); })
        << QStringList{QStringLiteral("UpdateStatusBar( Cannot delete the Load List \"Last Loaded\")")};
    QTest::newRow("add -1 to empty list") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), 5);
        f.makeList(QStringLiteral("Live"));
    }) << Step([](Fixture &f) { f.glue.addToLL(QStringLiteral("a"), -1); })
        << QStringList{QStringLiteral("LoadListChange(Live,1)"), QStringLiteral("UpdateStatusBar( Sound image added to Live)")};
    QTest::newRow("add to list whose name holds markers") << Step([bass, pad](Fixture &f) {
        f.addSound(bass, 5);
        f.makeList(pad);
    }) << Step([bass](Fixture &f) { f.glue.addToLL(bass, -1); })
        << QStringList{QStringLiteral("LoadListChange(Pad %2,1)"), QStringLiteral("UpdateStatusBar( Sound image added to Pad %2)")};
    QTest::newRow("add -1 to full list") << Step([](Fixture &f) {
        QList<std::pair<int, QString>> entries;
        for (int i = 0; i < 12; ++i)
            entries.append({-1, QStringLiteral("s%1").arg(i)});
        f.makeList(QStringLiteral("Live"), entries);
        f.addSound(QStringLiteral("extra"), 99);
    }) << Step([](Fixture &f) { f.glue.addToLL(QStringLiteral("extra"), -1); })
        << QStringList{QStringLiteral("LocationNotEmpty(s0,0,extra)")};
    QTest::newRow("add to occupied location") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("Live"), {{3, QStringLiteral("a")}});
        f.addSound(QStringLiteral("b"), 77);
    }) << Step([](Fixture &f) { f.glue.addToLL(QStringLiteral("b"), 3); })
        << QStringList{QStringLiteral("LocationNotEmpty(a,3,b)")};
    QTest::newRow("add to occupied location, names holding markers") << Step([bass, pad](Fixture &f) {
        f.makeList(QStringLiteral("Live"), {{3, bass}});
        f.addSound(pad, 77);
    }) << Step([pad](Fixture &f) { f.glue.addToLL(pad, 3); })
        << QStringList{QStringLiteral("LocationNotEmpty(Bass %1,3,Pad %2)")};
    QTest::newRow("add with missing file") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), 5);
        f.makeList(QStringLiteral("Live"));
        QFile::remove(f.soundPath(QStringLiteral("a")));
    }) << Step([](Fixture &f) { f.glue.addToLL(QStringLiteral("a"), 2); })
        << QStringList{QStringLiteral("FilesDoesNotExist(a.tvs,2,a)")};
    QTest::newRow("add with missing file, name holding markers") << Step([bass](Fixture &f) {
        f.addSound(bass, 5);
        f.makeList(QStringLiteral("Live"));
        QFile::remove(f.soundPath(bass));
    }) << Step([bass](Fixture &f) { f.glue.addToLL(bass, 2); })
        << QStringList{QStringLiteral("FilesDoesNotExist(Bass %1.tvs,2,Bass %1)")};
    QTest::newRow("add without list") << Step([](Fixture &f) { f.addSound(QStringLiteral("a"), 5); })
        << Step([](Fixture &f) { f.glue.addToLL(QStringLiteral("a"), -1); })
        << QStringList{QStringLiteral("NoActiveList( There is no Active Load List)")};
    QTest::newRow("remove location 0") << liveWithA0 << Step([](Fixture &f) { f.glue.removeFromLL(0); })
        << QStringList{QStringLiteral("LoadListChange(Live,0)"), QStringLiteral("UpdateStatusBar( Location 1 removed)")};
    QTest::newRow("remove location 11") << liveWithA0 << Step([](Fixture &f) { f.glue.removeFromLL(11); })
        << QStringList{QStringLiteral("LoadListChange(Live,11)"), QStringLiteral("UpdateStatusBar( Location 12 removed)")};
    QTest::newRow("move first up wraps to 11") << liveWithA0 << Step([](Fixture &f) { f.glue.swapModels(0, -1); })
        << QStringList{QStringLiteral("LoadListChange(Live,11)"), QStringLiteral("UpdateStatusBar( Sound Image location swapped)")};
    QTest::newRow("move last down wraps to 0") << liveWithA0 << Step([](Fixture &f) { f.glue.swapModels(11, 12); })
        << QStringList{QStringLiteral("LoadListChange(Live,0)"), QStringLiteral("UpdateStatusBar( Sound Image location swapped)")};
    QTest::newRow("remove location without active list") << none << Step([](Fixture &f) { f.glue.removeFromLL(0); })
        << QStringList{};
    QTest::newRow("swap without active list") << none << Step([](Fixture &f) { f.glue.swapModels(0, 1); })
        << QStringList{};
    QTest::newRow("activate list") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("A"));
        f.makeList(QStringLiteral("B"));
    }) << Step([](Fixture &f) { f.glue.setActiveLL(QStringLiteral("a")); })
        << QStringList{QStringLiteral("LoadListChange(A,0)")};
    QTest::newRow("export without lists") << none
        << Step([](Fixture &f) { f.glue.exportLL(QStringLiteral("Gig"), f.dir.path() + QDir::separator()); })
        << QStringList{QStringLiteral("UpdateStatusBar( There is no Load List to export)")};
    QTest::newRow("export without name") << live
        << Step([](Fixture &f) { f.glue.exportLL(QString(), f.dir.path() + QDir::separator()); })
        << QStringList{QStringLiteral("UpdateStatusBar( File name/File path is not valid)")};
    QTest::newRow("export without folder") << live << Step([](Fixture &f) { f.glue.exportLL(QStringLiteral("Gig"), QString()); })
        << QStringList{QStringLiteral("UpdateStatusBar( File name/File path is not valid)")};
    QTest::newRow("export under a name too long for a file") << liveWithA0
        << Step([](Fixture &f) { f.glue.exportLL(QString(252, u'g'), f.dir.path() + QDir::separator()); })
        << QStringList{QStringLiteral("UpdateStatusBar( File name/File path is not valid)")};
    QTest::newRow("export") << liveWithA0
        << Step([](Fixture &f) { f.glue.exportLL(QStringLiteral("Gig"), f.dir.path() + QDir::separator()); })
        << QStringList{QStringLiteral("UpdateStatusBar( File exported successfully!)")};
    QTest::newRow("import of missing file") << live
        << Step([](Fixture &f) { f.glue.importLL(QStringLiteral("/no/such/Gig.kxf"), QStringLiteral("Gig")); })
        << QStringList{QStringLiteral("UpdateStatusBar( File /no/such/Gig.kxf is not valid!)")};
    QTest::newRow("import of missing file, names holding markers") << live
        << Step([bass, pad](Fixture &f) { f.glue.importLL(QStringLiteral("/no/such/") + bass + QStringLiteral(".kxf"), pad); })
        << QStringList{QStringLiteral("UpdateStatusBar( File /no/such/Bass %1.kxf is not valid!)")};
    QTest::newRow("import under taken name") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
        f.glue.exportLL(QStringLiteral("Gig"), f.dir.path() + QDir::separator());
    }) << Step([](Fixture &f) { f.glue.importLL(f.dir.path() + QStringLiteral("/Gig/Gig.kxf"), QStringLiteral("live")); })
        << QStringList{QStringLiteral("UpdateStatusBar( File import failed!)")};
    QTest::newRow("import") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
        f.glue.exportLL(QStringLiteral("Gig"), f.dir.path() + QDir::separator());
    }) << Step([](Fixture &f) { f.glue.importLL(f.dir.path() + QStringLiteral("/Gig/Gig.kxf"), QStringLiteral("Gig")); })
        << QStringList{QStringLiteral("LoadListChange(Gig,0)"), QStringLiteral("LoadListsChange(1 of 2)"),
                       QStringLiteral("UpdateStatusBar( Your new Load List is ready to go!)"),
                       QStringLiteral("UpdateStatusBar( Your Load List has been saved)"), QStringLiteral("LoadListChange(Gig,0)"),
                       QStringLiteral("UpdateStatusBar( File imported successfully!)")};
    QTest::newRow("save all without lists") << none << Step([](Fixture &f) { QVERIFY(!f.glue.saveAll()); })
        << QStringList{QStringLiteral("UpdateStatusBar( There is nothing to save)")};
    QTest::newRow("save all") << live << Step([](Fixture &f) { QVERIFY(!f.glue.saveAll()); })
        << QStringList{QStringLiteral("UpdateStatusBar( All of your Load Lists has been saved)")};
    QTest::newRow("save list without lists") << none << Step([](Fixture &f) { QVERIFY(!f.glue.saveLL()); }) << QStringList{};
    QTest::newRow("rename without active list") << none
        << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("Gig"), QStringLiteral("Live")); })
        << QStringList{QStringLiteral("UpdateStatusBar( You have no Load List to rename)")};
    QTest::newRow("rename Last Loaded") << Step(recordLastLoaded)
        << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("Gig"), lastLoaded); })
        << QStringList{QStringLiteral("UpdateStatusBar( Cannot rename the Load List \"Last Loaded\")")};
    QTest::newRow("rename") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("A"));
        f.makeList(QStringLiteral("B"));
        f.glue.setActiveLL(QStringLiteral("A"));
    }) << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("Gig"), QStringLiteral("A")); })
        << QStringList{QStringLiteral("LoadListsChange(1 of 2)"), QStringLiteral("UpdateStatusBar( Your Load List has been saved)")};
    QTest::newRow("rename to a name too long for a file") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("A"), {{0, QStringLiteral("a")}});
        f.makeList(QStringLiteral("B"));
        f.glue.setActiveLL(QStringLiteral("A"));
    }) << Step([](Fixture &f) { f.glue.renameLL(QString(253, u'g'), QStringLiteral("A")); })
        << QStringList{QStringLiteral("UpdateStatusBar( Your Load Lists could not be saved)")};
    QTest::newRow("rename onto taken name") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("A"));
        f.makeList(QStringLiteral("B"));
    }) << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("a"), QStringLiteral("B")); })
        << QStringList{QStringLiteral("UpdateStatusBar( A Load List named a already exists)")};
    QTest::newRow("rename onto taken name holding markers") << Step([pad](Fixture &f) {
        f.makeList(pad);
        f.makeList(QStringLiteral("B"));
    }) << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("pad %2"), QStringLiteral("B")); })
        << QStringList{QStringLiteral("UpdateStatusBar( A Load List named pad %2 already exists)")};
    QTest::newRow("file info of nothing") << liveWithA0
        << Step([](Fixture &f) { f.glue.getFileInfo(QString(), QStringLiteral("Library"), 3); })
        << QStringList{QStringLiteral("UpdateStatusBar()"), QStringLiteral("UpdateFileInfo(,0)")};
    QTest::newRow("file info of other source") << liveWithA0
        << Step([](Fixture &f) { f.glue.getFileInfo(QStringLiteral("a"), QStringLiteral("library"), 0); })
        << QStringList{};
}

void GlueTest::commandEvents()
{
    QFETCH(Step, setup);
    QFETCH(Step, command);
    QFETCH(QStringList, expected);

    Fixture f;
    setup(f);
    f.forget();
    command(f);
    QCOMPARE(f.listener.events, expected);
    QCOMPARE(f.seam.unexpected(), 0);
}

void GlueTest::questionAnswers_data()
{
    QTest::addColumn<Step>("scenario");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Step>("check");

    QTest::newRow("replace after known tag") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("old"), 5);
        f.addSound(QStringLiteral("other"), 6);
        f.writeSound(QStringLiteral("new"));
        f.forget();
        f.listener.onFileAlreadyExist = [&f](qint32 tag, const QString &name, const QString &path, const QString &old) {
            f.glue.removeFromLibrary(old, -1);
            f.glue.addToLibrary(tag, name, path);
        };
        f.glue.addToLibrary(5, QStringLiteral("new"), f.soundPath(QStringLiteral("new")));
    }) << QStringList{QStringLiteral("FileAlreadyExist(5,new,new.tvs,old)"), QStringLiteral("LibraryChange(-1 of 1)"),
                      QStringLiteral("UpdateStatusBar( File removed)"), QStringLiteral("LibraryChange(1 of 2)"),
                      QStringLiteral("UpdateStatusBar( File added)")}
       << Step([](Fixture &f) {
              QVERIFY(!f.library.nameExist(QStringLiteral("old")));
              QCOMPARE(f.library.getModel(2)->name(), QStringLiteral("new"));
          });
    QTest::newRow("other name after known name") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), 5);
        f.writeSound(QStringLiteral("b"));
        f.forget();
        f.listener.onNameAlreadyExist = [&f](qint32 tag, const QString &, const QString &path) {
            f.glue.addToLibrary(tag, QStringLiteral("a2"), path);
        };
        f.glue.addToLibrary(6, QStringLiteral("a"), f.soundPath(QStringLiteral("b")));
    }) << QStringList{QStringLiteral("NameAlreadyExist(6,a,b.tvs)"), QStringLiteral("LibraryChange(1 of 2)"),
                      QStringLiteral("UpdateStatusBar( File added)")}
       << Step([](Fixture &f) { QCOMPARE(f.library.getModel(QStringLiteral("a2"))->tag(), 6); });
    QTest::newRow("replace occupied location") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("Live"), {{3, QStringLiteral("a")}});
        f.addSound(QStringLiteral("b"), 77);
        f.forget();
        f.listener.onLocationNotEmpty = [&f](const QString &, int location, const QString &name) {
            f.glue.removeFromLL(location);
            f.glue.addToLL(name, location);
        };
        f.glue.addToLL(QStringLiteral("b"), 3);
    }) << QStringList{QStringLiteral("LocationNotEmpty(a,3,b)"), QStringLiteral("LoadListChange(Live,3)"),
                      QStringLiteral("UpdateStatusBar( Location 4 removed)"), QStringLiteral("LoadListChange(Live,4)"),
                      QStringLiteral("UpdateStatusBar( Sound image added to Live)")}
       << Step([](Fixture &f) {
              const LoadListPtr live = f.lists.getLoadList(QStringLiteral("Live"));
              QCOMPARE(live->getModel(3), f.library.getModel(QStringLiteral("b")));
              QCOMPARE(live->count(), 1);
          });
    QTest::newRow("confirm delete") << Step([](Fixture &f) {
        f.makeList(QStringLiteral("Live"));
        f.forget();
        f.listener.onConfirmDelete = [&f](const QString &name) { f.glue.removeLL(name, 6); };
        f.glue.removeLL(QStringLiteral("Live"), -1);
    }) << QStringList{QStringLiteral("ConfirmDelete(Live)"), QStringLiteral("LoadListChange(none,0)"),
                      QStringLiteral("LoadListsChange(-1 of 0)"), QStringLiteral("UpdateStatusBar( Load List removed!)")}
       << Step([](Fixture &f) {
              QCOMPARE(f.lists.getCount(), 0);
              QVERIFY(!QFile::exists(f.dataFile(QStringLiteral("Live.dat"))));
          });
    QTest::newRow("retry after missing file") << Step([](Fixture &f) {
        f.addSound(QStringLiteral("a"), 5);
        f.makeList(QStringLiteral("Live"));
        QFile::rename(f.soundPath(QStringLiteral("a")), f.soundPath(QStringLiteral("away")));
        f.forget();
        f.listener.onFilesDoesNotExist = [&f](const QString &path, int location, const QString &key) {
            QFile::rename(f.soundPath(QStringLiteral("away")), path);
            f.glue.addToLL(key, location);
        };
        f.glue.addToLL(QStringLiteral("a"), 7);
    }) << QStringList{QStringLiteral("FilesDoesNotExist(a.tvs,7,a)"), QStringLiteral("LoadListChange(Live,8)"),
                      QStringLiteral("UpdateStatusBar( Sound image added to Live)")}
       << Step([](Fixture &f) { QCOMPARE(f.lists.getLoadList(QStringLiteral("Live"))->getModel(7)->name(), QStringLiteral("a")); });
}

void GlueTest::questionAnswers()
{
    QFETCH(Step, scenario);
    QFETCH(QStringList, expected);
    QFETCH(Step, check);

    Fixture f;
    scenario(f);
    QCOMPARE(f.listener.events, expected);
    check(f);
}

void GlueTest::editOfLastLoadedGoesToLowestFreeCopy_data()
{
    QTest::addColumn<QStringList>("untitled");
    QTest::addColumn<Step>("edit");
    QTest::addColumn<QStringList>("editedLocations");
    QTest::addColumn<QString>("copyName");

    const QStringList oneAndThree{QStringLiteral("Untitled1"), QStringLiteral("Untitled3")};
    const Step add = [](Fixture &f) { f.glue.addToLL(QStringLiteral("c"), -1); };
    const QStringList added{QStringLiteral("0:a"), QStringLiteral("1:c"), QStringLiteral("4:b")};

    QTest::newRow("add") << oneAndThree << add << added << QStringLiteral("Untitled2");
    QTest::newRow("remove") << oneAndThree << Step([](Fixture &f) { f.glue.removeFromLL(4); })
                            << QStringList{QStringLiteral("0:a")} << QStringLiteral("Untitled2");
    QTest::newRow("swap") << oneAndThree << Step([](Fixture &f) { f.glue.swapModels(0, -1); })
                          << QStringList{QStringLiteral("4:b"), QStringLiteral("11:a")} << QStringLiteral("Untitled2");
    QTest::newRow("add, no copy yet") << QStringList{} << add << added << QStringLiteral("Untitled1");
    QTest::newRow("add, other names only") << QStringList{QStringLiteral("Untitled"), QStringLiteral("Untitled2")}
                                           << add << added << QStringLiteral("Untitled1");
}

void GlueTest::editOfLastLoadedGoesToLowestFreeCopy()
{
    QFETCH(QStringList, untitled);
    QFETCH(Step, edit);
    QFETCH(QStringList, editedLocations);
    QFETCH(QString, copyName);

    Fixture f;
    f.addSound(QStringLiteral("c"), 3);
    for (const QString &name : untitled)
        f.makeList(name);
    recordLastLoaded(f);
    f.forget();

    edit(f);

    const auto describe = [](const LoadList &list) {
        QStringList entries;
        for (int i = 0; i < 12; ++i) {
            if (const ModelPtr m = list.getModel(i))
                entries.append(QStringLiteral("%1:%2").arg(i).arg(m->name()));
        }
        return entries;
    };
    const LoadListPtr copy = f.lists.getLoadList(copyName);
    QVERIFY(copy);
    QCOMPARE(copy->name(), copyName);
    QCOMPARE(f.glue.getActiveLoadList(), copy);
    QCOMPARE(describe(*copy), editedLocations);
    QCOMPARE(describe(*f.lists.getLoadList(lastLoaded)), (QStringList{QStringLiteral("0:a"), QStringLiteral("4:b")}));
    QVERIFY(QFile::exists(f.dataFile(copyName + QStringLiteral(".dat"))));
    QVERIFY(f.bytes(f.dataFile(QStringLiteral("ListOfLL.kvl"))).contains((copyName + QStringLiteral("\r\n")).toUtf8()));
    // The untitled lists, "Live", "Last Loaded" and the copy, which is selected as the last row.
    const qsizetype count = untitled.size() + 3;
    QCOMPARE(f.listener.events.mid(0, 2),
             (QStringList{QStringLiteral("LoadListChange(") + copyName + QStringLiteral(",0)"),
                          QStringLiteral("LoadListsChange(%1 of %2)").arg(count - 1).arg(count)}));
}

void GlueTest::savingCommandsWriteTheirFiles_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("dataFiles");
    QTest::addColumn<QByteArray>("listOfLists");

    QTest::newRow("location edits stay in memory") << Step([](Fixture &f) {
        f.glue.addToLL(QStringLiteral("b"), 5);
        f.glue.swapModels(0, 1);
        f.glue.removeFromLL(1);
    }) << QStringList{QStringLiteral("Library.dat"), QStringLiteral("ListOfLL.kvl"), QStringLiteral("Live.dat")}
       << QByteArray("Live\r\n\r\n");
    QTest::newRow("create") << Step([](Fixture &f) { f.glue.createLL(QStringLiteral("Gig")); })
        << QStringList{QStringLiteral("Gig.dat"), QStringLiteral("Library.dat"), QStringLiteral("ListOfLL.kvl"), QStringLiteral("Live.dat")}
        << QByteArray("Live\r\nGig\r\n\r\n");
    QTest::newRow("remove") << Step([](Fixture &f) { f.glue.removeLL(QStringLiteral("Live"), 6); })
        << QStringList{QStringLiteral("Library.dat"), QStringLiteral("ListOfLL.kvl")} << QByteArray("\r\n");
    QTest::newRow("rename") << Step([](Fixture &f) { f.glue.renameLL(QStringLiteral("Gig"), QStringLiteral("Live")); })
        << QStringList{QStringLiteral("Gig.dat"), QStringLiteral("Library.dat"), QStringLiteral("ListOfLL.kvl")}
        << QByteArray("Gig\r\n\r\n");
    QTest::newRow("save all") << Step([](Fixture &f) { QVERIFY(!f.glue.saveAll()); })
        << QStringList{QStringLiteral("Library.dat"), QStringLiteral("ListOfLL.kvl"), QStringLiteral("Live.dat")}
        << QByteArray("Live\r\n\r\n");
}

void GlueTest::savingCommandsWriteTheirFiles()
{
    QFETCH(Step, command);
    QFETCH(QStringList, dataFiles);
    QFETCH(QByteArray, listOfLists);

    Fixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
    f.addSound(QStringLiteral("b"), 9);
    const QByteArray liveBefore = f.bytes(f.dataFile(QStringLiteral("Live.dat")));
    QCOMPARE(liveBefore, QByteArray("\r\n"));

    command(f);

    QDir data(f.dataFolder());
    QCOMPARE(data.entryList(QDir::Files, QDir::Name), dataFiles);
    QCOMPARE(f.bytes(f.dataFile(QStringLiteral("ListOfLL.kvl"))), listOfLists);
    const LoadListPtr active = f.glue.getActiveLoadList();
    if (active && QTest::currentDataTag() != QByteArrayLiteral("location edits stay in memory")) {
        QByteArray expected;
        for (int i = 0; i < 12; ++i) {
            if (const ModelPtr m = active->getModel(i))
                expected += QStringLiteral("%1\t%2\t%3\t%4\r\n").arg(i).arg(m->tag()).arg(m->name(), m->path()).toUtf8();
        }
        QCOMPARE(f.bytes(f.dataFile(active->name() + QStringLiteral(".dat"))), expected + "\r\n");
    } else if (active) {
        QCOMPARE(f.bytes(f.dataFile(QStringLiteral("Live.dat"))), liveBefore);
    }
}

void GlueTest::renameOntoTakenNameLosesNothing()
{
    Fixture f;
    f.makeList(QStringLiteral("A"), {{0, QStringLiteral("a")}});
    f.makeList(QStringLiteral("B"), {{1, QStringLiteral("b")}});
    QVERIFY(!f.glue.saveAll());
    const QByteArray fileA = f.bytes(f.dataFile(QStringLiteral("A.dat")));
    const QByteArray fileB = f.bytes(f.dataFile(QStringLiteral("B.dat")));

    f.glue.renameLL(QStringLiteral("A"), QStringLiteral("B"));

    QCOMPARE(f.listNames(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(f.glue.getActiveLoadList()->name(), QStringLiteral("B"));
    QCOMPARE(f.bytes(f.dataFile(QStringLiteral("A.dat"))), fileA);
    QCOMPARE(f.bytes(f.dataFile(QStringLiteral("B.dat"))), fileB);

    f.glue.renameLL(QStringLiteral("b"), QStringLiteral("B"));
    QCOMPARE(f.listNames(), (QStringList{QStringLiteral("A"), QStringLiteral("b")}));
    QCOMPARE(f.bytes(f.dataFile(QStringLiteral("b.dat"))), fileB);
}

namespace {
QStringList describeLists(const LoadLists &lists)
{
    QStringList lines;
    for (const LoadListPtr &list : lists) {
        QString line = list->name() + u':';
        for (int i = 0; i < 12; ++i) {
            if (const ModelPtr m = list->getModel(i))
                line += QStringLiteral(" %1=%2").arg(i).arg(m->name());
        }
        lines.append(line);
    }
    return lines;
}

// The lists as the next start of the program finds them in the data folder.
QStringList listsAfterRestart()
{
    LoadLists restarted;
    loadListOfLoadLists(restarted);
    restarted.fillLoadLists();
    return describeLists(restarted);
}

QStringList libraryNames(const Library &library)
{
    QStringList names;
    for (const ModelPtr &m : library)
        names.append(m->name());
    return names;
}

// The library as the next start of the program finds it in the data folder.
QStringList libraryAfterRestart()
{
    Library restarted;
    loadFromFile(restarted.persistent(), QString());
    return libraryNames(restarted);
}

// Every file of the data folder with its bytes.
QMap<QString, QByteArray> dataFiles(const Fixture &f)
{
    QMap<QString, QByteArray> files;
    for (const QString &file : QDir(f.dataFolder()).entryList(QDir::Files))
        files.insert(file, f.bytes(f.dataFile(file)));
    return files;
}

#ifdef Q_OS_UNIX
// While it lives, writing to the data folder fails: on a full disk no file may grow
// beyond `room` bytes; without room, the folder cannot be written at all.
struct FailingDataFolder {
    std::optional<test::FileSizeLimit> fullDisk;
    std::optional<test::ReadOnlyFolder> readOnly;

    FailingDataFolder(const QString &folder, std::optional<rlim_t> room)
    {
        if (room)
            fullDisk.emplace(*room);
        else
            readOnly.emplace(folder);
    }
    bool fails() const { return fullDisk || readOnly->isReadOnly(); }
};
#endif

const QString librarySaveFailure =
    QStringLiteral("Could not save Sound Image list file\r\nKivo Rudovaz Data Path does not exist");
} // namespace

void GlueTest::renameOnFullDiskKeepsTheList()
{
#ifdef Q_OS_UNIX
    Fixture f;
    f.makeList(QStringLiteral("Alpha"), {{0, QStringLiteral("a")}, {4, QStringLiteral("b")}, {9, QStringLiteral("c")}});
    // Lists with long names make the list-of-load-lists file larger than a list's file.
    for (const char16_t letter : {u'p', u'q', u'r', u's'})
        f.makeList(QString(200, letter));
    f.glue.setActiveLL(QStringLiteral("Alpha"));
    const QStringList before = describeLists(f.lists);
    QCOMPARE(listsAfterRestart(), before);
    QVERIFY(QFileInfo(f.dataFile(QStringLiteral("Alpha.dat"))).size() < 400);
    f.forget();

    {
        test::FileSizeLimit fullDisk(400);
        f.glue.renameLL(QStringLiteral("Gamma"), QStringLiteral("Alpha"));
    }

    QCOMPARE(f.listener.events, QStringList{QStringLiteral("UpdateStatusBar( Your Load Lists could not be saved)")});
    QCOMPARE(describeLists(f.lists), before);
    QCOMPARE(f.glue.getActiveLoadList()->name(), QStringLiteral("Alpha"));
    QVERIFY(!QFileInfo::exists(f.dataFile(QStringLiteral("Gamma.dat"))));
    QCOMPARE(listsAfterRestart(), before);
#else
    QSKIP("needs a file size limit");
#endif
}

void GlueTest::importKeepsEveryPathInsideThePackage_data()
{
    QTest::addColumn<QString>("soundFile"); // the sound image's file field in the export file
    QTest::addColumn<QString>("refusal");   // why the package is refused; empty: imported

    const QString outside = QStringLiteral(" is not in the folder of the export file");
    QTest::newRow("file name alone") << QStringLiteral("kick.tvs") << QString();
    QTest::newRow("file in a subfolder") << QStringLiteral("sub/kick.tvs") << QString();
    QTest::newRow("link to a file of the package") << QStringLiteral("inner-link.tvs") << QString();
    QTest::newRow("climbing out") << QStringLiteral("../sounds/secret.tvs") << outside;
    QTest::newRow("climbing out through a subfolder") << QStringLiteral("sub/../../sounds/secret.tvs") << outside;
    QTest::newRow("absolute path") << QStringLiteral("<absolute>") << outside;
    QTest::newRow("link that leads out") << QStringLiteral("outer-link.tvs") << outside;
    QTest::newRow("link to nothing") << QStringLiteral("dangling.tvs") << outside;
    QTest::newRow("file missing from the package") << QStringLiteral("snare.tvs")
                                                   << QStringLiteral(" is missing from the folder of the export file");
    QTest::newRow("folder in place of the file") << QStringLiteral("sub")
                                                 << QStringLiteral(" is missing from the folder of the export file");
}

void GlueTest::importKeepsEveryPathInsideThePackage()
{
    QFETCH(QString, soundFile);
    QFETCH(QString, refusal);

    Fixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
    f.writeSound(QStringLiteral("secret"));
    const QString package = f.dir.path() + QStringLiteral("/Gig/");
    QVERIFY(QDir().mkpath(package + QStringLiteral("sub")));
    for (const QString &file : {QStringLiteral("kick.tvs"), QStringLiteral("sub/kick.tvs")}) {
        QFile sound(package + file);
        QVERIFY(sound.open(QIODevice::WriteOnly) && sound.write("kick") == 4);
    }
    QVERIFY(QFile::link(package + QStringLiteral("kick.tvs"), package + QStringLiteral("inner-link.tvs")));
    QVERIFY(QFile::link(f.soundPath(QStringLiteral("secret")), package + QStringLiteral("outer-link.tvs")));
    QVERIFY(QFile::link(f.dir.path() + QStringLiteral("/sounds/gone.tvs"), package + QStringLiteral("dangling.tvs")));
    if (soundFile == QStringLiteral("<absolute>"))
        soundFile = f.soundPath(QStringLiteral("secret"));
    QFile exportFile(package + QStringLiteral("Gig.kxf"));
    QVERIFY(exportFile.open(QIODevice::WriteOnly));
    exportFile.write("1\t7\tKick\tkick.tvs\r\n3\t9\tSound\t" + soundFile.toUtf8() + "\r\n\r\n");
    exportFile.close();
    const QMap<QString, QByteArray> dataBefore = dataFiles(f);
    f.forget();

    f.glue.importLL(package + QStringLiteral("Gig.kxf"), QStringLiteral("Gig"));

    if (refusal.isEmpty()) {
        QCOMPARE(f.listener.statusTexts().constLast(), QStringLiteral(" File imported successfully!"));
        QCOMPARE(f.glue.getActiveLoadList()->getModel(3)->path(), package + soundFile);
        QCOMPARE(f.seam.messages().size(), 0);
        return;
    }
    QCOMPARE(f.seam.messageTexts(), QStringList{QStringLiteral("Cannot import ") + package + QStringLiteral("Gig.kxf\r\n")
                                                + QStringLiteral("The Sound Image file ") + soundFile + refusal});
    QCOMPARE(f.listener.events, QStringList{QStringLiteral("UpdateStatusBar( File import failed!)")});
    QCOMPARE(f.listNames(), QStringList{QStringLiteral("Live")});
    QCOMPARE(dataFiles(f), dataBefore);
}

void GlueTest::failedLibrarySaveTakesTheCommandBack_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<bool>("readOnly"); // else a full disk
    QTest::addColumn<QString>("failed");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QString>("box");

    const Step add = [](Fixture &f) { f.glue.addToLibrary(3, QStringLiteral("c"), f.soundPath(QStringLiteral("c"))); };
    const Step remove = [](Fixture &f) { f.glue.removeFromLibrary(QStringLiteral("a"), 0); };
    const QString notAdded = QStringLiteral(" File not added: the library could not be saved");
    const QString notRemoved = QStringLiteral(" File not removed: the library could not be saved");

    // A full disk is told as the system tells it; a folder that takes no file cannot be
    // told from one that is gone.
    const QString fullDisk = QStringLiteral("Could not save Sound Image list file\r\nFile too large");
    QTest::newRow("add on a full disk") << add << false << notAdded << QStringLiteral(" File added") << fullDisk;
    QTest::newRow("add in a read-only data folder")
        << add << true << notAdded << QStringLiteral(" File added") << librarySaveFailure;
    // Removing makes the file shorter, which a full disk may still allow.
    QTest::newRow("remove in a read-only data folder")
        << remove << true << notRemoved << QStringLiteral(" File removed") << librarySaveFailure;
}

void GlueTest::failedLibrarySaveTakesTheCommandBack()
{
#ifdef Q_OS_UNIX
    QFETCH(Step, command);
    QFETCH(bool, readOnly);
    QFETCH(QString, failed);
    QFETCH(QString, done);
    QFETCH(QString, box);

    Fixture f;
    f.addSound(QStringLiteral("a"), 1);
    f.addSound(QStringLiteral("b"), 2);
    f.writeSound(QStringLiteral("c"));
    const QStringList before = libraryNames(f.library);
    const QByteArray file = f.bytes(f.dataFile(QStringLiteral("Library.dat")));
    f.forget();

    {
        const FailingDataFolder failing(f.dataFolder(), readOnly ? std::nullopt : std::optional<rlim_t>(file.size()));
        if (!failing.fails())
            QSKIP("the data folder cannot be made read-only here");
        command(f);
    }

    QCOMPARE(f.listener.events, QStringList{QStringLiteral("UpdateStatusBar(") + failed + u')'});
    QCOMPARE(f.seam.messageTexts().constLast(), box);
    QCOMPARE(libraryNames(f.library), before);
    QCOMPARE(f.bytes(f.dataFile(QStringLiteral("Library.dat"))), file);
    QCOMPARE(libraryAfterRestart(), before);

    // With room again the same command is carried out, and kept.
    f.forget();
    command(f);
    QCOMPARE(f.listener.statusTexts(), QStringList{done});
    QVERIFY(libraryNames(f.library) != before);
    QCOMPARE(libraryAfterRestart(), libraryNames(f.library));
#else
    QSKIP("needs a file size limit");
#endif
}

void GlueTest::failedImportLeavesNothingBehind_data()
{
    QTest::addColumn<int>("room"); // the size to which a file may grow; -1: a read-only data folder

    // The new list's empty file and the list of lists are written, its entries are not.
    QTest::newRow("room for an empty list only") << 40;
    QTest::newRow("no room at all") << 1;
    QTest::newRow("read-only data folder") << -1;
}

void GlueTest::failedImportLeavesNothingBehind()
{
#ifdef Q_OS_UNIX
    QFETCH(int, room);

    Fixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}, {4, QStringLiteral("b")}});
    f.glue.exportLL(QStringLiteral("Gig"), f.dir.path() + QDir::separator());
    f.makeList(QStringLiteral("Other"));
    f.glue.setActiveLL(QStringLiteral("Live"));
    const QStringList before = describeLists(f.lists);
    const QMap<QString, QByteArray> dataBefore = dataFiles(f);
    f.forget();

    {
        const FailingDataFolder failing(f.dataFolder(), room < 0 ? std::nullopt : std::optional<rlim_t>(room));
        if (!failing.fails())
            QSKIP("the data folder cannot be made read-only here");
        f.glue.importLL(f.dir.path() + QStringLiteral("/Gig/Gig.kxf"), QStringLiteral("Gig"));
    }

    QVERIFY(!f.listener.statusTexts().contains(QStringLiteral(" File imported successfully!")));
    QCOMPARE(f.listener.events.mid(f.listener.events.size() - 3),
             (QStringList{QStringLiteral("LoadListChange(Live,0)"), QStringLiteral("LoadListsChange(0 of 2)"),
                          QStringLiteral("UpdateStatusBar( File import failed!)")}));
    QCOMPARE(describeLists(f.lists), before);
    QCOMPARE(f.glue.getActiveLoadList()->name(), QStringLiteral("Live"));
    QCOMPARE(dataFiles(f), dataBefore);
    QCOMPARE(listsAfterRestart(), before);
#else
    QSKIP("needs a file size limit");
#endif
}

void GlueTest::importNamesTheLinesThatItPassesOver_data()
{
    QTest::addColumn<QByteArray>("exportFile");
    QTest::addColumn<QString>("imported"); // the new list as describeLists gives it; empty: refused
    QTest::addColumn<QString>("box");      // %1 stands for the export file's path

    QTest::newRow("entries that cannot be taken")
        << QByteArray("0\t1\tKick\tkick.tvs\r\n0\t2\tSnare\tsnare.tvs\r\n12\t3\tHat\that.tvs\r\n"
                      "1\t4\tPad\r\n5\t5\tLead\tlead.tvs\r\n\r\n")
        << QStringLiteral("Gig: 0=Kick 5=Lead")
        << QStringLiteral("These lines of %1 were not imported:\r\n"
                          "Line 2 (Snare): location 1 holds the Sound Image of an earlier line\r\n"
                          "Line 3 (Hat): Cannot add Sound Image at this index\r\n"
                          "Line 4: it is no Sound Image entry");
    QTest::newRow("every entry taken") << QByteArray("0\t1\tKick\tkick.tvs\r\n5\t5\tLead\tlead.tvs\r\n\r\n")
                                       << QStringLiteral("Gig: 0=Kick 5=Lead") << QString();
    // An empty list exports a file of one empty line.
    QTest::newRow("no entry, no other line") << QByteArray("\r\n") << QStringLiteral("Gig:") << QString();
    QTest::newRow("random bytes")
        << QByteArray("\x8f\x03\xd1\xfe\x00\x7f\r\x99\x12\tz\n\xc3\x28\t\t\x01", 16) << QString()
        << QStringLiteral("Cannot import %1\r\nNo line of it is a Sound Image entry that can be imported:\r\n"
                          "Line 1: it is no Sound Image entry\r\nLine 2: it is no Sound Image entry\r\n"
                          "Line 3: it is no Sound Image entry");
    QTest::newRow("every entry at a location beyond the twelve")
        << QByteArray("12\t3\tHat\that.tvs\r\n-1\t4\tLead\tlead.tvs\r\n\r\n") << QString()
        << QStringLiteral("Cannot import %1\r\nNo line of it is a Sound Image entry that can be imported:\r\n"
                          "Line 1 (Hat): Cannot add Sound Image at this index\r\n"
                          "Line 2 (Lead): Cannot add Sound Image at this index");
}

void GlueTest::importNamesTheLinesThatItPassesOver()
{
    QFETCH(QByteArray, exportFile);
    QFETCH(QString, imported);
    QFETCH(QString, box);

    Fixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
    const QString package = f.dir.path() + QStringLiteral("/Gig/");
    QVERIFY(QDir().mkpath(package));
    for (const QString &file : {QStringLiteral("kick.tvs"), QStringLiteral("snare.tvs"), QStringLiteral("hat.tvs"),
                                QStringLiteral("lead.tvs")}) {
        QFile sound(package + file);
        QVERIFY(sound.open(QIODevice::WriteOnly) && sound.write("tvs") == 3);
    }
    QFile file(package + QStringLiteral("Gig.kxf"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(exportFile) == exportFile.size());
    file.close();
    const QStringList before = describeLists(f.lists);
    const QMap<QString, QByteArray> dataBefore = dataFiles(f);
    f.forget();

    f.glue.importLL(file.fileName(), QStringLiteral("Gig"));

    QCOMPARE(f.seam.messageTexts(), box.isEmpty() ? QStringList() : QStringList{box.arg(file.fileName())});
    if (imported.isEmpty()) {
        QCOMPARE(f.listener.events, QStringList{QStringLiteral("UpdateStatusBar( File import failed!)")});
        QCOMPARE(describeLists(f.lists), before);
        QCOMPARE(dataFiles(f), dataBefore);
        return;
    }
    QCOMPARE(f.listener.statusTexts().constLast(), QStringLiteral(" File imported successfully!"));
    QCOMPARE(describeLists(f.lists), before + QStringList{imported});
    QCOMPARE(listsAfterRestart(), before + QStringList{imported});
}


void GlueTest::failedSaveIsReportedAndKeepsLists()
{
    Fixture f;
    f.makeList(QStringLiteral("Live"), {{2, QStringLiteral("a")}});
    QVERIFY(QDir(f.dataFolder()).removeRecursively());
    f.forget();

    QVERIFY(f.glue.saveAll());

    QCOMPARE(f.listener.statusTexts(), QStringList{QStringLiteral(" Your Load Lists could not be saved")});
    QVERIFY(!f.seam.messages().isEmpty());
    QCOMPARE(f.lists.getLoadList(QStringLiteral("Live"))->getModel(2)->name(), QStringLiteral("a"));

    f.forget();
    f.glue.createLL(QStringLiteral("Gig"));
    QCOMPARE(f.listener.statusTexts(), QStringList{QStringLiteral(" Your Load Lists could not be saved")});
    QCOMPARE(f.listNames(), (QStringList{QStringLiteral("Live"), QStringLiteral("Gig")}));
}

void GlueTest::addToLLWithoutListShowsBox()
{
    Fixture f;
    f.addSound(QStringLiteral("a"), 1);
    f.forget();
    f.glue.addToLL(QStringLiteral("a"), 0);
    QCOMPARE(f.seam.messages().size(), 1);
    const MessageRequest box = f.seam.messages().constFirst();
    QCOMPARE(box.text, QStringLiteral("Can only add Sound Image to an Active Load List"));
    QCOMPARE(box.title, QStringLiteral("No Active Load List"));
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.icon, Icon::None);
}

void GlueTest::fileInfoNamesTheRecord_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");

    QTest::newRow("library row") << QStringLiteral("Library") << QStringLiteral("b") << 0;
    QTest::newRow("load list location") << QStringLiteral("Loadlist") << QStringLiteral("any text") << 6;
}

void GlueTest::fileInfoNamesTheRecord()
{
    QFETCH(QString, source);
    QFETCH(QString, key);
    QFETCH(int, index);

    Fixture f;
    f.addSound(QStringLiteral("a"), 1);
    f.addSound(QStringLiteral("b"), 42);
    f.makeList(QStringLiteral("Live"));
    f.glue.addToLL(QStringLiteral("b"), 6);
    f.forget();

    f.glue.getFileInfo(key, source, index);

    QCOMPARE(f.listener.events,
             (QStringList{QStringLiteral("UpdateStatusBar( ") + f.soundPath(QStringLiteral("b")) + u')',
                          QStringLiteral("UpdateFileInfo(b.tvs,42)")}));
}

QTEST_GUILESS_MAIN(GlueTest)
#include "GlueTest.moc"
