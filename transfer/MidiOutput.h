#pragma once

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kivo::transfer {

class JackOutput;

// The result codes of opening an output device, as the unit's software has
// always known them.
enum class MidiResult : std::int32_t {
    NoError = 0,
    Error = 1,
    BadDeviceId = 2,
};

// One output device, open for the life of the object. Device n is output port
// n of the program's MIDI system; -1 is the first port. Under JACK the
// messages go through a JACK client of kivotools' own (JackOutput) rather
// than RtMidi's, which may hand the first message after connecting to a cycle
// that does not carry the connection yet, and drops what is still queued when
// the server takes more than a second to close it; that client also finds the
// ports, by the query with which RtMidi numbers them, so that one client
// rather than two is opened for each device. The object goes only once its
// messages have left.
class MidiOutput {
public:
    explicit MidiOutput(std::int32_t deviceId);
    MidiOutput(const MidiOutput &) = delete;
    MidiOutput &operator=(const MidiOutput &) = delete;
    ~MidiOutput();

    MidiResult openResult() const { return m_openResult; }

    // Sends one system-exclusive message and returns once the message has had
    // its time on a MIDI cable; false when it was not handed to the port. A
    // failed send is reported on standard output.
    bool sendLongMessage(std::span<const std::uint8_t> message);
    // True once the port has gone (its destination, or the MIDI system): no
    // later message can arrive.
    bool isLost() const;
    // Waits until every message has left; false when one has not.
    bool finish();

    // 10 bits a byte at 31,250 baud.
    static std::chrono::microseconds wireTime(std::size_t bytes);

private:
    static void onError(RtMidiError::Type type, const std::string &text, void *self);
    MidiResult open(std::int32_t deviceId);
    MidiResult openJack(std::int32_t deviceId);
    bool queue(std::span<const std::uint8_t> message);
    bool destinationExists();
    void reportFailure() const;

    std::unique_ptr<RtMidiOut> m_out;
    std::unique_ptr<JackOutput> m_jack;
    MidiResult m_openResult = MidiResult::Error;
    std::string m_destination;
    bool m_failed = false;
    bool m_lost = false;
    bool m_finished = false;
    std::string m_error;
};

} // namespace kivo::transfer
