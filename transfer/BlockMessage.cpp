#include "BlockMessage.h"

namespace kivo::transfer {

namespace {

class MessageBuffer {
public:
    void appendMessageByte(std::uint8_t byte) { m_message.at(m_length++) = byte; }
    const BlockMessage &message() const { return m_message; }

private:
    BlockMessage m_message{};
    std::size_t m_length = 0;
};

} // namespace

BlockMessage writeBlockMessage(std::uint8_t location, std::uint8_t block,
                               std::span<const std::uint8_t, blockSize> bytes)
{
    MessageBuffer buffer;
    auto next = bytes.begin();
    buildBlockMessage(
        writeCommand, 0, location, block, static_cast<std::int32_t>(blockSize),
        [&buffer](std::uint8_t byte) { buffer.appendMessageByte(byte); },
        [&next] { return *next++; });
    return buffer.message();
}

} // namespace kivo::transfer
