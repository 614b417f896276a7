#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kivo::transfer {

// A stream of bytes read as one big-endian unsigned number, modulo 2^28 - 1.
//
// Since 2^28 is 1 modulo 2^28 - 1, so is 2^56: a byte's weight depends only on
// its distance from the last byte modulo 7. The bytes are therefore summed by
// position class and weighted once at the end, which keeps the work per byte
// down to one addition that the compiler can vectorise.
class IdAccumulator {
public:
    static constexpr std::uint32_t modulus = 0x0FFFFFFF;
    // Whole superblocks of lanes, so that chunked reading stays aligned; small
    // enough for a chunk to be summed from the cache it was just read into.
    static constexpr std::size_t preferredChunk = 224 * 1024;

    void add(std::span<const std::uint8_t> bytes);
    std::uint64_t length() const { return m_length; }
    std::uint32_t result() const;

private:
    static constexpr std::size_t classes = 7;
    static constexpr std::size_t lanes = 224; // a multiple of 7 and of vector widths
    static constexpr unsigned roundsPerFlush = 257; // 257 x 255 still fits 16 bits

    void addByte(std::uint8_t byte);
    void addSuperblock(const std::uint8_t *block);
    void flushLanes();

    std::array<std::uint64_t, classes> m_classTotals{};
    std::array<std::uint16_t, lanes> m_lanes{};
    unsigned m_rounds = 0;
    std::uint64_t m_length = 0;
};

} // namespace kivo::transfer
