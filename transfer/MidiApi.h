#pragma once

#include <rtmidi/RtMidi.h>

namespace kivo::transfer {

// The one MIDI system of the whole program: the device list and kivotools both
// use it, so that a device number means the same port on both sides.
// ALSA on Linux unless the environment variable KIVO_MIDI_API is "jack";
// elsewhere the platform's own (WinMM, CoreMIDI).
RtMidi::Api midiApi();

} // namespace kivo::transfer
