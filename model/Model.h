#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace kivo {

// One sound image: its tag, its name (the library key) and the path of its file.
// Set once by init; shared between the library and load lists as ModelPtr.
class Model {
public:
    // pathBytes: the bytes of the path as a data file held them, when they are not
    // UTF-8 and strPath reads them as Latin-1; empty otherwise.
    void init(qint32 lngTag, const QString &strName, const QString &strPath, const QByteArray &pathBytes = {});

    const QString &path() const noexcept { return m_path; }
    const QString &name() const noexcept { return m_name; }
    qint32 tag() const noexcept { return m_tag; }
    // The bytes that name the file on disk, where the path text cannot: written back
    // to the data files as they are. Empty when the path is plain text.
    const QByteArray &pathBytes() const noexcept { return m_pathBytes; }
    // The path as the file system and kivotools take it: pathBytes, or else the path
    // in the file system's encoding.
    QByteArray encodedPath() const;

private:
    qint32 m_tag = 0;
    QString m_name;
    QString m_path;
    QByteArray m_pathBytes;
};

using ModelPtr = std::shared_ptr<const Model>;

} // namespace kivo
