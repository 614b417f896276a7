#include "IdAccumulator.h"

namespace kivo::transfer {

void IdAccumulator::add(std::span<const std::uint8_t> bytes)
{
    std::size_t i = 0;
    for (; i < bytes.size() && m_length % lanes != 0; ++i)
        addByte(bytes[i]);
    for (; bytes.size() - i >= lanes; i += lanes)
        addSuperblock(bytes.data() + i);
    for (; i < bytes.size(); ++i)
        addByte(bytes[i]);
}

void IdAccumulator::addByte(std::uint8_t byte)
{
    m_classTotals[m_length % classes] += byte;
    ++m_length;
}

void IdAccumulator::addSuperblock(const std::uint8_t *block)
{
    for (std::size_t lane = 0; lane < lanes; ++lane)
        m_lanes[lane] = static_cast<std::uint16_t>(m_lanes[lane] + block[lane]);
    m_length += lanes;
    if (++m_rounds == roundsPerFlush)
        flushLanes();
}

void IdAccumulator::flushLanes()
{
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        m_classTotals[lane % classes] += m_lanes[lane];
        m_lanes[lane] = 0;
    }
    m_rounds = 0;
}

std::uint32_t IdAccumulator::result() const
{
    auto totals = m_classTotals;
    for (std::size_t lane = 0; lane < lanes; ++lane)
        totals[lane % classes] += m_lanes[lane];

    std::uint64_t id = 0;
    for (std::size_t position = 0; position < classes && position < m_length; ++position) {
        // Distance from the last byte, in bytes, modulo 7; its weight is
        // 2^(8 x distance) reduced with 2^28 = 1.
        const std::uint64_t distance = (m_length - 1 - position) % classes;
        const std::uint64_t weight = std::uint64_t{1} << ((8 * distance) % 28);
        id = (id + (totals[position] % modulus) * weight) % modulus;
    }
    return static_cast<std::uint32_t>(id);
}

} // namespace kivo::transfer
