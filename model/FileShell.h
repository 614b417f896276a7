#pragma once

#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <optional>

class QFileDevice;

namespace kivo {

// One open file of the data folder, closed when the object goes. Text is UTF-8 on
// disk; in a line whose bytes are not valid UTF-8, each TAB-separated field that is not
// reads as Latin-1, byte for byte. A file that begins with a UTF-16 byte order mark
// reads as UTF-16; a byte after its last whole unit reads as the replacement character
// on a line of its own.
// A file opened for writing replaces the old one only when closeFile succeeds: until
// then the new content lives in a temporary file beside it, and destroying the object
// without closeFile discards it, leaving the previous file whole.
class FileShell {
public:
    enum Mode : int { ReadText = 0, WriteText = 1, AppendText = 2, Binary = 4 };

    // One line of a file, without its line break. A line that is not UTF-8 keeps its
    // bytes, as its Latin-1 fields stand for bytes that no text gives back; they are
    // empty for every other line.
    struct Line {
        QString text;
        QByteArray legacyBytes;
    };

    FileShell();
    FileShell(const FileShell &) = delete;
    FileShell &operator=(const FileShell &) = delete;
    ~FileShell();

    // 0 when no file is open.
    int handle() const noexcept { return m_handle; }
    // The path of the last successful open; empty before.
    const QString &fileName() const noexcept { return m_fileName; }

    void init(const QString &fileName, int mode = ReadText);
    // A file that cannot be opened is reported to the user here and leaves the
    // object without an open file; nothing is thrown.
    void openFile(const QString &fileName, int mode = ReadText);
    // Why the last open failed, as the user was told; nullopt after one that succeeded.
    const std::optional<RuntimeError> &openFailure() const noexcept { return m_openFailure; }
    // Throws RuntimeError when the new content of a file opened for writing cannot
    // be put in place; the file counts as closed all the same.
    void closeFile();

    // These throw RuntimeError (BadFileNumber) when no file is open.
    // chars below 1 reads the whole file.
    QString readText(int chars = 0);
    // The whole file, line by line.
    QList<Line> readLines();
    void writeText(const QString &text);
    void writeBytes(const QByteArray &bytes);

    // The bytes that writeText puts on disk for the text.
    static QByteArray encode(const QString &text);
    // The text that readText gives for the bytes.
    static QString decode(const QByteArray &bytes);
    // The lines that readLines gives for the bytes.
    static QList<Line> decodeLines(const QByteArray &bytes);
    // Writes a file whole, replacing what was there only once all is written, and
    // tells nobody: the description of what failed, nullopt when the file is written.
    static std::optional<QString> writeWhole(const QString &fileName, const QByteArray &bytes);

private:
    QByteArray readAll();
    void discard() noexcept;

    std::unique_ptr<QFileDevice> m_file;
    int m_handle = 0;
    QString m_fileName;
    std::optional<RuntimeError> m_openFailure;
};

using FileShellPtr = std::unique_ptr<FileShell>;

// The lines of a text or of its bytes: CR LF ends a line, and so does a CR or LF alone,
// as other tools leave them. What follows the last line break is a line too.
template <typename View>
QList<View> splitLineViews(View text)
{
    using Char = std::remove_const_t<typename View::value_type>;
    // Where the next CR and the next LF lie, or the text's size when none does: a
    // search for each, which a large file takes far faster than a look at every
    // character.
    const auto next = [text](char16_t c, qsizetype from) {
        const qsizetype found = text.indexOf(Char(c), from);
        return found < 0 ? text.size() : found;
    };
    QList<View> lines;
    qsizetype cr = next(u'\r', 0);
    qsizetype lf = next(u'\n', 0);
    qsizetype start = 0;
    for (qsizetype end = std::min(cr, lf); end < text.size(); end = std::min(cr, lf)) {
        lines.append(text.sliced(start, end - start));
        const bool crLf = end == cr && lf == end + 1 && lf < text.size();
        start = end + (crLf ? 2 : 1);
        if (cr < start)
            cr = next(u'\r', start);
        if (lf < start)
            lf = next(u'\n', start);
    }
    lines.append(text.sliced(start));
    return lines;
}

} // namespace kivo
