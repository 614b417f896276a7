#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <algorithm>

namespace kivo {

// Builds the bytes of a data file in one buffer: a large library gives a file of a
// megabyte, written again at each add, and a piece-by-piece append costs more than
// the disk does.
class EntryBytes {
public:
    explicit EntryBytes(qsizetype expected) { m_bytes.resize(expected); }

    void put(char c) { *room(1) = c; ++m_used; }

    void put(QByteArrayView bytes)
    {
        std::copy(bytes.begin(), bytes.end(), room(bytes.size()));
        m_used += bytes.size();
    }

    void putNumber(qint64 number);
    // The text as the data files hold it, UTF-8; most names and paths are plain ASCII,
    // which is copied without a conversion of its own.
    void putText(QStringView text);
    QByteArray take() &&;

private:
    char *room(qsizetype size)
    {
        if (m_used + size > m_bytes.size())
            m_bytes.resize(std::max(2 * m_bytes.size(), m_used + size));
        return m_bytes.data() + m_used;
    }

    QByteArray m_bytes;
    qsizetype m_used = 0;
};

} // namespace kivo
