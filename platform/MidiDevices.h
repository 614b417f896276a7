#pragma once

#include <QStringList>

namespace kivo {

// The names of the MIDI output devices, in device order: row n is the device
// that kivotools opens as device n. Empty when there is no MIDI system.
QStringList outputDeviceNames();

} // namespace kivo
