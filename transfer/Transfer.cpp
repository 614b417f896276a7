#include "Transfer.h"

#include "MidiOutput.h"
#include "SoundImageFile.h"

#include <filesystem>
#include <thread>

namespace kivo::transfer {

namespace {

constexpr auto pauseAfterBlock = std::chrono::milliseconds(50);

} // namespace

std::optional<ImageData> readImageData(const char *path)
{
    if (path == nullptr)
        return std::nullopt;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    if (error)
        return std::nullopt;
    const File file = openFile(path, Access::Read);
    if (!file)
        return std::nullopt;
    const auto headerLength = readBigEndian32(file.get());
    if (!headerLength || *headerLength >= size)
        return std::nullopt;
    if (!seekTo(file.get(), std::uint64_t{4} + *headerLength))
        return std::nullopt;
    ImageData image{};
    const std::size_t got = std::fread(image.data(), 1, image.size(), file.get());
    if (got < image.size() && std::ferror(file.get()) != 0)
        return std::nullopt;
    return image;
}

std::int32_t checkMidiPort(std::int32_t deviceId)
{
    return static_cast<std::int32_t>(MidiOutput(deviceId).openResult());
}

std::int32_t writeMidi(const char *path, std::int32_t location, std::int32_t deviceId)
{
    const auto image = readImageData(path);
    if (!image)
        return -1;
    MidiOutput port(deviceId);
    if (port.openResult() != MidiResult::NoError)
        return -1;
    bool delivered = true;
    for (std::size_t block = 0; block < blockCount; ++block) {
        const auto bytes = std::span<const std::uint8_t, blockSize>(image->data() + block * blockSize, blockSize);
        const BlockMessage message = writeBlockMessage(static_cast<std::uint8_t>(location),
                                                       static_cast<std::uint8_t>(block), bytes);
        if (!port.sendLongMessage(message)) {
            delivered = false;
            if (port.isLost())
                break;
        }
        std::this_thread::sleep_for(pauseAfterBlock);
    }
    return port.finish() && delivered ? 0 : -1;
}

} // namespace kivo::transfer
