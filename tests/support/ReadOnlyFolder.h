#pragma once

#include <QFileDevice>
#include <QString>

namespace kivo::test {

// While it lives, no entry can be created, replaced or removed in the folder, for any
// user: its write permissions are taken away and, where the process may do so (as
// root, whom permissions do not stop), it is marked immutable as well. Everything is
// restored afterwards.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False when the folder could still be written to; a test then cannot use it.
    bool isReadOnly() const;

private:
    bool setImmutable(bool on) const;

    QString m_folder;
    QFileDevice::Permissions m_permissions;
    bool m_immutable = false;
};

} // namespace kivo::test
