#include "FileProxy.h"

#include "Factory.h"
#include "FileShell.h"
#include "Global.h"
#include "LoadLists.h"
#include "NumberParsing.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace kivo {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

QString dataFile(const QString &baseName)
{
    return dataPath() + baseName + dataFileExtension();
}

QString listOfLoadListsFile()
{
    return dataPath() + QStringLiteral("ListOfLL.kvl");
}

bool regularFileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

// The entry lines of every record of obj, by position. An export names each file by
// its file name alone and leaves out records whose file is missing.
enum class Entries { DataFile, ExportFile };

QString entryLines(const IPersistToFile &obj, Entries kind)
{
    QString content;
    content.reserve(obj.count() * 96);
    for (int i = 0; i < obj.count(); ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model)
            continue;
        const bool forExport = kind == Entries::ExportFile;
        if (forExport && !regularFileExists(model->path()))
            continue;
        content += QString::number(i);
        content += u'\t';
        content += QString::number(model->tag());
        content += u'\t';
        content += model->name();
        content += u'\t';
        content += forExport ? getFileName(model->path()) : model->path();
        content += lineEnd;
    }
    return content;
}

// The library appends every entry; a load list places it at the location named by
// the index, which must be one of its own.
bool acceptsIndex(const IPersistToFile &obj, qint16 index)
{
    return obj.name() == libraryFileBaseName() || (index >= 0 && index < obj.count());
}

struct Entry {
    qint16 index;
    qint32 tag;
    QStringView name;
    QStringView file;
};

std::optional<Entry> parseEntry(QStringView line)
{
    const QList<QStringView> fields = line.split(u'\t');
    if (fields.size() != 4)
        return std::nullopt;
    const auto index = roundToInteger<qint16>(numericValue(fields[0]));
    const auto tag = roundToInteger<qint32>(numericValue(fields[1]));
    if (!index || !tag)
        return std::nullopt;
    return Entry{*index, *tag, fields[2], fields[3]};
}

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

bool isWithin(const std::filesystem::path &path, const std::filesystem::path &folder)
{
    const auto [folderEnd, pathPart] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return folderEnd == folder.end() && pathPart != path.end();
}

// Where the path leads once every link on the way is followed, as far as it exists.
std::optional<std::filesystem::path> resolved(const QString &path)
{
    std::error_code error;
    std::filesystem::path result = std::filesystem::weakly_canonical(fileSystemPath(path), error);
    if (error)
        return std::nullopt;
    return result;
}

// A sound image of a package must lie inside the package's folder: a name that climbs
// out of it, an absolute path, or a link that leads elsewhere would let a later export
// copy files from anywhere.
bool staysInPackage(const QString &folder, QStringView file)
{
    if (file.isEmpty() || QDir::isAbsolutePath(file.toString()))
        return false;
    const QString path = folder + file.toString();
    const QFileInfo info(path);
    // A link whose target is missing names no file, wherever it points.
    if (info.isSymLink() && !info.exists())
        return false;
    const auto realFolder = resolved(QDir::cleanPath(folder));
    const auto realPath = resolved(path);
    return realFolder && realPath && isWithin(*realPath, *realFolder);
}

QString folderOf(const QString &file)
{
    return file.left(lastSeparatorIndex(file) + 1);
}

// The file's text for a check that comes before the real reading, which reports what
// cannot be read; the empty text then.
QString quietlyRead(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return FileShell::decode(in.readAll());
}

// True when the file already holds exactly these bytes.
bool fileHolds(const QString &file, const QByteArray &bytes)
{
    const QFileInfo info(file);
    if (!info.isFile() || info.size() != bytes.size())
        return false;
    QFile existing(file);
    return existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes;
}

// The bytes of a data file that holds the text: the text and one more CR LF.
QByteArray fileBytes(const QString &text)
{
    QByteArray bytes = FileShell::encode(text);
    bytes += FileShell::encode(lineEnd);
    return bytes;
}

// The lines of the text, without the empty lines at its end.
QList<QStringView> contentLines(QStringView text)
{
    QList<QStringView> lines = splitLines(text);
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// True when both texts hold the same lines, whichever line ends they use.
bool sameLines(QStringView a, QStringView b)
{
    return contentLines(a) == contentLines(b);
}

// The files of an export package, each written beside its place first, so that the
// package keeps what it held until all of them are written.
class PackageFiles {
public:
    // False when the file could not be written; a file that already holds the bytes
    // is left alone.
    bool stage(const QString &target, const QByteArray &bytes)
    {
        if (fileHolds(target, bytes))
            return true;
        const bool isNew = !QFileInfo::exists(target);
        auto file = std::make_unique<QSaveFile>(target);
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size() || !file->flush())
            return false;
        m_staged.push_back(Staged{std::move(file), isNew});
        return true;
    }

    bool stageCopy(const QString &source, const QString &target)
    {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = in.readAll();
        return in.error() == QFileDevice::NoError && stage(target, bytes);
    }

    // Puts every staged file in its place; false when one could not take it.
    bool commit()
    {
        for (Staged &staged : m_staged) {
            if (!staged.file->commit())
                return false;
            m_committed.push_back(staged.isNew ? staged.file->fileName() : QString());
        }
        return true;
    }

    // Discards the files not committed and removes those that commit() put where no
    // file was before.
    void takeBack()
    {
        m_staged.clear();
        for (const QString &file : m_committed) {
            if (!file.isEmpty())
                QFile::remove(file);
        }
        m_committed.clear();
    }

private:
    struct Staged {
        std::unique_ptr<QSaveFile> file;
        bool isNew;
    };
    std::vector<Staged> m_staged;
    QStringList m_committed;
};

void showError(const RuntimeError &error)
{
    msgBox(error.description());
}

} // namespace

void deleteLoadListFile(const QString &strName)
{
    const QString file = dataFile(strName);
    if (regularFileExists(file))
        QFile::remove(file);
}

bool isSameLoadListFile(const QString &strName1, const QString &strName2)
{
    std::error_code error;
    return std::filesystem::equivalent(fileSystemPath(dataFile(strName1)), fileSystemPath(dataFile(strName2)), error);
}

FolderState ensureFolder(const QString &strPath)
{
    if (QFileInfo(strPath).isDir())
        return FolderState::Existing;
    if (QDir().mkdir(strPath))
        return FolderState::Created;
    if (!QFileInfo(QFileInfo(strPath).absolutePath()).isDir())
        showError(RuntimeError(ErrorNumber::PathNotFound));
    return FolderState::Missing;
}

bool saveToFile(const IPersistToFile &obj, const QString &strName)
{
    return writeFile(entryLines(obj, Entries::DataFile), dataFile(strName.isEmpty() ? obj.name() : strName));
}

bool differsFromFile(const IPersistToFile &obj)
{
    const QString file = dataFile(obj.name());
    const QString text = entryLines(obj, Entries::DataFile);
    if (fileHolds(file, fileBytes(text)))
        return false;
    if (!regularFileExists(file))
        return true;
    // A file that another tool left with LF or lone CR line ends, or with a line that
    // reads as Latin-1, reads back as what saving would write: it holds no unsaved edit.
    return !sameLines(quietlyRead(file), text);
}

bool fileNotExist(const QString &strFile)
{
    const QFileInfo info(strFile);
    return !info.isFile() || info.isHidden();
}

void loadFromFile(IPersistToFile &obj, const QString &strFile)
{
    QString file = strFile;
    QString folder;
    if (strFile.isEmpty()) {
        file = dataFile(obj.name());
        if (obj.name() == libraryFileBaseName() && fileNotExist(file))
            return;
    } else {
        folder = folderOf(strFile);
    }
    const QString text = readFile(file, 0);
    for (const QStringView line : splitLines(text)) {
        const std::optional<Entry> entry = parseEntry(line);
        if (!entry || !acceptsIndex(obj, entry->index))
            continue;
        if (!strFile.isEmpty() && !staysInPackage(folder, entry->file))
            continue;
        obj.addModel(entry->index, newModel(entry->tag, entry->name.toString(), folder + entry->file.toString()));
    }
}

std::optional<PackageFault> packageFault(const QString &strFile)
{
    const QString folder = folderOf(strFile);
    const QString text = quietlyRead(strFile);
    for (const QStringView line : splitLines(text)) {
        const std::optional<Entry> entry = parseEntry(line);
        if (!entry)
            continue;
        if (!staysInPackage(folder, entry->file))
            return PackageFault{PackageFault::Kind::Outside, entry->file.toString()};
        if (!regularFileExists(folder + entry->file.toString()))
            return PackageFault{PackageFault::Kind::Missing, entry->file.toString()};
    }
    return std::nullopt;
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.sliced(start));
    return lines;
}

namespace {

QString &writeFailure()
{
    static QString reason;
    return reason;
}

} // namespace

bool writeFile(const QString &strText, const QString &strFile)
{
    try {
        // Saving every list rewrites many files that have not changed; leaving those
        // alone spares the disk a forced write for each.
        const QByteArray bytes = fileBytes(strText);
        if (fileHolds(strFile, bytes))
            return false;
        const FileShellPtr shell = newFileShell(strFile, FileShell::WriteText);
        shell->writeBytes(bytes);
        shell->closeFile();
        return false;
    } catch (const RuntimeError &error) {
        // The file shell has told the user why the file could not be opened; a
        // failed write or replace leaves the old file, and the caller reports it.
        if (error.number() != ErrorNumber::BadFileNumber)
            writeFailure() = error.description();
        return true;
    }
}

QString lastWriteFailure()
{
    return writeFailure();
}

void forgetWriteFailure()
{
    writeFailure().clear();
}

QString readFile(const QString &strFile, int chars)
{
    try {
        const FileShellPtr shell = newFileShell(strFile, FileShell::ReadText);
        return shell->readText(chars);
    } catch (const RuntimeError &error) {
        showError(error);
        return {};
    }
}

bool writePackage(const IPersistToFile &obj, const QString &strDest, const QString &strExportFile, bool folderIsNew)
{
    PackageFiles package;
    QSet<QString> copied;
    bool written = true;
    for (int i = 0; i < obj.count() && written; ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model)
            continue;
        if (!regularFileExists(model->path())) {
            msgBox(QStringLiteral("File: ") + model->path() + QStringLiteral(" does not exist") + lineEnd
                   + QStringLiteral("File will not be added to exported list"));
            continue;
        }
        // Records whose files share a file name share the first one's copy.
        const QString name = getFileName(model->path());
        if (copied.contains(name))
            continue;
        copied.insert(name);
        written = package.stageCopy(model->path(), strDest + name);
    }
    written = written && package.stage(strDest + strExportFile, fileBytes(entryLines(obj, Entries::ExportFile)));
    if (written && package.commit())
        return false;
    package.takeBack();
    if (folderIsNew) {
        QString folder = strDest;
        removeFolder(folder);
    }
    msgBox(QStringLiteral("Your Load List cannot be copied") + lineEnd + QStringLiteral("Please try again"),
           Buttons::Ok, Icon::Information, QStringLiteral("Error Copying Files"));
    return true;
}

bool writeExportFile(const IPersistToFile &obj, const QString &strFile)
{
    return writeFile(entryLines(obj, Entries::ExportFile), strFile);
}

void removeFolder(QString &strPath)
{
    if (!strPath.isEmpty() && isPathSeparator(strPath.back()))
        strPath.chop(1);
    if (!QFileInfo(strPath).isDir())
        return;
    if (!QDir(strPath).removeRecursively())
        showError(RuntimeError(ErrorNumber::PathFileAccess));
}

bool saveListOfLoadLists(const LoadLists &lists)
{
    return writeFile(lists.toString(), listOfLoadListsFile());
}

void loadListOfLoadLists(LoadLists &lists)
{
    const QString file = listOfLoadListsFile();
    if (fileNotExist(file))
        return;
    const QString text = readFile(file, 0);
    for (const QStringView piece : splitLines(text)) {
        QString name = piece.toString();
        if (name.isEmpty() || fileNotExist(dataFile(name)))
            continue;
        const LoadListPtr list = newLoadList(name);
        // A name that the name rules refuse would give a list without a name and
        // without a file of its own.
        if (!list->name().isEmpty())
            lists.addLoadList(list);
    }
}

} // namespace kivo
