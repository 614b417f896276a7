#include "commands/GlueProxy.h"
#include "window/DragAndDrop.h"

#include "NoSoundImage.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QtEndian>

#include <memory>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

namespace {

enum class Carried { LibraryEntry, Files, Text };

// What a drag carries: a library entry as the library's drag builds it, files from
// a file manager, or a text from another program.
std::unique_ptr<QMimeData> dragData(Carried carried, const QStringList &files = {})
{
    switch (carried) {
    case Carried::LibraryEntry:
        return modelDragData(u"A"_s);
    case Carried::Files: {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString &file : files)
            urls.append(QUrl::fromLocalFile(file));
        data->setUrls(urls);
        return data;
    }
    case Carried::Text:
        break;
    }
    auto data = std::make_unique<QMimeData>();
    data->setText(u"A"_s);
    return data;
}

// A point of the list's viewport, where Qt delivers drags, y pixels below the list's
// top edge.
QPoint atHeight(QListWidget &list, int y)
{
    return list.viewport()->mapFrom(&list, QPoint(list.width() / 2, y));
}

// The height, measured from the list's top edge, of a position given in rows of the
// load list (2.25: a quarter down row 2).
int heightOfRow(const QListWidget &list, double rows)
{
    return qRound(list.height() / 12.0 * rows);
}

struct Response {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// What Qt sends while a drag comes over a list: it enters and moves to the point.
Response dragOver(QListWidget &list, QPoint at, const QMimeData &data, Qt::DropActions offered = Qt::CopyAction,
                  Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(list.viewport(), &move);
    return {move.isAccepted(), move.dropAction()};
}

Response dropOn(QListWidget &list, QPoint at, const QMimeData &data, Qt::DropActions offered = Qt::CopyAction)
{
    dragOver(list, at, data, offered);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    return {drop.isAccepted(), drop.dropAction()};
}

void leave(QListWidget &list)
{
    QDragLeaveEvent leaving;
    QCoreApplication::sendEvent(list.viewport(), &leaving);
}

QStringList rowsOf(const QListWidget &list)
{
    QStringList rows;
    for (int row = 0; row < list.count(); ++row)
        rows.append(list.item(row)->text());
    return rows;
}

// A sound image file with a header of its own tag.
QByteArray soundImage(quint32 tag)
{
    QByteArray header(16, '\0');
    qToBigEndian<quint32>(16, header.data());
    header.replace(4, 4, "KIVO");
    qToBigEndian<quint32>(257, header.data() + 8);
    qToBigEndian<quint32>(tag, header.data() + 12);
    return header + QByteArray(48, 'x');
}

// One answer to the name prompt: the button, and the name typed first (null: the
// proposed name is kept).
struct Prompt {
    QString button;
    QString typed;
};

} // namespace

Q_DECLARE_METATYPE(Carried)
Q_DECLARE_METATYPE(Prompt)

class frmKivoDragTest : public QObject, public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void rowUnderThePointer_data();
    void rowUnderThePointer();
    void dropOnTheLoadList_data();
    void dropOnTheLoadList();
    void pressOnTheLibraryStartsADrag_data();
    void pressOnTheLibraryStartsADrag();
    void clickOrDragInASelection_data();
    void clickOrDragInASelection();
    void libraryTakesWhatIsDraggedOverIt_data();
    void libraryTakesWhatIsDraggedOverIt();
    void filesDroppedOnTheLibrary_data();
    void filesDroppedOnTheLibrary();
    void shellFileThatIsNoSoundImage_data();
    void shellFileThatIsNoSoundImage();

private:
    QByteArray soundContent(const QString &name) const override
    {
        return soundImage(static_cast<quint32>(qHash(name)));
    }
    QString droppedFile(const QString &name) const { return m_root.filePath(u"dropped/"_s) + name; }
};

void frmKivoDragTest::rowUnderThePointer_data()
{
    QTest::addColumn<Carried>("carried");
    QTest::addColumn<double>("rows"); // where the pointer is, in rows from the top
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("accepted");

    // The load list's row 5 is selected before each drag.
    QTest::newRow("upper half of a row") << Carried::LibraryEntry << 2.25 << 2 << true;
    QTest::newRow("lower half of a row selects the next") << Carried::LibraryEntry << 2.75 << 3 << true;
    QTest::newRow("top of the list") << Carried::LibraryEntry << 0.1 << 0 << true;
    QTest::newRow("upper half of the last row") << Carried::LibraryEntry << 11.25 << 11 << true;
    QTest::newRow("lower half of the last row leaves the selection")
        << Carried::LibraryEntry << 11.75 << 5 << true;
    QTest::newRow("files move the selection but are refused") << Carried::Files << 6.75 << 7 << false;
    QTest::newRow("text moves the selection but is refused") << Carried::Text << 1.25 << 1 << false;
}

void frmKivoDragTest::rowUnderThePointer()
{
    QFETCH(Carried, carried);
    QFETCH(double, rows);
    QFETCH(int, selected);
    QFETCH(bool, accepted);

    prepareDataFolder({u"A"_s, u"B"_s}, {{u"Gig"_s, {u""_s, u"B"_s, u""_s, u""_s, u""_s, u"A"_s}}});
    QVERIFY(start());
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    loadList.setCurrentRow(5);
    const std::unique_ptr<QMimeData> data = dragData(carried, {soundPath(u"A"_s)});

    const Response response = dragOver(loadList, atHeight(loadList, heightOfRow(loadList, rows)), *data);
    leave(loadList);

    QCOMPARE(loadList.currentRow(), selected);
    QCOMPARE(response.accepted, accepted);
    QCOMPARE(response.action, accepted ? Qt::CopyAction : Qt::IgnoreAction);
    // The row changes as if the user had clicked it: its entry's details show.
    const QString shown = selected == 1 ? u" B.tvs"_s : selected == 5 ? u" A.tvs"_s : u" "_s;
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), shown);
}

void frmKivoDragTest::dropOnTheLoadList_data()
{
    QTest::addColumn<Carried>("carried");
    QTest::addColumn<QStringList>("loadList");

    QTest::newRow("library entries from the row under the pointer")
        << Carried::LibraryEntry
        << QStringList{u"A"_s, u""_s, u""_s, u"B"_s, u"C"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("files are not taken") << Carried::Files
                                         << QStringList{u"A"_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                                                        u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
}

void frmKivoDragTest::dropOnTheLoadList()
{
    QFETCH(Carried, carried);
    QFETCH(QStringList, loadList);

    prepareDataFolder({u"A"_s, u"B"_s, u"C"_s, u"D"_s}, {{u"Gig"_s, {u"A"_s}}});
    QVERIFY(start());
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &list = control<QListWidget>(u"objLoadList"_s);
    library.setCurrentRow(1);
    library.item(2)->setSelected(true);
    const std::unique_ptr<QMimeData> data = dragData(carried, {soundPath(u"D"_s)});

    const Response response = dropOn(list, atHeight(list, heightOfRow(list, 3.25)), *data);

    QCOMPARE(rowsOf(list), loadList);
    const bool taken = carried == Carried::LibraryEntry;
    QCOMPARE(response.accepted, taken);
    if (taken)
        QCOMPARE(response.action, Qt::CopyAction);
    QVERIFY(m_seam->messages().isEmpty());
}

void frmKivoDragTest::pressOnTheLibraryStartsADrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("onARow");
    QTest::addColumn<bool>("dragged");

    QTest::newRow("left button on a row") << Qt::LeftButton << true << true;
    QTest::newRow("right button on a row") << Qt::RightButton << true << true;
    QTest::newRow("middle button on a row") << Qt::MiddleButton << true << true;
    QTest::newRow("below the rows, nothing selected") << Qt::LeftButton << false << false;
}

void frmKivoDragTest::pressOnTheLibraryStartsADrag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, onARow);
    QFETCH(bool, dragged);

    prepareDataFolder({u"A"_s, u"Bass \u00E9"_s, u"C"_s}, {});
    QVERIFY(start());
    auto &library = control<QListWidget>(u"objLibrary"_s);
    library.clearSelection();
    const QPoint at = onARow ? library.visualItemRect(library.item(1)).center()
                             : QPoint(10, library.viewport()->height() - 4);

    // Down, and moved away as far as a drag needs.
    QTest::mousePress(library.viewport(), button, {}, at);
    QVERIFY(library.findChild<QDrag *>(QString(), Qt::FindDirectChildrenOnly) == nullptr);
    const QPoint moved = at + QPoint(0, QApplication::startDragDistance());
    QTest::mouseMove(library.viewport(), moved);

    auto *drag = library.findChild<QDrag *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(drag != nullptr, dragged);
    if (drag != nullptr) {
        // The row with the focus, as the library's drag data holds it.
        QCOMPARE(drag->mimeData()->formats(), QStringList{gModelClipFormat});
        QCOMPARE(drag->mimeData()->data(gModelClipFormat),
                 modelDragData(u"Bass \u00E9"_s)->data(gModelClipFormat));
        QCOMPARE(drag->supportedActions(), Qt::DropActions(Qt::CopyAction));
    }
    QTest::mouseRelease(library.viewport(), button, {}, moved);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void frmKivoDragTest::clickOrDragInASelection_data()
{
    QTest::addColumn<int>("moved"); // how far the pointer goes with the button down
    QTest::addColumn<bool>("dragged");
    QTest::addColumn<QStringList>("loadList"); // after the move right or the drop, from row 1

    const int far = QApplication::startDragDistance();
    QTest::newRow("a click selects that row alone") << 0 << false << QStringList{u"C"_s};
    QTest::newRow("moved less than a drag needs: a click") << far - 1 << false << QStringList{u"C"_s};
    QTest::newRow("moved far enough: the selection is dragged")
        << far << true << QStringList{u"B"_s, u"C"_s, u"D"_s};
}

void frmKivoDragTest::clickOrDragInASelection()
{
    QFETCH(int, moved);
    QFETCH(bool, dragged);
    QFETCH(QStringList, loadList);

    prepareDataFolder({u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}, {{u"Gig"_s, {}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &list = control<QListWidget>(u"objLoadList"_s);
    const auto rowAt = [&library](int row) { return library.visualItemRect(library.item(row)).center(); };
    // B to D, as the user selects them.
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier, rowAt(1));
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::ShiftModifier, rowAt(3));
    QCOMPARE(library.selectedItems().size(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(library.findChild<QDrag *>(QString(), Qt::FindDirectChildrenOnly) == nullptr);

    // Down on C, and moved sideways, along the row.
    const QPoint up = rowAt(2) + QPoint(moved, 0);
    QTest::mousePress(library.viewport(), Qt::LeftButton, Qt::NoModifier, rowAt(2));
    QTest::mouseMove(library.viewport(), up);
    QTest::mouseRelease(library.viewport(), Qt::LeftButton, Qt::NoModifier, up);

    auto *drag = library.findChild<QDrag *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(drag != nullptr, dragged);
    QStringList selected;
    for (const QListWidgetItem *item : library.selectedItems())
        selected.append(item->text());
    selected.sort();
    const QStringList kept = dragged ? QStringList{u"B"_s, u"C"_s, u"D"_s} : QStringList{u"C"_s};
    QCOMPARE(selected, kept);
    QCOMPARE(library.currentRow(), 2);

    if (dragged) {
        // The drop on row 1 puts the selected entries there.
        const Response response = dropOn(list, atHeight(list, heightOfRow(list, 1.25)), *drag->mimeData());
        QVERIFY(response.accepted);
    } else {
        list.setCurrentRow(1);
        invoke(u"moveButton"_s);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(rowsOf(list).mid(1, loadList.size() + 1), loadList + QStringList{QString()});
    QCOMPARE(rowsOf(list).at(0), QString());
    QVERIFY(m_seam->messages().isEmpty());
}

void frmKivoDragTest::libraryTakesWhatIsDraggedOverIt_data()
{
    QTest::addColumn<Carried>("carried");
    QTest::addColumn<Qt::DropAction>("action");

    // The drag offers to copy or move, and proposes to move (Shift is held).
    QTest::newRow("files are copied") << Carried::Files << Qt::CopyAction;
    QTest::newRow("other data as offered") << Carried::Text << Qt::MoveAction;
}

void frmKivoDragTest::libraryTakesWhatIsDraggedOverIt()
{
    QFETCH(Carried, carried);
    QFETCH(Qt::DropAction, action);

    QVERIFY(start());
    auto &library = control<QListWidget>(u"objLibrary"_s);
    const std::unique_ptr<QMimeData> data = dragData(carried, {droppedFile(u"a.tvs"_s)});

    const Response response = dragOver(library, atHeight(library, 20), *data, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier);
    leave(library);

    QVERIFY(response.accepted);
    QCOMPARE(response.action, action);
}

void frmKivoDragTest::filesDroppedOnTheLibrary_data()
{
    QTest::addColumn<QStringList>("files"); // none: the drop carries a text
    QTest::addColumn<QList<Prompt>>("prompts");
    QTest::addColumn<QStringList>("proposed");
    QTest::addColumn<QStringList>("library");
    QTest::addColumn<QStringList>("libraryFiles");

    const Prompt ok{u"btnOk"_s, {}};
    QTest::newRow("only sound image files, in the drop's order")
        << QStringList{u"b.tvs"_s, u"notes.txt"_s, u"c.TVS"_s, u"a.tvs"_s, u"d.tvs.zip"_s}
        << QList<Prompt>{ok, ok} << QStringList{u"b"_s, u"a"_s} << QStringList{u"b"_s, u"a"_s}
        << QStringList{u"b.tvs"_s, u"a.tvs"_s};
    QTest::newRow("a single file") << QStringList{u"Bass.Loop.tvs"_s} << QList<Prompt>{ok}
                                   << QStringList{u"Bass.Loop"_s} << QStringList{u"Bass.Loop"_s}
                                   << QStringList{u"Bass.Loop.tvs"_s};
    QTest::newRow("Ok All on the first of three")
        << QStringList{u"a.tvs"_s, u"b.tvs"_s, u"c.tvs"_s} << QList<Prompt>{{u"btnOkAll"_s, u"Typed"_s}}
        << QStringList{u"a"_s} << QStringList{u"Typed"_s, u"b"_s, u"c"_s}
        << QStringList{u"a.tvs"_s, u"b.tvs"_s, u"c.tvs"_s};
    QTest::newRow("Cancel All on the first of three")
        << QStringList{u"a.tvs"_s, u"b.tvs"_s, u"c.tvs"_s} << QList<Prompt>{{u"btnCancelAll"_s, {}}}
        << QStringList{u"a"_s} << QStringList{} << QStringList{};
    QTest::newRow("Cancel leaves one file out") << QStringList{u"a.tvs"_s, u"b.tvs"_s}
                                                << QList<Prompt>{{u"btnCancel"_s, {}}, ok}
                                                << QStringList{u"a"_s, u"b"_s} << QStringList{u"b"_s}
                                                << QStringList{u"b.tvs"_s};
    QTest::newRow("no files") << QStringList{} << QList<Prompt>{} << QStringList{} << QStringList{}
                              << QStringList{};
}

void frmKivoDragTest::filesDroppedOnTheLibrary()
{
    QFETCH(QStringList, files);
    QFETCH(QList<Prompt>, prompts);
    QFETCH(QStringList, proposed);
    QFETCH(QStringList, library);
    QFETCH(QStringList, libraryFiles);

    QVERIFY(start());
    QStringList paths;
    QVERIFY(QDir().mkpath(droppedFile({})));
    for (const QString &name : files) {
        QFile file(droppedFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(soundImage(static_cast<quint32>(qHash(name))));
        paths.append(droppedFile(name));
    }
    QStringList asked;
    QList<bool> allOffered;
    for (const Prompt &prompt : prompts) {
        m_seam->onNextDialog([&asked, &allOffered, prompt](QDialog &dialog) {
            auto *text = dialog.findChild<QLineEdit *>(u"txtText"_s);
            asked.append(text->text());
            allOffered.append(dialog.findChild<QPushButton *>(u"btnOkAll"_s)->isEnabled()
                              && dialog.findChild<QPushButton *>(u"btnCancelAll"_s)->isEnabled());
            if (!prompt.typed.isNull())
                text->setText(prompt.typed);
            dialog.findChild<QPushButton *>(prompt.button)->click();
            return dialog.result();
        });
    }
    auto &libraryList = control<QListWidget>(u"objLibrary"_s);
    const std::unique_ptr<QMimeData> data = dragData(files.isEmpty() ? Carried::Text : Carried::Files, paths);

    const Response response = dropOn(libraryList, atHeight(libraryList, 20), *data);

    QVERIFY(m_seam->allAnswersUsed());
    QCOMPARE(asked, proposed);
    QCOMPARE(allOffered, QList<bool>(proposed.size(), true));
    QCOMPARE(rowsOf(libraryList), library);
    QStringList libraryPaths;
    QStringList expectedPaths;
    for (const QString &name : library)
        libraryPaths.append(m_library->getModel(name)->path());
    for (const QString &file : libraryFiles)
        expectedPaths.append(droppedFile(file));
    QCOMPARE(libraryPaths, expectedPaths);
    QVERIFY(response.accepted);
    QCOMPARE(response.action, Qt::CopyAction);
}

void frmKivoDragTest::shellFileThatIsNoSoundImage_data()
{
    QTest::addColumn<NoSoundImage>("kind");
    QTest::addColumn<bool>("dropped"); // else named on the command line

    const std::pair<NoSoundImage, const char *> kinds[] = {
        {NoSoundImage::Pipe, "named pipe"},   {NoSoundImage::Empty, "empty file"},
        {NoSoundImage::Short, "short file"},  {NoSoundImage::Folder, "folder"},
        {NoSoundImage::DanglingLink, "dangling link"}, {NoSoundImage::Device, "device"},
    };
    for (const auto &[kind, name] : kinds) {
        QTest::addRow("%s dropped", name) << kind << true;
        QTest::addRow("%s on the command line", name) << kind << false;
    }
}

// A file from the shell that holds no sound image is refused with its reason, and a
// drop goes on with its next file.
void frmKivoDragTest::shellFileThatIsNoSoundImage()
{
    QFETCH(NoSoundImage, kind);
    QFETCH(bool, dropped);

    QVERIFY(QDir().mkpath(droppedFile({})));
    const QString odd = droppedFile(QString::fromLatin1(QTest::currentDataTag()) + u".tvs"_s);
    QVERIFY(makeNoSoundImage(kind, odd));
    const QString sound = droppedFile(QString::fromLatin1(QTest::currentDataTag()) + u" sound.tvs"_s);
    QVERIFY(writeSoundFile(sound));
    // Every file may be asked its name; only the sound image is.
    QStringList asked;
    for (int prompt = 0; prompt < 2; ++prompt) {
        m_seam->onNextDialog([&asked](QDialog &dialog) {
            asked.append(dialog.findChild<QLineEdit *>(u"txtText"_s)->text());
            return press(u"btnOk"_s)(dialog);
        });
    }
    const PipeOpener opener(odd);

    if (dropped) {
        QVERIFY(start());
        auto &libraryList = control<QListWidget>(u"objLibrary"_s);
        const std::unique_ptr<QMimeData> data = dragData(Carried::Files, {odd, sound});
        dropOn(libraryList, atHeight(libraryList, 20), *data);
    } else {
        QVERIFY(start({}, u"\""_s + odd + u"\""_s));
    }

    QVERIFY2(!opener.opened(), "the window waited for the other end of the pipe");
    const QStringList added = dropped ? QStringList{QFileInfo(sound).completeBaseName()} : QStringList{};
    QCOMPARE(asked, added);
    QCOMPARE(rowsOf(control<QListWidget>(u"objLibrary"_s)), added);
    const QStringList boxes = m_seam->messageTexts();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.front().startsWith(u"Cannot add "_s + odd + u"\r\n"_s), qPrintable(boxes.front()));
    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), dropped ? u" File added"_s : u" Cannot add Sound Image file"_s);
}

QTEST_MAIN(frmKivoDragTest)
#include "frmKivoDragTest.moc"
