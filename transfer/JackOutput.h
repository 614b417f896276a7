#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kivo::transfer {

// A JACK client with one MIDI output port connected to one input port.
// Messages wait in a queue until a process cycle whose graph holds the
// connection takes them: a connection made while a cycle runs only counts
// from the next cycle on, and a message handed to JACK in the running one
// would reach nobody. Closing waits until every queued message has left.
//
// Once a cycle has carried the connection, the connection going (its
// destination closed, or the port disconnected) or the server shutting down
// loses the output: every later send and every wait fails at once.
class JackOutput {
public:
    // How long a wait lasts without any progress of the JACK server.
    static constexpr std::chrono::seconds patience{2};

    // Opens the client; hasClient() tells whether that worked.
    explicit JackOutput(const std::string &clientName);
    JackOutput(const JackOutput &) = delete;
    JackOutput &operator=(const JackOutput &) = delete;
    ~JackOutput();

    bool hasClient() const { return m_client != nullptr; }
    // The server's MIDI input ports, full names, in the order in which RtMidi
    // lists JACK's output devices: the same query of the server.
    std::vector<std::string> inputPorts() const;
    // Registers the output port, activates the client and connects the port to
    // destination, a full JACK port name.
    bool connect(const std::string &portName, const std::string &destination);

    bool isOpen() const { return m_open; }
    // Why the last operation failed.
    const std::string &error() const { return m_error; }
    // True once the connection or the server has gone.
    bool isLost() const { return m_loss.load(std::memory_order_acquire) != Loss::None; }

    // Queues one message for the next cycles.
    bool send(std::span<const std::uint8_t> message);
    // Returns once every queued message has been handed to JACK and the cycle
    // that carried the last of them is over.
    bool flush();

private:
    enum class Loss : std::uint8_t { None, Connection, Server };

    static int process(jack_nframes_t frames, void *self);
    static void shutDown(jack_status_t code, const char *reason, void *self);
    void handOver(jack_nframes_t frames);
    // Waits until done() holds; gives up when the output is lost, or when
    // progress() stays the same for the patience.
    template <typename Done, typename Progress>
    bool waitUntil(Done done, Progress progress, const char *what);
    bool failWhenLost();

    jack_client_t *m_client = nullptr;
    jack_port_t *m_port = nullptr;
    jack_ringbuffer_t *m_queue = nullptr;
    std::string m_destination;
    bool m_open = false;
    std::string m_error;
    std::uint64_t m_queued = 0;
    // Touched by the process thread alone.
    bool m_carriedConnection = false;
    std::atomic<Loss> m_loss{Loss::None};
    std::atomic<std::uint64_t> m_handedOver{0};
    // The cycle that handed over the latest message, counted as m_cycles counts.
    std::atomic<std::uint64_t> m_lastCarrier{0};
    std::atomic<std::uint64_t> m_cycles{0};
};

} // namespace kivo::transfer
