#include "FileShell.h"

#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QtEndian>

#include <cerrno>
#include <optional>
#include <set>
#include <system_error>

namespace kivo {

namespace {

// File numbers in use, so that each open file has its own, the lowest free one.
std::set<int> &handlesInUse()
{
    static std::set<int> handles;
    return handles;
}

int takeHandle()
{
    auto &handles = handlesInUse();
    int number = 1;
    while (handles.contains(number))
        ++number;
    handles.insert(number);
    return number;
}

void releaseHandle(int number)
{
    handlesInUse().erase(number);
}

bool parentFolderExists(const QString &fileName)
{
    return QFileInfo(QFileInfo(fileName).absolutePath()).isDir();
}

// The error that the platform gives for a file that cannot be opened.
RuntimeError openError(const QString &fileName, bool forReading)
{
    if (fileName.isEmpty())
        return RuntimeError(ErrorNumber::BadFileNumber);
    const QFileInfo info(fileName);
    if (!parentFolderExists(fileName))
        return RuntimeError(ErrorNumber::PathNotFound);
    if (forReading && !info.exists())
        return RuntimeError(ErrorNumber::FileNotFound);
    // The data folder is there and takes files: a folder has the file's name.
    if (info.isDir())
        return RuntimeError(ErrorNumber::Other, QString::fromStdString(std::generic_category().message(EISDIR)));
    return RuntimeError(ErrorNumber::PathFileAccess);
}

std::unique_ptr<QFileDevice> openDevice(const QString &fileName, int mode)
{
    std::unique_ptr<QFileDevice> file;
    QIODevice::OpenMode openMode;
    switch (mode) {
    case FileShell::WriteText:
        file = std::make_unique<QSaveFile>(fileName);
        // Unbuffered: a data file is written in one piece, and a short write shows at once.
        openMode = QIODevice::WriteOnly | QIODevice::Unbuffered;
        break;
    case FileShell::AppendText:
        file = std::make_unique<QFile>(fileName);
        openMode = QIODevice::WriteOnly | QIODevice::Append;
        break;
    case FileShell::Binary:
        file = std::make_unique<QFile>(fileName);
        openMode = QIODevice::ReadWrite;
        break;
    default:
        file = std::make_unique<QFile>(fileName);
        openMode = QIODevice::ReadOnly;
        break;
    }
    if (fileName.isEmpty() || QFileInfo(fileName).isDir() || !file->open(openMode))
        throw openError(fileName, openMode == QIODevice::ReadOnly);
    return file;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes, QStringDecoder::Flags flags)
{
    QStringDecoder utf8(QStringDecoder::Utf8, flags | QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

// The text of a file that begins with a UTF-16 byte order mark, as some editors save
// text; nullopt for any other file and for one whose units are no proper UTF-16. A byte
// left after the last whole unit, as when the file was cut short, is half a character
// that nothing gives back: it reads as the replacement character on a line of its own,
// which no reading takes, so that the lines before it keep their text.
std::optional<QString> decodeUtf16(QByteArrayView bytes)
{
    const bool littleEndian = bytes.startsWith("\xff\xfe");
    if (!littleEndian && !bytes.startsWith("\xfe\xff"))
        return std::nullopt;
    const QByteArrayView units = bytes.sliced(2);
    QString text(units.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char *unit = units.data() + 2 * i;
        text[i] = QChar(littleEndian ? qFromLittleEndian<char16_t>(unit) : qFromBigEndian<char16_t>(unit));
    }
    if (!QStringView(text).isValidUtf16())
        return std::nullopt;
    if (units.size() % 2 != 0) {
        if (!text.isEmpty() && text.back() != u'\r' && text.back() != u'\n')
            text += u'\n';
        text += QChar(QChar::ReplacementCharacter);
    }
    return text;
}

// The length of the line that starts at start, its line break included.
qsizetype lineLength(QByteArrayView bytes, qsizetype start)
{
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    if (end < bytes.size())
        end += bytes.sliced(end).startsWith("\r\n") ? 2 : 1;
    return end - start;
}

QString decodeField(QByteArrayView field, QStringDecoder::Flags flags)
{
    std::optional<QString> utf8 = decodeUtf8(field, flags);
    return utf8 ? *utf8 : QString::fromLatin1(field);
}

// How one line of a file that is not UTF-16 reads. A line that is not UTF-8 reads
// field by field, as a data file's line may join a name in UTF-8 with a path whose
// bytes are in another encoding. Only the file's first line may begin with a byte
// order mark.
FileShell::Line decodeLine(QByteArrayView line, bool first)
{
    const auto flags = first ? QStringDecoder::Flag::Default : QStringDecoder::Flag::ConvertInitialBom;
    if (std::optional<QString> utf8 = decodeUtf8(line, flags))
        return {*utf8, {}};
    QString text;
    qsizetype start = 0;
    for (qsizetype tab = line.indexOf('\t'); tab >= 0; tab = line.indexOf('\t', start)) {
        text += decodeField(line.sliced(start, tab - start), start == 0 ? flags : QStringDecoder::Flag::ConvertInitialBom);
        text += u'\t';
        start = tab + 1;
    }
    text += decodeField(line.sliced(start), start == 0 ? flags : QStringDecoder::Flag::ConvertInitialBom);
    return {text, line.toByteArray()};
}

} // namespace

// Line by line, so that a stray byte in one line leaves the others UTF-8. A field
// whose bytes are not UTF-8 reads as Latin-1; an initial byte order mark is skipped.
// A file with a UTF-16 byte order mark reads whole as UTF-16.
QString FileShell::decode(const QByteArray &bytes)
{
    if (std::optional<QString> utf16 = decodeUtf16(bytes))
        return *utf16;
    if (std::optional<QString> whole = decodeUtf8(bytes, QStringDecoder::Flag::Default))
        return *whole;
    QString text;
    text.reserve(bytes.size());
    for (qsizetype start = 0; start < bytes.size();) {
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, lineLength(bytes, start));
        text += decodeLine(line, start == 0).text;
        start += line.size();
    }
    return text;
}

QList<FileShell::Line> FileShell::decodeLines(const QByteArray &bytes)
{
    QList<Line> lines;
    // A file that is UTF-8 throughout, as the program writes it, reads in one piece:
    // its lines read alike, as no line break lies within a character.
    std::optional<QString> whole = decodeUtf16(bytes);
    if (!whole)
        whole = decodeUtf8(bytes, QStringDecoder::Flag::Default);
    if (whole) {
        for (const QStringView line : splitLineViews(QStringView(*whole)))
            lines.append({line.toString(), {}});
        return lines;
    }
    for (const QByteArrayView line : splitLineViews(QByteArrayView(bytes)))
        lines.append(decodeLine(line, lines.isEmpty()));
    return lines;
}

namespace {

// Why the device failed: its own description, or the system's where it has none, as
// when a commit cannot move the new content in place under the file's name.
QString failureOf(const QFileDevice &file, int systemError)
{
    const bool described = file.error() != QFileDevice::NoError && file.errorString() != QFile().errorString();
    return described || systemError == 0 ? file.errorString()
                                         : QString::fromStdString(std::generic_category().message(systemError));
}

RuntimeError deviceError(const QFileDevice &file, int systemError = 0)
{
    return RuntimeError(ErrorNumber::Other, failureOf(file, systemError));
}

} // namespace

FileShell::FileShell() = default;

FileShell::~FileShell()
{
    discard();
}

void FileShell::init(const QString &fileName, int mode)
{
    openFile(fileName, mode);
}

void FileShell::openFile(const QString &fileName, int mode)
{
    try {
        auto file = openDevice(fileName, mode);
        discard();
        m_file = std::move(file);
        m_handle = takeHandle();
        m_fileName = fileName;
        m_openFailure.reset();
    } catch (const RuntimeError &error) {
        m_openFailure = error;
        if (error.number() == ErrorNumber::PathFileAccess)
            msgBox(QStringLiteral("Kivo Rudovaz data path no longer exist"));
        else
            msgBox(error.description());
    }
}

void FileShell::closeFile()
{
    if (m_handle == 0)
        return;
    releaseHandle(m_handle);
    m_handle = 0;
    const std::unique_ptr<QFileDevice> file = std::move(m_file);
    if (auto *saveFile = dynamic_cast<QSaveFile *>(file.get())) {
        if (!saveFile->commit())
            throw deviceError(*saveFile, errno);
        return;
    }
    file->close();
}

QByteArray FileShell::readAll()
{
    if (m_handle == 0)
        throw RuntimeError(ErrorNumber::BadFileNumber);
    const QByteArray bytes = m_file->readAll();
    if (m_file->error() != QFileDevice::NoError)
        throw deviceError(*m_file);
    return bytes;
}

QString FileShell::readText(int chars)
{
    const QString text = decode(readAll());
    return chars >= 1 ? text.left(chars) : text;
}

QList<FileShell::Line> FileShell::readLines()
{
    return decodeLines(readAll());
}

void FileShell::writeText(const QString &text)
{
    writeBytes(encode(text));
}

void FileShell::writeBytes(const QByteArray &bytes)
{
    if (m_handle == 0)
        throw RuntimeError(ErrorNumber::BadFileNumber);
    // A write that stops short (at a file size limit, say) reports no error; the
    // next one for the rest gives the system's reason.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = m_file->write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            throw deviceError(*m_file);
        written += count;
    }
    // Flushing here makes a failed write an error: a commit would not report it.
    if (!m_file->flush())
        throw deviceError(*m_file);
}

std::optional<QString> FileShell::writeWhole(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    // Unbuffered, so that a short write shows in write's result: commit does not report it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A short write, as on a full disk, leaves no error of the file's own: the system's
    // says why.
    if (file.write(bytes) != bytes.size())
        return failureOf(file, errno);
    if (!file.commit())
        return failureOf(file, errno);
    return std::nullopt;
}

QByteArray FileShell::encode(const QString &text)
{
    return text.toUtf8();
}

void FileShell::discard() noexcept
{
    if (m_handle == 0)
        return;
    releaseHandle(m_handle);
    m_handle = 0;
    // A file being written is dropped, not committed: its writer did not finish.
    if (auto *saveFile = dynamic_cast<QSaveFile *>(m_file.get()))
        saveFile->cancelWriting();
    m_file.reset();
}

} // namespace kivo
