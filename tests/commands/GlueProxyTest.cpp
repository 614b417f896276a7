#include "commands/Glue.h"
#include "commands/GlueProxy.h"
#include "commands/dlgKivo.h"
#include "model/Global.h"
#include "model/LoadList.h"
#include "platform/MidiDevices.h"
#include "platform/RuntimeError.h"

#include "FormControls.h"
#include "ModalAnswerer.h"
#include "ProxyFixture.h"
#include "RecordingPauses.h"

#include "platform/KivoTools.h"

#include "TemporarySettings.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#include <functional>
#include <memory>
#include <tuple>

using namespace kivo;
using test::ProxyFixture;

namespace {

using Step = std::function<void(ProxyFixture &)>;

const QString crLf = QStringLiteral("\r\n");

// Sounds s0 ... s(n-1) in the library, in that order.
void addSounds(ProxyFixture &f, int n)
{
    for (int i = 0; i < n; ++i)
        f.addSound(QStringLiteral("s%1").arg(i), 100 + i);
}

QStringList messageTitles(const ProxyFixture &f)
{
    QStringList titles;
    for (const MessageRequest &request : f.seam.messages())
        titles.append(request.title);
    return titles;
}

GlueListener &listenerOf(ProxyFixture &f)
{
    return *f.proxy;
}

// The twelve rows of a load list with the named sounds at their locations.
QStringList locations(const QList<std::pair<int, QString>> &entries)
{
    QStringList rows(LoadList::locationCount);
    for (const auto &[location, name] : entries)
        rows[location] = name;
    return rows;
}

// The recording kivotools bound to the presenter's facade with its port open: every
// writeMidi is recorded and succeeds but at the failing locations (bit n: location
// n). The transfer warning is answered OK.
struct RecordingTransfer {
    KivoTools tools{QStringLiteral(RECORDING_LIBRARY_FILE)};
    QLibrary library{QStringLiteral(RECORDING_LIBRARY_FILE)};
    void (*letPortOpen)(qint32, quint32) = reinterpret_cast<void (*)(qint32, quint32)>(library.resolve("letPortOpen"));
    qint32 (*writeCount)() = reinterpret_cast<qint32 (*)()>(library.resolve("writeCount"));
    qint32 (*writtenLocation)(qint32) = reinterpret_cast<qint32 (*)(qint32)>(library.resolve("writtenLocation"));
    qint32 (*recordedDevice)() = reinterpret_cast<qint32 (*)()>(library.resolve("recordedDevice"));

    RecordingTransfer(ProxyFixture &f, quint32 failing)
    {
        f.proxy->glue().setKivoTools(tools);
        if (isValid())
            letPortOpen(0, failing);
        f.seam.onNextDialog([](QDialog &dialog) {
            dialog.findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        });
    }
    ~RecordingTransfer()
    {
        if (isValid())
            letPortOpen(1, 0);
    }
    RecordingTransfer(const RecordingTransfer &) = delete;
    RecordingTransfer &operator=(const RecordingTransfer &) = delete;

    bool isValid() const { return letPortOpen && writeCount && writtenLocation && recordedDevice; }
};

} // namespace

Q_DECLARE_METATYPE(Step)

class GlueProxyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void startUpFillsTheControls();
    void refillSelectsOnlyTheFinalRow();
    void libraryRefill_data();
    void libraryRefill();
    void loadListRefill_data();
    void loadListRefill();
    void listsRefill_data();
    void listsRefill();
    void fileInfo_data();
    void fileInfo();
    void removeFromLibrary_data();
    void removeFromLibrary();
    void moveRight_data();
    void moveRight();
    void moveWithinList_data();
    void moveWithinList();
    void loadListCommands_data();
    void loadListCommands();
    void namesThatCannotBeSavedAgainAreRefused_data();
    void namesThatCannotBeSavedAgainAreRefused();
    void listOfAnEarlierVersionWithATooLongName();
    void transferPassesTheDeviceRow_data();
    void transferPassesTheDeviceRow();
    void transferWritesEachImageThenPauses();
    void transferNamesTheLocationsNotWritten_data();
    void transferNamesTheLocationsNotWritten();
    void printList_data();
    void printList();

private:
    std::unique_ptr<test::TemporarySettings> m_settings;
};

void GlueProxyTest::initTestCase()
{
    m_settings = std::make_unique<test::TemporarySettings>();
    QVERIFY(m_settings->isValid());
}

void GlueProxyTest::cleanup()
{
    QCOMPARE(test::visibleTopLevels(), QWidgetList{});
}

void GlueProxyTest::startUpFillsTheControls()
{
    ProxyFixture f(ProxyFixture::Start::Later);
    {
        // What an earlier run of the program left in the data folder.
        Library library;
        LoadLists lists;
        Glue glue(library, lists);
        glue.addToLibrary(1, QStringLiteral("a"), f.writeSound(QStringLiteral("a.tvs"), 1));
        glue.addToLibrary(2, QStringLiteral("Bass %1"), f.writeSound(QStringLiteral("Bass %1.tvs"), 2));
        glue.createLL(QStringLiteral("Live"));
        glue.addToLL(QStringLiteral("a"), 2);
        glue.createLL(QStringLiteral("Pad %2"));
        QVERIFY(!glue.saveAll());
    }
    gModelClipFormat.clear();

    f.start();

    QCOMPARE(f.rows(f.libList), (QStringList{QStringLiteral("a"), QStringLiteral("Bass %1")}));
    QCOMPARE(f.libList.currentRow(), 0);
    QCOMPARE(f.rows(f.llsList), (QStringList{QStringLiteral("Live"), QStringLiteral("Pad %2")}));
    QCOMPARE(f.llsList.currentIndex(), 0);
    QCOMPARE(f.rows(f.llList), locations({{2, QStringLiteral("a")}}));
    QCOMPARE(f.clicks.filter(QStringLiteral("Lists:")), (QStringList{QStringLiteral("Lists:Live"),
                                                                     QStringLiteral("Lists:Live")}));
    QCOMPARE(f.status.text(), QStringLiteral(" Application loaded successfully"));
    QCOMPARE(f.rows(f.device), outputDeviceNames());
    QCOMPARE(f.device.currentIndex(), -1);
    QCOMPARE(gModelClipFormat, QStringLiteral("application/x-qt-windows-mime;value=\"KivoModel\""));
    QCOMPARE(f.lists.getLoadList(QStringLiteral("Live"))->getModel(2)->name(), QStringLiteral("a"));
}

// The combo box must not select its first row by itself while it is refilled, and the
// lists must not run their click handling for rows that come and go.
void GlueProxyTest::refillSelectsOnlyTheFinalRow()
{
    ProxyFixture f;
    f.makeList(QStringLiteral("Live"));
    f.forget();
    f.answerText(QStringLiteral("Pad"));
    f.proxy->btnNewClick();

    QCOMPARE(f.clicks, (QStringList{QStringLiteral("Loadlist:0:"), QStringLiteral("Lists:Pad"),
                                    QStringLiteral("Loadlist:0:")}));
    QCOMPARE(f.proxy->glue().getActiveLoadList()->name(), QStringLiteral("Pad"));
    QCOMPARE(f.llsList.currentText(), QStringLiteral("Pad"));
}

void GlueProxyTest::libraryRefill_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");

    QTest::newRow("empty library") << Step([](ProxyFixture &f) { f.proxy->glue().update(); }) << QStringList{} << -1;
    QTest::newRow("added row selected") << Step([](ProxyFixture &f) { addSounds(f, 3); })
        << QStringList{QStringLiteral("s0"), QStringLiteral("s1"), QStringLiteral("s2")} << 2;
    QTest::newRow("row out of range selects last") << Step([](ProxyFixture &f) {
        addSounds(f, 3);
        f.proxy->glue().removeFromLibrary(QStringLiteral("s0"), -1);
    }) << QStringList{QStringLiteral("s1"), QStringLiteral("s2")} << 1;
    QTest::newRow("row past the end selects last") << Step([](ProxyFixture &f) {
        addSounds(f, 3);
        f.proxy->glue().removeFromLibrary(QStringLiteral("s2"), 2);
    }) << QStringList{QStringLiteral("s0"), QStringLiteral("s1")} << 1;
    QTest::newRow("last entry removed") << Step([](ProxyFixture &f) {
        addSounds(f, 1);
        f.proxy->glue().removeFromLibrary(QStringLiteral("s0"), 0);
    }) << QStringList{} << -1;
}

void GlueProxyTest::libraryRefill()
{
    QFETCH(Step, command);
    QFETCH(QStringList, rows);
    QFETCH(int, current);

    ProxyFixture f;
    f.forget();
    command(f);

    QCOMPARE(f.rows(f.libList), rows);
    QCOMPARE(f.libList.currentRow(), current);
    QCOMPARE(f.libList.selectedItems().size(), current >= 0 ? 1 : 0);
    // The window's click handling ran for selected rows only, never for rows of a refill.
    QString lastClick;
    for (const QString &click : std::as_const(f.clicks)) {
        if (click.startsWith(QStringLiteral("Library:"))) {
            QVERIFY2(click != QStringLiteral("Library:"), qPrintable(f.clicks.join(u'|')));
            lastClick = click;
        }
    }
    if (current >= 0)
        QCOMPARE(lastClick, QStringLiteral("Library:") + rows.at(current));
}

void GlueProxyTest::loadListRefill_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");

    QTest::newRow("no active list has no rows") << Step([](ProxyFixture &f) { f.proxy->glue().update(); })
        << QStringList{} << -1;
    QTest::newRow("image at 11 selects row 0") << Step([](ProxyFixture &f) {
        f.makeList(QStringLiteral("Live"), {{11, QStringLiteral("a")}});
    }) << locations({{11, QStringLiteral("a")}}) << 0;
    QTest::newRow("image at 4 selects row 5") << Step([](ProxyFixture &f) {
        f.makeList(QStringLiteral("Live"), {{4, QStringLiteral("a")}});
    }) << locations({{4, QStringLiteral("a")}}) << 5;
    QTest::newRow("only list deleted") << Step([](ProxyFixture &f) {
        f.makeList(QStringLiteral("Live"), {{4, QStringLiteral("a")}});
        f.proxy->glue().removeLL(QStringLiteral("Live"), 6);
    }) << QStringList{} << -1;
}

void GlueProxyTest::loadListRefill()
{
    QFETCH(Step, command);
    QFETCH(QStringList, rows);
    QFETCH(int, current);

    ProxyFixture f;
    command(f);

    QCOMPARE(f.rows(f.llList), rows);
    QCOMPARE(f.llList.currentRow(), current);
}

void GlueProxyTest::listsRefill_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("active");

    // The transfer warning is cancelled here; what counts is the row saved before it.
    const auto writeWithRow = [](int row) {
        return [row](ProxyFixture &f) {
            f.makeList(QStringLiteral("A"));
            f.makeList(QStringLiteral("Pad %2"));
            f.makeList(QStringLiteral("C"));
            f.llsList.setCurrentIndex(row);
            f.forget();
            QProgressBar bar;
            f.proxy->btnWriteClick(-1, bar);
            QCOMPARE(f.statusTexts, QStringList{QStringLiteral(" Writing to Kivo aborted")});
            f.makeList(QStringLiteral("Last Loaded"));
            f.clicks.clear();
            listenerOf(f).LoadListsChange(f.lists, rowBeforeTransfer);
        };
    };
    const QStringList four{QStringLiteral("A"), QStringLiteral("Pad %2"), QStringLiteral("C"),
                           QStringLiteral("Last Loaded")};

    QTest::newRow("-1 leaves no selection") << Step([](ProxyFixture &f) {
        f.makeList(QStringLiteral("Live"));
        f.proxy->btnDeleteClick();
    }) << QStringList{} << -1 << QString();
    QTest::newRow("after a transfer selects the saved row") << Step(writeWithRow(1)) << four << 1 << QStringLiteral("Pad %2");
    QTest::newRow("after a transfer without a saved row selects the first") << Step(writeWithRow(-1)) << four << 0
                                                               << QStringLiteral("A");
    QTest::newRow("after a transfer with no lists") << Step([](ProxyFixture &f) {
        QProgressBar bar;
        f.proxy->btnWriteClick(-1, bar);
        listenerOf(f).LoadListsChange(f.lists, rowBeforeTransfer);
    }) << QStringList{} << -1 << QString();
    QTest::newRow("new list selected") << Step([](ProxyFixture &f) {
        f.makeList(QStringLiteral("A"));
        f.makeList(QStringLiteral("B"));
    }) << QStringList{QStringLiteral("A"), QStringLiteral("B")} << 1 << QStringLiteral("B");
}

void GlueProxyTest::listsRefill()
{
    QFETCH(Step, command);
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QString, active);

    ProxyFixture f;
    f.seam.answerNext(Answer::Yes);
    command(f);

    QCOMPARE(f.rows(f.llsList), rows);
    QCOMPARE(f.llsList.currentIndex(), current);
    const LoadListPtr activeList = f.proxy->glue().getActiveLoadList();
    QCOMPARE(activeList ? activeList->name() : QString(), active);
}

void GlueProxyTest::fileInfo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint32>("fileTag");
    QTest::addColumn<QString>("shown");

    const QString bass = QStringLiteral("Bass %1");
    QTest::newRow("hexadecimal upper case") << bass << qint32(0x1a2b) << QStringLiteral(" 1A2B");
    QTest::newRow("-1 as two's complement") << bass << qint32(-1) << QStringLiteral(" FFFFFFFF");
    QTest::newRow("0 shows nothing") << bass << qint32(0) << QString();
    QTest::newRow("name that looks like markup") << QStringLiteral("<b>Bass &lt;1&gt;") << qint32(0x1a2b)
                                                 << QStringLiteral(" 1A2B");
}

void GlueProxyTest::fileInfo()
{
    QFETCH(QString, name);
    QFETCH(qint32, fileTag);
    QFETCH(QString, shown);

    ProxyFixture f;
    f.addSound(name, fileTag);
    f.makeList(QStringLiteral("Live"), {{3, name}});
    const QString file = f.soundFolder() + name + QStringLiteral(".tvs");

    // What the labels show, not only the text they were given.
    f.proxy->listBoxChanges(name, QStringLiteral("Library"));
    QCOMPARE(test::shownText(f.path), QStringLiteral(" ") + name + QStringLiteral(".tvs"));
    QCOMPARE(test::shownText(f.tag), shown);
    QCOMPARE(test::shownText(f.status), QStringLiteral(" ") + file);

    f.proxy->listBoxChanges(QString(), QStringLiteral("Loadlist"), 0);
    QCOMPARE(f.path.text(), QStringLiteral(" "));
    QCOMPARE(f.tag.text(), QString());
    QCOMPARE(f.status.text(), QString());

    f.proxy->listBoxChanges(name, QStringLiteral("Loadlist"), 3);
    QCOMPARE(test::shownText(f.tag), shown);
    QCOMPARE(test::shownText(f.status), QStringLiteral(" ") + file);
}

void GlueProxyTest::removeFromLibrary_data()
{
    QTest::addColumn<int>("sounds");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("boxes");

    const QStringList refused{QStringLiteral("Please select a Sound Image to remove")};
    QTest::newRow("empty library") << 0 << QList<int>{} << QStringList{} << -1 << refused;
    QTest::newRow("no current row") << 2 << QList<int>{} << QStringList{QStringLiteral("s0"), QStringLiteral("s1")}
                                    << -1 << refused;
    QTest::newRow("only the current of three selected") << 4 << QList<int>{0, 2, 1}
        << QStringList{QStringLiteral("s0"), QStringLiteral("s2"), QStringLiteral("s3")} << 1 << QStringList{};
    QTest::newRow("last row") << 2 << QList<int>{1} << QStringList{QStringLiteral("s0")} << 0 << QStringList{};
}

void GlueProxyTest::removeFromLibrary()
{
    QFETCH(int, sounds);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, boxes);

    ProxyFixture f;
    addSounds(f, sounds);
    if (selected.isEmpty())
        f.libList.setCurrentRow(-1);
    f.selectLibraryRows(selected);
    f.forget();

    f.proxy->btnRemoveClick();

    QCOMPARE(f.rows(f.libList), rows);
    QCOMPARE(f.libList.currentRow(), current);
    QCOMPARE(f.seam.messageTexts(), boxes);
    if (!boxes.isEmpty())
        QCOMPARE(messageTitles(f), QStringList{QStringLiteral("Error Removing File")});
    else
        QCOMPARE(f.statusTexts.mid(f.statusTexts.size() - 1), QStringList{QStringLiteral(" File removed")});
}

void GlueProxyTest::moveRight_data()
{
    QTest::addColumn<Step>("setup");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("llRow");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("lastStatus");

    const auto library = [](int n) { return Step([n](ProxyFixture &f) { addSounds(f, n); }); };
    const auto withList = [](int n, const QList<std::pair<int, QString>> &entries) {
        return Step([n, entries](ProxyFixture &f) {
            addSounds(f, n);
            f.makeList(QStringLiteral("Pad %2"), entries);
        });
    };
    const auto names = [](const QList<int> &numbers) {
        QStringList rows(LoadList::locationCount);
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            if (numbers[i] >= 0)
                rows[i] = QStringLiteral("s%1").arg(numbers[i]);
        }
        return rows;
    };
    const QString x = QStringLiteral("Bass %1");
    const QString occupied = x + QStringLiteral(" is at location 4") + crLf + QStringLiteral("Replace with s0?");
    const QString added = QStringLiteral(" Sound image added to Pad %2");

    QList<int> twelve;
    QList<int> thirteen;
    for (int i = 12; i >= 0; --i) {
        thirteen.append(i);
        if (i < 12)
            twelve.append(i);
    }
    QTest::newRow("13 selected") << withList(13, {}) << thirteen << -1 << QList<Answer>{}
        << QStringList(LoadList::locationCount) << QStringList{QStringLiteral("Load List can only have 12 images")}
        << QString();
    QTest::newRow("12 selected in row order") << withList(13, {}) << twelve << -1 << QList<Answer>{}
        << names({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) << QStringList{} << added;
    QTest::newRow("first to the current row, then the next empty") << withList(3, {}) << QList<int>{2, 0} << 3
        << QList<Answer>{} << names({-1, -1, -1, 0, 2}) << QStringList{} << added;
    QTest::newRow("no current row: next empty locations") << withList(3, {}) << QList<int>{1, 0} << -1
        << QList<Answer>{} << names({0, 1}) << QStringList{} << added;
    QTest::newRow("nothing selected") << withList(3, {}) << QList<int>{} << -1 << QList<Answer>{}
        << QStringList(LoadList::locationCount) << QStringList{QStringLiteral(" Please select Sound Image from your list")}
        << QString();
    QTest::newRow("no active list stops after the first") << library(2) << QList<int>{0, 1} << -1 << QList<Answer>{}
        << QStringList{} << QStringList{QStringLiteral("Can only add Sound Image to an Active Load List")}
        << QStringLiteral(" There is no Active Load List");
    // A move that was stopped leaves nothing behind that stops the next one early.
    QTest::newRow("after no active list, the next move places all") << Step([](ProxyFixture &f) {
        addSounds(f, 2);
        f.selectLibraryRows({0, 1});
        f.proxy->btnMoveRightClick();
        f.makeList(QStringLiteral("Pad %2"));
    }) << QList<int>{0, 1} << -1 << QList<Answer>{} << names({0, 1}) << QStringList{} << added;

    QStringList replaced = names({-1, -1, -1, 0, 1, 2});
    QTest::newRow("occupied: Yes replaces and goes on") << withList(3, {{3, x}}) << QList<int>{0, 1, 2} << 3
        << QList<Answer>{Answer::Yes} << replaced << QStringList{occupied} << added;
    QStringList kept = names({-1, -1, -1, -1, 1, 2});
    kept[3] = x;
    QTest::newRow("occupied: No skips and goes on") << withList(3, {{3, x}}) << QList<int>{0, 1, 2} << 3
        << QList<Answer>{Answer::No} << kept << QStringList{occupied} << added;
    QStringList stopped(LoadList::locationCount);
    stopped[3] = x;
    QTest::newRow("occupied: Cancel stops") << withList(3, {{3, x}}) << QList<int>{0, 1, 2} << 3
        << QList<Answer>{Answer::Cancel} << stopped << QStringList{occupied} << QString();
    // The next empty locations follow the list's last placed one.
    QStringList allPlaced = names({-1, -1, -1, -1, 0, 1, 2});
    allPlaced[3] = x;
    QTest::newRow("after a Cancel, the next move places all") << Step([x](ProxyFixture &f) {
        addSounds(f, 3);
        f.makeList(QStringLiteral("Pad %2"), {{3, x}});
        f.selectLibraryRows({0, 1});
        f.llList.setCurrentRow(3);
        f.seam.answerNext(Answer::Cancel);
        f.proxy->btnMoveRightClick();
    }) << QList<int>{0, 1, 2} << -1 << QList<Answer>{} << allPlaced << QStringList{} << added;

    const auto missing = [](ProxyFixture &f) {
        addSounds(f, 3);
        f.makeList(QStringLiteral("Pad %2"));
        QVERIFY(QFile::remove(f.soundFolder() + QStringLiteral("s0.tvs")));
    };
    const QString gone = QStringLiteral("<sounds>s0.tvs does not exist") + crLf
        + QStringLiteral("If file is on removeable media, please insert and try again");
    QTest::newRow("missing: Abort stops") << Step(missing) << QList<int>{0, 1} << -1 << QList<Answer>{Answer::Abort}
        << QStringList(LoadList::locationCount) << QStringList{gone} << QString();
    QTest::newRow("missing: Retry asks again, Ignore goes on") << Step(missing) << QList<int>{0, 1} << -1
        << QList<Answer>{Answer::Retry, Answer::Ignore} << names({1}) << QStringList{gone, gone} << added;
    QTest::newRow("missing: Ignore goes on") << Step(missing) << QList<int>{0, 1, 2} << 5
        << QList<Answer>{Answer::Ignore} << names({1, 2}) << QStringList{gone} << added;
}

void GlueProxyTest::moveRight()
{
    QFETCH(Step, setup);
    QFETCH(QList<int>, selected);
    QFETCH(int, llRow);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, boxes);
    QFETCH(QString, lastStatus);

    ProxyFixture f;
    setup(f);
    f.selectLibraryRows(selected);
    f.llList.setCurrentRow(llRow);
    f.forget();
    for (const Answer answer : answers)
        f.seam.answerNext(answer);

    f.proxy->btnMoveRightClick();

    QCOMPARE(f.rows(f.llList), rows);
    if (rows.contains(QStringLiteral("s0")))
        QVERIFY2(f.statusTexts.contains(QStringLiteral(" Sound image added to Pad %2")),
                 qPrintable(f.statusTexts.join(u'|')));
    QStringList texts = f.seam.messageTexts();
    texts.replaceInStrings(f.soundFolder(), QStringLiteral("<sounds>"));
    QCOMPARE(texts, boxes);
    QCOMPARE(f.statusTexts.value(f.statusTexts.size() - 1), lastStatus);
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
    for (const MessageRequest &box : f.seam.messages()) {
        if (box.text.contains(QStringLiteral(" is at location "))) {
            QCOMPARE(box.title, QStringLiteral("Location Not Available"));
            QCOMPARE(box.buttons, Buttons::YesNoCancel);
        } else if (box.text.contains(QStringLiteral(" does not exist"))) {
            QCOMPARE(box.title, QStringLiteral("File Missing"));
            QCOMPARE(box.buttons, Buttons::AbortRetryIgnore);
        }
        QCOMPARE(box.icon, Icon::None);
    }
}

void GlueProxyTest::moveWithinList_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<int>("llRow");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QStringList>("boxes");

    const Step up = [](ProxyFixture &f) { f.proxy->btnMoveUpClick(); };
    const Step down = [](ProxyFixture &f) { f.proxy->btnMoveDownClick(); };
    const Step left = [](ProxyFixture &f) { f.proxy->btnMoveLeftClick(); };
    const QStringList unchanged = locations({{0, QStringLiteral("a")}, {11, QStringLiteral("Bass %1")}});
    const QStringList noRow{QStringLiteral("Please select a Sound Image from your Load List")};
    const QString swapped = QStringLiteral(" Sound Image location swapped");

    QTest::newRow("up at 0 wraps to 11") << up << 0
        << locations({{11, QStringLiteral("a")}, {0, QStringLiteral("Bass %1")}}) << 11 << swapped << QStringList{};
    QTest::newRow("down at 11 wraps to 0") << down << 11
        << locations({{11, QStringLiteral("a")}, {0, QStringLiteral("Bass %1")}}) << 0 << swapped << QStringList{};
    QTest::newRow("up of an empty location") << up << 1
        << locations({{1, QStringLiteral("a")}, {11, QStringLiteral("Bass %1")}}) << 0 << swapped << QStringList{};
    QTest::newRow("up without current row") << up << -1 << unchanged << -1 << QString() << noRow;
    QTest::newRow("down without current row") << down << -1 << unchanged << -1 << QString() << noRow;
    QTest::newRow("left of an empty location") << left << 5 << unchanged << 5
        << QStringLiteral(" Nothing to remove") << QStringList{};
    QTest::newRow("left without current row") << left << -1 << unchanged << -1 << QString() << noRow;
    QTest::newRow("left of location 12") << left << 11 << locations({{0, QStringLiteral("a")}}) << 11
        << QStringLiteral(" Location 12 removed") << QStringList{};
}

void GlueProxyTest::moveWithinList()
{
    QFETCH(Step, command);
    QFETCH(int, llRow);
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QString, statusText);
    QFETCH(QStringList, boxes);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}, {11, QStringLiteral("Bass %1")}});
    f.llList.setCurrentRow(llRow);
    f.forget();

    command(f);

    QCOMPARE(f.rows(f.llList), rows);
    QCOMPARE(f.llList.currentRow(), current);
    QCOMPARE(f.seam.messageTexts(), boxes);
    if (statusText.isEmpty())
        QCOMPARE(f.statusTexts, QStringList{});
    else
        QVERIFY2(f.statusTexts.contains(statusText), qPrintable(f.statusTexts.join(u'|')));
}

void GlueProxyTest::loadListCommands_data()
{
    QTest::addColumn<Step>("command");
    QTest::addColumn<QStringList>("lists");
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QStringList>("boxes");

    const QString noName = QStringLiteral(" New Load List creation aborted");
    const QString noRename = QStringLiteral(" Rename Load List aborted");
    const QStringList start{QStringLiteral("Live"), QStringLiteral("Pad %2")};

    QTest::newRow("new") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("  Bass %1  "));
        f.proxy->btnNewClick();
        QCOMPARE(f.prompts.front().title, QStringLiteral("Create New Load List"));
        QCOMPARE(f.prompts.front().message1, QStringLiteral("Please enter a name"));
        QCOMPARE(f.prompts.front().proposed, QString());
        QVERIFY(!f.prompts.front().allEnabled);
    }) << QStringList{start + QStringList{QStringLiteral("Bass %1")}} << QStringLiteral("Bass %1")
       << QStringLiteral(" Your new Load List is ready to go!") << QStringList{};
    QTest::newRow("new with blanks only") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("   "));
        f.proxy->btnNewClick();
    }) << start << QStringLiteral("Pad %2") << noName << QStringList{};
    QTest::newRow("new invalid, asked again, cancelled") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral(" a:b "));
        f.answerText(QStringLiteral("c"), QStringLiteral("btnCancel"));
        f.proxy->btnNewClick();
        QCOMPARE(f.prompts.size(), 2);
        QCOMPARE(f.prompts[1].title, QStringLiteral("Create New Load List"));
        QCOMPARE(f.prompts[1].proposed, QStringLiteral("a:b"));
        QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a valid name"));
        // The dialog shows the line break of the message as such.
        QCOMPARE(f.prompts[1].message2, QStringLiteral("Cannot use: /\\:*?\"<>|\n")
                                            + QStringLiteral("Name must start with either a letter or number"));
    }) << start << QStringLiteral("Pad %2") << noName << QStringList{};
    QTest::newRow("new invalid, then valid") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("_x"));
        f.answerText(QStringLiteral("con"));
        f.answerText(QStringLiteral("x"));
        f.proxy->btnNewClick();
    }) << QStringList{start + QStringList{QStringLiteral("x")}} << QStringLiteral("x")
       << QStringLiteral(" Your new Load List is ready to go!") << QStringList{};
    QTest::newRow("new too long for a file, asked again") << Step([](ProxyFixture &f) {
        f.answerText(QString(252, u'n'));
        f.answerText(QStringLiteral("x"));
        f.proxy->btnNewClick();
        QCOMPARE(f.prompts.size(), 2);
        QCOMPARE(f.prompts[1].proposed, QString(252, u'n'));
        QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a shorter name"));
    }) << QStringList{start + QStringList{QStringLiteral("x")}} << QStringLiteral("x")
       << QStringLiteral(" Your new Load List is ready to go!") << QStringList{};
    QTest::newRow("rename to 130 characters over 255 bytes, asked again, cancelled") << Step([](ProxyFixture &f) {
        const QString accents = QString(u'a') + QString(129, u'\u00e9');
        f.answerText(accents);
        f.answerText(accents, QStringLiteral("btnCancel"));
        f.proxy->btnRenameClick();
        QCOMPARE(f.prompts.size(), 2);
        QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a shorter name"));
        QVERIFY(QFile::exists(dataPath() + QStringLiteral("Pad %2.dat")));
    }) << start << QStringLiteral("Pad %2") << noRename << QStringList{};
    QTest::newRow("rename to the same name") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("Pad %2"));
        f.proxy->btnRenameClick();
        QCOMPARE(f.prompts.front().title, QStringLiteral("Rename Current Load List"));
        QCOMPARE(f.prompts.front().message1, QStringLiteral("Enter a new name"));
        QCOMPARE(f.prompts.front().proposed, QStringLiteral("Pad %2"));
    }) << start << QStringLiteral("Pad %2") << noRename << QStringList{};
    QTest::newRow("rename in other letter case") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("PAD %2"));
        f.proxy->btnRenameClick();
    }) << QStringList{QStringLiteral("Live"), QStringLiteral("PAD %2")} << QStringLiteral("PAD %2")
       << QStringLiteral(" Your Load List has been saved") << QStringList{};
    QTest::newRow("rename invalid, asked again, cancelled") << Step([](ProxyFixture &f) {
        f.answerText(QStringLiteral("a/b"));
        f.answerText(QString(), QStringLiteral("btnCancel"));
        f.proxy->btnRenameClick();
        QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a valid name"));
    }) << start << QStringLiteral("Pad %2") << noRename << QStringList{};
    QTest::newRow("delete, No") << Step([](ProxyFixture &f) {
        f.seam.answerNext(Answer::No);
        f.proxy->btnDeleteClick();
    }) << start << QStringLiteral("Pad %2") << QString() << QStringList{QStringLiteral("Delete Load List Pad %2?")};
    QTest::newRow("delete, Yes") << Step([](ProxyFixture &f) {
        f.seam.answerNext(Answer::Yes);
        f.proxy->btnDeleteClick();
        QCOMPARE(messageTitles(f), QStringList{QStringLiteral("Delete Active List")});
        QCOMPARE(f.seam.messages().front().buttons, Buttons::YesNo);
    }) << QStringList{QStringLiteral("Live")} << QStringLiteral("Live") << QStringLiteral(" Load List removed!")
       << QStringList{QStringLiteral("Delete Load List Pad %2?")};
    QTest::newRow("save") << Step([](ProxyFixture &f) {
        f.proxy->btnSaveClick();
        QVERIFY(QFile::exists(dataPath() + QStringLiteral("Pad %2.dat")));
    }) << start << QStringLiteral("Pad %2") << QStringLiteral(" All of your Load Lists has been saved")
       << QStringList{};
    QTest::newRow("choose a list") << Step([](ProxyFixture &f) { f.llsList.setCurrentIndex(0); }) << start
                                   << QStringLiteral("Live") << QString() << QStringList{};
}

void GlueProxyTest::loadListCommands()
{
    QFETCH(Step, command);
    QFETCH(QStringList, lists);
    QFETCH(QString, active);
    QFETCH(QString, statusText);
    QFETCH(QStringList, boxes);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"));
    f.makeList(QStringLiteral("Pad %2"));
    f.forget();

    command(f);

    QCOMPARE(f.listNames(), lists);
    QCOMPARE(f.rows(f.llsList), lists);
    QCOMPARE(f.llsList.currentText(), active);
    QCOMPARE(f.proxy->glue().getActiveLoadList()->name(), active);
    QCOMPARE(f.status.text(), statusText.isEmpty() ? f.status.text() : statusText);
    if (!statusText.isEmpty())
        QVERIFY2(f.statusTexts.contains(statusText), qPrintable(f.statusTexts.join(u'|')));
    QCOMPARE(f.seam.messageTexts(), boxes);
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
}

namespace {

enum class NameSource { Create, Rename, Import };

// What the name prompt says when it asks again for a name whose file could not be saved
// again: 255 bytes of a file name, less ".dat" and the 7 of the safe save's temporary name.
const QString tooLongLine = QStringLiteral("Name is too long to be saved as a file\n")
    + QStringLiteral("Name can have up to 244 characters, fewer with accents or letters outside A to Z");

// Answers the name prompt of the command with the name, and, when it is to ask again,
// with Short.
void nameThrough(ProxyFixture &f, NameSource source, const QString &name, bool askedAgain)
{
    f.answerText(name);
    if (askedAgain)
        f.answerText(QStringLiteral("Short"));
    switch (source) {
    case NameSource::Create:
        f.proxy->btnNewClick();
        break;
    case NameSource::Rename:
        f.proxy->btnRenameClick();
        break;
    case NameSource::Import:
        f.chooseFiles({f.soundFolder() + QStringLiteral("Gig.kxf")});
        f.proxy->btnExportClick(f.fileDialog);
        f.chooseFiles({f.soundFolder() + QStringLiteral("Gig") + QDir::separator() + QStringLiteral("Gig.kxf")});
        f.proxy->btnImportClick(f.fileDialog);
        break;
    }
}

// Puts the sound into the location of the active list and saves every list.
void editAndSave(ProxyFixture &f, int location, const QString &sound)
{
    f.proxy->glue().addToLL(sound, location);
    f.proxy->btnSaveClick();
}

} // namespace

Q_DECLARE_METATYPE(NameSource)

void GlueProxyTest::namesThatCannotBeSavedAgainAreRefused_data()
{
    QTest::addColumn<NameSource>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("savable");

    const QString e = QStringLiteral("\u00e9");             // 2 bytes in UTF-8
    const QString note = QStringLiteral("\u97f3");          // 3 bytes
    const QString smile = QStringLiteral("\U0001f600");     // 4 bytes, 2 UTF-16 units
    const QList<std::tuple<const char *, QString, bool>> names{
        {"244 letters", QString(244, u'a'), true},
        {"244 letters and blanks around", QStringLiteral("  ") + QString(244, u'a') + QStringLiteral(" "), true},
        {"245 letters", QString(245, u'a'), false},
        {"251 letters", QString(251, u'a'), false},
        {"252 letters", QString(252, u'a'), false},
        {"255 letters", QString(255, u'a'), false},
#ifndef Q_OS_WIN
        {"123 characters in 244 bytes", QStringLiteral("a") + e.repeated(121) + QStringLiteral("b"), true},
        {"123 characters in 245 bytes", QStringLiteral("a") + e.repeated(122), false},
        {"82 characters in 244 bytes", QStringLiteral("a") + note.repeated(81), true},
        {"83 characters in 245 bytes", QStringLiteral("a") + note.repeated(81) + QStringLiteral("b"), false},
        {"64 characters in 244 bytes", QStringLiteral("a") + smile.repeated(60) + QStringLiteral("bcd"), true},
        {"62 characters in 245 bytes", QStringLiteral("a") + smile.repeated(61), false},
#endif
    };
    const QList<std::pair<const char *, NameSource>> sources{
        {"create", NameSource::Create}, {"rename", NameSource::Rename}, {"import", NameSource::Import}};
    for (const auto &[sourceName, source] : sources) {
        for (const auto &[row, name, savable] : names)
            QTest::addRow("%s, %s", sourceName, row) << source << name << savable;
    }
}

// The list's file is saved twice, as the second save replaces a file that exists.
void GlueProxyTest::namesThatCannotBeSavedAgainAreRefused()
{
    QFETCH(NameSource, source);
    QFETCH(QString, name);
    QFETCH(bool, savable);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"), {{2, QStringLiteral("a")}});
    f.addSound(QStringLiteral("b"), 2);
    f.addSound(QStringLiteral("c"), 3);
    f.forget();

    nameThrough(f, source, name, !savable);

    const QString trimmed = name.trimmed();
    const QString listName = savable ? trimmed : QStringLiteral("Short");
    QCOMPARE(f.prompts.size(), savable ? 1 : 2);
    if (!savable) {
        QCOMPARE(f.prompts[1].proposed, trimmed);
        QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a shorter name"));
        QCOMPARE(f.prompts[1].message2, tooLongLine);
        QVERIFY(!QFile::exists(f.data.filePath(trimmed + QStringLiteral(".dat"))));
    }
    QCOMPARE(f.llsList.currentText(), listName);
    QCOMPARE(f.proxy->glue().getActiveLoadList()->name(), listName);
    QVERIFY(QFile::exists(f.data.filePath(listName + QStringLiteral(".dat"))));

    editAndSave(f, 5, QStringLiteral("b"));
    QCOMPARE(f.status.text(), QStringLiteral(" All of your Load Lists has been saved"));
    editAndSave(f, 7, QStringLiteral("c"));
    QCOMPARE(f.status.text(), QStringLiteral(" All of your Load Lists has been saved"));
    const QByteArray saved = f.data.readBytes(listName + QStringLiteral(".dat"));
    QVERIFY2(saved.contains("5\t2\tb\t") && saved.contains("7\t3\tc\t"), saved.constData());
    QVERIFY(f.seam.messageTexts().isEmpty());
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(f.seam.unexpected(), 0);
}

// Earlier versions took names up to the file system's limit. Such a list loads, and
// while it keeps its name the user is told why its edits cannot be saved; a new name
// saves them.
void GlueProxyTest::listOfAnEarlierVersionWithATooLongName()
{
    const QString longName = QStringLiteral("Old ") + QString(246, u'x');
    ProxyFixture f(ProxyFixture::Start::Later);
    QVERIFY(f.data.writeBytes(longName + QStringLiteral(".dat"), "\r\n"));
    QVERIFY(f.data.writeBytes(QStringLiteral("ListOfLL.kvl"), longName.toUtf8() + "\r\n\r\n"));
    f.start();
    f.addSound(QStringLiteral("a"), 1);
    QCOMPARE(f.listNames(), QStringList{longName});
    f.proxy->glue().setActiveLL(longName);
    f.proxy->glue().addToLL(QStringLiteral("a"), 4);
    f.forget();

    f.seam.answerNext(Answer::Yes);
    QVERIFY(!f.proxy->saveBeforeExit());
    QCOMPARE(f.seam.messageTexts(),
             (QStringList{QStringLiteral("Save the changes to your Load Lists before you exit?"),
                          QStringLiteral("Your Load Lists could not be saved") + crLf + qt_error_string(ENAMETOOLONG) + crLf
                              + QStringLiteral("The name of the Load List \"") + longName
                              + QStringLiteral("\" is too long for its file to be saved. Rename it to a shorter name.")}));
    QCOMPARE(f.data.readBytes(longName + QStringLiteral(".dat")), QByteArray("\r\n"));
    f.forget();

    // The prompt offers the old name, and refuses it as it stands.
    f.answerText(longName);
    f.answerText(QStringLiteral("Old"));
    f.proxy->btnRenameClick();
    QCOMPARE(f.prompts.size(), 2);
    QCOMPARE(f.prompts[0].proposed, longName);
    QCOMPARE(f.prompts[1].message1, QStringLiteral("Please enter a shorter name"));
    QCOMPARE(f.status.text(), QStringLiteral(" Your Load List has been saved"));
    QCOMPARE(f.listNames(), QStringList{QStringLiteral("Old")});
    QVERIFY(f.data.readBytes(QStringLiteral("Old.dat")).startsWith("4\t1\ta\t"));
    QVERIFY(!QFile::exists(f.data.filePath(longName + QStringLiteral(".dat"))));
    QVERIFY(f.proxy->saveBeforeExit());
    QVERIFY(f.seam.messageTexts().isEmpty());
    QCOMPARE(f.seam.unexpected(), 0);
}

void GlueProxyTest::transferPassesTheDeviceRow_data()
{
    QTest::addColumn<qint16>("device");

    QTest::newRow("no device row") << qint16(-1);
    QTest::newRow("first row") << qint16(0);
    QTest::newRow("third row") << qint16(2);
}

void GlueProxyTest::transferPassesTheDeviceRow()
{
    QFETCH(qint16, device);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}});
    f.forget();
    KivoTools recording(QStringLiteral(RECORDING_LIBRARY_FILE));
    f.proxy->glue().setKivoTools(recording);
    QLibrary library(QStringLiteral(RECORDING_LIBRARY_FILE));
    const auto recordedDevice = reinterpret_cast<qint32 (*)()>(library.resolve("recordedDevice"));
    QVERIFY2(recordedDevice != nullptr, qPrintable(library.errorString()));
    // The transfer warning: OK.
    f.seam.onNextDialog([](QDialog &dialog) {
        dialog.findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
        return dialog.result();
    });
    QProgressBar bar;
    const qint32 before = recordedDevice();

    f.proxy->btnWriteClick(device, bar);

    // With no device row not even the port is tried.
    QCOMPARE(recordedDevice(), device == -1 ? before : qint32(device));
    QCOMPARE(f.statusTexts, QStringList{QStringLiteral(" Cannot open Midi Port for output")});
}

// Every occupied location is written in order, each followed by a pause that lets
// the unit take the image in, and the bar moves one step per image.
void GlueProxyTest::transferWritesEachImageThenPauses()
{
    ProxyFixture f;
    f.makeList(QStringLiteral("Live"), {{0, QStringLiteral("a")}, {5, QStringLiteral("b")}, {11, QStringLiteral("c")}});
    f.forget();
    const RecordingTransfer recording(f, 0);
    QVERIFY2(recording.isValid(), qPrintable(recording.library.errorString()));
    test::RecordingPauses pauses;
    QProgressBar bar;
    bar.setRange(0, 120);
    QList<int> barValues;
    QObject::connect(&bar, &QProgressBar::valueChanged, &bar, [&](int value) { barValues.append(value); });

    f.proxy->btnWriteClick(2, bar);

    QList<qint32> written;
    for (qint32 i = 0; i < recording.writeCount(); ++i)
        written.append(recording.writtenLocation(i));
    QCOMPARE(written, (QList<qint32>{0, 5, 11}));
    QCOMPARE(recording.recordedDevice(), 2);
    QCOMPARE(pauses.asked(), QList<std::chrono::milliseconds>(3, std::chrono::milliseconds(100)));
    QCOMPARE(barValues, (QList<int>{0, 40, 80, 120}));
    QVERIFY(bar.isHidden());
    QCOMPARE(f.statusTexts.first(3), (QStringList{QStringLiteral(" Writing a at location: 1"),
                                                  QStringLiteral(" Writing b at location: 6"),
                                                  QStringLiteral(" Writing c at location: 12")}));
    QCOMPARE(f.statusTexts.last(), QStringLiteral(" Finished Transferring to Kivo!"));
}

void GlueProxyTest::transferNamesTheLocationsNotWritten_data()
{
    QTest::addColumn<quint32>("failing"); // bit n: location n cannot be written
    QTest::addColumn<QStringList>("journal");

    const auto writing = [](const QString &name, int location) {
        return QStringLiteral("status:  Writing ") + name + QStringLiteral(" at location: ")
            + QString::number(location);
    };
    const auto failed = [&](const QString &name, int location) {
        return writing(name, location) + QStringLiteral(" failed. File cannot be read");
    };
    // The list selected again shows its first location.
    const QStringList finished{QStringLiteral("status:  <sounds>a.tvs"),
                               QStringLiteral("status:  Finished Transferring to Kivo!")};
    const auto box = [](const QStringList &locations) {
        return QStringLiteral("box: These Sound Images were not written to your Kivo:\r\n\r\n") + locations.join(crLf)
            + QStringLiteral("\r\n\r\nCheck that their files can be read and that your Kivo is connected, then "
                             "transfer the Load List again.");
    };

    const QString a = QStringLiteral("a");
    const QString bass = QStringLiteral("Bass %1");
    const QString c = QStringLiteral("c");
    QTest::newRow("all written: no box")
        << quint32{0} << QStringList{writing(a, 1), writing(bass, 6), writing(c, 12)} + finished;
    QTest::newRow("one not written")
        << quint32{1u << 5}
        << QStringList{writing(a, 1), writing(bass, 6), failed(bass, 6), writing(c, 12)} + finished
            + QStringList{box({QStringLiteral("Location 6: Bass %1")})};
    QTest::newRow("none written")
        << quint32{0xfff}
        << QStringList{writing(a, 1), failed(a, 1), writing(bass, 6), failed(bass, 6), writing(c, 12), failed(c, 12)}
            + finished
            + QStringList{box({QStringLiteral("Location 1: a"), QStringLiteral("Location 6: Bass %1"),
                               QStringLiteral("Location 12: c")})};
}

// A location that could not be written is named when the transfer has ended, once
// its status texts have been shown; a transfer without failures ends as ever.
void GlueProxyTest::transferNamesTheLocationsNotWritten()
{
    QFETCH(quint32, failing);
    QFETCH(QStringList, journal);

    ProxyFixture f;
    f.makeList(QStringLiteral("Live"),
               {{0, QStringLiteral("a")}, {5, QStringLiteral("Bass %1")}, {11, QStringLiteral("c")}});
    f.forget();
    const RecordingTransfer recording(f, failing);
    QVERIFY2(recording.isValid(), qPrintable(recording.library.errorString()));
    test::RecordingPauses pauses;
    QProgressBar bar;
    bar.setRange(0, 120);

    f.proxy->btnWriteClick(0, bar);

    QCOMPARE(recording.writeCount(), 3);
    QStringList shown = f.seam.journal();
    shown.replaceInStrings(f.soundFolder(), QStringLiteral("<sounds>"));
    QCOMPARE(shown, journal);
    QVERIFY(f.lists.getLoadList(QStringLiteral("Last Loaded")));
    QVERIFY(bar.isHidden());
}

void GlueProxyTest::printList_data()
{
    QTest::addColumn<Step>("answer");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("statusTexts");
    QTest::addColumn<QStringList>("printed");

    const Step ok = [](ProxyFixture &f) { f.answerPrintDialog(true); };
    const Step cancel = [](ProxyFixture &f) { f.answerPrintDialog(false); };
    QTest::newRow("cancelled") << cancel << QStringLiteral("LIBRARY") << QString() << QStringList{} << QStringList{};
    const QString sent = QStringLiteral("'s content was sent to your printer");
    QTest::newRow("library") << ok << QStringLiteral("LIBRARY") << QString()
                             << QStringList{QStringLiteral(" ") + libraryFileBaseName() + sent}
                             << QStringList{QStringLiteral("Bass %1"), QStringLiteral("b")};
    QTest::newRow("load list") << ok << QStringLiteral("LOADLIST") << QString()
                               << QStringList{QStringLiteral(" Pad %2") + sent}
                               << QStringList{QStringLiteral("Pad %2"), QStringLiteral("Bass %1")};
    QTest::newRow("other text prints nothing") << ok << QStringLiteral("Library") << QString() << QStringList{}
                                               << QStringList{};
    // The printing of a page reports its own failure.
    QTest::newRow("page cannot be printed") << ok << QStringLiteral("LIBRARY") << QStringLiteral("missing/")
        << QStringList{QStringLiteral(" Kivo Rudovaz could not print. Please install a valid Printer")}
        << QStringList{};
    QTest::newRow("print dialog fails") << Step([](ProxyFixture &f) {
        f.seam.onNextDialog([](QDialog &) -> int {
            throw RuntimeError(ErrorNumber::PrinterError, QStringLiteral("no printer"));
        });
    }) << QStringLiteral("LIBRARY") << QString()
       << QStringList{QStringLiteral(" There is no valid Printer associated with your machine, command aborted")}
       << QStringList{};
}

void GlueProxyTest::printList()
{
    QFETCH(Step, answer);
    QFETCH(QString, list);
    QFETCH(QString, folder);
    QFETCH(QStringList, statusTexts);
    QFETCH(QStringList, printed);

    ProxyFixture f;
    f.makeList(QStringLiteral("Pad %2"), {{1, QStringLiteral("Bass %1")}});
    f.addSound(QStringLiteral("b"), 5);
    f.forget();
    const QString pdf = f.soundFolder() + folder + QStringLiteral("printed.pdf");
    f.fileDialog.printer().setOutputFormat(QPrinter::PdfFormat);
    f.fileDialog.printer().setOutputFileName(pdf);
    answer(f);

    f.proxy->printList(list, f.fileDialog);

    QVERIFY(f.fileDialog.CancelError);
    QCOMPARE(f.fileDialog.Flags, 0x100004);
    QVERIFY(!f.fileDialog.PrinterDefault);
    QCOMPARE(f.statusTexts, statusTexts);
    QVERIFY(f.seam.allAnswersUsed());
    QCOMPARE(QFile::exists(pdf), !printed.isEmpty());
    if (printed.isEmpty())
        return;
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QString &line : printed)
        QVERIFY2(text.contains(line), qPrintable(text));
}

QTEST_MAIN(GlueProxyTest)
#include "GlueProxyTest.moc"
