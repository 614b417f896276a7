#pragma once

#include "Model.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>

// Reaching files on disk by their path: the data folder's files and the sound image
// files of records, also those that no text names.
namespace kivo {

std::filesystem::path fileSystemPath(const QString &path);
// Qt names files by text only, and no text names a file whose name is in another
// encoding than the file system's: a record that keeps the bytes of its path reaches
// its file through them.
std::filesystem::path fileSystemPath(const Model &record);
bool regularFileExists(const QString &path);
bool regularFileExists(const Model &record);
// The content of the record's file; none when it cannot be read whole.
std::optional<QByteArray> recordFileBytes(const Model &record);
// The file's bytes for a check that comes before the real reading, which reports what
// cannot be read; none then.
QByteArray quietlyRead(const QString &file);
// The folder of the file, ending with the separator; empty for a bare file name.
QString folderOf(const QString &file);

} // namespace kivo
