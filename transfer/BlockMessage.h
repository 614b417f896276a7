#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kivo::transfer {

inline constexpr std::size_t blockSize = 96;
inline constexpr std::size_t blockCount = 28;
inline constexpr std::size_t blockMessageSize = 119;
inline constexpr std::uint16_t writeCommand = 1;

using BlockMessage = std::array<std::uint8_t, blockMessageSize>;

// Emits F0, the manufacturer bytes 47 61, the device byte and the command byte.
template <typename Sink>
void putSysexHeader(std::uint8_t command, std::uint8_t device, Sink &&sink)
{
    sink(std::uint8_t{0xF0});
    sink(std::uint8_t{0x47});
    sink(std::uint8_t{0x61});
    sink(device);
    sink(command);
}

// One block message: header, location, block index, the count source bytes
// packed 7 bits to a data byte (most significant bit first, the last group
// filled up with 0 bits), the 7-bit plain sum checksum and F7.
template <typename Sink, typename Source>
void buildBlockMessage(std::uint16_t command, std::uint8_t device, std::uint16_t location,
                       std::uint16_t block, std::int32_t count, Sink &&sink, Source &&source)
{
    const auto commandByte = static_cast<std::uint8_t>(0x40 + command);
    const auto locationByte = static_cast<std::uint8_t>(location);
    const auto blockByte = static_cast<std::uint8_t>(block);
    putSysexHeader(commandByte, device, sink);
    sink(locationByte);
    sink(blockByte);

    auto checksum = static_cast<std::uint8_t>(commandByte + locationByte + blockByte);
    std::int64_t bits = std::int64_t{count} * 8;
    std::uint8_t current = 0;
    while (bits > 0) {
        std::uint8_t data = 0;
        for (int i = 0; i < 7; ++i) {
            data = static_cast<std::uint8_t>(data << 1);
            if (bits % 8 == 0)
                current = bits > 0 ? static_cast<std::uint8_t>(source()) : std::uint8_t{0};
            if ((current & 0x80) != 0)
                data |= 1;
            current = static_cast<std::uint8_t>(current << 1);
            --bits;
        }
        checksum = static_cast<std::uint8_t>(checksum + data);
        sink(data);
    }
    sink(static_cast<std::uint8_t>(checksum & 0x7F));
    sink(std::uint8_t{0xF7});
}

// The block message that writes one block of a sound image to a unit location.
BlockMessage writeBlockMessage(std::uint8_t location, std::uint8_t block,
                               std::span<const std::uint8_t, blockSize> bytes);

} // namespace kivo::transfer
