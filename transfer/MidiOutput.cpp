#include "MidiOutput.h"

#include "MidiApi.h"

#if defined(KIVO_HAVE_JACK)
#include "JackOutput.h"
#endif

#include <cstdio>
#include <optional>
#include <thread>

namespace kivo::transfer {

MidiOutput::MidiOutput(std::int32_t deviceId)
{
    try {
        m_openResult = open(deviceId);
    } catch (const RtMidiError &error) {
        m_error = error.getMessage();
        m_openResult = MidiResult::Error;
    }
}

MidiOutput::~MidiOutput()
{
    if (!m_finished)
        finish();
}

namespace {

// The port of a device number among count ports, or none for a bad device id.
std::optional<unsigned int> portOf(std::int32_t deviceId, std::size_t count)
{
    if (deviceId < -1 || count == 0 || (deviceId >= 0 && static_cast<std::size_t>(deviceId) >= count))
        return std::nullopt;
    return deviceId == -1 ? 0U : static_cast<unsigned int>(deviceId);
}

} // namespace

MidiResult MidiOutput::open(std::int32_t deviceId)
{
#if defined(KIVO_HAVE_JACK)
    if (midiApi() == RtMidi::UNIX_JACK)
        return openJack(deviceId);
#endif
    m_out = std::make_unique<RtMidiOut>(midiApi(), "kivotools");
    // Without a callback RtMidi prints warnings and throws; with one, every
    // problem, a failed send included, reaches onError.
    m_out->setErrorCallback(&MidiOutput::onError, this);
#if defined(KIVO_HAVE_JACK)
    if (m_out->getCurrentApi() == RtMidi::UNIX_JACK) {
        // RtMidi's own choice, where the program names no MIDI system.
        m_out.reset();
        m_failed = false;
        return openJack(deviceId);
    }
#endif
    const unsigned int count = m_out->getPortCount();
    if (m_failed)
        return MidiResult::Error;
    const auto port = portOf(deviceId, count);
    if (!port)
        return MidiResult::BadDeviceId;
    m_destination = m_out->getPortName(*port);
    m_out->openPort(*port, "kivotools out");
    return m_failed || !m_out->isPortOpen() ? MidiResult::Error : MidiResult::NoError;
}

#if defined(KIVO_HAVE_JACK)
MidiResult MidiOutput::openJack(std::int32_t deviceId)
{
    m_jack = std::make_unique<JackOutput>("kivotools");
    if (!m_jack->hasClient()) {
        m_error = m_jack->error();
        m_jack.reset();
        return MidiResult::Error;
    }
    const std::vector<std::string> ports = m_jack->inputPorts();
    const auto port = portOf(deviceId, ports.size());
    if (!port) {
        m_jack.reset();
        return MidiResult::BadDeviceId;
    }
    m_destination = ports[*port];
    if (!m_jack->connect("kivotools out", m_destination)) {
        m_error = m_jack->error();
        m_jack.reset();
        return MidiResult::Error;
    }
    return MidiResult::NoError;
}
#endif

void MidiOutput::onError(RtMidiError::Type, const std::string &text, void *self)
{
    auto *output = static_cast<MidiOutput *>(self);
    output->m_failed = true;
    output->m_error = text;
}

bool MidiOutput::sendLongMessage(std::span<const std::uint8_t> message)
{
    const auto start = std::chrono::steady_clock::now();
    const bool sent = queue(message);
    if (!sent)
        reportFailure();
    if (m_lost)
        return false;
    // WinMM returns when the driver is done with the buffer; ALSA, JACK and
    // CoreMIDI return as soon as the message is queued, so the pause that
    // follows would otherwise overlap the message on the cable.
    if (!m_out || m_out->getCurrentApi() != RtMidi::WINDOWS_MM)
        std::this_thread::sleep_until(start + wireTime(message.size()));
    return sent;
}

bool MidiOutput::isLost() const
{
    return m_lost;
}

bool MidiOutput::finish()
{
    m_finished = true;
    if (m_lost)
        return false;
#if defined(KIVO_HAVE_JACK)
    if (m_jack && !m_jack->flush()) {
        m_error = m_jack->error();
        reportFailure();
        return false;
    }
#endif
    return true;
}

bool MidiOutput::queue(std::span<const std::uint8_t> message)
{
    if (m_lost)
        return false;
#if defined(KIVO_HAVE_JACK)
    if (m_jack) {
        if (m_jack->send(message))
            return true;
        // Lost, or the server has stopped taking messages: waiting for it
        // again with each later message would only hold the caller.
        m_error = m_jack->error();
        m_lost = true;
        return false;
    }
#endif
    if (!destinationExists()) {
        m_error = "the MIDI port " + m_destination + " went away";
        m_lost = true;
        return false;
    }
    m_failed = false;
    m_out->sendMessage(message.data(), message.size());
    return !m_failed;
}

// The ALSA sequencer drops without a word what goes to a subscriber that has
// gone, so the port is looked for among the current ones before each message;
// its name holds its client and port numbers.
bool MidiOutput::destinationExists()
{
    if (m_out->getCurrentApi() != RtMidi::LINUX_ALSA)
        return true;
    const unsigned int count = m_out->getPortCount();
    for (unsigned int port = 0; port < count; ++port) {
        if (m_out->getPortName(port) == m_destination)
            return true;
    }
    return false;
}

void MidiOutput::reportFailure() const
{
    std::printf("Error: %s\r\n", m_error.c_str());
    std::fflush(stdout);
}

std::chrono::microseconds MidiOutput::wireTime(std::size_t bytes)
{
    constexpr std::int64_t bitsPerByte = 10;
    constexpr std::int64_t baud = 31250;
    return std::chrono::microseconds(static_cast<std::int64_t>(bytes) * bitsPerByte * 1'000'000 / baud);
}

} // namespace kivo::transfer
