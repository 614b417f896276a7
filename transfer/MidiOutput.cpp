#include "MidiOutput.h"

#include "platform/MidiApi.h"

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

MidiOutput::~MidiOutput() = default;

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
    m_out->openPort(deviceId == -1 ? 0U : static_cast<unsigned int>(deviceId), "kivotools out");
    return m_failed || !m_out->isPortOpen() ? MidiResult::Error : MidiResult::NoError;
}

void MidiOutput::onError(RtMidiError::Type, const std::string &text, void *self)
{
    auto *output = static_cast<MidiOutput *>(self);
    output->m_failed = true;
    output->m_error = text;
}

void MidiOutput::sendLongMessage(std::span<const std::uint8_t> message)
{
    const auto start = std::chrono::steady_clock::now();
    m_failed = false;
    m_out->sendMessage(message.data(), message.size());
    if (m_failed) {
        std::printf("Error: %s\r\n", m_error.c_str());
        std::fflush(stdout);
    }
    // WinMM returns when the driver is done with the buffer; ALSA, JACK and
    // CoreMIDI return as soon as the message is queued, so the pause that
    // follows would otherwise overlap the message on the cable.
    if (m_out->getCurrentApi() != RtMidi::WINDOWS_MM)
        std::this_thread::sleep_until(start + wireTime(message.size()));
}

std::chrono::microseconds MidiOutput::wireTime(std::size_t bytes)
{
    constexpr std::int64_t bitsPerByte = 10;
    constexpr std::int64_t baud = 31250;
    return std::chrono::microseconds(static_cast<std::int64_t>(bytes) * bitsPerByte * 1'000'000 / baud);
}

} // namespace kivo::transfer
