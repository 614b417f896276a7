#include "window/frmKivo.h"

#include "JackServer.h"
#include "UnitSimulator.h"
#include "WindowFixture.h"

#include "model/Library.h"
#include "model/LoadLists.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <map>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

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

QTEST_MAIN(frmKivoTransferTest)
#include "frmKivoTransferTest.moc"
