#include "ExportPackage.h"

#include "CopyNames.h"
#include "DataFileFormat.h"
#include "DiskFiles.h"
#include "FileShell.h"
#include "Global.h"
#include "LoadList.h"
#include "PackageFiles.h"
#include "SafeWrite.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kivo {

namespace {

QString renamedCopiesText(const QStringList &renamed)
{
    return QStringLiteral("These Sound Image files have the file name of another file of the list, so their copies "
                          "in the package have names of their own:")
        + lineBreak() + renamed.join(lineBreak());
}

bool isWithin(const std::filesystem::path &path, const std::filesystem::path &folder)
{
    const auto [folderEnd, pathPart] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return folderEnd == folder.end() && pathPart != path.end();
}

// Where the path leads once every link on the way is followed, as far as it exists.
std::optional<std::filesystem::path> resolved(const std::filesystem::path &path)
{
    std::error_code error;
    std::filesystem::path result = std::filesystem::weakly_canonical(path, error);
    if (error)
        return std::nullopt;
    return result;
}

} // namespace

FolderState ensureFolder(const QString &strPath)
{
    if (QFileInfo(strPath).isDir())
        return FolderState::Existing;
    if (QDir().mkdir(strPath))
        return FolderState::Created;
    if (!QFileInfo(QFileInfo(strPath).absolutePath()).isDir())
        msgBox(RuntimeError(ErrorNumber::PathNotFound).description());
    return FolderState::Missing;
}

std::optional<PackageFault> packageFault(const QString &strFile)
{
    const QString folder = folderOf(strFile);
    for (const FileShell::Line &line : FileShell::decodeLines(quietlyRead(strFile))) {
        const std::optional<Entry> entry = parseEntry(line);
        if (!entry)
            continue;
        const ModelPtr record = recordOf(*entry, folder);
        if (!staysInPackage(folder, entry->file, *record))
            return PackageFault{PackageFault::Kind::Outside, entry->file.toString()};
        if (!regularFileExists(*record))
            return PackageFault{PackageFault::Kind::Missing, entry->file.toString()};
    }
    return std::nullopt;
}

bool staysInPackage(const QString &folder, QStringView file, const Model &record)
{
    if (file.isEmpty() || QDir::isAbsolutePath(file.toString()))
        return false;
    const std::filesystem::path path = fileSystemPath(record);
    std::error_code error;
    // A link whose target is missing names no file, wherever it points.
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))
        && !std::filesystem::exists(path, error))
        return false;
    const auto realFolder = resolved(fileSystemPath(QDir::cleanPath(folder)));
    const auto realPath = resolved(path);
    return realFolder && realPath && isWithin(*realPath, *realFolder);
}

ExportFileLines exportFileLines(const QString &strFile)
{
    ExportFileLines result;
    QSet<qint16> taken;
    const QList<FileShell::Line> lines = FileShell::decodeLines(quietlyRead(strFile));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const FileShell::Line &line = lines.at(i);
        if (isBlank(line.text))
            continue;
        const std::optional<Entry> entry = parseEntry(line);
        const auto passOver = [&result, i, &entry](const QString &reason) {
            result.passedOver.append(PassedOverLine{i + 1, entry ? entry->name.toString() : QString(), reason});
        };
        if (!entry) {
            passOver(QStringLiteral("it is no Sound Image entry"));
        } else if (entry->index < 0 || entry->index >= LoadList::locationCount) {
            passOver(QStringLiteral("Cannot add Sound Image at this index"));
        } else if (taken.contains(entry->index)) {
            passOver(QStringLiteral("location ") + QString::number(entry->index + 1)
                     + QStringLiteral(" holds the Sound Image of an earlier line"));
        } else {
            taken.insert(entry->index);
            ++result.entries;
        }
    }
    return result;
}

bool writePackage(const IPersistToFile &obj, const QString &strDest, const QString &strExportFile, bool folderIsNew)
{
    PackageFiles package(strDest);
    CopyNames names(strExportFile);
    std::vector<std::optional<QByteArray>> copyNames(static_cast<std::size_t>(std::max(obj.count(), 0)));
    QStringList renamed;
    bool written = true;
    for (int i = 0; i < obj.count() && written; ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model)
            continue;
        if (!regularFileExists(*model)) {
            msgBox(QStringLiteral("File: ") + model->path() + QStringLiteral(" does not exist") + lineBreak()
                   + QStringLiteral("File will not be added to exported list"));
            continue;
        }
        const QByteArray name = names.take(*model);
        if (name != fileNameBytes(*model))
            renamed.append(model->path() + QStringLiteral(" as ") + FileShell::decode(name));
        copyNames[static_cast<std::size_t>(i)] = name;
        written = package.stageCopy(*model, name);
    }
    const QByteArray exportFile = entryLines(
        obj, [&copyNames](int i, const Model &) { return copyNames[static_cast<std::size_t>(i)].has_value(); },
        [&copyNames](int i, const Model &, EntryBytes &content) { content.put(*copyNames[static_cast<std::size_t>(i)]); });
    written = written && package.stage(FileShell::encode(strExportFile), fileBytes(exportFile));
    if (written && package.commit()) {
        if (!renamed.isEmpty())
            msgBox(renamedCopiesText(renamed));
        return false;
    }
    package.takeBack();
    if (folderIsNew) {
        QString folder = strDest;
        removeFolder(folder);
    }
    msgBox(QStringLiteral("Your Load List cannot be copied") + lineBreak() + QStringLiteral("Please try again"),
           Buttons::Ok, Icon::Information, QStringLiteral("Error Copying Files"));
    return true;
}

bool writeExportFile(const IPersistToFile &obj, const QString &strFile)
{
    return writeContent(entryLines(
                            obj, [](int, const Model &record) { return regularFileExists(record); },
                            [](int, const Model &record, EntryBytes &content) { content.put(fileNameBytes(record)); }),
                        strFile);
}

void removeFolder(QString &strPath)
{
    if (!strPath.isEmpty() && isPathSeparator(strPath.back()))
        strPath.chop(1);
    if (!QFileInfo(strPath).isDir())
        return;
    if (!QDir(strPath).removeRecursively())
        msgBox(RuntimeError(ErrorNumber::PathFileAccess).description());
}

} // namespace kivo
