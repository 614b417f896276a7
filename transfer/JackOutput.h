#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace kivo::transfer {

// A JACK client with one MIDI output port connected to one input port.
// Messages wait in a queue until a process cycle whose graph holds the
// connection takes them: a connection made while a cycle runs only counts
// from the next cycle on, and a message handed to JACK in the running one
// would reach nobody. Closing waits until every queued message has left.
class JackOutput {
public:
    // How long a wait lasts without any progress of the JACK server.
    static constexpr std::chrono::seconds patience{2};

    // Opens the client and its port and connects the port to destination, a
    // full JACK port name; isOpen() tells whether all of that worked.
    JackOutput(const std::string &clientName, const std::string &portName, const std::string &destination);
    JackOutput(const JackOutput &) = delete;
    JackOutput &operator=(const JackOutput &) = delete;
    ~JackOutput();

    bool isOpen() const { return m_open; }
    // Why the last operation failed.
    const std::string &error() const { return m_error; }

    // Queues one message for the next cycles.
    bool send(std::span<const std::uint8_t> message);
    // Returns once every queued message has been handed to JACK and the cycle
    // that carried the last of them is over.
    bool flush();

private:
    static int process(jack_nframes_t frames, void *self);
    void handOver(jack_nframes_t frames);
    // Waits until done() holds; gives up when progress() stays the same for the patience.
    template <typename Done, typename Progress>
    bool waitUntil(Done done, Progress progress, const char *what);

    jack_client_t *m_client = nullptr;
    jack_port_t *m_port = nullptr;
    jack_ringbuffer_t *m_queue = nullptr;
    bool m_open = false;
    std::string m_error;
    std::uint64_t m_queued = 0;
    std::atomic<std::uint64_t> m_handedOver{0};
    std::atomic<std::uint64_t> m_cycles{0};
};

} // namespace kivo::transfer
