#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/LoadLists.h"

#include "BusyFile.h"
#include "EncodedFile.h"
#include "FileSizeLimit.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fstream>
#include <iterator>
#include <string>

using namespace kivo;

namespace {

const QString copyFailure = QStringLiteral("Your Load List cannot be copied\r\nPlease try again");

// A folder of sound image files and an export destination, with a set of load lists
// whose active list is "Live".
class Package {
public:
    Package()
    {
        QString name = QStringLiteral("Live");
        live = newLoadList(name);
        lists.addLoadList(live);
        lists.setActiveLoadList(live);
    }

    // Puts a record at the location whose file holds its own name, in a subfolder
    // of the sound folder.
    void place(int location, const QString &name, const QString &subfolder = QStringLiteral("a"))
    {
        const QString file = subfolder + QDir::separator() + name.toLower() + QStringLiteral(".tvs");
        QVERIFY(sounds.writeBytes(file, name.toUtf8()));
        live->add(location, newModel(location * 10, name, sounds.filePath(file)));
    }

    QString dest() const { return exports.path(); }
    QString packageFile(const QString &exportName, const QString &file) const
    {
        return exportName + QDir::separator() + file;
    }

    test::TempDataFolder data;
    test::TempDataFolder sounds;
    test::TempDataFolder exports;
    LoadLists lists;
    LoadListPtr live;
};

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The content of the record's file, reached by the bytes of its path.
QByteArray bytesAt(const QByteArray &path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

QByteArray contentOf(const Model &record)
{
    return bytesAt(record.encodedPath());
}

// Every file of the package with its content.
QStringList packageContent(const Package &p, const QString &exportName)
{
    QStringList files;
    for (const QString &file : filesIn(p.exports.filePath(exportName)))
        files.append(file + u'=' + QString::fromLatin1(p.exports.readBytes(p.packageFile(exportName, file)).toHex()));
    return files;
}

// Exports Kick at 1 and Pad at 3 as "Live", keeping what the package then holds in
// before; then changes both sound files and adds a new sound image at leadLocation.
void exportThenChange(Package &p, const QByteArray &changedPad, int leadLocation, const QString &leadName,
                      QStringList &before)
{
    p.place(1, QStringLiteral("Kick"));
    p.place(3, QStringLiteral("Pad"));
    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));
    before = packageContent(p, QStringLiteral("Live"));
    QVERIFY(p.sounds.writeBytes(QStringLiteral("a/pad.tvs"), changedPad));
    QVERIFY(p.sounds.writeBytes(QStringLiteral("a/kick.tvs"), "kick, changed"));
    p.place(leadLocation, leadName);
}

} // namespace

class ExportPackageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportAndImport();
    void emptyList();
    void missingSoundFileIsLeftOut_data();
    void missingSoundFileIsLeftOut();
    void eachSoundImageKeepsItsOwnCopy_data();
    void eachSoundImageKeepsItsOwnCopy();
    void importReadsOnlyFilesInsideThePackage();
    void fileNamesInAnotherEncoding();
    void copyByBytesIsWholeOrNothing();
    void exportAgainWritesTheCurrentCopies();
    void failedExportAgainKeepsThePackage_data();
    void failedExportAgainKeepsThePackage();
    void failedPlacingKeepsThePackage_data();
    void failedPlacingKeepsThePackage();
    void exportsTheActiveListUnderTheGivenName();
    void failedCopyInExistingFolderRemovesOnlyItsOwnFiles();
    void failedCopyInNewFolderRemovesTheFolder();
    void failedCopyWhereTheFolderCannotBeMade();
    void ensureFolder();
    void removeFolderStripsTrailingSeparator();
};

void ExportPackageTest::exportAndImport()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(1, QStringLiteral("Kick"));
    p.place(4, QStringLiteral("Snare"));
    p.place(9, QStringLiteral("Hat"));

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    const QString folder = p.exports.filePath(QStringLiteral("Live"));
    QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("Live.kxf"), QStringLiteral("hat.tvs"),
                                           QStringLiteral("kick.tvs"), QStringLiteral("snare.tvs")}));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))),
             QByteArray("1\t10\tKick\tkick.tvs\r\n4\t40\tSnare\tsnare.tvs\r\n9\t90\tHat\that.tvs\r\n\r\n"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("kick.tvs"))), QByteArray("Kick"));

    QString name = QStringLiteral("Imported");
    auto imported = newLoadList(name);
    p.lists.addLoadList(imported);
    p.lists.setActiveLoadList(imported);
    p.lists.importLoadList(folder + QDir::separator() + QStringLiteral("Live.kxf"));

    QCOMPARE(imported->count(), 3);
    QCOMPARE(imported->getModel(4)->name(), QStringLiteral("Snare"));
    QCOMPARE(imported->getModel(4)->tag(), 40);
    QCOMPARE(imported->getModel(4)->path(), folder + QDir::separator() + QStringLiteral("snare.tvs"));
    QCOMPARE(imported->getModel(9)->path(), folder + QDir::separator() + QStringLiteral("hat.tvs"));
    QCOMPARE(p.live->count(), 3);
    QVERIFY(seam.messages().isEmpty());
}

void ExportPackageTest::emptyList()
{
    Package p;
    test::ScriptedModalSeam seam;
    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Nothing"), p.dest()));
    QCOMPARE(filesIn(p.exports.filePath(QStringLiteral("Nothing"))), QStringList{QStringLiteral("Nothing.kxf")});
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Nothing"), QStringLiteral("Nothing.kxf"))),
             QByteArray("\r\n"));
    QVERIFY(seam.messages().isEmpty());
}

void ExportPackageTest::missingSoundFileIsLeftOut_data()
{
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("gone");
    QTest::addColumn<QByteArray>("exportFile");
    QTest::addColumn<QString>("keptFile");

    QTest::newRow("plain names") << QStringLiteral("Kept") << QStringLiteral("Gone")
                                 << QByteArray("2\t20\tKept\tkept.tvs\r\n\r\n") << QStringLiteral("kept.tvs");
    // The path in the box and the names in the file are the user's text, markers and all.
    QTest::newRow("names holding markers") << QStringLiteral("Pad %2") << QStringLiteral("Bass %1")
                                           << QByteArray("2\t20\tPad %2\tpad %2.tvs\r\n\r\n")
                                           << QStringLiteral("pad %2.tvs");
}

void ExportPackageTest::missingSoundFileIsLeftOut()
{
    QFETCH(QString, kept);
    QFETCH(QString, gone);
    QFETCH(QByteArray, exportFile);
    QFETCH(QString, keptFile);

    Package p;
    test::ScriptedModalSeam seam;
    p.place(2, kept);
    p.place(5, gone);
    const QString gonePath = p.live->getModel(5)->path();
    QVERIFY(QFile::remove(gonePath));

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    QCOMPARE(seam.messageTexts(),
             QStringList{QStringLiteral("File: ") + gonePath
                         + QStringLiteral(" does not exist\r\nFile will not be added to exported list")});
    const MessageRequest &box = seam.messages().constFirst();
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.icon, Icon::None);
    QVERIFY(box.title.isEmpty() || box.title == programTitle());
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))), exportFile);
    QCOMPARE(filesIn(p.exports.filePath(QStringLiteral("Live"))), (QStringList{QStringLiteral("Live.kxf"), keptFile}));
}

void ExportPackageTest::eachSoundImageKeepsItsOwnCopy_data()
{
    QTest::addColumn<QStringList>("records");  // location|file in the sound folder|name, the name is its content
    QTest::addColumn<QStringList>("copies");   // each file of the package but the export file
    QTest::addColumn<QByteArray>("exportFile");
    QTest::addColumn<QStringList>("renamed");  // file in the sound folder|name of its copy

    QTest::newRow("different names") << QStringList{QStringLiteral("1|a/kick.tvs|Kick"), QStringLiteral("4|b/snare.tvs|Snare")}
                                     << QStringList{QStringLiteral("kick.tvs"), QStringLiteral("snare.tvs")}
                                     << QByteArray("1\t10\tKick\tkick.tvs\r\n4\t40\tSnare\tsnare.tvs\r\n\r\n")
                                     << QStringList();
    QTest::newRow("one name in two folders")
        << QStringList{QStringLiteral("0|first/same.tvs|Same"), QStringLiteral("6|second/same.tvs|Other"),
                       QStringLiteral("7|third/same.tvs|Third")}
        << QStringList{QStringLiteral("same (2).tvs"), QStringLiteral("same (3).tvs"), QStringLiteral("same.tvs")}
        << QByteArray("0\t0\tSame\tsame.tvs\r\n6\t60\tOther\tsame (2).tvs\r\n7\t70\tThird\tsame (3).tvs\r\n\r\n")
        << QStringList{QStringLiteral("second/same.tvs|same (2).tvs"), QStringLiteral("third/same.tvs|same (3).tvs")};
    QTest::newRow("names that differ in case only")
        << QStringList{QStringLiteral("2|a/Kick.tvs|Kick"), QStringLiteral("3|b/kick.tvs|Low kick")}
        << QStringList{QStringLiteral("Kick.tvs"), QStringLiteral("kick (2).tvs")}
        << QByteArray("2\t20\tKick\tKick.tvs\r\n3\t30\tLow kick\tkick (2).tvs\r\n\r\n")
        << QStringList{QStringLiteral("b/kick.tvs|kick (2).tvs")};
    QTest::newRow("a name taken by a number")
        << QStringList{QStringLiteral("0|a/pad (2).tvs|Pad 2"), QStringLiteral("1|a/pad.tvs|Pad"),
                       QStringLiteral("2|b/pad.tvs|Other pad")}
        << QStringList{QStringLiteral("pad (2).tvs"), QStringLiteral("pad (3).tvs"), QStringLiteral("pad.tvs")}
        << QByteArray("0\t0\tPad 2\tpad (2).tvs\r\n1\t10\tPad\tpad.tvs\r\n2\t20\tOther pad\tpad (3).tvs\r\n\r\n")
        << QStringList{QStringLiteral("b/pad.tvs|pad (3).tvs")};
    QTest::newRow("the export file's name") << QStringList{QStringLiteral("5|a/Live.kxf|Odd")}
                                            << QStringList{QStringLiteral("Live (2).kxf")}
                                            << QByteArray("5\t50\tOdd\tLive (2).kxf\r\n\r\n")
                                            << QStringList{QStringLiteral("a/Live.kxf|Live (2).kxf")};
    QTest::newRow("one sound image at two locations")
        << QStringList{QStringLiteral("0|a/kick.tvs|Kick"), QStringLiteral("8|a/kick.tvs|Kick")}
        << QStringList{QStringLiteral("kick.tvs")}
        << QByteArray("0\t0\tKick\tkick.tvs\r\n8\t80\tKick\tkick.tvs\r\n\r\n") << QStringList();
}

void ExportPackageTest::eachSoundImageKeepsItsOwnCopy()
{
    QFETCH(QStringList, records);
    QFETCH(QStringList, copies);
    QFETCH(QByteArray, exportFile);
    QFETCH(QStringList, renamed);

    Package p;
    test::ScriptedModalSeam seam;
    for (const QString &record : records) {
        const QStringList fields = record.split(u'|');
        QVERIFY(p.sounds.writeBytes(fields[1], fields[2].toUtf8()));
        p.live->add(fields[0].toInt(), newModel(fields[0].toInt() * 10, fields[2], p.sounds.filePath(fields[1])));
    }

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    const QString folder = p.exports.filePath(QStringLiteral("Live"));
    QStringList files = filesIn(folder);
    files.removeOne(QStringLiteral("Live.kxf"));
    files.sort();
    QCOMPARE(files, copies);
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))), exportFile);
    QStringList renamedText;
    for (const QString &copy : renamed)
        renamedText.append(p.sounds.filePath(copy.section(u'|', 0, 0)) + QStringLiteral(" as ") + copy.section(u'|', 1));
    QCOMPARE(seam.messageTexts(),
             renamed.isEmpty() ? QStringList()
                               : QStringList{QStringLiteral("These Sound Image files have the file name of another file "
                                                            "of the list, so their copies in the package have names of "
                                                            "their own:\r\n")
                                             + renamedText.join(QStringLiteral("\r\n"))});

    auto imported = std::make_shared<LoadList>();
    p.lists.setActiveLoadList(imported);
    p.lists.importLoadList(folder + QDir::separator() + QStringLiteral("Live.kxf"));
    for (int i = 0; i < LoadList::locationCount; ++i) {
        const ModelPtr original = p.live->getModel(i);
        const ModelPtr copy = imported->getModel(i);
        QCOMPARE(bool(copy), bool(original));
        if (copy)
            QCOMPARE(contentOf(*copy), original->name().toUtf8());
    }
}

void ExportPackageTest::importReadsOnlyFilesInsideThePackage()
{
    Package p;
    test::ScriptedModalSeam seam;
    QVERIFY(p.sounds.writeBytes(QStringLiteral("secret.key"), "secret"));
    const QString secret = p.sounds.filePath(QStringLiteral("secret.key"));
    const QString folder = p.exports.filePath(QStringLiteral("Gig")) + QDir::separator();
    QVERIFY(p.exports.writeBytes(QStringLiteral("Gig/kick.tvs"), "kick"));
    QVERIFY(p.exports.writeBytes(QStringLiteral("Gig/sub/pad.tvs"), "pad"));
    QVERIFY(QFile::link(secret, folder + QStringLiteral("link.tvs")));
    QVERIFY(QFile::link(p.sounds.filePath(QStringLiteral("gone.key")), folder + QStringLiteral("dangling.tvs")));
    const QString climbing = QDir(folder).relativeFilePath(secret);
    QVERIFY(climbing.startsWith(QStringLiteral("..")));
    QVERIFY(p.exports.writeBytes(QStringLiteral("Gig/Gig.kxf"),
                                 "0\t1\tKick\tkick.tvs\r\n"
                                 "1\t2\tClimbing\t" + climbing.toUtf8() + "\r\n"
                                 "2\t3\tAbsolute\t" + secret.toUtf8() + "\r\n"
                                 "3\t4\tLink\tlink.tvs\r\n"
                                 "4\t5\tDangling\tdangling.tvs\r\n"
                                 "5\t6\tEmpty\t\r\n"
                                 "6\t7\tPad\tsub/pad.tvs\r\n"
                                 "7\t8\tMissing\tmissing.tvs\r\n\r\n"));

    const std::optional<PackageFault> fault = packageFault(folder + QStringLiteral("Gig.kxf"));
    QVERIFY(fault);
    QCOMPARE(fault->kind, PackageFault::Kind::Outside);
    QCOMPARE(fault->file, climbing);
    auto imported = std::make_shared<LoadList>();
    p.lists.setActiveLoadList(imported);
    p.lists.importLoadList(folder + QStringLiteral("Gig.kxf"));

    QStringList paths;
    for (int i = 0; i < 12; ++i) {
        if (const ModelPtr m = imported->getModel(i))
            paths.append(QString::number(i) + u':' + m->path());
    }
    QCOMPARE(paths, (QStringList{QStringLiteral("0:") + folder + QStringLiteral("kick.tvs"),
                                 QStringLiteral("6:") + folder + QStringLiteral("sub/pad.tvs"),
                                 QStringLiteral("7:") + folder + QStringLiteral("missing.tvs")}));
    QVERIFY(seam.messages().isEmpty());

    QVERIFY(p.exports.writeBytes(QStringLiteral("Gig/Fine.kxf"), "0\t1\tKick\tkick.tvs\r\n6\t7\tPad\tsub/pad.tvs\r\n\r\n"));
    QVERIFY(!packageFault(folder + QStringLiteral("Fine.kxf")));
}

void ExportPackageTest::fileNamesInAnotherEncoding()
{
    Package p;
    test::ScriptedModalSeam seam;
    // Files named on a system whose 8-bit text is Latin-1: é is the byte E9.
    const test::EncodedFile sound(QFile::encodeName(p.sounds.path()) + "caf\xe9.tvs");
    QVERIFY(sound.write("Cafe"));
    p.live->add(3, newModel(30, QStringLiteral("Cafe"), p.sounds.filePath(QStringLiteral("caf\u00e9.tvs")), sound.path()));
    // Its namesake once written as UTF-8, in another folder.
    QVERIFY(p.sounds.writeBytes(QStringLiteral("b/caf\u00e9.tvs"), "Caf\xc3\xa9"));
    p.live->add(5, newModel(50, QStringLiteral("Caf\u00e9"), p.sounds.filePath(QStringLiteral("b/caf\u00e9.tvs"))));
    const QByteArray live = QFile::encodeName(p.exports.filePath(QStringLiteral("Live"))) + '/';
    const test::EncodedFile copy(live + "caf\xe9.tvs");

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));
    // Each copy keeps the bytes of its file's name, and the second one a name of its own.
    QCOMPARE(bytesAt(copy.path()), QByteArray("Cafe"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("caf\u00e9 (2).tvs"))),
             QByteArray("Caf\xc3\xa9"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))),
             QByteArray("3\t30\tCafe\tcaf\xe9.tvs\r\n5\t50\tCaf\xc3\xa9\tcaf\xc3\xa9 (2).tvs\r\n\r\n"));
    QCOMPARE(seam.messageTexts(),
             QStringList{QStringLiteral("These Sound Image files have the file name of another file of the list, so "
                                        "their copies in the package have names of their own:\r\n")
                         + p.sounds.filePath(QStringLiteral("b/caf\u00e9.tvs")) + QStringLiteral(" as caf\u00e9 (2).tvs")});
    auto back = std::make_shared<LoadList>();
    p.lists.setActiveLoadList(back);
    p.lists.importLoadList(QString::fromUtf8(live) + QStringLiteral("Live.kxf"));
    QCOMPARE(back->getModel(3)->encodedPath(), copy.path());
    QCOMPARE(contentOf(*back->getModel(3)), QByteArray("Cafe"));
    QCOMPARE(contentOf(*back->getModel(5)), QByteArray("Caf\xc3\xa9"));
    seam.clear();

    // A package made there names its files so too, and a link among them leads out.
    QVERIFY(p.sounds.writeBytes(QStringLiteral("secret.key"), "secret"));
    const QString folder = p.exports.filePath(QStringLiteral("Old")) + QDir::separator();
    QVERIFY(p.exports.writeBytes(QStringLiteral("Old/Old.kxf"), "0\t1\tCafe\tcaf\xe9.tvs\r\n1\t2\tLink\tlin\xe9.tvs\r\n\r\n"));
    const test::EncodedFile packed(QFile::encodeName(folder) + "caf\xe9.tvs");
    QVERIFY(packed.write("Old cafe"));
    const test::EncodedFile link(QFile::encodeName(folder) + "lin\xe9.tvs");
    QVERIFY(link.linkTo(QFile::encodeName(p.sounds.filePath(QStringLiteral("secret.key")))));

    const std::optional<PackageFault> fault = packageFault(folder + QStringLiteral("Old.kxf"));
    QVERIFY(fault);
    QCOMPARE(fault->kind, PackageFault::Kind::Outside);
    QCOMPARE(fault->file, QStringLiteral("lin\u00e9.tvs"));
    auto imported = std::make_shared<LoadList>();
    p.lists.setActiveLoadList(imported);
    p.lists.importLoadList(folder + QStringLiteral("Old.kxf"));
    QCOMPARE(imported->count(), 1);
    const ModelPtr cafe = imported->getModel(0);
    QCOMPARE(cafe->path(), folder + QStringLiteral("caf\u00e9.tvs"));
    QCOMPARE(cafe->encodedPath(), packed.path());
    QVERIFY(!fileNotExist(*cafe));
    QVERIFY(seam.messages().isEmpty());
}

void ExportPackageTest::copyByBytesIsWholeOrNothing()
{
#ifdef Q_OS_UNIX
    Package p;
    test::ScriptedModalSeam seam;
    const test::EncodedFile sound(QFile::encodeName(p.sounds.path()) + "caf\xe9.tvs");
    QVERIFY(sound.write(QByteArray(8192, 'c')));
    p.live->add(3, newModel(30, QStringLiteral("Cafe"), p.sounds.filePath(QStringLiteral("caf\u00e9.tvs")), sound.path()));
    bool failed = false;
    {
        test::FileSizeLimit limit(4096);
        failed = p.lists.exportLoadList(QStringLiteral("Live"), p.dest());
    }
    QVERIFY(failed);
    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    QVERIFY(!QFileInfo::exists(p.exports.filePath(QStringLiteral("Live"))));
#else
    QSKIP("needs a file size limit");
#endif
}

void ExportPackageTest::exportAgainWritesTheCurrentCopies()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(3, QStringLiteral("Pad"));
    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));
    QVERIFY(p.exports.writeBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("mine.tvs")), "mine"));
    QVERIFY(p.sounds.writeBytes(QStringLiteral("a/pad.tvs"), "changed"));
    p.place(7, QStringLiteral("Lead"));

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("pad.tvs"))), QByteArray("changed"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))),
             QByteArray("3\t30\tPad\tpad.tvs\r\n7\t70\tLead\tlead.tvs\r\n\r\n"));
    // Files of the folder that the list does not name stay, and no half-written file is left.
    QCOMPARE(filesIn(p.exports.filePath(QStringLiteral("Live"))),
             (QStringList{QStringLiteral("Live.kxf"), QStringLiteral("lead.tvs"), QStringLiteral("mine.tvs"),
                          QStringLiteral("pad.tvs")}));
    QVERIFY(seam.messages().isEmpty());
}

void ExportPackageTest::failedExportAgainKeepsThePackage_data()
{
    QTest::addColumn<QByteArray>("changedPad");
    QTest::addColumn<QString>("leadName");

    // The limit lets every file of the first export through; what grows past it fails.
    QTest::newRow("a copy does not fit") << QByteArray(200, 'p') << QStringLiteral("Lead");
    QTest::newRow("the export file does not fit") << QByteArray("changed") << QString(60, u'L');
}

void ExportPackageTest::failedExportAgainKeepsThePackage()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, changedPad);
    QFETCH(QString, leadName);

    Package p;
    test::ScriptedModalSeam seam;
    QStringList before;
    exportThenChange(p, changedPad, 7, leadName, before);

    bool failed = false;
    {
        test::FileSizeLimit fullDisk(100);
        failed = p.lists.exportLoadList(QStringLiteral("Live"), p.dest());
    }

    QVERIFY(failed);
    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    QCOMPARE(packageContent(p, QStringLiteral("Live")), before);
#else
    QSKIP("needs a file size limit");
#endif
}

void ExportPackageTest::failedPlacingKeepsThePackage_data()
{
    QTest::addColumn<QString>("busy");

    // Files take their places in location order, the export file last: the copy
    // replacing kick.tvs and the new lead.tvs have theirs when the failure comes.
    QTest::newRow("a copy cannot take its place") << QStringLiteral("pad.tvs");
    QTest::newRow("the export file cannot take its place") << QStringLiteral("Live.kxf");
}

void ExportPackageTest::failedPlacingKeepsThePackage()
{
    QFETCH(QString, busy);

    Package p;
    test::ScriptedModalSeam seam;
    QStringList before;
    exportThenChange(p, "pad, changed", 2, QStringLiteral("Lead"), before);
    const test::BusyFile held(p.exports.filePath(p.packageFile(QStringLiteral("Live"), busy)));
    if (!held.isBusy())
        QSKIP("needs the right to mount");

    QVERIFY(p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    QCOMPARE(packageContent(p, QStringLiteral("Live")), before);
}

void ExportPackageTest::exportsTheActiveListUnderTheGivenName()
{
    Package p;
    p.place(0, QStringLiteral("Kick"));
    QString other = QStringLiteral("Other");
    p.lists.addLoadList(newLoadList(other));

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Other"), p.dest()));

    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Other"), QStringLiteral("Other.kxf"))),
             QByteArray("0\t0\tKick\tkick.tvs\r\n\r\n"));
}

void ExportPackageTest::failedCopyInExistingFolderRemovesOnlyItsOwnFiles()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(0, QStringLiteral("Kick"));
    p.place(1, QStringLiteral("Snare"));
    const QByteArray oldExport("0\t1\tmine\tmine.tvs\r\n\r\n");
    QVERIFY(p.exports.writeBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf")), oldExport));
    QVERIFY(p.exports.writeBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("mine.tvs")), "mine"));
    // A folder where the second copy must go makes that copy fail.
    QVERIFY(QDir().mkpath(p.exports.filePath(p.packageFile(QStringLiteral("Live"), QStringLiteral("snare.tvs")))));

    QVERIFY(p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    const MessageRequest &box = seam.messages().constFirst();
    QCOMPARE(box.icon, Icon::Information);
    QCOMPARE(box.title, QStringLiteral("Error Copying Files"));
    QCOMPARE(filesIn(p.exports.filePath(QStringLiteral("Live"))),
             (QStringList{QStringLiteral("Live.kxf"), QStringLiteral("mine.tvs")}));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))), oldExport);
}

void ExportPackageTest::failedCopyInNewFolderRemovesTheFolder()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(0, QStringLiteral("Kick"));
    // The folder itself fits the longest path, but a copy with a long file name in it
    // does not.
    QString deep = p.dest();
    while (deep.size() < 3880)
        deep += QString(100, u'd') + QDir::separator();
    QVERIFY(QDir().mkpath(deep));
    p.place(1, QString(240, u'L'));

    QVERIFY(p.lists.exportLoadList(QStringLiteral("Live"), deep));

    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    QVERIFY(QFileInfo(deep).isDir());
    QVERIFY(!QFileInfo::exists(deep + QStringLiteral("Live")));
}

void ExportPackageTest::failedCopyWhereTheFolderCannotBeMade()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(0, QStringLiteral("Kick"));
    const QString missingParent = p.exports.filePath(QStringLiteral("gone")) + QDir::separator();

    QVERIFY(p.lists.exportLoadList(QStringLiteral("Live"), missingParent));

    QCOMPARE(seam.messageTexts(), (QStringList{QStringLiteral("Path not found"), copyFailure}));
    QVERIFY(!QFileInfo::exists(p.exports.filePath(QStringLiteral("gone"))));
}

void ExportPackageTest::ensureFolder()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QCOMPARE(kivo::ensureFolder(folder.filePath(QStringLiteral("new"))), FolderState::Created);
    QCOMPARE(kivo::ensureFolder(folder.filePath(QStringLiteral("new"))), FolderState::Existing);
    QVERIFY(seam.messages().isEmpty());
    QCOMPARE(kivo::ensureFolder(folder.filePath(QStringLiteral("gone/new"))), FolderState::Missing);
    QCOMPARE(seam.messageTexts(), QStringList{QStringLiteral("Path not found")});
    QVERIFY(folder.writeBytes(QStringLiteral("file"), "x"));
    QCOMPARE(kivo::ensureFolder(folder.filePath(QStringLiteral("file"))), FolderState::Missing);
    QCOMPARE(seam.messages().size(), 1);
}

void ExportPackageTest::removeFolderStripsTrailingSeparator()
{
    test::TempDataFolder folder;
    test::ScriptedModalSeam seam;
    QVERIFY(folder.writeBytes(QStringLiteral("pkg/inner/file.tvs"), "x"));
    QString path = folder.filePath(QStringLiteral("pkg")) + QDir::separator();
    removeFolder(path);
    QCOMPARE(path, folder.filePath(QStringLiteral("pkg")));
    QVERIFY(!QFileInfo::exists(path));
    removeFolder(path);
    QVERIFY(seam.messages().isEmpty());
}

QTEST_GUILESS_MAIN(ExportPackageTest)
#include "ExportPackageTest.moc"
