#include "UnitSimulator.h"

#include <jack/midiport.h>

#include <cstring>
#include <numeric>

namespace kivo::test {

namespace {

constexpr std::size_t messageSize = 119;
constexpr std::size_t packedSize = 110;
constexpr std::size_t blockBytes = 96;

struct Arrival {
    std::int64_t nanoseconds;
    std::uint32_t size;
};

QString hex(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

void expectByte(QStringList &faults, const std::vector<std::uint8_t> &bytes, std::size_t offset,
                std::uint8_t expected, const char *what)
{
    if (bytes[offset] != expected) {
        faults.append(QStringLiteral("%1 at offset %2 is %3, not %4")
                          .arg(QLatin1String(what)).arg(offset).arg(hex(bytes[offset]), hex(expected)));
    }
}

// The 110 data bytes carry 7 bits each, most significant first: 770 bits of
// which the first 768 are the block and the last two must be 0.
std::vector<std::uint8_t> unpack(const std::uint8_t *packed, QStringList &faults)
{
    std::vector<std::uint8_t> block(blockBytes, 0);
    std::size_t bit = 0;
    for (std::size_t i = 0; i < packedSize; ++i) {
        for (int b = 6; b >= 0; --b, ++bit) {
            const bool set = ((packed[i] >> b) & 1) != 0;
            if (bit < blockBytes * 8) {
                if (set)
                    block[bit / 8] = static_cast<std::uint8_t>(block[bit / 8] | (0x80 >> (bit % 8)));
            } else if (set) {
                faults.append(QStringLiteral("filler bit %1 of the last data byte is set").arg(b));
            }
        }
    }
    return block;
}

} // namespace

UnitSimulator::UnitSimulator(const QString &serverName, const QString &portName, const QString &clientName)
{
    for (auto &image : m_images)
        image = QByteArray(imageSize, '\0');
    const QByteArray server = serverName.toLocal8Bit();
    jack_status_t status{};
    m_client = jack_client_open(clientName.toLocal8Bit().constData(),
                                static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
                                server.constData());
    if (m_client == nullptr) {
        m_failure = QStringLiteral("cannot open a client on JACK server %1").arg(serverName);
        return;
    }
    m_queue = jack_ringbuffer_create(1 << 16);
    jack_set_process_callback(m_client, &UnitSimulator::process, this);
    jack_on_info_shutdown(m_client, &UnitSimulator::serverGone, this);
    m_port = jack_port_register(m_client, portName.toLocal8Bit().constData(), JACK_DEFAULT_MIDI_TYPE,
                                JackPortIsInput, 0);
    if (m_port == nullptr || jack_activate(m_client) != 0) {
        m_failure = QStringLiteral("cannot register and activate the input port %1").arg(portName);
        m_port = nullptr;
    }
}

UnitSimulator::~UnitSimulator()
{
    close();
    if (m_queue != nullptr)
        jack_ringbuffer_free(m_queue);
}

void UnitSimulator::close()
{
    if (m_client == nullptr)
        return;
    if (!m_serverGone.load())
        jack_client_close(m_client);
    m_client = nullptr;
    m_port = nullptr;
    if (m_queue != nullptr)
        drain();
}

QString UnitSimulator::portName() const
{
    return m_port != nullptr ? QString::fromLocal8Bit(jack_port_name(m_port)) : QString();
}

int UnitSimulator::process(jack_nframes_t frames, void *self)
{
    static_cast<UnitSimulator *>(self)->receive(frames);
    return 0;
}

void UnitSimulator::serverGone(jack_status_t, const char *, void *self)
{
    static_cast<UnitSimulator *>(self)->m_serverGone.store(true);
}

// Runs on JACK's process thread: copies each event into the queue, nothing more.
void UnitSimulator::receive(jack_nframes_t frames)
{
    void *buffer = jack_port_get_buffer(m_port, frames);
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const std::uint32_t count = jack_midi_get_event_count(buffer);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event{};
        if (jack_midi_event_get(&event, buffer, i) != 0)
            continue;
        const Arrival arrival{std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(),
                              static_cast<std::uint32_t>(event.size)};
        if (jack_ringbuffer_write_space(m_queue) < sizeof arrival + event.size)
            continue;
        jack_ringbuffer_write(m_queue, reinterpret_cast<const char *>(&arrival), sizeof arrival);
        jack_ringbuffer_write(m_queue, reinterpret_cast<const char *>(event.buffer), event.size);
        m_arrived.release();
    }
}

bool UnitSimulator::waitForMessages(std::size_t count, std::chrono::milliseconds patience)
{
    drain();
    while (m_messages.size() < count) {
        if (!m_arrived.try_acquire_for(patience))
            break;
        drain();
    }
    drain();
    return m_messages.size() >= count;
}

void UnitSimulator::drain()
{
    Arrival arrival{};
    while (jack_ringbuffer_read_space(m_queue) >= sizeof arrival) {
        jack_ringbuffer_read(m_queue, reinterpret_cast<char *>(&arrival), sizeof arrival);
        Message message;
        message.bytes.resize(arrival.size);
        jack_ringbuffer_read(m_queue, reinterpret_cast<char *>(message.bytes.data()), arrival.size);
        message.arrival = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(arrival.nanoseconds));
        accept(std::move(message));
    }
}

void UnitSimulator::accept(Message message)
{
    const auto &bytes = message.bytes;
    QStringList &faults = message.faults;
    if (bytes.size() != messageSize) {
        faults.append(QStringLiteral("%1 bytes, not %2").arg(bytes.size()).arg(messageSize));
        m_messages.push_back(std::move(message));
        return;
    }
    expectByte(faults, bytes, 0, 0xF0, "start");
    expectByte(faults, bytes, 1, 0x47, "manufacturer");
    expectByte(faults, bytes, 2, 0x61, "manufacturer");
    expectByte(faults, bytes, 3, 0x00, "device");
    expectByte(faults, bytes, 4, 0x41, "command");
    expectByte(faults, bytes, messageSize - 1, 0xF7, "end");
    const std::uint8_t location = bytes[5];
    const std::uint8_t block = bytes[6];
    if (location >= locations)
        faults.append(QStringLiteral("location %1 out of range").arg(hex(location)));
    if (block >= blocks)
        faults.append(QStringLiteral("block index %1 out of range").arg(hex(block)));
    for (std::size_t i = 7; i < 7 + packedSize; ++i) {
        if (bytes[i] > 0x7F)
            faults.append(QStringLiteral("data byte at offset %1 has bit 7 set").arg(i));
    }
    const unsigned sum = std::accumulate(bytes.begin() + 4, bytes.begin() + 7 + packedSize, 0U);
    expectByte(faults, bytes, messageSize - 2, static_cast<std::uint8_t>(sum & 0x7F), "checksum");
    const auto data = unpack(bytes.data() + 7, faults);
    if (faults.isEmpty()) {
        std::memcpy(m_images[location].data() + block * blockBytes, data.data(), blockBytes);
        m_received[location].set(block);
    }
    m_messages.push_back(std::move(message));
}

int UnitSimulator::validMessages() const
{
    return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(),
                                          [](const Message &message) { return message.faults.isEmpty(); }));
}

QByteArray UnitSimulator::image(int location) const
{
    return m_images.at(static_cast<std::size_t>(location));
}

std::bitset<UnitSimulator::blocks> UnitSimulator::receivedBlocks(int location) const
{
    return m_received.at(static_cast<std::size_t>(location));
}

} // namespace kivo::test
