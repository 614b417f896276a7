#include "FileProxy.h"

#include "Factory.h"
#include "FileShell.h"
#include "Global.h"
#include "LoadLists.h"
#include "NumberParsing.h"
#include "UnreadLines.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kivo {

namespace {

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

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Qt names files by text only, and no text names a file whose name is in another
// encoding than the file system's: a record that keeps the bytes of its path reaches
// its file through them.
std::filesystem::path fileSystemPath(const Model &record)
{
    if (record.pathBytes().isEmpty())
        return fileSystemPath(record.path());
    return std::filesystem::path(record.pathBytes().toStdString());
}

bool regularFileExists(const Model &record)
{
    if (record.pathBytes().isEmpty())
        return regularFileExists(record.path());
    std::error_code error;
    return std::filesystem::is_regular_file(fileSystemPath(record), error);
}

// The content of the record's file; none when it cannot be read whole.
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

// Builds the bytes of a data file in one buffer: a large library gives a file of a
// megabyte, written again at each add, and a piece-by-piece append costs more than
// the disk does.
class EntryBytes {
public:
    explicit EntryBytes(qsizetype expected) { m_bytes.resize(expected); }

    void put(char c) { *room(1) = c; ++m_used; }

    void put(QByteArrayView bytes)
    {
        std::copy(bytes.begin(), bytes.end(), room(bytes.size()));
        m_used += bytes.size();
    }

    void putNumber(qint64 number)
    {
        constexpr qsizetype longest = 20;
        char *const to = room(longest);
        m_used += std::to_chars(to, to + longest, number).ptr - to;
    }

    // The text as the data files hold it, UTF-8; most names and paths are plain ASCII,
    // which is copied without a conversion of its own.
    void putText(QStringView text)
    {
        const char16_t *const from = text.utf16();
        char *const to = room(text.size());
        qsizetype ascii = 0;
        for (; ascii < text.size() && from[ascii] < 0x80; ++ascii)
            to[ascii] = static_cast<char>(from[ascii]);
        m_used += ascii;
        if (ascii < text.size())
            put(text.sliced(ascii).toUtf8());
    }

    QByteArray take() &&
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
    char *room(qsizetype size)
    {
        if (m_used + size > m_bytes.size())
            m_bytes.resize(std::max(2 * m_bytes.size(), m_used + size));
        return m_bytes.data() + m_used;
    }

    QByteArray m_bytes;
    qsizetype m_used = 0;
};

// The entry lines of every record of obj, by position. An export names each file by
// its file name alone and leaves out records whose file is missing.
enum class Entries { DataFile, ExportFile };

QByteArray entryLines(const IPersistToFile &obj, Entries kind)
{
    const bool forExport = kind == Entries::ExportFile;
    EntryBytes content(obj.count() * 112);
    for (int i = 0; i < obj.count(); ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model)
            continue;
        if (forExport && !regularFileExists(*model))
            continue;
        content.putNumber(i);
        content.put('\t');
        content.putNumber(model->tag());
        content.put('\t');
        content.putText(model->name());
        content.put('\t');
        // The path field keeps the bytes that the record's data file held, where no
        // text gives them back.
        if (forExport)
            content.putText(getFileName(model->path()));
        else if (model->pathBytes().isEmpty())
            content.putText(model->path());
        else
            content.put(model->pathBytes());
        content.put(lineBreakBytes);
    }
    return std::move(content).take();
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
    // The bytes of the file field when they are not UTF-8 (the field reads them as
    // Latin-1); empty otherwise.
    QByteArray fileBytes;
};

// The four TAB-separated fields of an entry line; none for a line with another
// number of fields. Reading a large library takes this for every line, so it costs
// no list of its own.
std::optional<std::array<QStringView, 4>> entryFields(QStringView line)
{
    std::array<QStringView, 4> fields;
    qsizetype start = 0;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0)
            return std::nullopt;
        fields[i] = line.sliced(start, tab - start);
        start = tab + 1;
    }
    fields.back() = line.sliced(start);
    if (fields.back().contains(u'\t'))
        return std::nullopt;
    return fields;
}

std::optional<Entry> parseEntry(const FileShell::Line &line)
{
    // No name or path holds a NUL: such a line is binary, or text in another encoding.
    if (line.text.contains(QChar(u'\0')))
        return std::nullopt;
    const std::optional<std::array<QStringView, 4>> found = entryFields(line.text);
    if (!found)
        return std::nullopt;
    const std::array<QStringView, 4> &fields = *found;
    const auto index = roundToInteger<qint16>(numericValue(fields[0]));
    const auto tag = roundToInteger<qint32>(numericValue(fields[1]));
    if (!index || !tag)
        return std::nullopt;
    Entry entry{*index, *tag, fields[2], fields[3], {}};
    // The text has its TABs where the bytes have them, whichever way each field reads.
    if (!line.legacyBytes.isEmpty()) {
        const QByteArray bytes = line.legacyBytes.split('\t').at(3);
        if (bytes != FileShell::encode(entry.file.toString()))
            entry.fileBytes = bytes;
    }
    return entry;
}

// The record that an entry names, its file taken relative to folder.
ModelPtr recordOf(const Entry &entry, const QString &folder)
{
    const QByteArray pathBytes = entry.fileBytes.isEmpty() ? QByteArray() : QFile::encodeName(folder) + entry.fileBytes;
    return newModel(entry.tag, entry.name.toString(), folder + entry.file.toString(), pathBytes);
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

// A sound image of a package must lie inside the package's folder: a name that climbs
// out of it, an absolute path, or a link that leads elsewhere would let a later export
// copy files from anywhere.
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

// A line of nothing but white space holds nothing that could be lost.
bool isBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

// True when a record that a reading made is not in obj: refused as a second record of
// its name, or replaced by a later line for the same location.
bool anyLeftOut(const IPersistToFile &obj, const std::vector<ModelPtr> &records)
{
    std::unordered_set<const Model *> held;
    for (int i = 0; i < obj.count(); ++i) {
        if (const ModelPtr model = obj.getModel(i))
            held.insert(model.get());
    }
    return std::any_of(records.cbegin(), records.cend(),
                       [&held](const ModelPtr &record) { return !held.contains(record.get()); });
}

QString folderOf(const QString &file)
{
    return file.left(lastSeparatorIndex(file) + 1);
}

// The file's bytes for a check that comes before the real reading, which reports what
// cannot be read; none then.
QByteArray quietlyRead(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

// True when the file already holds exactly these bytes.
bool fileHolds(const QString &file, const QByteArray &bytes)
{
    const QFileInfo info(file);
    if (!info.isFile() || info.size() != bytes.size())
        return false;
    // Saving every list compares a thousand small files: a plain stream that asks for
    // one byte more than the file should hold costs the fewest calls to the system.
    std::ifstream existing(fileSystemPath(file), std::ios::binary);
    if (!existing)
        return false;
    QByteArray content(bytes.size() + 1, Qt::Uninitialized);
    existing.read(content.data(), content.size());
    return existing.gcount() == bytes.size() && QByteArrayView(content).first(bytes.size()) == bytes;
}

// The bytes of a data file with this content: the content and one more CR LF.
QByteArray fileBytes(QByteArray content)
{
    content.append(lineBreakBytes);
    return content;
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

    bool stageCopy(const Model &record, const QString &target)
    {
        const std::optional<QByteArray> bytes = recordFileBytes(record);
        return bytes && stage(target, *bytes);
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

// What read gives for the open file; when it cannot be read, the user is told why and
// the result is empty.
template <typename Read>
auto readWith(const QString &file, Read read) -> decltype(read(std::declval<FileShell &>()))
{
    try {
        const FileShellPtr shell = newFileShell(file, FileShell::ReadText);
        return read(*shell);
    } catch (const RuntimeError &error) {
        showError(error);
        return {};
    }
}

// Why the last write that failed did, as the system tells it.
QString &writeFailure()
{
    static QString reason;
    return reason;
}

// Replaces the file's content by the bytes and one more CR LF; true on failure.
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

} // namespace

void deleteLoadListFile(const QString &strName)
{
    const QString file = dataFile(strName);
    if (regularFileExists(file) && !keepUnreadLines(file))
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
    return writeContent(entryLines(obj, Entries::DataFile), dataFile(strName.isEmpty() ? obj.name() : strName));
}

bool differsFromFile(const IPersistToFile &obj)
{
    const QString file = dataFile(obj.name());
    const QByteArray content = entryLines(obj, Entries::DataFile);
    if (fileHolds(file, fileBytes(content)))
        return false;
    // Lines that the reading passed over are no edit: unless the unit changed since, it
    // holds all that could be read from its file.
    if (contentAsRead(file) == content)
        return false;
    if (!regularFileExists(file))
        return true;
    // A file that another tool left with LF or lone CR line ends, or with a line that
    // reads as Latin-1, reads back as what saving would write: it holds no unsaved edit.
    return !sameLines(FileShell::decode(quietlyRead(file)), FileShell::decode(content));
}

bool fileNotExist(const QString &strFile)
{
    const QFileInfo info(strFile);
    return !info.isFile() || info.isHidden();
}

bool fileNotExist(const Model &record)
{
    if (record.pathBytes().isEmpty())
        return fileNotExist(record.path());
    return !regularFileExists(record) || getFileName(record.path()).startsWith(u'.');
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
    bool passedOver = false;
    std::vector<ModelPtr> taken;
    for (const FileShell::Line &line : readWith(file, [](FileShell &shell) { return shell.readLines(); })) {
        const std::optional<Entry> entry = parseEntry(line);
        if (!entry || !acceptsIndex(obj, entry->index)) {
            passedOver = passedOver || !isBlank(line.text);
            continue;
        }
        const ModelPtr record = recordOf(*entry, folder);
        if (!strFile.isEmpty() && !staysInPackage(folder, entry->file, *record))
            continue;
        obj.addModel(entry->index, record);
        if (!isBlank(line.text))
            taken.push_back(record);
    }
    if (!strFile.isEmpty())
        return;
    const bool unread = passedOver || anyLeftOut(obj, taken);
    noteUnreadLines(file, unread, unread ? entryLines(obj, Entries::DataFile) : QByteArray());
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

QList<QStringView> splitLines(QStringView text)
{
    return splitLineViews(text);
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

QString readFile(const QString &strFile, int chars)
{
    return readWith(strFile, [chars](FileShell &shell) { return shell.readText(chars); });
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
        if (!regularFileExists(*model)) {
            msgBox(QStringLiteral("File: ") + model->path() + QStringLiteral(" does not exist") + lineBreak()
                   + QStringLiteral("File will not be added to exported list"));
            continue;
        }
        // Records whose files share a file name share the first one's copy.
        const QString name = getFileName(model->path());
        if (copied.contains(name))
            continue;
        copied.insert(name);
        written = package.stageCopy(*model, strDest + name);
    }
    written = written && package.stage(strDest + strExportFile, fileBytes(entryLines(obj, Entries::ExportFile)));
    if (written && package.commit())
        return false;
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
    return writeContent(entryLines(obj, Entries::ExportFile), strFile);
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
    bool passedOver = false;
    for (const QStringView piece : splitLines(text)) {
        QString name = piece.toString();
        const LoadListPtr list = newLoadList(name);
        // A name that the name rules refuse would give a list without a name and
        // without a file of its own.
        if (list->name().isEmpty()) {
            passedOver = passedOver || !isBlank(piece);
            continue;
        }
        // A list whose file has gone holds nothing more than its name.
        if (fileNotExist(dataFile(piece.toString())))
            continue;
        const int before = lists.getCount();
        lists.addLoadList(list);
        passedOver = passedOver || lists.getCount() == before;
    }
    noteUnreadLines(file, passedOver);
}

} // namespace kivo
