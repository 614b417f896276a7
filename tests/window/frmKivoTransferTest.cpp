#include "window/frmKivo.h"

#include "JackServer.h"
#include "UnitSimulator.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

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

QTEST_MAIN(frmKivoTransferTest)
#include "frmKivoTransferTest.moc"
