#include "DiskFiles.h"

#include "Global.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <fstream>
#include <system_error>

namespace kivo {

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

std::filesystem::path fileSystemPath(const Model &record)
{
    if (record.pathBytes().isEmpty())
        return fileSystemPath(record.path());
    return std::filesystem::path(record.pathBytes().toStdString());
}

bool regularFileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool regularFileExists(const Model &record)
{
    if (record.pathBytes().isEmpty())
        return regularFileExists(record.path());
    std::error_code error;
    return std::filesystem::is_regular_file(fileSystemPath(record), error);
}

std::optional<QByteArray> recordFileBytes(const Model &record)
{
    if (record.pathBytes().isEmpty()) {
        QFile in(record.path());
        if (!in.open(QIODevice::ReadOnly))
            return std::nullopt;
        QByteArray content = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return std::nullopt;
        return content;
    }
    const std::filesystem::path source = fileSystemPath(record);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(source, error);
    if (error)
        return std::nullopt;
    QByteArray content(static_cast<qsizetype>(size), Qt::Uninitialized);
    std::ifstream in(source, std::ios::binary);
    if (!in.read(content.data(), content.size()))
        return std::nullopt;
    return content;
}

QByteArray quietlyRead(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

QString folderOf(const QString &file)
{
    return file.left(lastSeparatorIndex(file) + 1);
}

} // namespace kivo
