#include "model/Factory.h"
#include "model/FileProxy.h"
#include "model/Global.h"
#include "model/LoadLists.h"

#include "EncodedFile.h"
#include "FileSizeLimit.h"
#include "ScriptedModalSeam.h"
#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

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

} // namespace

class ExportPackageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportAndImport();
    void emptyList();
    void missingSoundFileIsLeftOut_data();
    void missingSoundFileIsLeftOut();
    void sameFileNameTwice();
    void importReadsOnlyFilesInsideThePackage();
    void fileNamesInAnotherEncoding();
    void copyByBytesIsWholeOrNothing();
    void exportAgainWritesTheCurrentCopies();
    void failedExportAgainKeepsThePackage_data();
    void failedExportAgainKeepsThePackage();
    void exportsTheActiveListUnderTheGivenName();
    void failedCopyInExistingFolderRemovesOnlyItsOwnFiles();
    void failedCopyInNewFolderRemovesTheFolder();
    void failedCopyWhereTheFolderCannotBeMade();
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

void ExportPackageTest::sameFileNameTwice()
{
    Package p;
    test::ScriptedModalSeam seam;
    p.place(0, QStringLiteral("Same"), QStringLiteral("first"));
    p.place(6, QStringLiteral("SAME"), QStringLiteral("second"));

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));

    const QString folder = p.exports.filePath(QStringLiteral("Live"));
    QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("Live.kxf"), QStringLiteral("same.tvs")}));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("same.tvs"))), QByteArray("Same"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))),
             QByteArray("0\t0\tSame\tsame.tvs\r\n6\t60\tSAME\tsame.tvs\r\n\r\n"));

    auto imported = std::make_shared<LoadList>();
    p.lists.setActiveLoadList(imported);
    p.lists.importLoadList(folder + QDir::separator() + QStringLiteral("Live.kxf"));
    QCOMPARE(imported->getModel(0)->path(), imported->getModel(6)->path());
    QVERIFY(seam.messages().isEmpty());
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

    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));
    // The package is the program's own: its copy is named in the file system's encoding.
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("caf\u00e9.tvs"))), QByteArray("Cafe"));
    QCOMPARE(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), QStringLiteral("Live.kxf"))),
             QByteArray("3\t30\tCafe\tcaf\xc3\xa9.tvs\r\n\r\n"));
    QVERIFY(seam.messages().isEmpty());

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
    p.place(1, QStringLiteral("Kick"));
    p.place(3, QStringLiteral("Pad"));
    QVERIFY(!p.lists.exportLoadList(QStringLiteral("Live"), p.dest()));
    const QString folder = p.exports.filePath(QStringLiteral("Live"));
    const auto package = [&p, &folder] {
        QStringList files;
        for (const QString &file : filesIn(folder))
            files.append(file + u'=' + QString::fromUtf8(p.exports.readBytes(p.packageFile(QStringLiteral("Live"), file))));
        return files;
    };
    const QStringList before = package();
    QVERIFY(p.sounds.writeBytes(QStringLiteral("a/pad.tvs"), changedPad));
    QVERIFY(p.sounds.writeBytes(QStringLiteral("a/kick.tvs"), "kick, changed"));
    p.place(7, leadName);

    bool failed = false;
    {
        test::FileSizeLimit fullDisk(100);
        failed = p.lists.exportLoadList(QStringLiteral("Live"), p.dest());
    }

    QVERIFY(failed);
    QCOMPARE(seam.messageTexts(), QStringList{copyFailure});
    QCOMPARE(package(), before);
#else
    QSKIP("needs a file size limit");
#endif
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
