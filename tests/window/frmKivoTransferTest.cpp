#include "window/frmKivo.h"
#include "window/RunningCopy.h"

#include "DrivenClock.h"
#include "JackServer.h"
#include "UnitSimulator.h"
#include "WindowFixture.h"

#include "model/Library.h"
#include "model/LoadLists.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <map>
#include <utility>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The pause after each image, recorded as the fixture records it; at the first one
// the user acts, once, while the window is blocked.
class ActDuringTransfer final : public PauseSeam {
public:
    ActDuringTransfer(PauseSeam &recorder, std::function<void()> act)
        : m_recorder(recorder), m_act(std::move(act))
    {
        PauseSeam::install(this);
    }
    ~ActDuringTransfer() override { PauseSeam::install(&m_recorder); }
    ActDuringTransfer(const ActDuringTransfer &) = delete;
    ActDuringTransfer &operator=(const ActDuringTransfer &) = delete;

    void pause(std::chrono::milliseconds duration) override
    {
        if (m_act)
            std::exchange(m_act, nullptr)();
        m_recorder.pause(duration);
    }

private:
    PauseSeam &m_recorder;
    std::function<void()> m_act;
};

// A click and a key as the window system queues them for a window that is busy.
void queueClick(QWidget &widget)
{
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    const QPointF global = widget.mapToGlobal(centre);
    QCoreApplication::postEvent(
        &widget, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(
        &widget, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, {}));
}

void queueKey(QWidget &widget, Qt::Key key)
{
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

} // namespace

// The transfer button writes the active list to the device of the row selected at
// the moment of the click: two simulated units on a JACK server of the test's own.
class frmKivoTransferTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void deviceRowAtTheClick_data();
    void deviceRowAtTheClick();
    void rememberedUnitAtTheNextStart_data();
    void rememberedUnitAtTheNextStart();
    void inputDuringTransferIsDropped();
    void keyHeldAcrossTheEndActsNoMore_data();
    void keyHeldAcrossTheEndActsNoMore();
    void fileHandedOverDuringTransferWaits();

private:
    QByteArray soundContent(const QString &name) const override;
    int rowOf(const UnitSimulator &unit);

    std::unique_ptr<JackServer> m_server;
    std::unique_ptr<UnitSimulator> m_first;
    std::unique_ptr<UnitSimulator> m_second;
};

QByteArray frmKivoTransferTest::soundContent(const QString &) const
{
    return QByteArray::fromHex("00000010 4B49564F 00000101 00000007 01020304")
        + QByteArray(UnitSimulator::imageSize, '\x5a');
}

void frmKivoTransferTest::initTestCase()
{
    m_server = std::make_unique<JackServer>();
    QVERIFY2(m_server->isReady(), qPrintable(m_server->failure()));
    m_first = std::make_unique<UnitSimulator>(m_server->name(), u"first unit"_s);
    QVERIFY2(m_first->isReady(), qPrintable(m_first->failure()));
    m_second = std::make_unique<UnitSimulator>(m_server->name(), u"second unit"_s);
    QVERIFY2(m_second->isReady(), qPrintable(m_second->failure()));
    setUpOnce();
}

void frmKivoTransferTest::init()
{
    setUp();
}

void frmKivoTransferTest::cleanup()
{
    tearDown();
}

int frmKivoTransferTest::rowOf(const UnitSimulator &unit)
{
    const auto &devices = control<QComboBox>(u"cboDevice"_s);
    for (int row = 0; row < devices.count(); ++row) {
        if (unit.portName().endsWith(devices.itemText(row)) || devices.itemText(row).endsWith(unit.portName()))
            return row;
    }
    return -2;
}

void frmKivoTransferTest::deviceRowAtTheClick_data()
{
    QTest::addColumn<int>("unit"); // 1 or 2: select that unit's row; 0: no row selected

    QTest::newRow("the first unit's row") << 1;
    QTest::newRow("the second unit's row") << 2;
    QTest::newRow("no row: nothing is sent") << 0;
}

void frmKivoTransferTest::deviceRowAtTheClick()
{
    QFETCH(int, unit);

    prepareDataFolder({u"Strings"_s}, {{u"Live"_s, {u"Strings"_s}}});
    QVERIFY(start());
    const int firstRow = rowOf(*m_first);
    const int secondRow = rowOf(*m_second);
    QVERIFY(firstRow >= 0 && secondRow >= 0);
    // Chosen after the start-up selected a row of its own.
    auto &devices = control<QComboBox>(u"cboDevice"_s);
    devices.setCurrentIndex(unit == 1 ? firstRow : unit == 2 ? secondRow : -1);
    UnitSimulator *receiver = unit == 1 ? m_first.get() : unit == 2 ? m_second.get() : nullptr;
    const std::size_t firstBefore = m_first->messages().size();
    const std::size_t secondBefore = m_second->messages().size();
    DialogSeen reminder;
    m_seam->onNextDialog(press(u"cmdOK"_s, &reminder));

    invoke(u"TransferButton"_s);

    QCOMPARE(reminder.owner, m_window.get());
    if (receiver != nullptr) {
        const std::size_t before = receiver == m_first.get() ? firstBefore : secondBefore;
        QVERIFY(receiver->waitForMessages(before + UnitSimulator::blocks, 10s));
        QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" Finished Transferring to Kivo!"_s);
    } else {
        // The port check answers before any message would be sent.
        QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" Cannot open Midi Port for output"_s);
    }
    QCOMPARE(m_first->messages().size(), firstBefore + (receiver == m_first.get() ? UnitSimulator::blocks : 0));
    QCOMPARE(m_second->messages().size(), secondBefore + (receiver == m_second.get() ? UnitSimulator::blocks : 0));

    // The transfer has written every list: nothing is left to save at exit.
    invoke(u"flmExit"_s);
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_seam->messages().isEmpty());
}

Q_DECLARE_METATYPE(QList<QStringList>)

void frmKivoTransferTest::rememberedUnitAtTheNextStart_data()
{
    QTest::addColumn<QList<QStringList>>("laterRuns"); // the units of each later start, in their order of coming
    QTest::addColumn<QString>("selected"); // empty: none

    // The first run has the units "a" and "b", and the user chooses "a".
    QTest::newRow("the same units in another order") << QList<QStringList>{{u"b"_s, u"a"_s}} << u"a"_s;
    QTest::newRow("as many other units") << QList<QStringList>{{u"c"_s, u"d"_s}} << QString();
    QTest::newRow("back after a run without it")
        << QList<QStringList>{{u"c"_s, u"d"_s}, {u"b"_s, u"a"_s}} << u"a"_s;
}

// The device list holds as many rows at every start, but other units in them: the
// remembered unit is selected where it is now, and a transfer never goes to another.
void frmKivoTransferTest::rememberedUnitAtTheNextStart()
{
    QFETCH(QList<QStringList>, laterRuns);
    QFETCH(QString, selected);

    std::map<QString, std::unique_ptr<UnitSimulator>> units;
    // Ends the window that ran and starts it again with these units.
    const auto restartWith = [&](const QStringList &names) {
        if (m_window) {
            invoke(u"flmExit"_s);
            if (m_window->isVisible())
                return u"the window did not close"_s;
            m_window.reset();
        }
        units.clear();
        for (const QString &name : names) {
            auto unit = std::make_unique<UnitSimulator>(m_server->name(), u"unit "_s + name, u"kivo-"_s + name);
            if (!unit->isReady())
                return unit->failure();
            units[name] = std::move(unit);
        }
        m_library = std::make_unique<Library>();
        m_lists = std::make_unique<LoadLists>();
        return start() ? QString() : u"the start-up failed"_s;
    };
    prepareDataFolder({u"Strings"_s}, {{u"Live"_s, {u"Strings"_s}}});
    QString failure = restartWith({u"a"_s, u"b"_s});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    auto *devices = &control<QComboBox>(u"cboDevice"_s);
    const int chosenRow = rowOf(*units[u"a"_s]);
    QVERIFY(chosenRow >= 0);
    devices->setCurrentIndex(chosenRow);
    const QString chosenName = devices->currentText();
    const int rows = devices->count();

    for (const QStringList &run : laterRuns) {
        failure = restartWith(run);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        devices = &control<QComboBox>(u"cboDevice"_s);
        QCOMPARE(devices->count(), rows);
    }
    if (selected.isEmpty()) {
        QCOMPARE(devices->currentIndex(), -1);
    } else {
        QCOMPARE(devices->currentText(), chosenName);
        // Else the row alone would have found the unit.
        QVERIFY(devices->currentIndex() != chosenRow);
    }
    std::map<QString, std::size_t> before;
    for (const auto &[name, unit] : units)
        before[name] = unit->messages().size();
    m_seam->onNextDialog(press(u"cmdOK"_s));

    invoke(u"TransferButton"_s);

    for (const auto &[name, unit] : units) {
        if (name == selected)
            QVERIFY(unit->waitForMessages(before[name] + UnitSimulator::blocks, 10s));
        else
            QCOMPARE(unit->messages().size(), before[name]);
    }
    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(),
             selected.isEmpty() ? u" Cannot open Midi Port for output"_s : u" Finished Transferring to Kivo!"_s);
}

// Clicks and keys made while the list is written go nowhere: neither a second
// transfer nor another command runs once the first transfer has ended.
void frmKivoTransferTest::inputDuringTransferIsDropped()
{
    prepareDataFolder({u"Strings"_s, u"Piano"_s}, {{u"Live"_s, {u"Strings"_s, u"Piano"_s}}});
    QVERIFY(start());
    control<QComboBox>(u"cboDevice"_s).setCurrentIndex(rowOf(*m_first));
    auto &library = control<QListWidget>(u"objLibrary"_s);
    const int libraryRow = library.currentRow();
    const std::size_t before = m_first->messages().size();
    // Turned off, so that a second transfer would need no answer.
    m_seam->onNextDialog([](QDialog &dialog) {
        dialog.findChild<QCheckBox *>(u"chkLoadTipsAtStartup"_s)->setChecked(true);
        dialog.findChild<QAbstractButton *>(u"cmdOK"_s)->click();
        return dialog.result();
    });
    m_pauses->clear();
    {
        const ActDuringTransfer user(*m_pauses, [&] {
            queueClick(control<QLabel>(u"TransferButton"_s));
            queueClick(control<QLabel>(u"newButton"_s));
            queueKey(library, Qt::Key_Down);
        });
        invoke(u"TransferButton"_s);
    }
    // Whatever is still queued reaches the window now.
    QCoreApplication::processEvents();

    QCOMPARE(m_pauses->asked(), QList<std::chrono::milliseconds>(2, 100ms));
    QVERIFY(m_first->waitForMessages(before + 2 * UnitSimulator::blocks, 10s));
    QCOMPARE(m_first->messages().size(), before + 2 * UnitSimulator::blocks);
    QCOMPARE(m_seam->dialogsShown(), 1);
    QVERIFY(m_seam->messages().isEmpty());
    QCOMPARE(library.currentRow(), libraryRow);
    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" Finished Transferring to Kivo!"_s);
}

void frmKivoTransferTest::keyHeldAcrossTheEndActsNoMore_data()
{
    QTest::addColumn<int>("key");
    // Held down until a while after the last message, or let go just after it.
    QTest::addColumn<bool>("held");

    QTest::newRow("Delete held") << int(Qt::Key_Delete) << true;
    QTest::newRow("Delete let go just after") << int(Qt::Key_Delete) << false;
    QTest::newRow("Backspace held") << int(Qt::Key_Backspace) << true;
    QTest::newRow("Backspace let go just after") << int(Qt::Key_Backspace) << false;
}

// A key pressed on the library while the list is written, and let go once it has
// been written, removes nothing: neither its release nor its repeats act.
void frmKivoTransferTest::keyHeldAcrossTheEndActsNoMore()
{
    QFETCH(int, key);
    QFETCH(bool, held);

    DrivenClock clock;
    prepareDataFolder({u"Strings"_s, u"Piano"_s}, {{u"Live"_s, {u"Strings"_s, u"Piano"_s}}});
    QVERIFY(start());
    activate();
    control<QComboBox>(u"cboDevice"_s).setCurrentIndex(rowOf(*m_first));
    auto &library = control<QListWidget>(u"objLibrary"_s);
    library.setCurrentRow(0);
    library.setFocus();
    const std::size_t before = m_first->messages().size();
    QFile stored(dataFolder() + u"Library.dat"_s);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray entries = stored.readAll();
    stored.close();
    const auto post = [&](QEvent::Type type) {
        QCoreApplication::postEvent(&library, new QKeyEvent(type, key, Qt::NoModifier));
        QCoreApplication::processEvents();
    };
    m_seam->onNextDialog(press(u"cmdOK"_s));
    {
        const ActDuringTransfer user(*m_pauses, [&] {
            QCoreApplication::postEvent(&library, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        });
        invoke(u"TransferButton"_s);
    }
    QVERIFY(m_first->waitForMessages(before + 2 * UnitSimulator::blocks, 10s));

    // Repeated 25 times a second, as the platform repeats a held key.
    for (int repeat = 0; held && repeat < 25; ++repeat) {
        clock.advance(30ms);
        post(QEvent::KeyRelease);
        clock.advance(10ms);
        post(QEvent::KeyPress);
    }
    clock.advance(5ms);
    post(QEvent::KeyRelease);
    clock.advance(1s);
    QCoreApplication::processEvents();

    QCOMPARE(control<QLabel>(u"objStatusBar"_s).text(), u" Finished Transferring to Kivo!"_s);
    QCOMPARE(m_library->getCount(), 2);
    QVERIFY(m_seam->messages().isEmpty());
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), entries);
}

// A file that a second start hands over while the list is written is offered once
// the transfer has ended, not in the middle of it.
void frmKivoTransferTest::fileHandedOverDuringTransferWaits()
{
    prepareDataFolder({u"Strings"_s}, {{u"Live"_s, {u"Strings"_s}}});
    QVERIFY(start());
    activate();
    control<QComboBox>(u"cboDevice"_s).setCurrentIndex(rowOf(*m_first));
    const QString handedOver = soundPath(u"Late"_s);
    QFile late(handedOver);
    QVERIFY(late.open(QIODevice::WriteOnly));
    late.write(soundContent(u"Late"_s));
    late.close();
    m_seam->onNextDialog(press(u"cmdOK"_s));
    DialogSeen prompt;
    m_seam->onNextDialog(press(u"btnOk"_s, &prompt));
    int dialogsDuringTransfer = -1;
    {
        const ActDuringTransfer secondStart(*m_pauses, [&] {
            auto *copy = m_window->findChild<RunningCopy *>(u"runningCopy"_s);
            QVERIFY(copy != nullptr);
            Q_EMIT copy->commandLineArrived(handedOver);
            dialogsDuringTransfer = m_seam->dialogsShown();
        });
        invoke(u"TransferButton"_s);
    }

    QCOMPARE(dialogsDuringTransfer, 1);
    QCOMPARE(m_seam->dialogsShown(), 1);
    QTRY_COMPARE(m_seam->dialogsShown(), 2);
    QVERIFY(m_library->getModel(u"Late"_s));
}

QTEST_MAIN(frmKivoTransferTest)
#include "frmKivoTransferTest.moc"
