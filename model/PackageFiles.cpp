#include "PackageFiles.h"

#include "DiskFiles.h"
#include "SafeWrite.h"

#include <QFile>
#include <QTemporaryFile>

#include <system_error>
#include <utility>

namespace kivo {

namespace {

// A file of an export package, named by the bytes of its name where no text names it.
std::filesystem::path packagePath(const QString &folder, const QByteArray &name)
{
    const QString text = QString::fromUtf8(name);
    if (text.toUtf8() == name)
        return fileSystemPath(folder + text);
    return std::filesystem::path((QFile::encodeName(folder) + name).toStdString());
}

} // namespace

PackageFiles::PackageFiles(QString folder) : m_folder(std::move(folder)) {}

PackageFiles::~PackageFiles()
{
    for (const std::filesystem::path &file : m_temporary)
        removeQuietly(file);
}

bool PackageFiles::stage(const QByteArray &name, const QByteArray &bytes)
{
    const std::filesystem::path target = packagePath(m_folder, name);
    if (fileHolds(target, bytes))
        return true;
    std::error_code error;
    if (std::filesystem::is_directory(target, error))
        return false;
    const std::optional<std::filesystem::path> written = writeTemporary(bytes);
    if (!written)
        return false;
    m_staged.push_back(Staged{*written, target});
    return true;
}

bool PackageFiles::stageCopy(const Model &record, const QByteArray &name)
{
    const std::optional<QByteArray> bytes = recordFileBytes(record);
    return bytes && stage(name, *bytes);
}

bool PackageFiles::commit()
{
    for (const Staged &staged : m_staged) {
        if (!place(staged))
            return false;
    }
    m_staged.clear();
    for (const Placed &placed : m_placed) {
        if (placed.earlier)
            removeQuietly(*placed.earlier);
    }
    m_placed.clear();
    return true;
}

void PackageFiles::takeBack()
{
    m_staged.clear();
    for (auto placed = m_placed.crbegin(); placed != m_placed.crend(); ++placed) {
        std::error_code error;
        if (placed->earlier)
            std::filesystem::rename(*placed->earlier, placed->target, error);
        else
            std::filesystem::remove(placed->target, error);
    }
    m_placed.clear();
}

void PackageFiles::removeQuietly(const std::filesystem::path &file)
{
    std::error_code error;
    std::filesystem::remove(file, error);
}

std::optional<std::filesystem::path> PackageFiles::temporaryFile(std::unique_ptr<QTemporaryFile> &file)
{
    file = std::make_unique<QTemporaryFile>(m_folder + QStringLiteral(".kivo-XXXXXX"));
    file->setAutoRemove(false);
    if (!file->open())
        return std::nullopt;
    m_temporary.push_back(fileSystemPath(file->fileName()));
    return m_temporary.back();
}

std::optional<std::filesystem::path> PackageFiles::writeTemporary(const QByteArray &bytes)
{
    std::unique_ptr<QTemporaryFile> file;
    const std::optional<std::filesystem::path> path = temporaryFile(file);
    if (!path || file->write(bytes) != bytes.size() || !file->flush() || !syncToDisk(*file))
        return std::nullopt;
    file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                         | QFileDevice::ReadOther);
    return path;
}

std::optional<std::filesystem::path> PackageFiles::keepAside(const std::filesystem::path &file)
{
    std::unique_ptr<QTemporaryFile> spare;
    const std::optional<std::filesystem::path> aside = temporaryFile(spare);
    if (!aside)
        return std::nullopt;
    spare->close();
    std::error_code error;
    std::filesystem::remove(*aside, error);
    std::filesystem::create_hard_link(file, *aside, error);
    if (error) {
        error.clear();
        std::filesystem::copy_file(file, *aside, std::filesystem::copy_options::overwrite_existing, error);
    }
    if (error)
        return std::nullopt;
    return aside;
}

bool PackageFiles::place(const Staged &staged)
{
    Placed placed{staged.target, std::nullopt};
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(staged.target, error))) {
        placed.earlier = keepAside(staged.target);
        if (!placed.earlier)
            return false;
    }
    std::filesystem::rename(staged.written, staged.target, error);
    if (error) {
        if (placed.earlier)
            removeQuietly(*placed.earlier);
        return false;
    }
    m_placed.push_back(std::move(placed));
    return true;
}

} // namespace kivo
