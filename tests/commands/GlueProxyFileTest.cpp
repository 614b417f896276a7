#include "commands/Glue.h"
#include "commands/GlueProxy.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "platform/KivoTools.h"
#include "platform/RuntimeError.h"

#include "ModalAnswerer.h"
#include "NoSoundImage.h"
#include "ProxyFixture.h"
#include "TemporarySettings.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <memory>

using namespace kivo;
using test::NoSoundImage;
using test::ProxyFixture;

namespace {

using Step = std::function<void(ProxyFixture &)>;

const QString crLf = QStringLiteral("\r\n");
const QString sounds = QStringLiteral("<sounds>");

// Texts with the sound folder written as <sounds>.
QStringList withPlaceholder(QStringList texts, const ProxyFixture &f)
{
    texts.replaceInStrings(f.soundFolder(), sounds);
    return texts;
}

QStringList proposedNames(const ProxyFixture &f)
{
    QStringList names;
    for (const test::Prompt &prompt : f.prompts)
        names.append(prompt.proposed);
    return names;
}

// Sound files a.tvs, b.tvs, c.tvs with tags 1, 2, 3.
QStringList threeFiles(const ProxyFixture &f)
{
    return {f.writeSound(QStringLiteral("a.tvs"), 1), f.writeSound(QStringLiteral("b.tvs"), 2),
            f.writeSound(QStringLiteral("c.tvs"), 3)};
}

QString pathOf(const ProxyFixture &f, const QString &name)
{
    return f.library.getModel(name)->path();
}

} // namespace

Q_DECLARE_METATYPE(Step)

class GlueProxyFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void addFiles_data();
    void addFiles();
    void addDialogProperties();
    void failingFileIsReportedAndTheLoopGoesOn();
    void whatIsNoSoundImageIsRefused_data();
    void whatIsNoSoundImageIsRefused();
    void exportAndImport_data();
    void exportAndImport();

private:
    std::unique_ptr<test::TemporarySettings> m_settings;
};

void GlueProxyFileTest::initTestCase()
{
    m_settings = std::make_unique<test::TemporarySettings>();
    QVERIFY(m_settings->isValid());
}

void GlueProxyFileTest::cleanup()
{
    QCOMPARE(test::visibleTopLevels(), QWidgetList{});
}

void GlueProxyFileTest::addFiles_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("proposed");
    QTest::addColumn<QString>("lastStatus");
    QTest::addColumn<QStringList>("boxes");

    const QString added = QStringLiteral(" File added");
    const QString notAdded = QStringLiteral(" Sound Image file not added");

    QTest::newRow("one file") << Step([](ProxyFixture &f) {
        const QString file = f.writeSound(QStringLiteral("Bass %1.tvs"), 7);
        f.chooseFiles({file});
        f.answerText(QStringLiteral(" Bass %1 "));
        f.proxy->btnAddClick(f.fileDialog);
        QCOMPARE(f.prompts.front().title, QStringLiteral("Adding Sound Image"));
        QCOMPARE(f.prompts.front().message1, QStringLiteral("Enter name for file: ") + file);
        QCOMPARE(f.prompts.front().message2, QString());
        QVERIFY(!f.prompts.front().allEnabled);
        QCOMPARE(pathOf(f, QStringLiteral("Bass %1")), file);
        QCOMPARE(f.tag.text(), QStringLiteral(" 7"));
    }) << QStringList{QStringLiteral("Bass %1")} << QStringList{QStringLiteral("Bass %1")} << added << QStringList{};
    QTest::newRow("three files, Ok All in the first prompt") << Step([](ProxyFixture &f) {
        f.chooseFiles(threeFiles(f));
        f.answerText(QStringLiteral("First"), QStringLiteral("btnOkAll"));
        f.proxy->btnAddClick(f.fileDialog);
        QVERIFY(f.prompts.front().allEnabled);
        QCOMPARE(pathOf(f, QStringLiteral("c")), f.soundFolder() + QStringLiteral("c.tvs"));
    }) << QStringList{QStringLiteral("First"), QStringLiteral("b"), QStringLiteral("c")}
       << QStringList{QStringLiteral("a")} << added << QStringList{};
    QTest::newRow("three files, Cancel All in the second prompt") << Step([](ProxyFixture &f) {
        f.chooseFiles(threeFiles(f));
        f.answerText(QStringLiteral("a"));
        f.answerText(QStringLiteral("b"), QStringLiteral("btnCancelAll"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("a")} << QStringList{QStringLiteral("a"), QStringLiteral("b")} << notAdded
       << QStringList{};
    QTest::newRow("three files, Cancel in the second prompt") << Step([](ProxyFixture &f) {
        f.chooseFiles(threeFiles(f));
        f.answerText(QStringLiteral("a"));
        f.answerText(QStringLiteral("b"), QStringLiteral("btnCancel"));
        f.answerText(QStringLiteral("c"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("a"), QStringLiteral("c")}
       << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")} << added << QStringList{};
    QTest::newRow("files of the root folder") << Step([](ProxyFixture &f) {
        // The files are not there: each is refused under its path, the folder's
        // separator not doubled.
        f.proxy->processRawFile({QDir::rootPath(), QStringLiteral("x.tvs"), QStringLiteral("y.tvs")});
    }) << QStringList{} << QStringList{} << QStringLiteral(" Cannot add Sound Image file")
       << QStringList{QStringLiteral("Cannot add ") + QDir::rootPath() + QStringLiteral("x.tvs") + crLf
                          + QStringLiteral("The file does not exist"),
                      QStringLiteral("Cannot add ") + QDir::rootPath() + QStringLiteral("y.tvs") + crLf
                          + QStringLiteral("The file does not exist")};
    QTest::newRow("unknown action code skips each file") << Step([](ProxyFixture &f) {
        gDialog->setStrAll(QStringLiteral("X"));
        threeFiles(f);
        f.proxy->processRawFile({f.soundFolder(), QStringLiteral("a.tvs"), QStringLiteral("b.tvs")});
        gDialog->setStrAll(QString());
    }) << QStringList{} << QStringList{} << QStringLiteral(" Application loaded successfully")
       << QStringList(2, QStringLiteral("Logic error"));
    // A drop and the add dialog answer the batch alike.
    QTest::newRow("dropped files: unknown action code after the first prompt") << Step([](ProxyFixture &f) {
        f.seam.onNextDialog([](QDialog &dialog) {
            dialog.findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
            gDialog->setStrAll(QStringLiteral("X"));
            return dialog.result();
        });
        f.proxy->addDroppedFiles(threeFiles(f));
        gDialog->setStrAll(QString());
    }) << QStringList{QStringLiteral("a")} << QStringList{} << QStringLiteral(" File added")
       << QStringList(2, QStringLiteral("Logic error"));
    QTest::newRow("a.b.tvs alone") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("a.b.tvs"), 1)});
        f.answerText(QStringLiteral("a.b"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("a.b")} << QStringList{QStringLiteral("a.b")} << added << QStringList{};
    QTest::newRow("a.b.tvs among several") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("a.b.tvs"), 1), f.writeSound(QStringLiteral("c.tvs"), 2)});
        f.answerText(QStringLiteral("a.b"), QStringLiteral("btnOkAll"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("a.b"), QStringLiteral("c")} << QStringList{QStringLiteral("a.b")} << added
       << QStringList{};
    QTest::newRow("no dot alone") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("readme"), 1)});
        f.answerText(QStringLiteral("readme"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("readme")} << QStringList{QStringLiteral("readme")} << added << QStringList{};
    QTest::newRow("no dot among several") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("readme"), 1), f.writeSound(QStringLiteral("c.tvs"), 2)});
        f.answerText(QStringLiteral("readme"));
        f.answerText(QStringLiteral("c"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{QStringLiteral("readme"), QStringLiteral("c")}
       << QStringList{QStringLiteral("readme"), QStringLiteral("c")} << added << QStringList{};
    QTest::newRow("tag FFFFFFFF") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("all ones.tvs"), -1)});
        f.answerText(QStringLiteral("all ones"));
        f.proxy->btnAddClick(f.fileDialog);
        QCOMPARE(f.library.getModel(QStringLiteral("all ones"))->tag(), -1);
        QCOMPARE(f.tag.text(), QStringLiteral(" FFFFFFFF"));
    }) << QStringList{QStringLiteral("all ones")} << QStringList{QStringLiteral("all ones")} << added
       << QStringList{};
    QTest::newRow("file gone while its name was asked") << Step([](ProxyFixture &f) {
        const QString file = f.writeSound(QStringLiteral("gone.tvs"), 4);
        f.chooseFiles({file});
        f.answerText(QStringLiteral("gone"), QStringLiteral("btnOk"), [file] { QFile::remove(file); });
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{} << QStringList{QStringLiteral("gone")} << QStringLiteral(" Cannot add Sound Image file")
       << QStringList{QStringLiteral("Cannot add <sounds>gone.tvs") + crLf + QStringLiteral("The file does not exist")};
    QTest::newRow("add dialog cancelled") << Step([](ProxyFixture &f) {
        f.cancelFileDialog();
        f.proxy->btnAddClick(f.fileDialog);
        QCOMPARE(f.statusTexts, (QStringList{QStringLiteral(" No file selected"),
                                             QStringLiteral(" Add Sound Image aborted")}));
    }) << QStringList{} << QStringList{} << QStringLiteral(" Add Sound Image aborted") << QStringList{};
    QTest::newRow("name prompt cancelled") << Step([](ProxyFixture &f) {
        f.chooseFiles({f.writeSound(QStringLiteral("a.tvs"), 1)});
        f.answerText(QStringLiteral("a"), QStringLiteral("btnCancel"));
        f.proxy->btnAddClick(f.fileDialog);
    }) << QStringList{} << QStringList{QStringLiteral("a")} << notAdded << QStringList{};

    const auto replace = [](Answer answer) {
        return Step([answer](ProxyFixture &f) {
            f.addSound(QStringLiteral("old"), 5);
            f.addSound(QStringLiteral("other"), 6);
            f.seam.answerNext(answer);
            f.answerText(QStringLiteral("Bass %1"));
            f.proxy->sendFileToLibrary(QStringLiteral("Bass %1"), f.writeSound(QStringLiteral("new.tvs"), 5));
            QCOMPARE(f.seam.messages().front().title, QStringLiteral("File Already Exist"));
            QCOMPARE(f.seam.messages().front().buttons, Buttons::YesNo);
            QCOMPARE(f.libList.currentRow(), f.libList.count() - 1);
        });
    };
    const QStringList replaceBox{QStringLiteral("File: <sounds>new.tvs already exist as: old") + crLf + crLf
                                 + QStringLiteral("Do you want to replace it as: Bass %1?")};
    QTest::newRow("File Already Exist: Yes replaces") << replace(Answer::Yes)
        << QStringList{QStringLiteral("other"), QStringLiteral("Bass %1")} << QStringList{QStringLiteral("Bass %1")}
        << added << replaceBox;
    QTest::newRow("File Already Exist: No keeps") << replace(Answer::No)
        << QStringList{QStringLiteral("old"), QStringLiteral("other")} << QStringList{QStringLiteral("Bass %1")}
        << QStringLiteral(" File added") << replaceBox;
    // Asking again could only fail again: the replacement stops with the old record kept.
    QTest::newRow("File Already Exist: Yes when the library cannot be saved") << Step([](ProxyFixture &f) {
        f.addSound(QStringLiteral("old"), 5);
        f.addSound(QStringLiteral("other"), 6);
        const QString file = f.writeSound(QStringLiteral("new.tvs"), 5);
        QVERIFY(QDir(f.data.path()).removeRecursively());
        f.forget();
        f.seam.answerNext(Answer::Yes);
        f.answerText(QStringLiteral("Bass %1"));
        f.proxy->sendFileToLibrary(QStringLiteral("Bass %1"), file);
    }) << QStringList{QStringLiteral("old"), QStringLiteral("other")} << QStringList{QStringLiteral("Bass %1")}
       << QStringLiteral(" File not removed: the library could not be saved")
       << replaceBox + QStringList{QStringLiteral("Path not found"),
                                   QStringLiteral("Could not save Sound Image list file\r\n"
                                                  "Kivo Rudovaz Data Path does not exist")};

    const auto duplicate = [](const QString &last) {
        return Step([last](ProxyFixture &f) {
            f.addSound(QStringLiteral("Bass %1"), 1);
            f.addSound(QStringLiteral("b"), 2);
            f.forget();
            f.answerText(QStringLiteral("Bass %1"));
            f.answerText(QStringLiteral("b"));
            f.answerText(last);
            f.proxy->sendFileToLibrary(QStringLiteral("Bass %1"), f.writeSound(QStringLiteral("new.tvs"), 3));
            QCOMPARE(f.prompts[1].title, QStringLiteral("Duplicate Name"));
            QCOMPARE(f.prompts[1].message1,
                     QStringLiteral("The name: Bass %1 is already in the list.\nPlease enter a new name"));
            QCOMPARE(f.prompts[2].message1, QStringLiteral("The name: b is already in the list.\nPlease enter a new name"));
        });
    };
    QTest::newRow("Duplicate Name until a free name") << duplicate(QStringLiteral("c"))
        << QStringList{QStringLiteral("Bass %1"), QStringLiteral("b"), QStringLiteral("c")}
        << QStringList{QStringLiteral("Bass %1"), QStringLiteral("Bass %1"), QStringLiteral("b")} << added
        << QStringList{};
    QTest::newRow("Duplicate Name until a blank answer") << duplicate(QStringLiteral("  "))
        << QStringList{QStringLiteral("Bass %1"), QStringLiteral("b")}
        << QStringList{QStringLiteral("Bass %1"), QStringLiteral("Bass %1"), QStringLiteral("b")}
        << QStringLiteral("Same name exist in list") << QStringList{};
    QTest::newRow("Ok All in Duplicate Name settles the batch") << Step([](ProxyFixture &f) {
        f.addSound(QStringLiteral("a"), 10);
        f.forget();
        f.chooseFiles(threeFiles(f));
        f.answerText(QStringLiteral("a"));
        f.answerText(QStringLiteral("a2"), QStringLiteral("btnOkAll"));
        f.proxy->btnAddClick(f.fileDialog);
        QVERIFY(f.prompts[1].allEnabled);
    }) << QStringList{QStringLiteral("a"), QStringLiteral("a2"), QStringLiteral("b"), QStringLiteral("c")}
       << QStringList{QStringLiteral("a"), QStringLiteral("a")} << added << QStringList{};
}

void GlueProxyFileTest::addFiles()
{
    QFETCH(Step, command);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, proposed);
    QFETCH(QString, lastStatus);
    QFETCH(QStringList, boxes);

    ProxyFixture f;
    f.forget();
    command(f);

    QCOMPARE(f.rows(f.libList), rows);
    QCOMPARE(proposedNames(f), proposed);
    QCOMPARE(f.status.text(), lastStatus);
    QCOMPARE(withPlaceholder(f.seam.messageTexts(), f), boxes);
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
}

void GlueProxyFileTest::addDialogProperties()
{
    ProxyFixture f;
    f.fileDialog.MaxFileSize = 260;
    f.fileDialog.FileName = QStringLiteral("left over");
    f.cancelFileDialog();

    f.proxy->btnAddClick(f.fileDialog);

    QCOMPARE(f.fileDialog.MaxFileSize, 32000);
    QCOMPARE(f.fileDialog.DialogTitle, QStringLiteral("Add Tulvex Sound Image"));
    QCOMPARE(f.fileDialog.Filter, QStringLiteral("Tulvex Sound Image (*.tvs)|*.tvs"));
    QCOMPARE(f.fileDialog.Flags, 0x281A04);
    QVERIFY(f.fileDialog.CancelError);
}

void GlueProxyFileTest::failingFileIsReportedAndTheLoopGoesOn()
{
    ProxyFixture f;
    KivoTools partial(QStringLiteral(PARTIAL_LIBRARY_FILE));
    f.proxy->glue().setKivoTools(partial);
    f.forget();
    f.chooseFiles(threeFiles(f));
    f.answerText(QStringLiteral("a"));
    f.answerText(QStringLiteral("b"));
    f.answerText(QStringLiteral("c"));

    f.proxy->btnAddClick(f.fileDialog);

    QCOMPARE(f.rows(f.libList), QStringList{});
    QCOMPARE(f.prompts.size(), 3);
    QCOMPARE(f.statusTexts, QStringList(3, QStringLiteral(" Cannot add Sound Image file")));
    const QStringList boxes = f.seam.messageTexts();
    QCOMPARE(boxes.size(), 3);
    for (const QString &box : boxes)
        QVERIFY2(box.contains(QStringLiteral("readTag")), qPrintable(box));
    for (const MessageRequest &request : f.seam.messages())
        QCOMPARE(request.title, QString());
    // Each failure shows in the status line before its message box holds the thread.
    QStringList order;
    for (const QString &line : f.seam.journal())
        order.append(line.startsWith(QStringLiteral("box: ")) ? QStringLiteral("box") : line);
    const QStringList onePerFile{QStringLiteral("status:  Cannot add Sound Image file"), QStringLiteral("box")};
    QCOMPARE(order, onePerFile + onePerFile + onePerFile);
}

void GlueProxyFileTest::whatIsNoSoundImageIsRefused_data()
{
    QTest::addColumn<NoSoundImage>("kind");
    QTest::addColumn<bool>("batch"); // twice among files added with Ok All, else alone
    QTest::addColumn<QString>("reason");

    const struct {
        NoSoundImage kind;
        const char *name;
        QString reason;
    } kinds[] = {
        {NoSoundImage::Pipe, "named pipe", QStringLiteral("It is not an ordinary file")},
        {NoSoundImage::Empty, "empty file", QStringLiteral("The file is empty")},
        {NoSoundImage::Short, "short file",
         QStringLiteral("The file is too short for a Sound Image header (15 of 16 bytes)")},
        {NoSoundImage::Folder, "folder", QStringLiteral("It is a folder, not a Sound Image file")},
        {NoSoundImage::DanglingLink, "dangling link", QStringLiteral("The link leads to no file")},
        {NoSoundImage::Device, "device", QStringLiteral("It is not an ordinary file")},
    };
    for (const auto &[kind, name, reason] : kinds) {
        QTest::addRow("%s alone", name) << kind << false << reason;
        QTest::addRow("%s twice among files added with Ok All", name) << kind << true << reason;
    }
}

// Only a sound image is asked a name and added: what is not one would be added with
// the tag -1 of a header that cannot be read, and the next such file would then ask
// to replace it.
void GlueProxyFileTest::whatIsNoSoundImageIsRefused()
{
    QFETCH(NoSoundImage, kind);
    QFETCH(bool, batch);
    QFETCH(QString, reason);

    ProxyFixture f;
    f.forget();
    const QStringList odd{f.soundFolder() + QStringLiteral("odd1.tvs"), f.soundFolder() + QStringLiteral("odd2.tvs")};
    for (const QString &path : odd)
        QVERIFY(makeNoSoundImage(kind, path));
    if (batch) {
        f.chooseFiles(
            {f.writeSound(QStringLiteral("a.tvs"), 1), odd[0], odd[1], f.writeSound(QStringLiteral("c.tvs"), 3)});
        f.answerText(QStringLiteral("a"), QStringLiteral("btnOkAll"));
    } else {
        f.chooseFiles({odd[0]});
    }
    const test::PipeOpener opener1(odd[0]);
    const test::PipeOpener opener2(odd[1]);

    f.proxy->btnAddClick(f.fileDialog);

    QVERIFY2(!opener1.opened() && !opener2.opened(), "the add waited for the other end of the pipe");
    const QStringList added = batch ? QStringList{QStringLiteral("a"), QStringLiteral("c")} : QStringList{};
    QCOMPARE(f.rows(f.libList), added);
    QCOMPARE(proposedNames(f), added.first(batch ? 1 : 0));
    QStringList boxes;
    for (const QString &path : batch ? odd : odd.first(1))
        boxes.append(QStringLiteral("Cannot add ") + path + crLf + reason);
    QCOMPARE(f.seam.messageTexts(), boxes);
    QCOMPARE(f.statusTexts.count(QStringLiteral(" Cannot add Sound Image file")), boxes.size());
    QCOMPARE(f.status.text(), batch ? QStringLiteral(" File added") : QStringLiteral(" Cannot add Sound Image file"));
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
}

void GlueProxyFileTest::exportAndImport_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("lists");
    QTest::addColumn<QString>("lastStatus");
    QTest::addColumn<QStringList>("boxes");

    const QStringList live{QStringLiteral("Live")};
    const auto exportTo = [](const QString &fileName) {
        return Step([fileName](ProxyFixture &f) {
            f.chooseFiles({f.soundFolder() + fileName});
            f.proxy->btnExportClick(f.fileDialog);
            QCOMPARE(f.fileDialog.DialogTitle, QStringLiteral("Select Export Location"));
            QCOMPARE(f.fileDialog.Filter, QStringLiteral("Kivo Export File (*.kxf)|*.kxf"));
            QCOMPARE(f.fileDialog.Flags, 0x806);
            QVERIFY(f.fileDialog.CancelError);
        });
    };

    QTest::newRow("export") << Step([exportTo](ProxyFixture &f) {
        exportTo(QStringLiteral("Gig.kxf"))(f);
        QVERIFY(QFile::exists(f.soundFolder() + QStringLiteral("Gig") + QDir::separator() + QStringLiteral("Gig.kxf")));
    }) << live << QStringLiteral(" File exported successfully!") << QStringList{};
    // The package's export file is written beside its place first, under a name 7 bytes longer.
    QTest::newRow("export under the longest name, twice") << Step([exportTo](ProxyFixture &f) {
        const QString name(244, u'g');
        f.fileDialog.MaxFileSize = 32000; // as the add dialog leaves it: the path is longer than 260
        exportTo(name + QStringLiteral(".kxf"))(f);
        QCOMPARE(f.status.text(), QStringLiteral(" File exported successfully!"));
        f.proxy->glue().addToLL(QStringLiteral("a"), 5);
        exportTo(name + QStringLiteral(".kxf"))(f);
        QFile exported(f.soundFolder() + name + QDir::separator() + name + QStringLiteral(".kxf"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QVERIFY(exported.readAll().contains("5\t"));
    }) << live << QStringLiteral(" File exported successfully!") << QStringList{};
    QTest::newRow("export under a name too long to be written again, twice") << Step([exportTo](ProxyFixture &f) {
        // Written once, such a package could not take the list's next export.
        const QString name(245, u'g');
        f.fileDialog.MaxFileSize = 32000;
        exportTo(name + QStringLiteral(".kxf"))(f);
        f.proxy->glue().addToLL(QStringLiteral("a"), 5);
        exportTo(name + QStringLiteral(".kxf"))(f);
        QVERIFY(!QFileInfo::exists(f.soundFolder() + name));
    }) << live << QStringLiteral(" File name/File path is not valid") << QStringList{};
    QTest::newRow("export cancelled") << Step([](ProxyFixture &f) {
        f.cancelFileDialog();
        f.proxy->btnExportClick(f.fileDialog);
    }) << live << QStringLiteral(" Export aborted") << QStringList{};
    QTest::newRow("export name without dot") << exportTo(QStringLiteral("Gig")) << live << QString()
        << QStringList{RuntimeError::standardDescription(ErrorNumber::InvalidArgument)};
    QTest::newRow("export with no list") << Step([](ProxyFixture &f) {
        f.seam.answerNext(Answer::Yes);
        f.proxy->btnDeleteClick();
        f.forget();
        f.chooseFiles({f.soundFolder() + QStringLiteral("x.kxf")});
        f.fileDialog.FileName = QStringLiteral("left over");
        f.proxy->btnExportClick(f.fileDialog);
    }) << QStringList{} << QStringLiteral(" There is no Load List to export") << QStringList{};

    const auto exported = [](ProxyFixture &f) {
        f.chooseFiles({f.soundFolder() + QStringLiteral("Gig.kxf")});
        f.proxy->btnExportClick(f.fileDialog);
        f.forget();
        f.chooseFiles({f.soundFolder() + QStringLiteral("Gig") + QDir::separator() + QStringLiteral("Gig.kxf")});
    };
    QTest::newRow("import") << Step([exported](ProxyFixture &f) {
        exported(f);
        f.answerText(QStringLiteral("Pad %2"));
        f.proxy->btnImportClick(f.fileDialog);
        QCOMPARE(f.prompts.front().title, QStringLiteral("Create New Load List"));
        QCOMPARE(f.prompts.front().message1, QStringLiteral("Please enter a name"));
        QCOMPARE(f.prompts.front().proposed, QStringLiteral("Gig"));
        QVERIFY(!f.prompts.front().allEnabled);
        QCOMPARE(f.fileDialog.DialogTitle, QStringLiteral("Select Export File"));
        QCOMPARE(f.fileDialog.Flags, 0x1804);
        QCOMPARE(f.rows(f.llList).at(2), QStringLiteral("a"));
    }) << QStringList{QStringLiteral("Live"), QStringLiteral("Pad %2")} << QStringLiteral(" File imported successfully!")
       << QStringList{};
    QTest::newRow("import of a package naming a file outside it") << Step([exported](ProxyFixture &f) {
        exported(f);
        const QString exportFile = f.soundFolder() + QStringLiteral("Gig") + QDir::separator() + QStringLiteral("Gig.kxf");
        QFile file(exportFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2\t1\ta\ta.tvs\r\n3\t2\tkey\t../../secret/private.key\r\n\r\n");
        file.close();
        f.answerText(QStringLiteral("Pad %2"));
        f.proxy->btnImportClick(f.fileDialog);
        QCOMPARE(f.seam.messageTexts(),
                 QStringList{QStringLiteral("Cannot import ") + exportFile
                             + QStringLiteral("\r\nThe Sound Image file ../../secret/private.key is not in the folder of the export file")});
        QVERIFY(f.seam.allAnswersUsed());
        f.seam.clear();
    }) << live << QStringLiteral(" File import failed!") << QStringList{};
    QTest::newRow("import cancelled at the name prompt") << Step([exported](ProxyFixture &f) {
        exported(f);
        f.answerText(QStringLiteral("x"), QStringLiteral("btnCancel"));
        f.proxy->btnImportClick(f.fileDialog);
    }) << live << QStringLiteral(" Import was aborted") << QStringList{};
    QTest::newRow("import cancelled in the file dialog") << Step([](ProxyFixture &f) {
        f.cancelFileDialog();
        f.proxy->btnImportClick(f.fileDialog);
    }) << live << QStringLiteral(" Import was aborted") << QStringList{};
}

void GlueProxyFileTest::exportAndImport()
{
    QFETCH(Step, command);
    QFETCH(QStringList, lists);
    QFETCH(QString, lastStatus);
    QFETCH(QStringList, boxes);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"), {{2, QStringLiteral("a")}});
    f.forget();

    command(f);

    QCOMPARE(f.listNames(), lists);
    QCOMPARE(f.status.text(), lastStatus.isEmpty() ? f.status.text() : lastStatus);
    QCOMPARE(f.seam.messageTexts(), boxes);
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
}

QTEST_MAIN(GlueProxyFileTest)
#include "GlueProxyFileTest.moc"
