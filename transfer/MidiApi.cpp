#include "MidiApi.h"

#include <cstdlib>
#include <string_view>

namespace kivo::transfer {

RtMidi::Api midiApi()
{
    const char *chosen = std::getenv("KIVO_MIDI_API");
    if (chosen != nullptr && std::string_view(chosen) == "jack")
        return RtMidi::UNIX_JACK;
#if defined(__linux__)
    return RtMidi::LINUX_ALSA;
#else
    return RtMidi::UNSPECIFIED;
#endif
}

} // namespace kivo::transfer
