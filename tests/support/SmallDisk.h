#pragma once

#include <QString>

namespace kivo::test {

// While it lives, a small file system of its own (a tmpfs, which needs root on Linux)
// lies over the folder, hiding what the folder held; fill() leaves no room on it, as
// on a full disk. Unmounted afterwards, with all that was written to it.
class SmallDisk {
public:
    SmallDisk(const QString &folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    // False when the file system could not be mounted here; a test then cannot use it.
    bool isMounted() const noexcept { return m_mounted; }
    // Writes a file that takes up all the room left; false when the disk did not fill.
    bool fill() const;

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace kivo::test
