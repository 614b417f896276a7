#pragma once

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace kivo::test {

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

inline QByteArray bigEndian32(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    return bytes;
}

inline QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (auto &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

inline QByteArray repeated(const char *hexByte, qsizetype count)
{
    return QByteArray::fromHex(hexByte).repeated(count);
}

} // namespace kivo::test
