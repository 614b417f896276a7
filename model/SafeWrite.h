#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

class QFile;

// Writing a file of the data folder so that a failure leaves the file that was there
// before whole, and leaving alone a file that already holds what would be written.
namespace kivo {

// Replaces the file's content by the bytes and one more CR LF; true on failure. A file
// holding lines that its reading passed over is kept aside first; when that fails, so
// does the write.
[[nodiscard]] bool writeContent(QByteArray content, const QString &file);
// Replaces the file's content by the text and one more CR LF; true on failure, and
// then the file that was there before is left whole. A file holding lines that its
// reading passed over is kept aside first; when that fails, so does the write.
[[nodiscard]] bool writeFile(const QString &strText, const QString &strFile);
// Why the last writeFile that failed since forgetWriteFailure did, in the system's
// words (a full disk, say, or a folder of the file's name); empty when none failed, or
// when the data folder is gone or takes no file, which the opening has told the user.
QString lastWriteFailure();
void forgetWriteFailure();
// True when the file already holds exactly these bytes.
bool fileHolds(const std::filesystem::path &file, const QByteArray &bytes);
bool fileHolds(const QString &file, const QByteArray &bytes);
// Forces what was written to the open file onto the disk; false when that failed.
bool syncToDisk(QFile &file);

} // namespace kivo
