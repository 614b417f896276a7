#include "FileProxy.h"

#include "Factory.h"
#include "FileShell.h"
#include "Global.h"
#include "LoadList.h"
#include "LoadLists.h"
#include "NumberParsing.h"
#include "UnreadLines.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryFile>

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

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

// The name of the record's file, as the bytes that name it on disk.
QByteArray fileNameBytes(const Model &record)
{
    const QByteArray &bytes = record.pathBytes();
    if (bytes.isEmpty())
        return FileShell::encode(getFileName(record.path()));
    return bytes.mid(bytes.lastIndexOf('/') + 1);
}

// The entry lines of every record of obj, by position, for the records that include
// takes, each ending in the file field that putFile writes.
template <typename Include, typename PutFile>
QByteArray entryLines(const IPersistToFile &obj, Include include, PutFile putFile)
{
    EntryBytes content(obj.count() * 112);
    for (int i = 0; i < obj.count(); ++i) {
        const ModelPtr model = obj.getModel(i);
        if (!model || !include(i, *model))
            continue;
        content.putNumber(i);
        content.put('\t');
        content.putNumber(model->tag());
        content.put('\t');
        content.putText(model->name());
        content.put('\t');
        putFile(i, *model, content);
        content.put(lineBreakBytes);
    }
    return std::move(content).take();
}

QByteArray dataFileLines(const IPersistToFile &obj)
{
    return entryLines(
        obj, [](int, const Model &) { return true; },
        [](int, const Model &record, EntryBytes &content) {
            // The path field keeps the bytes that the record's data file held, where no
            // text gives them back.
            if (record.pathBytes().isEmpty())
                content.putText(record.path());
            else
                content.put(record.pathBytes());
        });
}

// The names of the sound image copies in an export package. Two names that read as
// one text, whatever the case of their letters, name one file on many file systems
// and on the computer that the package is taken to: a copy whose name would meet one
// already taken gets a name of its own.
class CopyNames {
public:
    explicit CopyNames(const QString &exportFile) { m_taken.insert(keyOf(FileShell::encode(exportFile))); }

    // The name of the record's copy: its own file's name when no other copy has it.
    QByteArray take(const Model &record)
    {
        const QByteArray source = record.encodedPath();
        if (const auto found = m_bySource.constFind(source); found != m_bySource.cend())
            return found.value();
        const QByteArray original = fileNameBytes(record);
        QByteArray name = original;
        for (int n = 2; m_taken.contains(keyOf(name)); ++n)
            name = numbered(original, n);
        m_taken.insert(keyOf(name));
        m_bySource.insert(source, name);
        return name;
    }

private:
    // A name holds no more bytes than the file system's longest file name.
    static constexpr qsizetype longestName = 255;

    // The text that an import reads for the name.
    static QString keyOf(const QByteArray &name)
    {
        const QString text = QString::fromUtf8(name);
        const QString read = text.toUtf8() == name ? text : QString::fromLatin1(name);
        return read.normalized(QString::NormalizationForm_C).toCaseFolded();
    }

    // The name with " (n)" before its extension, its stem shortened by whole
    // characters where the whole would be too long.
    static QByteArray numbered(const QByteArray &name, int n)
    {
        const qsizetype dot = name.lastIndexOf('.');
        const qsizetype stemEnd = dot > 0 ? dot : name.size();
        QByteArray stem = name.left(stemEnd);
        const QByteArray rest = " (" + QByteArray::number(n) + ')' + name.mid(stemEnd);
        while (!stem.isEmpty() && stem.size() + rest.size() > longestName) {
            while (stem.size() > 1 && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80)
                stem.chop(1);
            stem.chop(1);
        }
        return stem + rest;
    }

    QSet<QString> m_taken;
    QHash<QByteArray, QByteArray> m_bySource;
};

QString renamedCopiesText(const QStringList &renamed)
{
    return QStringLiteral("These Sound Image files have the file name of another file of the list, so their copies "
                          "in the package have names of their own:")
        + lineBreak() + renamed.join(lineBreak());
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

// A file of an export package, named by the bytes of its name where no text names it.
std::filesystem::path packagePath(const QString &folder, const QByteArray &name)
{
    const QString text = QString::fromUtf8(name);
    if (text.toUtf8() == name)
        return fileSystemPath(folder + text);
    return std::filesystem::path((QFile::encodeName(folder) + name).toStdString());
}

// True when the file already holds exactly these bytes.
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

// The files of an export package, each written beside its place first, so that the
// package keeps what it held until all of them are written. A file that takes the
// place of an older one keeps that one aside until every file has its place: a
// failure on the way puts each older file back and removes the new ones.
class PackageFiles {
public:
    explicit PackageFiles(QString folder) : m_folder(std::move(folder)) {}
    PackageFiles(const PackageFiles &) = delete;
    PackageFiles &operator=(const PackageFiles &) = delete;
    ~PackageFiles()
    {
        for (const std::filesystem::path &file : m_temporary)
            removeQuietly(file);
    }

    // False when the file could not be written; a file that already holds the bytes
    // is left alone.
    bool stage(const QByteArray &name, const QByteArray &bytes)
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

    bool stageCopy(const Model &record, const QByteArray &name)
    {
        const std::optional<QByteArray> bytes = recordFileBytes(record);
        return bytes && stage(name, *bytes);
    }

    // Puts every staged file in its place; false when one could not take it.
    bool commit()
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

    // Discards the files not committed, puts back the files that commit() replaced
    // and removes those that it put where no file was before.
    void takeBack()
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

private:
    struct Staged {
        std::filesystem::path written;
        std::filesystem::path target;
    };
    struct Placed {
        std::filesystem::path target;
        // Where the file that it replaced is kept until the package is whole.
        std::optional<std::filesystem::path> earlier;
    };

    static void removeQuietly(const std::filesystem::path &file)
    {
        std::error_code error;
        std::filesystem::remove(file, error);
    }

    // A new empty file of a name of its own in the package's folder, removed again
    // with this object when it is still there.
    std::optional<std::filesystem::path> temporaryFile(std::unique_ptr<QTemporaryFile> &file)
    {
        file = std::make_unique<QTemporaryFile>(m_folder + QStringLiteral(".kivo-XXXXXX"));
        file->setAutoRemove(false);
        if (!file->open())
            return std::nullopt;
        m_temporary.push_back(fileSystemPath(file->fileName()));
        return m_temporary.back();
    }

    std::optional<std::filesystem::path> writeTemporary(const QByteArray &bytes)
    {
        std::unique_ptr<QTemporaryFile> file;
        const std::optional<std::filesystem::path> path = temporaryFile(file);
        if (!path || file->write(bytes) != bytes.size() || !file->flush() || !syncToDisk(*file))
            return std::nullopt;
        file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                             | QFileDevice::ReadOther);
        return path;
    }

    // A second name for the file, or failing that a copy of it; none when neither
    // can be made.
    std::optional<std::filesystem::path> keepAside(const std::filesystem::path &file)
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

    bool place(const Staged &staged)
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

    QString m_folder;
    std::vector<Staged> m_staged;
    std::vector<Placed> m_placed;
    std::vector<std::filesystem::path> m_temporary;
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
    return writeContent(dataFileLines(obj), dataFile(strName.isEmpty() ? obj.name() : strName));
}

bool differsFromFile(const IPersistToFile &obj)
{
    const QString file = dataFile(obj.name());
    const QByteArray content = dataFileLines(obj);
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
        if (!strFile.isEmpty() && (!staysInPackage(folder, entry->file, *record) || obj.getModel(entry->index)))
            continue;
        obj.addModel(entry->index, record);
        if (!isBlank(line.text))
            taken.push_back(record);
    }
    if (!strFile.isEmpty())
        return;
    const bool unread = passedOver || anyLeftOut(obj, taken);
    noteUnreadLines(file, unread, unread ? dataFileLines(obj) : QByteArray());
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
