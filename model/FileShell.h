#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFileDevice;

namespace kivo {

// One open file of the data folder, closed when the object goes. Text is UTF-8 on
// disk; a line whose bytes are not valid UTF-8 reads as Latin-1, byte for byte, and a
// file that begins with a UTF-16 byte order mark reads as UTF-16.
// A file opened for writing replaces the old one only when closeFile succeeds: until
// then the new content lives in a temporary file beside it, and destroying the object
// without closeFile discards it, leaving the previous file whole.
class FileShell {
public:
    enum Mode : int { ReadText = 0, WriteText = 1, AppendText = 2, Binary = 4 };

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
    // Throws RuntimeError when the new content of a file opened for writing cannot
    // be put in place; the file counts as closed all the same.
    void closeFile();

    // Both throw RuntimeError (BadFileNumber) when no file is open.
    // chars below 1 reads the whole file.
    QString readText(int chars = 0);
    void writeText(const QString &text);
    void writeBytes(const QByteArray &bytes);

    // The bytes that writeText puts on disk for the text.
    static QByteArray encode(const QString &text);
    // The text that readText gives for the bytes.
    static QString decode(const QByteArray &bytes);

private:
    void discard() noexcept;

    std::unique_ptr<QFileDevice> m_file;
    int m_handle = 0;
    QString m_fileName;
};

using FileShellPtr = std::unique_ptr<FileShell>;

} // namespace kivo
