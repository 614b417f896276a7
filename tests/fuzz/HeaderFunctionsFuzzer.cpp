// Writes each input to a file and checks kivotools' four header functions on it
// against what the bytes say: getId against a bit-by-bit reference, readTag and
// getTvsId against the words at their offsets, and convertFile's output against
// the header followed by the input.

#include "kivotools.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        std::abort();
    }
    return dir;
}

void check(bool holds, const char *what, std::int32_t actual, std::int32_t expected)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s: %d, expected %d\n", what, actual, expected);
    std::abort();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::uint32_t bigEndian32(const QByteArray &bytes, qsizetype offset)
{
    std::uint32_t value = 0;
    for (qsizetype i = offset; i < offset + 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

QByteArray bigEndianBytes(std::uint32_t value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(static_cast<char>((value >> shift) & 0xFF));
    return bytes;
}

// The file read as one big-endian number, reduced one bit at a time.
std::int32_t referenceId(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return -1;
    constexpr std::uint32_t modulus = 268'435'455;
    std::uint32_t id = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        for (int bit = 7; bit >= 0; --bit)
            id = (id * 2 + ((byte >> bit) & 1U)) % modulus;
    }
    return static_cast<std::int32_t>(id);
}

// The word at the offset, or -1 when the file ends before it.
std::int32_t wordAt(const QByteArray &bytes, qsizetype offset)
{
    return bytes.size() >= offset + 4 ? static_cast<std::int32_t>(bigEndian32(bytes, offset)) : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString source = folder().filePath(QStringLiteral("input.tvs"));
    const QString converted = folder().filePath(QStringLiteral("converted.tvs"));
    if (!writeAll(source, input))
        std::abort();
    const QByteArray sourcePath = QFile::encodeName(source);
    const QByteArray convertedPath = QFile::encodeName(converted);

    const std::int32_t id = getId(sourcePath.constData());
    check(id == referenceId(input), "getId", id, referenceId(input));
    const std::int32_t tag = readTag(sourcePath.constData());
    check(tag == wordAt(input, 12), "readTag", tag, wordAt(input, 12));
    const std::int32_t magic = getTvsId(sourcePath.constData());
    check(magic == wordAt(input, 4), "getTvsId", magic, wordAt(input, 4));

    // Any tag will do; the input's last word varies it.
    const std::uint32_t newTag = input.size() >= 4 ? bigEndian32(input, input.size() - 4) : static_cast<std::uint32_t>(size);
    const std::int32_t result = convertFile(sourcePath.constData(), convertedPath.constData(),
                                            static_cast<std::int32_t>(newTag));
    check(result == 0, "convertFile", result, 0);
    const QByteArray expected = bigEndianBytes(16) + QByteArray("KIVO") + bigEndianBytes(257) + bigEndianBytes(newTag)
        + input;
    const QByteArray output = readAll(converted);
    check(output == expected, "convertFile output size", static_cast<std::int32_t>(output.size()),
          static_cast<std::int32_t>(expected.size()));
    return 0;
}
