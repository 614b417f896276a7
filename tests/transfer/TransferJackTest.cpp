#include "platform/KivoTools.h"
#include "platform/MidiDevices.h"

#include "JackServer.h"
#include "TestFiles.h"
#include "UnitSimulator.h"

#include <rtmidi/RtMidi.h>

#include <QTest>

#include <memory>
#include <optional>
#include <numeric>

using namespace kivo;
using namespace kivo::test;
using namespace std::chrono_literals;

namespace {

constexpr int imageSize = UnitSimulator::imageSize;
constexpr auto generous = 20s;

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
    qputenv("KIVO_MIDI_API", "jack");
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

std::optional<std::vector<UnitSimulator::Message>> TransferJackTest::messagesBeforeMarker()
{
    const std::vector<unsigned char> marker{0xF0, 0x7D, 0x01, 0xF7};
    {
        RtMidiOut out(RtMidi::UNIX_JACK, "marker");
        const QStringList names = outputDeviceNames();
        out.openPort(static_cast<unsigned int>(names.indexOf(m_unit->portName())));
        out.sendMessage(&marker);
        // The message leaves with JACK's next cycle; the port must stay until then.
        const std::size_t before = m_unit->messages().size();
        if (!m_unit->waitForMessages(before + 1, generous))
            return std::nullopt;
    }
    std::vector<UnitSimulator::Message> arrived(m_unit->messages().begin() + static_cast<std::ptrdiff_t>(m_seen),
                                                m_unit->messages().end());
    m_seen = m_unit->messages().size();
    if (arrived.empty() || arrived.back().bytes != std::vector<std::uint8_t>(marker.begin(), marker.end()))
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
    QCOMPARE(m_tools.writeMidi(path, 5, device), -1);
    const auto arrived = messagesBeforeMarker();
    QVERIFY(arrived.has_value());
    QCOMPARE(arrived->size(), std::size_t{0});
}

void TransferJackTest::fileArrivesAtLocation()
{
    const QByteArray image = randomBytes(imageSize, 5);
    const QString path = writeFile(m_dir, QStringLiteral("sound.tvs"), soundImage(image, randomBytes(300, 6)));

    QCOMPARE(m_tools.writeMidi(path, 5, 0), 0);
    const bool allArrived = m_unit->waitForMessages(m_seen + 28, generous);
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

    // JACK hands a message on at the start of a process cycle, and a server
    // without realtime scheduling starts its cycles late when the machine is
    // busy, so a single gap can look a few cycles short. The mean over 27 gaps
    // keeps that error tiny and must show the full wire time and pause; every
    // single gap must still be far above the 50 ms of a pause alone.
    std::vector<std::chrono::microseconds> gaps;
    for (std::size_t i = 1; i < messages.size(); ++i)
        gaps.push_back(std::chrono::duration_cast<std::chrono::microseconds>(messages[i].arrival
                                                                             - messages[i - 1].arrival));
    const auto shortest = *std::min_element(gaps.begin(), gaps.end());
    const auto mean = std::accumulate(gaps.begin(), gaps.end(), 0us) / static_cast<int>(gaps.size());
    qInfo("gaps between messages: shortest %lld us, mean %lld us", static_cast<long long>(shortest.count()),
          static_cast<long long>(mean.count()));
    QVERIFY2(shortest >= 80ms,
             qPrintable(QStringLiteral("shortest gap %1 us").arg(shortest.count())));
    QVERIFY2(mean >= 88ms, qPrintable(QStringLiteral("mean gap %1 us").arg(mean.count())));
}

QTEST_GUILESS_MAIN(TransferJackTest)
#include "TransferJackTest.moc"
