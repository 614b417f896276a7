#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <array>
#include <atomic>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <semaphore>
#include <vector>

namespace kivo::test {

// Stands in for the unit: a JACK MIDI input port that receives block messages,
// checks every byte of them, unpacks their data and reassembles the sound
// image of each location, and records when each message arrived.
class UnitSimulator {
public:
    static constexpr int locations = 12;
    static constexpr int blocks = 28;
    static constexpr int imageSize = blocks * 96;

    struct Message {
        std::vector<std::uint8_t> bytes;
        std::chrono::steady_clock::time_point arrival;
        QStringList faults; // empty for a valid block message
    };

    // A client with one input port on the given JACK server. JACK gives a client
    // whose name is taken a name of its own.
    UnitSimulator(const QString &serverName, const QString &portName,
                  const QString &clientName = QStringLiteral("kivo-unit"));
    UnitSimulator(const UnitSimulator &) = delete;
    UnitSimulator &operator=(const UnitSimulator &) = delete;
    ~UnitSimulator();

    bool isReady() const { return m_client != nullptr && m_port != nullptr; }
    QString failure() const { return m_failure; }
    // The full JACK name of the input port, as MIDI clients list it.
    QString portName() const;

    // Waits until count messages have arrived in all. Gives up only when no
    // message has come for the given patience, so that a transfer slowed down
    // by a busy machine is waited for as long as it makes progress.
    bool waitForMessages(std::size_t count, std::chrono::milliseconds patience);

    // Ends the client, as a unit switched off does; what arrived until then
    // stays in messages(). Like the waits, it may run on another thread as
    // long as nothing else uses the simulator meanwhile. A client whose server
    // has gone is left to the end of the process: libjack crashes closing it
    // once another client of the process has been opened since.
    void close();

    const std::vector<Message> &messages() const { return m_messages; }
    int validMessages() const;
    // The bytes that valid messages carried to the location; 0 where none came.
    QByteArray image(int location) const;
    std::bitset<blocks> receivedBlocks(int location) const;

private:
    static int process(jack_nframes_t frames, void *self);
    static void serverGone(jack_status_t code, const char *reason, void *self);
    void receive(jack_nframes_t frames);
    void drain();
    void accept(Message message);

    jack_client_t *m_client = nullptr;
    jack_port_t *m_port = nullptr;
    jack_ringbuffer_t *m_queue = nullptr;
    std::counting_semaphore<> m_arrived{0};
    std::atomic<bool> m_serverGone{false};
    QString m_failure;
    std::vector<Message> m_messages;
    std::array<QByteArray, locations> m_images;
    std::array<std::bitset<blocks>, locations> m_received{};
};

} // namespace kivo::test
