#include "JackOutput.h"

#include <jack/midiport.h>

#include <thread>

namespace kivo::transfer {

namespace {

constexpr std::size_t queueBytes = 1 << 14;
constexpr auto pollInterval = std::chrono::milliseconds(1);

using MessageSize = std::uint32_t;

} // namespace

JackOutput::JackOutput(const std::string &clientName, const std::string &portName, const std::string &destination)
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
    m_port = jack_port_register(m_client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (m_port == nullptr || jack_activate(m_client) != 0) {
        m_error = "cannot register and activate the JACK port " + portName;
        return;
    }
    if (jack_connect(m_client, jack_port_name(m_port), destination.c_str()) != 0) {
        m_error = "cannot connect to the JACK port " + destination;
        return;
    }
    m_open = true;
}

JackOutput::~JackOutput()
{
    if (m_client != nullptr)
        jack_client_close(m_client);
    if (m_queue != nullptr)
        jack_ringbuffer_free(m_queue);
}

int JackOutput::process(jack_nframes_t frames, void *self)
{
    static_cast<JackOutput *>(self)->handOver(frames);
    return 0;
}

// Runs on JACK's process thread.
void JackOutput::handOver(jack_nframes_t frames)
{
    void *buffer = jack_port_get_buffer(m_port, frames);
    jack_midi_clear_buffer(buffer);
    if (jack_port_connected(m_port) > 0) {
        MessageSize size = 0;
        while (jack_ringbuffer_peek(m_queue, reinterpret_cast<char *>(&size), sizeof size) == sizeof size
               && jack_ringbuffer_read_space(m_queue) >= sizeof size + size) {
            jack_midi_data_t *event = jack_midi_event_reserve(buffer, 0, size);
            if (event == nullptr)
                break; // the port's buffer is full: the rest goes with the next cycle
            jack_ringbuffer_read_advance(m_queue, sizeof size);
            jack_ringbuffer_read(m_queue, reinterpret_cast<char *>(event), size);
            m_handedOver.fetch_add(1, std::memory_order_release);
        }
    }
    m_cycles.fetch_add(1, std::memory_order_release);
}

template <typename Done, typename Progress>
bool JackOutput::waitUntil(Done done, Progress progress, const char *what)
{
    auto seen = progress();
    auto lastProgress = std::chrono::steady_clock::now();
    while (!done()) {
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
    // The cycle that took the last message may still be running; the one after
    // it starts only when it is over.
    const auto cycles = [this] { return m_cycles.load(std::memory_order_acquire); };
    const std::uint64_t last = cycles() + 2;
    return waitUntil([&] { return cycles() >= last; }, cycles, "running process cycles");
}

} // namespace kivo::transfer
