#include "MidiOutput.h"

#include "platform/MidiApi.h"

#if defined(KIVO_HAVE_JACK)
#include "JackOutput.h"
#endif

#include <cstdio>
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
#if defined(KIVO_HAVE_JACK)
    if (m_jack && !m_jack->flush()) {
        m_error = m_jack->error();
        reportFailure();
    }
#endif
}

MidiResult MidiOutput::open(std::int32_t deviceId)
{
    m_out = std::make_unique<RtMidiOut>(midiApi(), "kivotools");
    // Without a callback RtMidi prints warnings and throws; with one, every
    // problem, a failed send included, reaches onError.
    m_out->setErrorCallback(&MidiOutput::onError, this);
    const unsigned int count = m_out->getPortCount();
    if (m_failed)
        return MidiResult::Error;
    if (deviceId < -1 || (deviceId == -1 && count == 0)
        || (deviceId >= 0 && static_cast<unsigned int>(deviceId) >= count))
        return MidiResult::BadDeviceId;
    const unsigned int port = deviceId == -1 ? 0U : static_cast<unsigned int>(deviceId);
#if defined(KIVO_HAVE_JACK)
    if (m_out->getCurrentApi() == RtMidi::UNIX_JACK)
        return openJack(port);
#endif
    m_out->openPort(port, "kivotools out");
    return m_failed || !m_out->isPortOpen() ? MidiResult::Error : MidiResult::NoError;
}

#if defined(KIVO_HAVE_JACK)
MidiResult MidiOutput::openJack(unsigned int port)
{
    const std::string destination = m_out->getPortName(port);
    // RtMidi's client has found the port; the name "kivotools" goes to the client that sends.
    m_out.reset();
    if (m_failed)
        return MidiResult::Error;
    m_jack = std::make_unique<JackOutput>("kivotools", "kivotools out", destination);
    if (!m_jack->isOpen()) {
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

void MidiOutput::sendLongMessage(std::span<const std::uint8_t> message)
{
    const auto start = std::chrono::steady_clock::now();
    if (!queue(message))
        reportFailure();
    // WinMM returns when the driver is done with the buffer; ALSA, JACK and
    // CoreMIDI return as soon as the message is queued, so the pause that
    // follows would otherwise overlap the message on the cable.
    if (!m_out || m_out->getCurrentApi() != RtMidi::WINDOWS_MM)
        std::this_thread::sleep_until(start + wireTime(message.size()));
}

bool MidiOutput::queue(std::span<const std::uint8_t> message)
{
#if defined(KIVO_HAVE_JACK)
    if (m_jack) {
        if (m_jack->send(message))
            return true;
        m_error = m_jack->error();
        return false;
    }
#endif
    m_failed = false;
    m_out->sendMessage(message.data(), message.size());
    return !m_failed;
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
