#include "UnreadLines.h"

#include "FileShell.h"
#include "Global.h"
#include "UnreadLinesNotice.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <filesystem>
#include <optional>
#include <system_error>

namespace kivo {

namespace {

const QString keptExtension = QStringLiteral(".unread");

struct NotedFile {
    QString file;
    QByteArray contentAsRead;
};

QList<NotedFile> &filesWithUnreadLines()
{
    static QList<NotedFile> files;
    return files;
}

// Names that differ only in case, on a file system that ignores case, or another way
// into the same folder reach the same file.
bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                       std::filesystem::path(b.toStdU16String()), error);
}

qsizetype notedIndex(const QString &file)
{
    const QList<NotedFile> &files = filesWithUnreadLines();
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (sameFile(files.at(i).file, file))
            return i;
    }
    return -1;
}

QString numbered(const QString &fileName, int number)
{
    if (number == 1)
        return fileName + keptExtension;
    return fileName + u'.' + QString::number(number) + keptExtension;
}

void chopCharacter(QString &text)
{
    text.chop(text.size() >= 2 && text.back().isLowSurrogate() ? 2 : 1);
}

bool isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Copies the file whole or not at all; the description of what failed, nullopt when
// the copy is made.
std::optional<QString> copyFailure(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return source.errorString();
    return FileShell::writeWhole(to, bytes);
}

} // namespace

void noteUnreadLines(const QString &file, bool passedOverLines, const QByteArray &contentAsRead)
{
    const qsizetype noted = notedIndex(file);
    if (passedOverLines && noted < 0)
        filesWithUnreadLines().append(NotedFile{file, contentAsRead});
    else if (passedOverLines)
        filesWithUnreadLines()[noted].contentAsRead = contentAsRead;
    else if (noted >= 0)
        filesWithUnreadLines().removeAt(noted);
}

std::optional<QByteArray> contentAsRead(const QString &file)
{
    const qsizetype noted = notedIndex(file);
    if (noted < 0)
        return std::nullopt;
    return filesWithUnreadLines().at(noted).contentAsRead;
}

std::optional<QString> keepUnreadLines(const QString &file)
{
    const qsizetype noted = notedIndex(file);
    if (noted < 0)
        return std::nullopt;
    const QString original = filesWithUnreadLines().at(noted).file;
    // A file that has gone since it was read leaves nothing to keep.
    if (!QFileInfo(original).isFile()) {
        filesWithUnreadLines().removeAt(noted);
        return std::nullopt;
    }
    const QString kept = keptCopyName(original);
    const std::optional<QString> failure = copyFailure(original, kept);
    if (!failure)
        filesWithUnreadLines().removeAt(noted);
    UnreadLinesNotice::tell(original, kept, failure);
    return failure;
}

QString keptCopyName(const QString &file)
{
    const qsizetype nameStart = lastSeparatorIndex(file) + 1;
    const QString folder = file.left(nameStart);
    QString name = file.mid(nameStart);
    for (int number = 1;; ++number) {
        // A long name gives up characters at its end, so that the copy can be made.
        while (!fitsFileName(numbered(name, number), folder) && !name.isEmpty())
            chopCharacter(name);
        const QString candidate = folder + numbered(name, number);
        if (!isTaken(candidate))
            return candidate;
    }
}

} // namespace kivo
