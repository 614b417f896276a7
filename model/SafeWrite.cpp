#include "SafeWrite.h"

#include "DataFileFormat.h"
#include "DiskFiles.h"
#include "Factory.h"
#include "FileShell.h"
#include "UnreadLines.h"
#include "platform/RuntimeError.h"

#include <QFile>

#include <cstdint>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kivo {

namespace {

// Why the last write that failed did, as the system tells it.
QString &writeFailure()
{
    static QString reason;
    return reason;
}

} // namespace

bool writeContent(QByteArray content, const QString &file)
{
    try {
        // Saving every list rewrites many files that have not changed; leaving those
        // alone spares the disk a forced write for each.
        const QByteArray bytes = fileBytes(std::move(content));
        if (fileHolds(file, bytes))
            return false;
        if (const std::optional<QString> notKept = keepUnreadLines(file)) {
            writeFailure() = *notKept;
            return true;
        }
        const FileShellPtr shell = newFileShell(file, FileShell::WriteText);
        // The opening has told the user why the file could not be opened. Where the data
        // folder is there and takes files, the caller tells that reason with the failure.
        if (const std::optional<RuntimeError> &notOpened = shell->openFailure()) {
            if (notOpened->number() == ErrorNumber::Other)
                writeFailure() = notOpened->description();
            return true;
        }
        shell->writeBytes(bytes);
        shell->closeFile();
        return false;
    } catch (const RuntimeError &error) {
        // A failed write or replace leaves the old file, and the caller reports it.
        writeFailure() = error.description();
        return true;
    }
}

bool writeFile(const QString &strText, const QString &strFile)
{
    return writeContent(FileShell::encode(strText), strFile);
}

QString lastWriteFailure()
{
    return writeFailure();
}

void forgetWriteFailure()
{
    writeFailure().clear();
}

bool fileHolds(const std::filesystem::path &file, const QByteArray &bytes)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)
        || std::filesystem::file_size(file, error) != static_cast<std::uintmax_t>(bytes.size()))
        return false;
    // Saving every list compares a thousand small files: a plain stream that asks for
    // one byte more than the file should hold costs the fewest calls to the system.
    std::ifstream existing(file, std::ios::binary);
    if (!existing)
        return false;
    QByteArray content(bytes.size() + 1, Qt::Uninitialized);
    existing.read(content.data(), content.size());
    return existing.gcount() == bytes.size() && QByteArrayView(content).first(bytes.size()) == bytes;
}

bool fileHolds(const QString &file, const QByteArray &bytes)
{
    return fileHolds(fileSystemPath(file), bytes);
}

bool syncToDisk(QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

} // namespace kivo
