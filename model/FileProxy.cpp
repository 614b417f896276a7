#include "FileProxy.h"

#include "DataFileFormat.h"
#include "DiskFiles.h"
#include "Factory.h"
#include "FileShell.h"
#include "Global.h"
#include "UnreadLines.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace kivo {

namespace {

// What read gives for the open file; when it cannot be read, the user is told why and
// the result is empty.
template <typename Read>
auto readWith(const QString &file, Read read) -> decltype(read(std::declval<FileShell &>()))
{
    try {
        const FileShellPtr shell = newFileShell(file, FileShell::ReadText);
        return read(*shell);
    } catch (const RuntimeError &error) {
        msgBox(error.description());
        return {};
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

QList<QStringView> splitLines(QStringView text)
{
    return splitLineViews(text);
}

QString readFile(const QString &strFile, int chars)
{
    return readWith(strFile, [chars](FileShell &shell) { return shell.readText(chars); });
}

} // namespace kivo
