#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/FileShell.h"
#include "model/Library.h"
#include "model/LoadList.h"
#include "model/LoadLists.h"
#include "platform/RuntimeError.h"

#include "EncodedFile.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

#include <cstdint>
#include <filesystem>
#include <limits>


using namespace kivo;

namespace {

LoadListPtr namedList(const QString &name)
{
    QString n = name;
    return newLoadList(n);
}

struct Entry {
    int index;
    qint32 tag;
    QString name;
    QString path;
};

QList<Entry> entriesOf(const IPersistToFile &unit)
{
    QList<Entry> entries;
    for (int i = 0; i < unit.count(); ++i) {
        if (const ModelPtr m = unit.getModel(i))
            entries.append({i, m->tag(), m->name(), m->path()});
    }
    return entries;
}

bool operator==(const Entry &a, const Entry &b)
{
    return a.index == b.index && a.tag == b.tag && a.name == b.name && a.path == b.path;
}

const QString fileNotFound = QStringLiteral("File not found");
const QString badFileNumber = QStringLiteral("Bad file name or number");

} // namespace

class FileProxyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadListBytesAndRoundTrip();
    void emptyListFile();
    void libraryRoundTripKeepsOrderAndExtremeTags();
    void readerSkipsWhatDoesNotFit_data();
    void readerSkipsWhatDoesNotFit();
    void readingAgainOverwritesOnlyNamedLocations();
    void missingLibraryFileIsNoError();
    void missingListFileIsReported();
    void textIsUtf8AndLegacyBytesReadAsLatin1();
    void savedLinesAreTheFieldsInUtf8_data();
    void savedLinesAreTheFieldsInUtf8();
    void fileThatHoldsTheBytesIsLeftAlone();
    void splitLinesAtEveryKindOfBreak_data();
    void splitLinesAtEveryKindOfBreak();
    void everyLineEndingIsRead_data();
    void everyLineEndingIsRead();
    void strayByteCostsOnlyItsLine_data();
    void strayByteCostsOnlyItsLine();
    void pathKeepsItsBytes();
    void saveUnderNewNameKeepsOldFile();
    void fileNotExistCountsOrdinaryFilesOnly();
    void fileShellHandlesAndModes();
    void readFileCharacters();
    void deleteLoadListFile();
};

void FileProxyTest::loadListBytesAndRoundTrip()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    auto list = namedList(QStringLiteral("Live"));
    list->add(0, newModel(12, QStringLiteral("Kick"), QStringLiteral("/s/kick.tvs")));
    list->add(3, newModel(-1, QStringLiteral("Snare"), QStringLiteral("/s/snare.tvs")));
    list->add(11, newModel(300, QStringLiteral("Hat"), QStringLiteral("/s/hat.tvs")));

    QVERIFY(!saveToFile(list->persistent(), QString()));

    QCOMPARE(folder.readBytes(QStringLiteral("Live.dat")),
             QByteArray("0\t12\tKick\t/s/kick.tvs\r\n"
                        "3\t-1\tSnare\t/s/snare.tvs\r\n"
                        "11\t300\tHat\t/s/hat.tvs\r\n"
                        "\r\n"));

    auto back = namedList(QStringLiteral("Live"));
    loadFromFile(back->persistent(), QString());
    QCOMPARE(entriesOf(back->persistent()), entriesOf(list->persistent()));
    QCOMPARE(back->count(), 3);
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::emptyListFile()
{
    test::TempDataFolder folder;
    auto list = namedList(QStringLiteral("Empty"));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    QCOMPARE(folder.readBytes(QStringLiteral("Empty.dat")), QByteArray("\r\n"));
    loadFromFile(list->persistent(), QString());
    QCOMPARE(list->count(), 0);
    QVERIFY(!list->hasChanged());
}

void FileProxyTest::libraryRoundTripKeepsOrderAndExtremeTags()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    Library library;
    const qint32 tags[] = {std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(), -1, 0};
    const QString names[] = {QStringLiteral("zeta"), QStringLiteral("Alpha"), QStringLiteral("mid"),
                             QStringLiteral("b")};
    for (int i = 0; i < 4; ++i)
        library.add(newModel(tags[i], names[i], QStringLiteral("/s/") + names[i] + QStringLiteral(".tvs")));
    QVERIFY(!library.save());
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")),
             QByteArray("0\t2147483647\tzeta\t/s/zeta.tvs\r\n"
                        "1\t-2147483648\tAlpha\t/s/Alpha.tvs\r\n"
                        "2\t-1\tmid\t/s/mid.tvs\r\n"
                        "3\t0\tb\t/s/b.tvs\r\n"
                        "\r\n"));

    Library back;
    loadFromFile(back.persistent(), QString());
    QCOMPARE(entriesOf(back.persistent()), entriesOf(library.persistent()));
    QVERIFY(back.hasChanged());
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::readerSkipsWhatDoesNotFit_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("listIndex"); // -1: the list takes nothing
    QTest::addColumn<bool>("libraryTakesIt");
    QTest::addColumn<qint32>("tag");

    QTest::newRow("plain") << QByteArray("4\t9\tn\tp") << 4 << true << 9;
    QTest::newRow("three fields") << QByteArray("4\t9\tn") << -1 << false << 0;
    QTest::newRow("five fields") << QByteArray("4\t9\tn\tp\tx") << -1 << false << 0;
    QTest::newRow("empty line") << QByteArray("") << -1 << false << 0;
    QTest::newRow("index 7 with a letter") << QByteArray("7b\t1\tn\tp") << 7 << true << 1;
    QTest::newRow("index with blanks and fraction") << QByteArray(" 2.5\t1\tn\tp") << 2 << true << 1;
    QTest::newRow("index rounds half to even") << QByteArray("3.5\t1\tn\tp") << 4 << true << 1;
    QTest::newRow("no index number") << QByteArray("x\t1\tn\tp") << 0 << true << 1;
    QTest::newRow("tag in hexadecimal") << QByteArray("1\t&H10\tn\tp") << 1 << true << 16;
    QTest::newRow("tag with exponent") << QByteArray("1\t1e2\tn\tp") << 1 << true << 100;
    QTest::newRow("index 12") << QByteArray("12\t1\tn\tp") << -1 << true << 1;
    QTest::newRow("index -1") << QByteArray("-1\t1\tn\tp") << -1 << true << 1;
    QTest::newRow("index beyond 16 bits") << QByteArray("40000\t1\tn\tp") << -1 << false << 0;
    QTest::newRow("tag beyond 32 bits") << QByteArray("1\t2147483648\tn\tp") << -1 << false << 0;
    QTest::newRow("tag below 32 bits") << QByteArray("1\t-2147483649\tn\tp") << -1 << false << 0;
}

void FileProxyTest::readerSkipsWhatDoesNotFit()
{
    QFETCH(QByteArray, line);
    QFETCH(int, listIndex);
    QFETCH(bool, libraryTakesIt);
    QFETCH(qint32, tag);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    // Good lines around the one under test show that a bad line costs only itself.
    const QByteArray before("9\t5\tfirst\tf\r\n");
    const QByteArray after("\r\n10\t6\tlast\tl\r\n\r\n");
    QVERIFY(folder.writeBytes(QStringLiteral("Set.dat"), before + line + after));
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), before + line + after));

    auto list = namedList(QStringLiteral("Set"));
    loadFromFile(list->persistent(), QString());
    Library library;
    loadFromFile(library.persistent(), QString());

    QCOMPARE(list->getModel(9)->name(), QStringLiteral("first"));
    QCOMPARE(list->getModel(10)->name(), QStringLiteral("last"));
    QCOMPARE(list->count(), listIndex >= 0 ? 3 : 2);
    if (listIndex >= 0) {
        QCOMPARE(list->getModel(listIndex)->name(), QStringLiteral("n"));
        QCOMPARE(list->getModel(listIndex)->tag(), tag);
    }
    QCOMPARE(library.getCount(), libraryTakesIt ? 3 : 2);
    QCOMPARE(library.getModel(1)->name(), QStringLiteral("first"));
    if (libraryTakesIt) {
        QCOMPARE(library.getModel(2)->name(), QStringLiteral("n"));
        QCOMPARE(library.getModel(2)->path(), QStringLiteral("p"));
        QCOMPARE(library.getModel(2)->tag(), tag);
    }
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::readingAgainOverwritesOnlyNamedLocations()
{
    test::TempDataFolder folder;
    QVERIFY(folder.writeBytes(QStringLiteral("Set.dat"), "2\t1\tfromFile\tp\r\n\r\n"));
    auto list = namedList(QStringLiteral("Set"));
    list->add(2, newModel(0, QStringLiteral("mine"), QStringLiteral("m")));
    list->add(5, newModel(0, QStringLiteral("kept"), QStringLiteral("k")));
    loadFromFile(list->persistent(), QString());
    QCOMPARE(list->getModel(2)->name(), QStringLiteral("fromFile"));
    QCOMPARE(list->getModel(5)->name(), QStringLiteral("kept"));
    QCOMPARE(list->count(), 2);
}

void FileProxyTest::missingLibraryFileIsNoError()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    Library library;
    loadFromFile(library.persistent(), QString());
    QCOMPARE(library.getCount(), 0);
    QVERIFY(!library.hasChanged());
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::missingListFileIsReported()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    auto list = namedList(QStringLiteral("Gone"));
    loadFromFile(list->persistent(), QString());
    QCOMPARE(seam.messageTexts(), (QStringList{fileNotFound, badFileNumber}));
    QCOMPARE(list->count(), 0);
}

void FileProxyTest::textIsUtf8AndLegacyBytesReadAsLatin1()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    auto list = namedList(QStringLiteral("Chars"));
    const QString name = QStringLiteral("Caf\u00e9 \u266b");
    list->add(1, newModel(1, name, QStringLiteral("/s/\u00e9.tvs")));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    QCOMPARE(folder.readBytes(QStringLiteral("Chars.dat")),
             QByteArray("1\t1\tCaf\xc3\xa9 \xe2\x99\xab\t/s/\xc3\xa9.tvs\r\n\r\n"));

    QVERIFY(folder.writeBytes(QStringLiteral("Legacy.dat"), "0\t1\tCaf\xe9\tC:\\s\\\xe9.tvs\r\n"
                                                            "1\t2\tplain\tp\r\n\r\n"));
    auto legacy = namedList(QStringLiteral("Legacy"));
    loadFromFile(legacy->persistent(), QString());
    QCOMPARE(legacy->count(), 2);
    QCOMPARE(legacy->getModel(0)->name(), QStringLiteral("Caf\u00e9"));
    QCOMPARE(legacy->getModel(0)->path(), QStringLiteral("C:\\s\\\u00e9.tvs"));
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::savedLinesAreTheFieldsInUtf8_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");

    QTest::newRow("ASCII") << QStringLiteral("Kick") << QStringLiteral("/s/kick.tvs");
    QTest::newRow("beyond 16 bits") << QStringLiteral("Drum \U0001F941") << QStringLiteral("/s/\U0001F941 \u00e9.tvs");
    // Text that is no proper UTF-16 is saved as it always was: a '?' for each lone half.
    QTest::newRow("lone surrogates") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")
                                     << QStringLiteral("/s/") + QChar(0xDC00) + QStringLiteral(".tvs");
    QTest::newRow("far longer than a usual line") << QString(500, u'n')
                                                  << QStringLiteral("/s/") + QString(3000, u'\u00e9');
}

void FileProxyTest::savedLinesAreTheFieldsInUtf8()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    auto list = namedList(QStringLiteral("Fields"));
    list->add(0, newModel(-7, name, path));
    list->add(11, newModel(std::numeric_limits<qint32>::max(), QStringLiteral("Hat"), path));

    QVERIFY(!saveToFile(list->persistent(), QString()));

    const QByteArray expected = "0\t-7\t" + name.toUtf8() + '\t' + path.toUtf8() + "\r\n11\t2147483647\tHat\t"
                                + path.toUtf8() + "\r\n\r\n";
    QCOMPARE(folder.readBytes(QStringLiteral("Fields.dat")), expected);
    QVERIFY(!differsFromFile(list->persistent()));
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::fileThatHoldsTheBytesIsLeftAlone()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    auto list = namedList(QStringLiteral("Same"));
    list->add(0, newModel(1, QStringLiteral("a"), QStringLiteral("p")));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    const QByteArray saved = folder.readBytes(QStringLiteral("Same.dat"));
    // A second name for the file shows whether a save replaced it.
    const std::filesystem::path file(folder.filePath(QStringLiteral("Same.dat")).toStdU16String());
    std::filesystem::create_hard_link(file, std::filesystem::path(folder.filePath(QStringLiteral("Link")).toStdU16String()));

    QVERIFY(!saveToFile(list->persistent(), QString()));
    QCOMPARE(std::filesystem::hard_link_count(file), std::uintmax_t{2});

    // Other bytes of the same length are no match.
    QVERIFY(folder.writeBytes(QStringLiteral("Same.dat"), QByteArray(saved).replace("\ta\t", "\tb\t")));
    QVERIFY(differsFromFile(list->persistent()));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    QCOMPARE(folder.readBytes(QStringLiteral("Same.dat")), saved);
    QCOMPARE(std::filesystem::hard_link_count(file), std::uintmax_t{1});
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::splitLinesAtEveryKindOfBreak_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList{QString()};
    QTest::newRow("no break") << QStringLiteral("abc") << QStringList{QStringLiteral("abc")};
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QString()};
    QTest::newRow("ends with a lone CR") << QStringLiteral("a\rb\r") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QString()};
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("CR before CR LF") << QStringLiteral("\r\r\n\n") << QStringList{QString(), QString(), QString(), QString()};
}

void FileProxyTest::splitLinesAtEveryKindOfBreak()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QStringList found;
    for (const QStringView line : splitLines(text))
        found.append(line.toString());
    QCOMPARE(found, lines);
}

void FileProxyTest::everyLineEndingIsRead_data()
{
    QTest::addColumn<QByteArray>("lineEnd");

    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF, as editors leave it") << QByteArray("\n");
    QTest::newRow("CR alone") << QByteArray("\r");
}

void FileProxyTest::everyLineEndingIsRead()
{
    QFETCH(QByteArray, lineEnd);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    const auto file = [&lineEnd](const QByteArrayList &lines) { return lines.join(lineEnd) + lineEnd + lineEnd; };
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"),
                              file({"0\t5\tKick\t/s/kick.tvs", "1\t-1\tSnare\t/s/snare.tvs", "2\t7\tHat\t/s/hat.tvs"})));
    QVERIFY(folder.writeBytes(QStringLiteral("Live.dat"), file({"0\t5\tKick\t/s/kick.tvs", "11\t7\tHat\t/s/hat.tvs"})));
    QVERIFY(folder.writeBytes(QStringLiteral("Other.dat"), lineEnd));
    QVERIFY(folder.writeBytes(QStringLiteral("ListOfLL.kvl"), file({"Live", "Other"})));
    QVERIFY(folder.writeBytes(QStringLiteral("pkg/Gig.kxf"), file({"3\t5\tKick\tkick.tvs", "4\t7\tHat\that.tvs"})));

    Library library;
    loadFromFile(library.persistent(), QString());
    LoadLists lists;
    loadListOfLoadLists(lists);
    lists.fillLoadLists();
    auto imported = namedList(QStringLiteral("Gig"));
    loadFromFile(imported->persistent(), folder.filePath(QStringLiteral("pkg/Gig.kxf")));

    QCOMPARE(library.getCount(), 3);
    QCOMPARE(library.getModel(3)->path(), QStringLiteral("/s/hat.tvs"));
    QCOMPARE(lists.toString(), QStringLiteral("Live\r\nOther\r\n"));
    QCOMPARE(entriesOf(lists.getLoadList(QStringLiteral("Live"))->persistent()),
             (QList<Entry>{{0, 5, QStringLiteral("Kick"), QStringLiteral("/s/kick.tvs")},
                           {11, 7, QStringLiteral("Hat"), QStringLiteral("/s/hat.tvs")}}));
    QCOMPARE(entriesOf(imported->persistent()),
             (QList<Entry>{{3, 5, QStringLiteral("Kick"), folder.filePath(QStringLiteral("pkg/kick.tvs"))},
                           {4, 7, QStringLiteral("Hat"), folder.filePath(QStringLiteral("pkg/hat.tvs"))}}));
    QVERIFY(seam.messages().isEmpty());

    // Written back the program's way.
    QVERIFY(!library.save());
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")),
             QByteArray("0\t5\tKick\t/s/kick.tvs\r\n1\t-1\tSnare\t/s/snare.tvs\r\n2\t7\tHat\t/s/hat.tvs\r\n\r\n"));
}

void FileProxyTest::strayByteCostsOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("savedAgain");

    const QString cafe = QStringLiteral("Caf\u00e9 \u266b");
    const QString legacy = QStringLiteral("Caf\u00e9");
    QTest::newRow("middle line") << QByteArray("0\t1\tCaf\xc3\xa9 \xe2\x99\xab\tp\r\n"
                                               "1\t2\tCaf\xe9\tq\r\n"
                                               "2\t3\tNo\xc3\xabl\tr\r\n\r\n")
                                 << QStringList{cafe, legacy, QStringLiteral("No\u00ebl")}
                                 << QByteArray("0\t1\tCaf\xc3\xa9 \xe2\x99\xab\tp\r\n"
                                               "1\t2\tCaf\xc3\xa9\tq\r\n"
                                               "2\t3\tNo\xc3\xabl\tr\r\n\r\n");
    QTest::newRow("first line, LF") << QByteArray("0\t1\tCaf\xe9\tp\n1\t2\tCaf\xc3\xa9 \xe2\x99\xab\tq\n\n")
                                    << QStringList{legacy, cafe}
                                    << QByteArray("0\t1\tCaf\xc3\xa9\tp\r\n1\t2\tCaf\xc3\xa9 \xe2\x99\xab\tq\r\n\r\n");
    // An editor's byte order mark is no part of the first record.
    QTest::newRow("byte order mark, stray byte later")
        << QByteArray("\xef\xbb\xbf" "0\t1\tCaf\xc3\xa9 \xe2\x99\xab\tp\r\n1\t2\tCaf\xe9\tq\r\n\r\n")
        << QStringList{cafe, legacy}
        << QByteArray("0\t1\tCaf\xc3\xa9 \xe2\x99\xab\tp\r\n1\t2\tCaf\xc3\xa9\tq\r\n\r\n");
    // A name in UTF-8 beside a path whose bytes are Latin-1, as saving such a record writes.
    QTest::newRow("UTF-8 name, Latin-1 path") << QByteArray("0\t1\tCaf\xc3\xa9\t/s/caf\xe9.tvs\r\n1\t2\tNo\xebl\tq\r\n\r\n")
                                              << QStringList{QStringLiteral("Caf\u00e9"), QStringLiteral("No\u00ebl")}
                                              << QByteArray("0\t1\tCaf\xc3\xa9\t/s/caf\xe9.tvs\r\n1\t2\tNo\xc3\xabl\tq\r\n\r\n");
    // Some editors save text as UTF-16: read whole, it is saved again the program's way.
    const QString utf16Text = QStringLiteral("0\t1\tCaf\u00e9 \u266b\tp\r\n1\t2\t\U0001d11e\tq\n\r\n");
    const QByteArray utf16Saved("0\t1\tCaf\xc3\xa9 \xe2\x99\xab\tp\r\n1\t2\t\xf0\x9d\x84\x9e\tq\r\n\r\n");
    QTest::newRow("UTF-16, little-endian") << "\xff\xfe" + QStringEncoder(QStringEncoder::Utf16LE).encode(utf16Text)
                                           << QStringList{cafe, QStringLiteral("\U0001d11e")} << utf16Saved;
    QTest::newRow("UTF-16, big-endian") << "\xfe\xff" + QStringEncoder(QStringEncoder::Utf16BE).encode(utf16Text)
                                        << QStringList{cafe, QStringLiteral("\U0001d11e")} << utf16Saved;
}

void FileProxyTest::strayByteCostsOnlyItsLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, savedAgain);
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), bytes));

    Library library;
    loadFromFile(library.persistent(), QString());
    QStringList read;
    for (const ModelPtr &m : library)
        read.append(m->name());
    QCOMPARE(read, names);

    QVERIFY(!library.save());
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), savedAgain);
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::pathKeepsItsBytes()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    // A file named on a system whose 8-bit text is Latin-1: é is the byte E9.
    const test::EncodedFile sound(QFile::encodeName(folder.path()) + "caf\xe9.tvs");
    QVERIFY(sound.write("sound"));
    const QByteArray &path = sound.path();
    const QString shown = folder.path() + QStringLiteral("caf\u00e9.tvs");
    const QByteArray other("\t8\tOther\t/s/o.tvs\r\n");
    QVERIFY(folder.writeBytes(QStringLiteral("Library.dat"), "0\t7\tCaf\xe9\t" + path + "\r\n\r\n"));
    QVERIFY(folder.writeBytes(QStringLiteral("Live.dat"), "3\t7\tCafe\t" + path + "\r\n\r\n"));

    Library library;
    loadFromFile(library.persistent(), QString());
    const ModelPtr fromLibrary = library.getModel(1);
    QCOMPARE(fromLibrary->path(), shown);
    QCOMPARE(fromLibrary->encodedPath(), path);
    QVERIFY(!fileNotExist(*fromLibrary));
    library.add(newModel(8, QStringLiteral("Other"), QStringLiteral("/s/o.tvs")));
    QVERIFY(!saveToFile(library.persistent(), QString()));
    // The name is text and is saved as UTF-8; the path names a file and keeps its bytes.
    QCOMPARE(folder.readBytes(QStringLiteral("Library.dat")), "0\t7\tCaf\xc3\xa9\t" + path + "\r\n1" + other + "\r\n");
    Library again;
    loadFromFile(again.persistent(), QString());
    QCOMPARE(entriesOf(again.persistent()), entriesOf(library.persistent()));
    QCOMPARE(again.getModel(1)->encodedPath(), path);

    auto list = namedList(QStringLiteral("Live"));
    loadFromFile(list->persistent(), QString());
    QVERIFY(!fileNotExist(*list->getModel(3)));
    list->add(5, newModel(8, QStringLiteral("Other"), QStringLiteral("/s/o.tvs")));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    QCOMPARE(folder.readBytes(QStringLiteral("Live.dat")), "3\t7\tCafe\t" + path + "\r\n5" + other + "\r\n");

    // A copy of the list, as of the list last written to the unit, keeps them too.
    auto copy = namedList(QStringLiteral("Copy"));
    LoadLists().copyInto(*list, *copy);
    QCOMPARE(copy->getModel(3)->encodedPath(), path);
    QVERIFY(!saveToFile(copy->persistent(), QString()));
    QCOMPARE(folder.readBytes(QStringLiteral("Copy.dat")), folder.readBytes(QStringLiteral("Live.dat")));
    QVERIFY(seam.messages().isEmpty());
}

void FileProxyTest::saveUnderNewNameKeepsOldFile()
{
    test::TempDataFolder folder;
    auto list = namedList(QStringLiteral("Old"));
    list->add(0, newModel(1, QStringLiteral("a"), QStringLiteral("p")));
    QVERIFY(!saveToFile(list->persistent(), QString()));
    list->add(1, newModel(2, QStringLiteral("b"), QStringLiteral("q")));

    QVERIFY(!saveToFile(list->persistent(), QStringLiteral("New")));

    QCOMPARE(folder.readBytes(QStringLiteral("Old.dat")), QByteArray("0\t1\ta\tp\r\n\r\n"));
    QCOMPARE(folder.readBytes(QStringLiteral("New.dat")), QByteArray("0\t1\ta\tp\r\n1\t2\tb\tq\r\n\r\n"));
    QCOMPARE(list->name(), QStringLiteral("Old"));
}

void FileProxyTest::fileNotExistCountsOrdinaryFilesOnly()
{
    test::TempDataFolder folder;
    QVERIFY(folder.writeBytes(QStringLiteral("plain.dat"), "x"));
    QVERIFY(folder.writeBytes(QStringLiteral(".hidden.dat"), "x"));
    QVERIFY(QDir().mkdir(folder.filePath(QStringLiteral("folder.dat"))));
    QVERIFY(!fileNotExist(folder.filePath(QStringLiteral("plain.dat"))));
    QVERIFY(fileNotExist(folder.filePath(QStringLiteral(".hidden.dat"))));
    QVERIFY(fileNotExist(folder.filePath(QStringLiteral("folder.dat"))));
    QVERIFY(fileNotExist(folder.filePath(QStringLiteral("none.dat"))));
}

void FileProxyTest::fileShellHandlesAndModes()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    const QString path = folder.filePath(QStringLiteral("f.txt"));
    {
        FileShellPtr writer = newFileShell(path, FileShell::WriteText);
        QVERIFY(writer->handle() != 0);
        QCOMPARE(writer->fileName(), path);
        FileShellPtr second = newFileShell(folder.filePath(QStringLiteral("g.txt")), FileShell::WriteText);
        QVERIFY(second->handle() != writer->handle());
        writer->writeText(QStringLiteral("one"));
        writer->closeFile();
        QCOMPARE(writer->handle(), 0);
        // A writer that is not closed leaves nothing behind.
        second->writeText(QStringLiteral("lost"));
    }
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("g.txt"))));
    {
        FileShellPtr appender = newFileShell(path, FileShell::AppendText);
        appender->writeText(QStringLiteral(" two"));
    }
    FileShellPtr reader = newFileShell(path, FileShell::ReadText);
    QCOMPARE(reader->readText(), QStringLiteral("one two"));
    QVERIFY(seam.messages().isEmpty());

    FileShellPtr missing = newFileShell(folder.filePath(QStringLiteral("none.txt")));
    QCOMPARE(missing->handle(), 0);
    QVERIFY(missing->fileName().isEmpty());
    QVERIFY_THROWS_EXCEPTION(RuntimeError, missing->readText());
    FileShellPtr noFolder = newFileShell(folder.filePath(QStringLiteral("no/where.txt")), FileShell::WriteText);
    QCOMPARE(noFolder->handle(), 0);
    QCOMPARE(seam.messageTexts(), (QStringList{fileNotFound, QStringLiteral("Path not found")}));
}

void FileProxyTest::readFileCharacters()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(folder.writeBytes(QStringLiteral("r.txt"), "\xc3\xa9t\xc3\xa9\r\n"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("r.txt")), 2), QStringLiteral("\u00e9t"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("r.txt")), 0), QStringLiteral("\u00e9t\u00e9\r\n"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("none.txt")), 0), QString());
    QCOMPARE(seam.messageTexts(), (QStringList{fileNotFound, badFileNumber}));
}

void FileProxyTest::deleteLoadListFile()
{
    test::TempDataFolder folder;
    QVERIFY(folder.writeBytes(QStringLiteral("Gig.dat"), "\r\n"));
    kivo::deleteLoadListFile(QStringLiteral("Gig"));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Gig.dat"))));
    kivo::deleteLoadListFile(QStringLiteral("Gig"));
}

QTEST_GUILESS_MAIN(FileProxyTest)
#include "FileProxyTest.moc"
