#include "model/Factory.h"
#include "model/Library.h"
#include "platform/RuntimeError.h"

#include "model/FileProxy.h"

#include "ScriptedModalSeam.h"
#include "SmallDisk.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <optional>
#include <system_error>

using namespace kivo;

namespace {

ModelPtr record(const QString &name, qint32 tag = 1)
{
    return newModel(tag, name, QStringLiteral("/sounds/") + name + QStringLiteral(".tvs"));
}

QStringList namesOf(const Library &library)
{
    QStringList names;
    for (const ModelPtr &model : library)
        names.append(model->name());
    return names;
}

const QString saveFailure = QStringLiteral("Could not save Sound Image list file\r\nKivo Rudovaz Data Path does not exist");

QString systemText(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

// What stands in the way of the library file.
enum class Obstacle { FolderOfTheFileName, FullDisk, FullDiskForTheCopy };

} // namespace
Q_DECLARE_METATYPE(Obstacle)

namespace {

} // namespace

class LibraryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysIgnoreCaseButNameExistDoesNot();
    void refusesWhatTheFileCannotHold_data();
    void refusesWhatTheFileCannotHold();
    void removeKeepsOrder();
    void removeOfMissingKey();
    void lookups();
    void tagExistFindsFirstInOrder();
    void saveOnlyWhenChanged();
    void failedSaveKeepsFlagAndTriesAgain();
    void failedSaveTellsTheSystemsReason_data();
    void failedSaveTellsTheSystemsReason();
};

void LibraryTest::keysIgnoreCaseButNameExistDoesNot()
{
    test::ScriptedModalSeam seam;
    Library library;
    QVERIFY(!library.hasChanged());
    library.add(record(QStringLiteral("bass")));
    QVERIFY(library.hasChanged());

    QVERIFY(library.nameExist(QStringLiteral("bass")));
    QVERIFY(!library.nameExist(QStringLiteral("BASS")));

    library.add(record(QStringLiteral("BASS"), 2));
    QCOMPARE(seam.messageTexts(), QStringList{QStringLiteral("Cannot have duplicate file names")});
    QCOMPARE(seam.messages().constFirst().title, QString());
    QCOMPARE(library.getCount(), 1);
    QCOMPARE(library.getModel(QStringLiteral("BASS"))->tag(), 1);
}

void LibraryTest::refusesWhatTheFileCannotHold_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("tab in name") << QStringLiteral("a\tb") << QStringLiteral("/s/a.tvs");
    QTest::newRow("line feed in name") << QStringLiteral("a\nb") << QStringLiteral("/s/a.tvs");
    QTest::newRow("carriage return in path") << QStringLiteral("ab") << QStringLiteral("/s/a\r.tvs");
    QTest::newRow("tab in path") << QStringLiteral("ab") << QStringLiteral("/s\t/a.tvs");
}

void LibraryTest::refusesWhatTheFileCannotHold()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    test::ScriptedModalSeam seam;
    Library library;

    library.add(newModel(3, name, path));

    QCOMPARE(seam.messageTexts(),
             QStringList{QStringLiteral("The name and the file path of a Sound Image cannot contain tabs or line breaks")});
    QCOMPARE(library.getCount(), 0);
    QVERIFY(!library.hasChanged());
}

void LibraryTest::removeKeepsOrder()
{
    test::ScriptedModalSeam seam;
    Library library;
    for (const char *name : {"a", "b", "c", "d"})
        library.add(record(QString::fromLatin1(name)));
    QVERIFY(!library.save());
    library.removeItem(QStringLiteral("B"));
    QVERIFY(library.hasChanged());
    QCOMPARE(namesOf(library), (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d")}));
    library.add(record(QStringLiteral("b")));
    QCOMPARE(namesOf(library), (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d"),
                                            QStringLiteral("b")}));
    QCOMPARE(library.getModel(4)->name(), QStringLiteral("b"));
    QVERIFY(seam.messages().isEmpty());
}

void LibraryTest::removeOfMissingKey()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    Library library;
    library.add(record(QStringLiteral("a")));
    QVERIFY(!library.save());

    library.removeItem(QStringLiteral("zz"));

    QCOMPARE(seam.messageTexts(), QStringList{QStringLiteral("File does not exist")});
    QCOMPARE(library.getCount(), 1);
    QVERIFY(!library.hasChanged());
}

void LibraryTest::lookups()
{
    Library library;
    const ModelPtr first = record(QStringLiteral("Piano"));
    library.add(first);
    library.add(record(QStringLiteral("Drums")));

    QCOMPARE(library.getModel(QStringLiteral("piano")), first);
    QCOMPARE(library.getModel(1), first);
    QCOMPARE(library.persistent().getModel(0), first);
    QCOMPARE(library.persistent().getModel(2), ModelPtr());
    QCOMPARE(library.persistent().count(), 2);
    QCOMPARE(library.persistent().name(), QStringLiteral("Library"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, library.getModel(QStringLiteral("Organ")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, library.getModel(0));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, library.getModel(3));
}

void LibraryTest::tagExistFindsFirstInOrder()
{
    Library library;
    library.add(record(QStringLiteral("one"), 5));
    library.add(record(QStringLiteral("two"), 9));
    library.add(record(QStringLiteral("three"), 9));
    QCOMPARE(library.tagExist(9), QStringLiteral("two"));
    QCOMPARE(library.tagExist(5), QStringLiteral("one"));
    QCOMPARE(library.tagExist(-1), QString());
    library.removeItem(QStringLiteral("two"));
    QCOMPARE(library.tagExist(9), QStringLiteral("three"));
}

void LibraryTest::saveOnlyWhenChanged()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    Library library;
    QVERIFY(!library.save());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Library.dat"))));

    library.add(record(QStringLiteral("a"), 7));
    QVERIFY(!library.save());
    QVERIFY(!library.hasChanged());
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), QByteArray("0\t7\ta\t/sounds/a.tvs\r\n\r\n"));

    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("Library.dat"))));
    QVERIFY(!library.save());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Library.dat"))));
    QVERIFY(seam.messages().isEmpty());
}

void LibraryTest::failedSaveKeepsFlagAndTriesAgain()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    Library library;
    library.add(record(QStringLiteral("a")));
    const QString dataFolder = folder.path();
    QVERIFY(QDir(dataFolder).removeRecursively());

    QVERIFY(library.save());

    QCOMPARE(seam.messageTexts(), (QStringList{QStringLiteral("Path not found"), saveFailure}));
    QVERIFY(library.hasChanged());

    QVERIFY(QDir().mkpath(dataFolder));
    seam.clear();
    QVERIFY(!library.save());
    QVERIFY(seam.messages().isEmpty());
    QVERIFY(!library.hasChanged());
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Library.dat"))));
}

void LibraryTest::failedSaveTellsTheSystemsReason_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QStringList>("boxes");

    const QString notSaved = QStringLiteral("Could not save Sound Image list file\r\n");
    QTest::newRow("a folder of the file's name")
        << Obstacle::FolderOfTheFileName << QStringList{systemText(EISDIR), notSaved + systemText(EISDIR)};
    QTest::newRow("a full disk") << Obstacle::FullDisk << QStringList{notSaved + systemText(ENOSPC)};
    // The file holds a line that the reading passed over, so it is copied aside first.
    QTest::newRow("a full disk for the copy of unread lines")
        << Obstacle::FullDiskForTheCopy
        << QStringList{QStringLiteral("Kivo Rudovaz could not read some lines of the file <folder>Library.dat.\r\n"
                                      "The file could not be copied to \"Library.dat.unread\" before it changes (")
                           + systemText(ENOSPC) + QStringLiteral("), so it stays as it is."),
                       notSaved + systemText(ENOSPC)};
}

void LibraryTest::failedSaveTellsTheSystemsReason()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(QStringList, boxes);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    std::optional<test::SmallDisk> disk;
    if (obstacle != Obstacle::FolderOfTheFileName) {
        disk.emplace(folder.path(), 64 * 1024);
        if (!disk->isMounted())
            QSKIP("no file system of its own can be mounted here");
    }
    const QByteArray unread("0\t1\tKick\t/s/k.tvs\r\nnot an entry\r\n\r\n");
    if (obstacle == Obstacle::FolderOfTheFileName)
        QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("Library.dat"))));
    if (obstacle == Obstacle::FullDiskForTheCopy)
        QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), unread));
    Library library;
    loadFromFile(library.persistent(), QString());
    library.add(record(QStringLiteral("a")));
    if (disk)
        QVERIFY(disk->fill());

    QVERIFY(library.save());

    QCOMPARE(seam.messageTexts().join(u'|'), boxes.join(u'|').replace(QStringLiteral("<folder>"), folder.path()));
    QVERIFY(library.hasChanged());
    if (obstacle == Obstacle::FullDiskForTheCopy)
        QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), unread);
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "LibraryTest.moc"
