#pragma once

#include "BlockMessage.h"

#include <cstdint>
#include <optional>

namespace kivo::transfer {

using ImageData = std::array<std::uint8_t, blockSize * blockCount>;

// The 2,688 bytes that a sound image file sends: from offset 4 + h, h being
// its header length word, with 0 for bytes past the end of the file. Only
// those bytes are read. Empty when the file cannot be read, is shorter than
// 4 bytes, or h is not below its size.
std::optional<ImageData> readImageData(const char *path);

std::int32_t checkMidiPort(std::int32_t deviceId);
std::int32_t writeMidi(const char *path, std::int32_t location, std::int32_t deviceId);

} // namespace kivo::transfer
