#include "EntryBytes.h"

#include <charconv>
#include <utility>

namespace kivo {

void EntryBytes::putNumber(qint64 number)
{
    constexpr qsizetype longest = 20;
    char *const to = room(longest);
    m_used += std::to_chars(to, to + longest, number).ptr - to;
}

void EntryBytes::putText(QStringView text)
{
    const char16_t *const from = text.utf16();
    char *const to = room(text.size());
    qsizetype ascii = 0;
    for (; ascii < text.size() && from[ascii] < 0x80; ++ascii)
        to[ascii] = static_cast<char>(from[ascii]);
    m_used += ascii;
    if (ascii < text.size())
        put(text.sliced(ascii).toUtf8());
}

QByteArray EntryBytes::take() &&
{
    m_bytes.truncate(m_used);
    return std::move(m_bytes);
}

} // namespace kivo
