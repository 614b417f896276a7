#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kivo::test {

// A temporary data folder for the program's files while it lives; the previous data
// folder comes back afterwards.
class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder &) = delete;
    TempDataFolder &operator=(const TempDataFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    // The folder, ending with the separator, as the data path holds it.
    QString path() const;
    // path() followed by a relative name.
    QString filePath(const QString &name) const;

    QByteArray readBytes(const QString &name) const;
    // Writes the bytes, creating the folders on the way; false when that failed.
    bool writeBytes(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

} // namespace kivo::test
