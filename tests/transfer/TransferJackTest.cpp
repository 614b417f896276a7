#include "platform/KivoTools.h"
#include "platform/MidiDevices.h"
#include "transfer/JackOutput.h"

#include "JackServer.h"
#include "TestFiles.h"
#include "UnitSimulator.h"

#include <QFile>
#include <QTest>

#include <chrono>
#include <memory>
#include <optional>

using namespace kivo;
using namespace kivo::test;
using namespace std::chrono_literals;

namespace {

constexpr int imageSize = UnitSimulator::imageSize;
// How long a wait lasts without any message arriving.
constexpr auto patience = 20s;
// A block message of 119 bytes at 10 bits a byte on a 31,250-baud cable, and the pause after it.
constexpr auto messageTime = 38080us + 50ms;

long long microsecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
}

QByteArray soundImage(const QByteArray &image, const QByteArray &trailer)
{
    return QByteArray::fromHex("00000010 4B49564F 00000101 00000009 DEADBEEF") + image + trailer;
}

} // namespace

class TransferJackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void checkMidiPort_data();
    void checkMidiPort();
    void deviceListNamesThePorts();
    void deviceSendsToItsListedPort();
    void failedWriteSendsNothing_data();
    void failedWriteSendsNothing();
    void fileArrivesAtLocation();

private:
    // Sends a message of its own to the unit and waits for it: whatever
    // arrived before it is everything that was sent before it.
    std::optional<std::vector<UnitSimulator::Message>> messagesBeforeMarker();

    std::unique_ptr<JackServer> m_server;
    std::unique_ptr<UnitSimulator> m_unit;
    std::size_t m_seen = 0;
    KivoTools m_tools;
    QTemporaryDir m_dir;
};

void TransferJackTest::initTestCase()
{
    m_server = std::make_unique<JackServer>();
    QVERIFY2(m_server->isReady(), qPrintable(m_server->failure()));
    QCOMPARE(m_tools.checkMidiPort(-1), 2); // no port yet
    m_unit = std::make_unique<UnitSimulator>(m_server->name(), QStringLiteral("unit"));
    QVERIFY2(m_unit->isReady(), qPrintable(m_unit->failure()));
}

void TransferJackTest::cleanupTestCase()
{
    m_unit.reset();
    m_server.reset();
}

void TransferJackTest::checkMidiPort_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("result");
    QTest::newRow("first port") << -1 << 0;
    QTest::newRow("device 0") << 0 << 0;
    QTest::newRow("device 1 does not exist") << 1 << 2;
    QTest::newRow("device 100") << 100 << 2;
    QTest::newRow("device -2") << -2 << 2;
}

void TransferJackTest::checkMidiPort()
{
    QFETCH(int, device);
    QFETCH(int, result);
    QCOMPARE(m_tools.checkMidiPort(device), result);
}

void TransferJackTest::deviceListNamesThePorts()
{
    UnitSimulator second(m_server->name(), QStringLiteral("second"));
    QVERIFY2(second.isReady(), qPrintable(second.failure()));
    const QStringList names = outputDeviceNames();
    QCOMPARE(names.size(), 2);
    QVERIFY(names.contains(m_unit->portName()));
    QVERIFY(names.contains(second.portName()));
    QCOMPARE(m_tools.checkMidiPort(1), 0);
    QCOMPARE(m_tools.checkMidiPort(2), 2);
}

void TransferJackTest::deviceSendsToItsListedPort()
{
    UnitSimulator second(m_server->name(), QStringLiteral("second"));
    QVERIFY2(second.isReady(), qPrintable(second.failure()));
    const QStringList names = outputDeviceNames();
    QCOMPARE(names.size(), 2);
    const QString path = writeFile(m_dir, QStringLiteral("listed.tvs"), soundImage(randomBytes(imageSize, 7), {}));

    // Each device gets the image at the location of its own number.
    for (int device = 0; device < 2; ++device)
        QCOMPARE(m_tools.writeMidi(QFile::encodeName(path), device, device), 0);

    for (int device = 0; device < 2; ++device) {
        UnitSimulator &unit = names[device] == m_unit->portName() ? *m_unit : second;
        const std::size_t before = &unit == m_unit.get() ? m_seen : 0;
        QVERIFY(unit.waitForMessages(before + 28, patience));
        QCOMPARE(unit.messages().size(), before + 28);
        for (std::size_t i = before; i < unit.messages().size(); ++i)
            QCOMPARE(int(unit.messages()[i].bytes.at(5)), device);
    }
    m_seen = m_unit->messages().size();
}

std::optional<std::vector<UnitSimulator::Message>> TransferJackTest::messagesBeforeMarker()
{
    const std::vector<std::uint8_t> marker{0xF0, 0x7D, 0x01, 0xF7};
    const std::size_t before = m_unit->messages().size();
    {
        // kivotools' own JACK output: it loses no message right after connecting.
        transfer::JackOutput out("marker");
        if (!out.connect("out", m_unit->portName().toStdString()) || !out.send(marker) || !out.flush())
            return std::nullopt;
    }
    if (!m_unit->waitForMessages(before + 1, patience))
        return std::nullopt;
    std::vector<UnitSimulator::Message> arrived(m_unit->messages().begin() + static_cast<std::ptrdiff_t>(m_seen),
                                                m_unit->messages().end());
    m_seen = m_unit->messages().size();
    if (arrived.empty() || arrived.back().bytes != marker)
        return std::nullopt;
    arrived.pop_back();
    return arrived;
}

void TransferJackTest::failedWriteSendsNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("device");

    const QByteArray valid = soundImage(randomBytes(imageSize, 3), {});
    QTest::newRow("device number does not exist") << valid << 1;
    QTest::newRow("missing file") << QByteArray() << 0;
    QTest::newRow("3 bytes") << QByteArray::fromHex("000000") << 0;
    QTest::newRow("header length is size") << bigEndian32(8) + QByteArray("abcd") << 0;
    QTest::newRow("header length FFFFFFFF") << QByteArray::fromHex("FFFFFFFF") + valid << 0;
}

void TransferJackTest::failedWriteSendsNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(int, device);

    const QString path = content.isEmpty() ? m_dir.filePath(QStringLiteral("absent.tvs"))
                                           : writeFile(m_dir, QStringLiteral("bad.tvs"), content);
    QCOMPARE(m_tools.writeMidi(QFile::encodeName(path), 5, device), -1);
    const auto arrived = messagesBeforeMarker();
    QVERIFY(arrived.has_value());
    QCOMPARE(arrived->size(), std::size_t{0});
}

void TransferJackTest::fileArrivesAtLocation()
{
    const QByteArray image = randomBytes(imageSize, 5);
    const QString path = writeFile(m_dir, QStringLiteral("sound.tvs"), soundImage(image, randomBytes(300, 6)));

    const auto called = std::chrono::steady_clock::now();
    QCOMPARE(m_tools.writeMidi(QFile::encodeName(path), 5, 0), 0);
    const auto returned = std::chrono::steady_clock::now();
    const bool allArrived = m_unit->waitForMessages(m_seen + 28, patience);
    QVERIFY2(allArrived, qPrintable(QStringLiteral("%1 of 28 messages arrived, blocks %2")
                                        .arg(m_unit->messages().size() - m_seen)
                                        .arg(QString::fromStdString(m_unit->receivedBlocks(5).to_string()))));
    const auto arrived = messagesBeforeMarker();
    QVERIFY(arrived.has_value());
    const auto &messages = *arrived;

    QCOMPARE(messages.size(), std::size_t{28});
    for (std::size_t i = 0; i < messages.size(); ++i) {
        QVERIFY2(messages[i].faults.isEmpty(), qPrintable(messages[i].faults.join(QStringLiteral("; "))));
        QCOMPARE(int(messages[i].bytes[5]), 5);
        QCOMPARE(std::size_t(messages[i].bytes[6]), i);
    }
    QVERIFY(m_unit->receivedBlocks(5).all());
    QCOMPARE(m_unit->image(5).toHex(), image.toHex());

    // The pacing is checked by what the sender alone decides: it waits a
    // message's time on the cable and the pause after each message, and no
    // message arrives before it is sent. So message i cannot arrive sooner
    // than i such waits after the call, and the call cannot return sooner
    // than 28 of them, however late JACK or the unit run on a busy machine.
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const auto earliest = called + static_cast<int>(i) * messageTime;
        QVERIFY2(messages[i].arrival >= earliest,
                 qPrintable(QStringLiteral("message %1 arrived %2 us after the call, sooner than %3 us")
                                .arg(i)
                                .arg(microsecondsBetween(called, messages[i].arrival))
                                .arg(microsecondsBetween(called, earliest))));
    }
    QVERIFY2(returned >= called + 28 * messageTime,
             qPrintable(QStringLiteral("the call took %1 us").arg(microsecondsBetween(called, returned))));
}

QTEST_GUILESS_MAIN(TransferJackTest)
#include "TransferJackTest.moc"
