#pragma once

#include <QStringList>

namespace kivo {

// The names of the MIDI output devices, in device order: row n is the device
// that kivotools opens as device n. Empty when there is no MIDI system.
QStringList outputDeviceNames();

// True when two names of outputDeviceNames() name the same device, perhaps at another
// address: ALSA appends the client and port numbers to a name, and a client may get
// other numbers when it starts again (a unit plugged in elsewhere, a program restarted).
bool sameOutputDevice(const QString &name, const QString &other);

} // namespace kivo
