#pragma once

#include <QByteArray>

namespace kivo::test {

// A file named by the bytes that the file system keeps, which need be no text in its
// encoding: a name that another system left, such as "caf\xe9.tvs" on a UTF-8 system.
// Qt lists no such name, so a temporary folder that holds one could not be removed:
// the file goes again with the object.
class EncodedFile {
public:
    explicit EncodedFile(QByteArray encodedPath);
    ~EncodedFile();
    EncodedFile(const EncodedFile &) = delete;
    EncodedFile &operator=(const EncodedFile &) = delete;

    const QByteArray &path() const noexcept { return m_path; }
    // Each false when the file could not be made.
    bool write(const QByteArray &content) const;
    bool linkTo(const QByteArray &target) const;

private:
    QByteArray m_path;
};

} // namespace kivo::test
