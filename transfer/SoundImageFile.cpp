#include "SoundImageFile.h"

#include "IdAccumulator.h"

#include <array>
#include <filesystem>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kivo::transfer {

namespace {

constexpr std::int32_t failed = -1;

// The 32-bit word at offset, or -1 when the file is missing or ends before it.
std::int32_t wordAt(const char *path, std::uint64_t offset)
{
    if (!fileExists(path))
        return failed;
    const File file = openFile(path, Access::Read);
    if (!file || !seekTo(file.get(), offset))
        return failed;
    const auto word = readBigEndian32(file.get());
    return word ? static_cast<std::int32_t>(*word) : failed;
}

} // namespace

bool fileExists(const char *path)
{
    if (path == nullptr)
        return false;
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

#if defined(_WIN32)

File openFile(const char *path, Access access)
{
    if (path == nullptr)
        return File();
    if (access == Access::Read) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(std::filesystem::path(path), error))
            return File();
    }
    return File(std::fopen(path, access == Access::Read ? "rb" : "wb"));
}

#else

namespace {

// Only an ordinary file is read; from here on the file's reads and writes wait as usual.
bool settle(int descriptor, Access access)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || (access == Access::Read && !S_ISREG(status.st_mode)))
        return false;
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags != -1 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

} // namespace

File openFile(const char *path, Access access)
{
    if (path == nullptr)
        return File();
    const bool reading = access == Access::Read;
    // Without O_NONBLOCK, opening a named pipe waits until another process opens
    // its other end, which may be never.
    const int descriptor =
        ::open(path, (reading ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC) | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return File();
    std::FILE *file = settle(descriptor, access) ? ::fdopen(descriptor, reading ? "rb" : "wb") : nullptr;
    if (file == nullptr)
        ::close(descriptor);
    return File(file);
}

#endif

bool seekTo(std::FILE *file, std::uint64_t offset)
{
#if defined(_WIN32)
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<std::uint32_t> readBigEndian32(std::FILE *file)
{
    std::array<unsigned char, 4> bytes{};
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return std::nullopt;
    std::uint32_t value = 0;
    for (const unsigned char byte : bytes)
        value = (value << 8) | byte;
    return value;
}

bool writeBigEndian32(std::uint32_t value, std::FILE *file)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (std::fputc(static_cast<int>((value >> shift) & 0xFF), file) == EOF)
            return false;
    }
    return true;
}

bool writeImageHeader(std::FILE *file, std::uint32_t tag)
{
    const SoundImageHeader header{tag};
    return writeBigEndian32(SoundImageHeader::headerLength, file)
        && writeBigEndian32(SoundImageHeader::magic, file)
        && writeBigEndian32(SoundImageHeader::fixedWord, file)
        && writeBigEndian32(header.tag, file);
}

std::int32_t readTag(const char *path)
{
    return wordAt(path, 12);
}

std::int32_t getTvsId(const char *path)
{
    return wordAt(path, 4);
}

std::int32_t getId(const char *path)
{
    if (!fileExists(path))
        return failed;
    const File file = openFile(path, Access::Read);
    if (!file)
        return failed;
    // Plain reads, not a memory map: a file that another program truncates
    // meanwhile just ends early instead of killing the process.
    IdAccumulator id;
    std::vector<std::uint8_t> chunk(IdAccumulator::preferredChunk);
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        id.add(std::span(chunk.data(), got));
        if (got < chunk.size())
            break;
    }
    if (std::ferror(file.get()) != 0)
        return failed;
    if (id.length() == 0)
        return failed;
    return static_cast<std::int32_t>(id.result());
}

std::int32_t convertFile(const char *source, const char *destination, std::int32_t tag)
{
    if (!fileExists(source))
        return failed;
    const File input = openFile(source, Access::Read);
    if (!input)
        return failed;
    File output = openFile(destination, Access::Write);
    if (!output || !writeImageHeader(output.get(), static_cast<std::uint32_t>(tag)))
        return failed;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), input.get());
        if (std::fwrite(chunk.data(), 1, got, output.get()) != got)
            return failed;
        if (got < chunk.size())
            break;
    }
    // A copy that stopped short (a full disk, a read error) is a failure,
    // and buffered writes only fail for certain when the file is closed.
    if (std::ferror(input.get()) != 0)
        return failed;
    return std::fclose(output.release()) == 0 ? 0 : failed;
}

} // namespace kivo::transfer
