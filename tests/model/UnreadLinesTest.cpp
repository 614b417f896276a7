#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "model/UnreadLines.h"

#include "FileSizeLimit.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTest>

#include <cerrno>
#include <functional>
#include <optional>
#include <system_error>

using namespace kivo;

namespace {

// The library, the lists and their names read from the data folder as at start-up.
struct Startup {
    Library library;
    LoadLists lists;

    Startup()
    {
        loadFromFile(library.persistent(), QString());
        loadListOfLoadLists(lists);
        lists.fillLoadLists();
    }
};

// A command that writes or deletes a file of the data folder; true on failure.
using Change = std::function<bool(Startup &)>;

bool saveLibrary(Startup &s)
{
    if (!s.library.nameExist(QStringLiteral("Added")))
        s.library.add(newModel(9, QStringLiteral("Added"), QStringLiteral("/s/added.tvs")));
    return saveToFile(s.library.persistent(), QString());
}

bool saveLists(Startup &s)
{
    return s.lists.saveAll();
}

bool deleteList(Startup &s)
{
    s.lists.remove(QStringLiteral("Live"));
    return false;
}

bool renameList(Startup &s)
{
    if (!s.lists.getLoadList(QStringLiteral("Live")))
        return false;
    return s.lists.rename(QStringLiteral("Live"), QStringLiteral("Gig"));
}

const QByteArray kick("0\t1\tKick\t/s/k.tvs\r\n");
const QByteArray added("1\t9\tAdded\t/s/added.tvs\r\n");

QByteArray utf16le(const QByteArray &text)
{
    return QStringEncoder(QStringEncoder::Utf16LE).encode(QString::fromLatin1(text));
}

QByteArray utf16be(const QByteArray &text)
{
    return QStringEncoder(QStringEncoder::Utf16BE).encode(QString::fromLatin1(text));
}

QString keptText(const QString &file, const QString &keptName)
{
    return QStringLiteral("Kivo Rudovaz could not read some lines of the file ") + file
         + QStringLiteral(". They cannot stay in it.\r\nThe file as it was is kept as \"") + keptName
         + QStringLiteral("\" in the same folder.");
}

QStringList filesIn(const test::TempDataFolder &folder)
{
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(Change)

class UnreadLinesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void passedOverLinesAreKeptBeforeTheFileChanges_data();
    void passedOverLinesAreKeptBeforeTheFileChanges();
    void earlierCopyIsNotWrittenOver();
    void copyOfALongNameFits();
    void fileStaysWhenItCannotBeKept();
    void oneBoxNamesEveryFileKeptAside_data();
    void oneBoxNamesEveryFileKeptAside();
};

void UnreadLinesTest::passedOverLinesAreKeptBeforeTheFileChanges_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("loadBoxes");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QByteArray>("after"); // null: the file is gone
    QTest::addColumn<QString>("keptName"); // empty: no copy

    const QString library = QStringLiteral("Library.dat");
    const QString list = QStringLiteral("Live.dat");
    const QString names = QStringLiteral("ListOfLL.kvl");
    const Change toLibrary(saveLibrary);
    const Change toLists(saveLists);
    const QString keptLibrary = QStringLiteral("Library.dat.unread");
    const QString keptList = QStringLiteral("Live.dat.unread");
    const QString keptNames = QStringLiteral("ListOfLL.kvl.unread");
    const QByteArray libraryAfter = kick + added + "\r\n";
    const QByteArray listAfter = kick + "\r\n";

    QTest::newRow("library: a fifth field") << library << kick + "1\t2\tSnare\t/s/s.tvs\tx\r\n\r\n" << QStringList{}
                                            << toLibrary << libraryAfter << keptLibrary;
    QTest::newRow("library: a tag beyond 32 bits")
        << library << kick + "1\t4294967296\tSnare\t/s/s.tvs\r\n\r\n" << QStringList{} << toLibrary << libraryAfter
        << keptLibrary;
    QTest::newRow("library: a 10 MB line") << library << kick + QByteArray(10 << 20, 'x') + "\r\n\r\n"
                                           << QStringList{} << toLibrary << libraryAfter << keptLibrary;
    QTest::newRow("library: a name twice")
        << library << kick + "1\t2\tKICK\t/s/k2.tvs\r\n\r\n"
        << QStringList{QStringLiteral("Cannot have duplicate file names")} << toLibrary << libraryAfter << keptLibrary;
    QTest::newRow("library: binary") << library << kick + QByteArray("\x7f" "ELF\x02\x01\x01\0\t\0\t\0\t\0\r\n", 17)
                                     << QStringList{} << toLibrary << libraryAfter << keptLibrary;
    // Without its byte order mark UTF-16 reads as bytes, NULs and all.
    QTest::newRow("library: UTF-16 without a byte order mark")
        << library << utf16le(kick) << QStringList{} << toLibrary
        << QByteArray("0\t9\tAdded\t/s/added.tvs\r\n\r\n") << keptLibrary;
    // A byte after the last whole unit is half a character: the lines before it are read.
    QTest::newRow("library: UTF-16 with a stray last byte")
        << library << "\xff\xfe" + utf16le(kick) + "x" << QStringList{} << toLibrary << libraryAfter << keptLibrary;
    QTest::newRow("library: UTF-16 big-endian cut short after a unit")
        << library << "\xfe\xff" + utf16be(kick.chopped(2)) + QByteArray(1, '\0') << QStringList{} << toLibrary
        << libraryAfter << keptLibrary;
    QTest::newRow("library: UTF-16 with a stray line break byte")
        << library << "\xff\xfe" + utf16le(kick) + "\n" << QStringList{} << toLibrary << libraryAfter << keptLibrary;
    QTest::newRow("library: UTF-16 with a broken surrogate and a stray byte")
        << library << "\xff\xfe" + utf16le(kick) + QByteArray("\x00\xd8x", 3) << QStringList{} << toLibrary
        << QByteArray("0\t9\tAdded\t/s/added.tvs\r\n\r\n") << keptLibrary;
    QTest::newRow("list: a 13th location") << list << kick + "12\t2\tSnare\t/s/s.tvs\r\n\r\n" << QStringList{}
                                           << toLists << listAfter << keptList;
    QTest::newRow("list: a location twice") << list << "0\t2\tSnare\t/s/s.tvs\r\n" + kick + "\r\n" << QStringList{}
                                            << toLists << listAfter << keptList;
    QTest::newRow("list: three fields") << list << kick + "1\t2\tSnare\r\n\r\n" << QStringList{} << toLists
                                        << listAfter << keptList;
    QTest::newRow("list: deleted with a 13th location") << list << kick + "12\t2\tSnare\t/s/s.tvs\r\n\r\n"
                                                        << QStringList{} << Change(deleteList) << QByteArray()
                                                        << keptList;
    QTest::newRow("list: renamed with a 13th location") << list << kick + "12\t2\tSnare\t/s/s.tvs\r\n\r\n"
                                                        << QStringList{} << Change(renameList) << QByteArray()
                                                        << keptList;
    QTest::newRow("list of lists: a name with a tab")
        << names << QByteArray("Live\r\nA\tB\r\n\r\n") << QStringList{} << toLists << QByteArray("Live\r\n\r\n")
        << keptNames;
    QTest::newRow("list of lists: UTF-16 with a stray last byte")
        << names << "\xff\xfe" + utf16le("Live\r\n") + "L" << QStringList{} << toLists << QByteArray("Live\r\n\r\n")
        << keptNames;
    QTest::newRow("list of lists: a name twice")
        << names << QByteArray("Live\r\nLIVE\r\n\r\n") << QStringList{QStringLiteral("Load List: LIVE already exist!")}
        << toLists << QByteArray("Live\r\n\r\n") << keptNames;

    // What the reading takes whole, or what holds nothing, is no reason for a copy.
    QTest::newRow("library: other line ends and blank lines")
        << library << QByteArray("0\t1\tKick\t/s/k.tvs\n   \n\t \n\n") << QStringList{} << toLibrary << libraryAfter
        << QString();
    QTest::newRow("library: UTF-16 with a byte order mark")
        << library << "\xff\xfe" + utf16le(kick) << QStringList{} << toLibrary
        << libraryAfter << QString();
    QTest::newRow("list: numbers written another way") << list << QByteArray(" 0.2\t&H1\tKick\t/s/k.tvs\r\n\r\n")
                                                       << QStringList{} << toLists << listAfter << QString();
    QTest::newRow("list: deleted") << list << kick + "\r\n" << QStringList{} << Change(deleteList) << QByteArray()
                                   << QString();
    QTest::newRow("list of lists: a list whose file is gone")
        << names << QByteArray("Live\r\nGone\r\n\r\n") << QStringList{} << toLists << QByteArray("Live\r\n\r\n")
        << QString();
}

void UnreadLinesTest::passedOverLinesAreKeptBeforeTheFileChanges()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, loadBoxes);
    QFETCH(Change, change);
    QFETCH(QByteArray, after);
    QFETCH(QString, keptName);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), kick + "\r\n"));
    QVERIFY(folder.writeBytes(QStringLiteral("Live.dat"), kick + "\r\n"));
    QVERIFY(folder.writeBytes(QStringLiteral("ListOfLL.kvl"), "Live\r\n\r\n"));
    // A second list file whose name differs only in case, as another system may leave.
    QVERIFY(folder.writeBytes(QStringLiteral("LIVE.dat"), "\r\n"));
    QVERIFY(folder.writeBytes(file, bytes));
    const QStringList before = filesIn(folder);

    Startup startup;
    QCOMPARE(seam.messageTexts(), loadBoxes);
    QCOMPARE(filesIn(folder), before);

    QVERIFY(!change(startup));
    QStringList boxes = loadBoxes;
    if (!keptName.isEmpty()) {
        boxes.append(keptText(folder.filePath(file), keptName));
        QCOMPARE(folder.readBytes(keptName), bytes);
    }
    QCOMPARE(seam.messageTexts(), boxes);
    if (after.isNull())
        QVERIFY(!QFileInfo::exists(folder.filePath(file)));
    else
        QCOMPARE(folder.readBytes(file), after);
    const QStringList copies = filesIn(folder).filter(QStringLiteral(".unread"));
    QCOMPARE(copies, keptName.isEmpty() ? QStringList{} : QStringList{keptName});

    // Once kept, the file is the program's own: the next change keeps nothing more.
    QVERIFY(!change(startup));
    QCOMPARE(seam.messageTexts(), boxes);
    QCOMPARE(filesIn(folder).filter(QStringLiteral(".unread")), copies);
}

void UnreadLinesTest::earlierCopyIsNotWrittenOver()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    const QByteArray earlier("kept last week\r\n");
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat.unread"), earlier));
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat.2.unread"), earlier));
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), kick + "1\t2\tSnare\t/s/s.tvs\tx\r\n\r\n"));

    Startup startup;
    QVERIFY(!saveLibrary(startup));

    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat.unread")), earlier);
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat.2.unread")), earlier);
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat.3.unread")), kick + "1\t2\tSnare\t/s/s.tvs\tx\r\n\r\n");
    QCOMPARE(seam.messageTexts(),
             QStringList{keptText(folder.filePath(QStringLiteral("Library.dat")), QStringLiteral("Library.dat.3.unread"))});
}

void UnreadLinesTest::copyOfALongNameFits()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    // The longest list name leaves no room in its file name for anything more.
    const QString name(251, u'x');
    const QByteArray bytes = kick + "12\t2\tSnare\t/s/s.tvs\r\n\r\n";
    QVERIFY(folder.writeBytes(name + QStringLiteral(".dat"), bytes));
    QVERIFY(folder.writeBytes(QStringLiteral("ListOfLL.kvl"), name.toLatin1() + "\r\n\r\n"));

    Startup startup;
    QCOMPARE(startup.lists.getCount(), 1);
    startup.lists.remove(name);

    const QString kept = QString(248, u'x') + QStringLiteral(".unread");
    QCOMPARE(folder.readBytes(kept), bytes);
    QCOMPARE(seam.messageTexts(), QStringList{keptText(folder.filePath(name + QStringLiteral(".dat")), kept)});
    QVERIFY(!QFileInfo::exists(folder.filePath(name + QStringLiteral(".dat"))));
}

void UnreadLinesTest::fileStaysWhenItCannotBeKept()
{
#ifdef Q_OS_UNIX
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    // The copy needs room for the whole file; what the save writes is far smaller.
    const QByteArray bytes = kick + QByteArray(8192, 'x') + "\r\n\r\n";
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), bytes));
    Startup startup;
    bool failed = false;
    {
        test::FileSizeLimit limit(4096);
        failed = saveLibrary(startup);
    }
    QVERIFY(failed);
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), bytes);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("Library.dat")});
    // The system's own words say why, as on a full disk.
    QCOMPARE(seam.messageTexts(),
             QStringList{QStringLiteral("Kivo Rudovaz could not read some lines of the file ")
                         + folder.filePath(QStringLiteral("Library.dat"))
                         + QStringLiteral(".\r\nThe file could not be copied to \"Library.dat.unread\" before it changes (")
                         + QString::fromStdString(std::generic_category().message(EFBIG))
                         + QStringLiteral("), so it stays as it is.")});

    // With room again, the next save keeps the file and goes on.
    QVERIFY(!saveLibrary(startup));
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat.unread")), bytes);
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), kick + added + "\r\n");
    QCOMPARE(seam.messages().size(), 2);
#else
    QSKIP("needs a file size limit");
#endif
}

void UnreadLinesTest::oneBoxNamesEveryFileKeptAside_data()
{
    QTest::addColumn<int>("lists");
    QTest::addColumn<int>("tooLarge"); // how many of them are too large to be copied; needs a size limit

    QTest::newRow("30 lists") << 30 << 0;
    QTest::newRow("3 lists, one too large to copy") << 3 << 1;
}

void UnreadLinesTest::oneBoxNamesEveryFileKeptAside()
{
    QFETCH(int, lists);
    QFETCH(int, tooLarge);
#ifndef Q_OS_UNIX
    if (tooLarge > 0)
        QSKIP("needs a file size limit");
#endif
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QByteArray names;
    QStringList lines;
    QStringList kept;
    for (int i = 1; i <= lists; ++i) {
        const QString name = QStringLiteral("List%1").arg(i, 2, 10, QLatin1Char('0'));
        const bool large = i <= tooLarge;
        const QByteArray bytes = kick + "12\t2\tSnare\t/s/s.tvs\r\n" + (large ? QByteArray(8192, 'x') : QByteArray()) + "\r\n";
        QVERIFY(folder.writeBytes(name + QStringLiteral(".dat"), bytes));
        names += name.toLatin1() + "\r\n";
        const QString file = name + QStringLiteral(".dat");
        lines.append(large ? file + QStringLiteral(": could not be copied to \"") + name + QStringLiteral(".dat.unread\" (")
                                 + QString::fromStdString(std::generic_category().message(EFBIG))
                                 + QStringLiteral("), so it stays as it is")
                           : file + QStringLiteral(": kept as it was as \"") + name + QStringLiteral(".dat.unread\""));
        if (!large)
            kept.append(name + QStringLiteral(".dat.unread"));
    }
    QVERIFY(folder.writeBytes(QStringLiteral("ListOfLL.kvl"), names + "\r\n"));
    Startup startup;
    QCOMPARE(startup.lists.getCount(), lists);

    bool failed = false;
    {
#ifdef Q_OS_UNIX
        std::optional<test::FileSizeLimit> limit;
        if (tooLarge > 0)
            limit.emplace(4096);
#endif
        failed = startup.lists.saveAll();
    }

    QCOMPARE(failed, tooLarge > 0);
    QCOMPARE(seam.messageTexts(),
             QStringList{QStringLiteral("Kivo Rudovaz could not read some lines of these files in ") + folder.path()
                         + QStringLiteral(", which cannot stay in them. Each copy is in the same folder as its file:\r\n\r\n")
                         + lines.join(QStringLiteral("\r\n"))});
    QCOMPARE(filesIn(folder).filter(QStringLiteral(".unread")), kept);
}

QTEST_GUILESS_MAIN(UnreadLinesTest)
#include "UnreadLinesTest.moc"
