#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace kivo::transfer {

struct FileCloser {
    void operator()(std::FILE *file) const noexcept { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The header in front of every sound image file that the library writes;
// its words are stored unsigned, most significant byte first.
struct SoundImageHeader {
    static constexpr std::uint32_t headerLength = 16;
    static constexpr std::uint32_t magic = 0x4B49564F; // "KIVO"
    static constexpr std::uint32_t fixedWord = 257;
    std::uint32_t tag = 0;
};

// Tests existence without opening the file.
bool fileExists(const char *path);

enum class Access { Read, Write };
// Opens in binary mode, never waiting for another process: a named pipe, a folder or
// a device is no file to read, and a pipe that nobody reads is no file to write to.
// Writing creates the file or empties it.
File openFile(const char *path, Access access);
bool seekTo(std::FILE *file, std::uint64_t offset);

std::optional<std::uint32_t> readBigEndian32(std::FILE *file);
bool writeBigEndian32(std::uint32_t value, std::FILE *file);
bool writeImageHeader(std::FILE *file, std::uint32_t tag);

// The results of the library's header exports, -1 standing for failure.
std::int32_t readTag(const char *path);
std::int32_t getTvsId(const char *path);
std::int32_t getId(const char *path);
std::int32_t convertFile(const char *source, const char *destination, std::int32_t tag);

} // namespace kivo::transfer
