#include "JackOutput.h"

#include <jack/midiport.h>

#include <memory>
#include <thread>

namespace kivo::transfer {

namespace {

constexpr std::size_t queueBytes = 1 << 14;
constexpr auto pollInterval = std::chrono::milliseconds(1);

using MessageSize = std::uint32_t;

struct JackFree {
    void operator()(const char **ports) const { jack_free(static_cast<void *>(ports)); }
};

} // namespace

JackOutput::JackOutput(const std::string &clientName)
{
    jack_status_t status{};
    m_client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (m_client == nullptr) {
        m_error = "cannot open the JACK client " + clientName;
        return;
    }
    m_queue = jack_ringbuffer_create(queueBytes);
    if (m_queue == nullptr || jack_set_process_callback(m_client, &JackOutput::process, this) != 0) {
        m_error = "cannot set up the JACK client " + clientName;
        return;
    }
    jack_on_info_shutdown(m_client, &JackOutput::shutDown, this);
}

JackOutput::~JackOutput()
{
    if (m_client != nullptr)
        jack_client_close(m_client);
    if (m_queue != nullptr)
        jack_ringbuffer_free(m_queue);
}

std::vector<std::string> JackOutput::inputPorts() const
{
    std::vector<std::string> names;
    if (m_client == nullptr)
        return names;
    const std::unique_ptr<const char *, JackFree> ports(
        jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput));
    for (const char **port = ports.get(); port != nullptr && *port != nullptr; ++port)
        names.emplace_back(*port);
    return names;
}

bool JackOutput::connect(const std::string &portName, const std::string &destination)
{
    if (m_client == nullptr || m_queue == nullptr || m_port != nullptr)
        return false;
    m_destination = destination;
    m_port = jack_port_register(m_client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (m_port == nullptr || jack_activate(m_client) != 0) {
        m_error = "cannot register and activate the JACK port " + portName;
        return false;
    }
    if (jack_connect(m_client, jack_port_name(m_port), destination.c_str()) != 0) {
        m_error = "cannot connect to the JACK port " + destination;
        return false;
    }
    m_open = true;
    return true;
}

int JackOutput::process(jack_nframes_t frames, void *self)
{
    static_cast<JackOutput *>(self)->handOver(frames);
    return 0;
}

// Runs on one of the client's own threads once the server has gone; the
// writer notices at its next send or poll.
void JackOutput::shutDown(jack_status_t, const char *, void *self)
{
    static_cast<JackOutput *>(self)->m_loss.store(Loss::Server, std::memory_order_release);
}

// Runs on JACK's process thread.
void JackOutput::handOver(jack_nframes_t frames)
{
    void *buffer = jack_port_get_buffer(m_port, frames);
    jack_midi_clear_buffer(buffer);
    const std::uint64_t cycle = m_cycles.load(std::memory_order_relaxed);
    if (jack_port_connected(m_port) > 0) {
        m_carriedConnection = true;
        MessageSize size = 0;
        while (jack_ringbuffer_peek(m_queue, reinterpret_cast<char *>(&size), sizeof size) == sizeof size
               && jack_ringbuffer_read_space(m_queue) >= sizeof size + size) {
            jack_midi_data_t *event = jack_midi_event_reserve(buffer, 0, size);
            if (event == nullptr)
                break; // the port's buffer is full: the rest goes with the next cycle
            jack_ringbuffer_read_advance(m_queue, sizeof size);
            jack_ringbuffer_read(m_queue, reinterpret_cast<char *>(event), size);
            m_lastCarrier.store(cycle, std::memory_order_relaxed);
            m_handedOver.fetch_add(1, std::memory_order_release);
        }
    } else if (m_carriedConnection) {
        // Connections are made only before the first cycle that carries one,
        // so a cycle without it after that means the destination has gone.
        Loss none = Loss::None;
        m_loss.compare_exchange_strong(none, Loss::Connection, std::memory_order_acq_rel);
    }
    m_cycles.store(cycle + 1, std::memory_order_release);
}

bool JackOutput::failWhenLost()
{
    switch (m_loss.load(std::memory_order_acquire)) {
    case Loss::None:
        return false;
    case Loss::Connection:
        m_error = "the JACK port " + m_destination + " went away";
        return true;
    case Loss::Server:
        m_error = "the JACK server shut down";
        return true;
    }
    return true;
}

template <typename Done, typename Progress>
bool JackOutput::waitUntil(Done done, Progress progress, const char *what)
{
    auto seen = progress();
    auto lastProgress = std::chrono::steady_clock::now();
    while (!done()) {
        if (failWhenLost())
            return false;
        std::this_thread::sleep_for(pollInterval);
        const auto now = std::chrono::steady_clock::now();
        if (const auto current = progress(); current != seen) {
            seen = current;
            lastProgress = now;
        } else if (now - lastProgress > patience) {
            m_error = std::string("the JACK server stopped ") + what;
            return false;
        }
    }
    return true;
}

bool JackOutput::send(std::span<const std::uint8_t> message)
{
    const std::size_t needed = sizeof(MessageSize) + message.size();
    if (!m_open || needed > queueBytes - 1) {
        m_error = "the message cannot be queued for JACK";
        return false;
    }
    if (failWhenLost())
        return false;
    const auto handedOver = [this] { return m_handedOver.load(std::memory_order_acquire); };
    if (!waitUntil([&] { return jack_ringbuffer_write_space(m_queue) >= needed; }, handedOver,
                   "taking the queued messages"))
        return false;
    const auto size = static_cast<MessageSize>(message.size());
    jack_ringbuffer_write(m_queue, reinterpret_cast<const char *>(&size), sizeof size);
    jack_ringbuffer_write(m_queue, reinterpret_cast<const char *>(message.data()), message.size());
    ++m_queued;
    return true;
}

bool JackOutput::flush()
{
    if (!m_open || m_queued == 0)
        return true;
    const auto handedOver = [this] { return m_handedOver.load(std::memory_order_acquire); };
    if (!waitUntil([&] { return handedOver() == m_queued; }, handedOver, "taking the queued messages"))
        return false;
    // The cycle that took the last message is over once the one after it has
    // run; while a message waits out its pause that has long happened.
    const auto cycles = [this] { return m_cycles.load(std::memory_order_acquire); };
    const std::uint64_t last = m_lastCarrier.load(std::memory_order_relaxed) + 2;
    return waitUntil([&] { return cycles() >= last; }, cycles, "running process cycles");
}

} // namespace kivo::transfer
