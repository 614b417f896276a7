#include "kivotools.h"

#include "MidiOutput.h"
#include "SoundImageFile.h"
#include "Transfer.h"

namespace {

// Nothing may unwind into the caller, which is not C++ and cannot catch: a
// failure of any kind becomes the export's failure result.
template <typename Call>
std::int32_t guarded(std::int32_t failure, Call &&call) noexcept
{
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

constexpr std::int32_t failed = -1;

} // namespace

extern "C" {

int32_t KIVOTOOLS_CALL checkMidiPort(int32_t deviceId)
{
    return guarded(static_cast<std::int32_t>(kivo::transfer::MidiResult::Error),
                   [=] { return kivo::transfer::checkMidiPort(deviceId); });
}

int32_t KIVOTOOLS_CALL writeMidi(const char *path, int32_t location, int32_t deviceId)
{
    return guarded(failed, [=] { return kivo::transfer::writeMidi(path, location, deviceId); });
}

int32_t KIVOTOOLS_CALL readTag(const char *path)
{
    return guarded(failed, [=] { return kivo::transfer::readTag(path); });
}

int32_t KIVOTOOLS_CALL getTvsId(const char *path)
{
    return guarded(failed, [=] { return kivo::transfer::getTvsId(path); });
}

int32_t KIVOTOOLS_CALL getId(const char *path)
{
    return guarded(failed, [=] { return kivo::transfer::getId(path); });
}

int32_t KIVOTOOLS_CALL convertFile(const char *source, const char *destination, int32_t tag)
{
    return guarded(failed, [=] { return kivo::transfer::convertFile(source, destination, tag); });
}

}
