#include "MidiDevices.h"

#include "transfer/MidiApi.h"

#include <QRegularExpression>

namespace kivo {

QStringList outputDeviceNames()
{
    QStringList names;
    try {
        RtMidiOut output(transfer::midiApi(), "Kivo Rudovaz");
        const unsigned int count = output.getPortCount();
        for (unsigned int port = 0; port < count; ++port)
            names.append(QString::fromStdString(output.getPortName(port)));
    } catch (const RtMidiError &) {
        // A machine whose MIDI system cannot be reached has no output devices,
        // which the device list shows as an empty list.
        names.clear();
    }
    return names;
}

bool sameOutputDevice(const QString &name, const QString &other)
{
    if (transfer::midiApi() != RtMidi::LINUX_ALSA)
        return name == other;
    static const QRegularExpression address(QStringLiteral(" \\d+:\\d+$"));
    const auto withoutAddress = [](QString text) { return text.remove(address); };
    return withoutAddress(name) == withoutAddress(other);
}

} // namespace kivo
