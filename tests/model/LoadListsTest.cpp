#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/LoadLists.h"

#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringEncoder>
#include <QTest>

#include <cerrno>
#include <system_error>

using namespace kivo;

namespace {

LoadListPtr namedList(const QString &name, std::initializer_list<int> locations = {})
{
    QString n = name;
    auto list = newLoadList(n);
    for (const int location : locations)
        list->add(location, newModel(location, name + QString::number(location),
                                     QStringLiteral("/s/") + name + QString::number(location) + QStringLiteral(".tvs")));
    return list;
}

QStringList namesOf(const LoadLists &lists)
{
    QStringList names;
    for (const LoadListPtr &list : lists)
        names.append(list->name());
    return names;
}

// The lists as the program reads them at its start.
void readBack(LoadLists &lists)
{
    loadListOfLoadLists(lists);
    lists.fillLoadLists();
    QCOMPARE(lists.getCount(), 2);
}

void addAll(LoadLists &lists, const QStringList &names)
{
    for (const QString &name : names)
        lists.addLoadList(namedList(name));
}

} // namespace

class LoadListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysIgnoreCaseInInsertionOrder_data();
    void keysIgnoreCaseInInsertionOrder();
    void remove_data();
    void remove();
    void removeFromEmptySetDoesNothing();
    void removeAfterNewNameDeletesTheOldFile();
    void renameWritesBeforeItRemoves_data();
    void renameWritesBeforeItRemoves();
    void copyInto();
    void copyIntoItself();
    void saveAllWritesEveryListAndTheirNames();
    void saveAllReportsFailure();
    void saveLoadListUnderNewName();
    void loadListOfLoadListsSkipsNamesWithoutFile();
    void missingListOfLoadListsIsNoError();
    void wholeFolderRoundTrip();
    void unsavedChanges_data();
    void unsavedChanges();
};

void LoadListsTest::keysIgnoreCaseInInsertionOrder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("again");

    QTest::newRow("letters") << QStringLiteral("B") << QStringLiteral("A") << QStringLiteral("b");
    // The box shows the name as typed, markers and all.
    QTest::newRow("names holding markers") << QStringLiteral("Bass %1") << QStringLiteral("Pad %2")
                                           << QStringLiteral("BASS %1");
}

void LoadListsTest::keysIgnoreCaseInInsertionOrder()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, again);

    test::ScriptedModalSeam seam;
    LoadLists lists;
    QCOMPARE(lists.toString(), QString());
    addAll(lists, {first, second});
    QVERIFY(!lists.activeLoadList());

    lists.addLoadList(namedList(again));

    QCOMPARE(seam.messages().size(), 1);
    QCOMPARE(seam.messages().constFirst().text, QStringLiteral("Load List: ") + again + QStringLiteral(" already exist!"));
    QCOMPARE(seam.messages().constFirst().title, QStringLiteral("Cannot Insert Load List"));
    QCOMPARE(seam.messages().constFirst().icon, Icon::None);
    QCOMPARE(lists.getCount(), 2);
    QCOMPARE(lists.toString(), first + QStringLiteral("\r\n") + second + QStringLiteral("\r\n"));
    QCOMPARE(lists.getLoadList(second.toLower())->name(), second);
    QCOMPARE(lists.getLoadList(QStringLiteral("C")), LoadListPtr());
}

void LoadListsTest::remove_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("active"); // empty: none

    QTest::newRow("the only list") << QStringList{QStringLiteral("A")} << QStringLiteral("A") << QString();
    QTest::newRow("the first of three") << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}
                                        << QStringLiteral("A") << QStringLiteral("C");
    QTest::newRow("the last of three") << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}
                                       << QStringLiteral("C") << QStringLiteral("B");
    QTest::newRow("by another case") << QStringList{QStringLiteral("A"), QStringLiteral("B")} << QStringLiteral("a")
                                     << QStringLiteral("B");
}

void LoadListsTest::remove()
{
    QFETCH(QStringList, names);
    QFETCH(QString, removed);
    QFETCH(QString, active);
    test::TempDataFolder folder;
    LoadLists lists;
    addAll(lists, names);
    QVERIFY(!lists.saveAll());
    lists.setActiveLoadList(lists.getLoadList(removed));

    lists.remove(removed);

    QCOMPARE(lists.getCount(), names.size() - 1);
    QCOMPARE(lists.getLoadList(removed), LoadListPtr());
    QStringList files;
    for (const LoadListPtr &list : lists)
        files.append(list->name() + QStringLiteral(".dat"));
    files.append(QStringLiteral("ListOfLL.kvl"));
    files.sort();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name), files);
    if (active.isEmpty())
        QCOMPARE(lists.activeLoadList(), LoadListPtr());
    else
        QCOMPARE(lists.activeLoadList()->name(), active);
}

void LoadListsTest::removeFromEmptySetDoesNothing()
{
    test::TempDataFolder folder;
    QVERIFY(folder.writeBytes(QStringLiteral("A.dat"), "\r\n"));
    LoadLists lists;
    lists.remove(QStringLiteral("A"));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("A.dat"))));
    QCOMPARE(lists.activeLoadList(), LoadListPtr());
}

void LoadListsTest::removeAfterNewNameDeletesTheOldFile()
{
    test::TempDataFolder folder;
    LoadLists lists;
    const LoadListPtr list = namedList(QStringLiteral("Old"), {2});
    lists.addLoadList(list);
    QVERIFY(!lists.saveAll());
    QVERIFY(!lists.saveLoadList(*list, QStringLiteral("New")));
    list->setName(QStringLiteral("New"));

    lists.remove(QStringLiteral("old"));

    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Old.dat"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("New.dat"))));
    lists.addLoadList(list);
    QCOMPARE(lists.getLoadList(QStringLiteral("new")), list);
}

namespace {
// What stands in the way of a rename of "Alpha".
enum class Obstacle { None, NameTooLongForAFile, ListOfListsCannotBeWritten, OneFileForBothNames };

// Every file of the folder with its bytes; a folder shows as "<folder>".
QMap<QString, QByteArray> filesWithBytes(const test::TempDataFolder &folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder.path());
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        files.insert(info.fileName(), info.isDir() ? QByteArray("<folder>") : folder.readBytes(info.fileName()));
    return files;
}
} // namespace
Q_DECLARE_METATYPE(Obstacle)

void LoadListsTest::renameWritesBeforeItRemoves_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QStringList>("order"); // empty: the rename fails

    QTest::newRow("new name") << QStringLiteral("Gamma") << Obstacle::None
                              << QStringList{QStringLiteral("Beta"), QStringLiteral("Gamma")};
    QTest::newRow("letter case only") << QStringLiteral("ALPHA") << Obstacle::None
                                      << QStringList{QStringLiteral("Beta"), QStringLiteral("ALPHA")};
    // As on a file system that ignores case: the file just written is the old one.
    QTest::newRow("both names lead to one file") << QStringLiteral("ALPHA") << Obstacle::OneFileForBothNames
                                                 << QStringList{QStringLiteral("Beta"), QStringLiteral("ALPHA")};
    QTest::newRow("name too long for a file") << QString(253, u'g') << Obstacle::NameTooLongForAFile << QStringList{};
    QTest::newRow("list of lists cannot be written") << QStringLiteral("Gamma") << Obstacle::ListOfListsCannotBeWritten
                                                     << QStringList{};
}

void LoadListsTest::renameWritesBeforeItRemoves()
{
    QFETCH(QString, newName);
    QFETCH(Obstacle, obstacle);
    QFETCH(QStringList, order);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    LoadLists lists;
    const LoadListPtr alpha = namedList(QStringLiteral("Alpha"), {0, 4, 9});
    lists.addLoadList(alpha);
    lists.addLoadList(namedList(QStringLiteral("Beta"), {1}));
    lists.setActiveLoadList(alpha);
    QVERIFY(!lists.saveAll());
    const QByteArray content = folder.readBytes(QStringLiteral("Alpha.dat"));
    if (obstacle == Obstacle::OneFileForBothNames)
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("Alpha.dat")), folder.filePath(QStringLiteral("ALPHA.dat"))));
    if (obstacle == Obstacle::ListOfListsCannotBeWritten) {
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("ListOfLL.kvl"))));
        QVERIFY(QDir().mkdir(folder.filePath(QStringLiteral("ListOfLL.kvl"))));
    }
    const QMap<QString, QByteArray> before = filesWithBytes(folder);

    const bool failed = lists.rename(QStringLiteral("Alpha"), newName);

    QCOMPARE(lists.activeLoadList(), alpha);
    QCOMPARE(alpha->count(), 3);
    if (order.isEmpty()) {
        QVERIFY(failed);
        QCOMPARE(namesOf(lists), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
        QCOMPARE(lists.getLoadList(QStringLiteral("alpha")), alpha);
        QCOMPARE(lists.getLoadList(newName), LoadListPtr());
        QCOMPARE(filesWithBytes(folder), before);
        return;
    }
    QVERIFY(!failed);
    QCOMPARE(namesOf(lists), order);
    QCOMPARE(lists.getLoadList(newName), alpha);
    QCOMPARE(folder.readBytes(newName + QStringLiteral(".dat")), content);
    QCOMPARE(folder.readBytes(QStringLiteral("ListOfLL.kvl")), (order.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n")).toUtf8());
    if (obstacle == Obstacle::None)
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("Alpha.dat"))));
    QVERIFY(seam.messages().isEmpty());

    LoadLists restarted;
    loadListOfLoadLists(restarted);
    restarted.fillLoadLists();
    QCOMPARE(namesOf(restarted), order);
    QCOMPARE(restarted.getLoadList(newName)->count(), 3);
}

void LoadListsTest::copyInto()
{
    LoadLists lists;
    auto source = namedList(QStringLiteral("S"), {0, 3, 11});
    auto target = namedList(QStringLiteral("T"), {1, 2, 3, 4, 5});

    lists.copyInto(*source, *target);

    QCOMPARE(target->count(), 3);
    for (int i = 0; i < 12; ++i) {
        const ModelPtr from = source->getModel(i);
        const ModelPtr to = target->getModel(i);
        QCOMPARE(bool(to), bool(from));
        if (from) {
            QVERIFY(to != from);
            QCOMPARE(to->tag(), from->tag());
            QCOMPARE(to->name(), from->name());
            QCOMPARE(to->path(), from->path());
        }
    }
    QVERIFY(target->hasChanged());
    QCOMPARE(target->CurrentLocation(), 0);
    QCOMPARE(target->name(), QStringLiteral("T"));
    QCOMPARE(source->count(), 3);
}

void LoadListsTest::copyIntoItself()
{
    LoadLists lists;
    auto list = namedList(QStringLiteral("S"), {2, 7});
    const ModelPtr before = list->getModel(7);
    lists.copyInto(*list, *list);
    QCOMPARE(list->count(), 2);
    QVERIFY(list->getModel(7) != before);
    QCOMPARE(list->getModel(7)->name(), before->name());
}

void LoadListsTest::saveAllWritesEveryListAndTheirNames()
{
    test::TempDataFolder folder;
    LoadLists lists;
    lists.addLoadList(namedList(QStringLiteral("Gig"), {1}));
    lists.addLoadList(namedList(QStringLiteral("Empty")));

    QVERIFY(!lists.saveAll());

    QCOMPARE(folder.readBytes(QStringLiteral("ListOfLL.kvl")), QByteArray("Gig\r\nEmpty\r\n\r\n"));
    QCOMPARE(folder.readBytes(QStringLiteral("Gig.dat")), QByteArray("1\t1\tGig1\t/s/Gig1.tvs\r\n\r\n"));
    QCOMPARE(folder.readBytes(QStringLiteral("Empty.dat")), QByteArray("\r\n"));

    LoadLists none;
    QVERIFY(!saveListOfLoadLists(none));
    QCOMPARE(folder.readBytes(QStringLiteral("ListOfLL.kvl")), QByteArray("\r\n"));
}

void LoadListsTest::saveAllReportsFailure()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    LoadLists lists;
    addAll(lists, {QStringLiteral("One"), QStringLiteral("Two")});
    QVERIFY(QDir().mkdir(folder.filePath(QStringLiteral("One.dat"))));

    QVERIFY(lists.saveAll());

    QCOMPARE(seam.messageTexts(), QStringList{QString::fromStdString(std::generic_category().message(EISDIR))});
    QCOMPARE(folder.readBytes(QStringLiteral("Two.dat")), QByteArray("\r\n"));
    QCOMPARE(folder.readBytes(QStringLiteral("ListOfLL.kvl")), QByteArray("One\r\nTwo\r\n\r\n"));
}

void LoadListsTest::saveLoadListUnderNewName()
{
    test::TempDataFolder folder;
    LoadLists lists;
    auto list = namedList(QStringLiteral("Old"), {4});
    lists.addLoadList(list);
    QVERIFY(!lists.saveLoadList(*list));

    QVERIFY(!lists.saveLoadList(*list, QStringLiteral("New")));

    QCOMPARE(folder.readBytes(QStringLiteral("New.dat")), folder.readBytes(QStringLiteral("Old.dat")));
    QCOMPARE(folder.readBytes(QStringLiteral("New.dat")), QByteArray("4\t4\tOld4\t/s/Old4.tvs\r\n\r\n"));
    QCOMPARE(namesOf(lists), QStringList{QStringLiteral("Old")});
    QVERIFY(list->hasChanged());
}

void LoadListsTest::loadListOfLoadListsSkipsNamesWithoutFile()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(folder.writeBytes(QStringLiteral("ListOfLL.kvl"), "Zed\r\n\r\nMissing\r\nAlpha\r\nCON\r\nzed\r\n\r\n"));
    for (const char *name : {"Zed", "zed", "Alpha", "CON"})
        QVERIFY(folder.writeBytes(QString::fromLatin1(name) + QStringLiteral(".dat"), "\r\n"));

    LoadLists lists;
    loadListOfLoadLists(lists);

    QCOMPARE(namesOf(lists), (QStringList{QStringLiteral("Zed"), QStringLiteral("Alpha")}));
    QCOMPARE(seam.messageTexts(), QStringList{QStringLiteral("Load List: zed already exist!")});
    for (const LoadListPtr &list : lists)
        QCOMPARE(list->count(), 0);
}

void LoadListsTest::missingListOfLoadListsIsNoError()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    LoadLists lists;
    loadListOfLoadLists(lists);
    QCOMPARE(lists.getCount(), 0);
    QVERIFY(seam.messages().isEmpty());
}

void LoadListsTest::wholeFolderRoundTrip()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    LoadLists saved;
    saved.addLoadList(namedList(QStringLiteral("Gaps"), {0, 3, 11}));
    saved.addLoadList(namedList(QStringLiteral("Full"), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    saved.addLoadList(namedList(QStringLiteral("Empty")));
    QVERIFY(!saved.saveAll());

    LoadLists loaded;
    loadListOfLoadLists(loaded);
    loaded.fillLoadLists();

    QCOMPARE(namesOf(loaded), namesOf(saved));
    for (const LoadListPtr &list : saved) {
        const LoadListPtr back = loaded.getLoadList(list->name());
        QCOMPARE(back->count(), list->count());
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(bool(back->getModel(i)), bool(list->getModel(i)));
            if (list->getModel(i))
                QCOMPARE(back->getModel(i)->path(), list->getModel(i)->path());
        }
    }
    QVERIFY(seam.messages().isEmpty());
}


namespace {
// What happens to a saved set of two lists ("Kept" and "Edited") before the question.
enum class Step {
    Nothing,
    ReadBackFromFiles,
    AddLocation,
    RemoveLocation,
    ChangeAndChangeBack,
    SwapEmptyLocations,
    FileDeleted,
    FileEditedOutside,
    NewListNotSaved,
    ListRenamedNotSaved,
    LfLineEnds,
    CrLineEnds,
    LfLineEndsNoBlankLine,
    LfLineEndsAndEdit,
    LineInLatin1ReadBack,
    UnreadLineReadBack,
    UnreadLineReadBackAndEdit,
    UnreadLinesReadBackAndSwapped,
    StrayUtf16ByteReadBack,
};
}
Q_DECLARE_METATYPE(Step)

void LoadListsTest::unsavedChanges_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<bool>("unsaved");

    QTest::newRow("just saved") << Step::Nothing << false;
    QTest::newRow("read back from the files") << Step::ReadBackFromFiles << false;
    QTest::newRow("location added") << Step::AddLocation << true;
    QTest::newRow("location removed") << Step::RemoveLocation << true;
    QTest::newRow("changed and changed back") << Step::ChangeAndChangeBack << false;
    QTest::newRow("two empty locations swapped") << Step::SwapEmptyLocations << false;
    QTest::newRow("file deleted") << Step::FileDeleted << true;
    QTest::newRow("file edited by another program") << Step::FileEditedOutside << true;
    QTest::newRow("new list without a file") << Step::NewListNotSaved << true;
    QTest::newRow("renamed, not written") << Step::ListRenamedNotSaved << true;
    QTest::newRow("file with LF line ends") << Step::LfLineEnds << false;
    QTest::newRow("file with CR line ends") << Step::CrLineEnds << false;
    QTest::newRow("LF line ends, no blank last line") << Step::LfLineEndsNoBlankLine << false;
    QTest::newRow("LF line ends and a location added") << Step::LfLineEndsAndEdit << true;
    QTest::newRow("read back from a line in Latin-1") << Step::LineInLatin1ReadBack << false;
    // Lines that the reading could not take are no edit; saving keeps them aside.
    QTest::newRow("read back past a 13th location") << Step::UnreadLineReadBack << false;
    QTest::newRow("read back past a 13th location, a location added") << Step::UnreadLineReadBackAndEdit << true;
    QTest::newRow("read back past a line of three fields, two locations swapped")
        << Step::UnreadLinesReadBackAndSwapped << true;
    QTest::newRow("read back from UTF-16 with a stray last byte") << Step::StrayUtf16ByteReadBack << false;
}

void LoadListsTest::unsavedChanges()
{
    QFETCH(Step, step);
    QFETCH(bool, unsaved);

    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    LoadLists saved;
    QVERIFY(!saved.hasUnsavedChanges());
    saved.addLoadList(namedList(QStringLiteral("Kept"), {0, 5}));
    saved.addLoadList(namedList(QStringLiteral("Edited"), {1, 2}));
    QVERIFY(saved.hasUnsavedChanges());
    QVERIFY(!saved.saveAll());

    LoadLists loaded;
    LoadLists *lists = &saved;
    const LoadListPtr edited = saved.getLoadList(QStringLiteral("Edited"));
    const ModelPtr extra = newModel(77, QStringLiteral("Extra"), QStringLiteral("/s/Extra.tvs"));
    const QString file = QStringLiteral("Edited.dat");
    switch (step) {
    case Step::Nothing:
        break;
    case Step::ReadBackFromFiles:
        loadListOfLoadLists(loaded);
        loaded.fillLoadLists();
        QCOMPARE(loaded.getCount(), 2);
        lists = &loaded;
        break;
    case Step::AddLocation:
        edited->add(7, extra);
        break;
    case Step::RemoveLocation:
        edited->remove(2);
        break;
    case Step::ChangeAndChangeBack: {
        const ModelPtr old = edited->getModel(1);
        edited->add(1, extra);
        edited->add(1, old);
        break;
    }
    case Step::SwapEmptyLocations: {
        int second = 9;
        edited->swap(8, second);
        break;
    }
    case Step::FileDeleted:
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Edited.dat"))));
        break;
    case Step::FileEditedOutside:
        QVERIFY(folder.writeBytes(QStringLiteral("Edited.dat"), QByteArrayLiteral("\r\n")));
        break;
    case Step::NewListNotSaved:
        saved.addLoadList(namedList(QStringLiteral("Fresh")));
        break;
    case Step::ListRenamedNotSaved:
        edited->setName(QStringLiteral("Renamed"));
        break;
    case Step::LfLineEnds:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file).replace("\r\n", "\n")));
        break;
    case Step::CrLineEnds:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file).replace("\r\n", "\r")));
        break;
    case Step::LfLineEndsNoBlankLine:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file).replace("\r\n", "\n").chopped(1)));
        break;
    case Step::LfLineEndsAndEdit:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file).replace("\r\n", "\n")));
        edited->add(7, extra);
        break;
    case Step::LineInLatin1ReadBack:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file).replace("\tEdited1\t", "\tCaf\xe9\t")));
        loadListOfLoadLists(loaded);
        loaded.fillLoadLists();
        QCOMPARE(loaded.getLoadList(QStringLiteral("Edited"))->getModel(1)->name(), QStringLiteral("Caf\u00e9"));
        lists = &loaded;
        break;
    case Step::UnreadLineReadBack:
    case Step::UnreadLineReadBackAndEdit:
        QVERIFY(folder.writeBytes(file, folder.readBytes(file) + "12\t3\tThirteenth\t/s/13.tvs\r\n"));
        readBack(loaded);
        if (step == Step::UnreadLineReadBackAndEdit)
            loaded.getLoadList(QStringLiteral("Edited"))->add(7, extra);
        lists = &loaded;
        break;
    case Step::UnreadLinesReadBackAndSwapped: {
        QVERIFY(folder.writeBytes(file, "3\t3\tThree fields\r\n" + folder.readBytes(file)));
        readBack(loaded);
        int second = 9;
        loaded.getLoadList(QStringLiteral("Edited"))->swap(1, second);
        lists = &loaded;
        break;
    }
    case Step::StrayUtf16ByteReadBack:
        QVERIFY(folder.writeBytes(file, "\xff\xfe" + QStringEncoder(QStringEncoder::Utf16LE)
                                                     .encode(QString::fromLatin1(folder.readBytes(file))) + "\r"));
        readBack(loaded);
        QCOMPARE(loaded.getLoadList(QStringLiteral("Edited"))->count(), 2);
        lists = &loaded;
        break;
    }

    QCOMPARE(lists->hasUnsavedChanges(), unsaved);
    QCOMPARE(differsFromFile(saved.getLoadList(QStringLiteral("Kept"))->persistent()), false);
    QVERIFY(seam.messages().isEmpty());

    // Saving settles every difference.
    QVERIFY(!lists->saveAll());
    QVERIFY(!lists->hasUnsavedChanges());
}

QTEST_GUILESS_MAIN(LoadListsTest)
#include "LoadListsTest.moc"
