#pragma once

#include <QString>

namespace kivo::test {

// While it lives, the file is a mount point of itself: it reads as before, but the
// system refuses (EBUSY) to rename another file over it or to remove it, as it does
// for a file that it holds. Making it takes the right to mount (root on Linux).
class BusyFile {
public:
    explicit BusyFile(QString path);
    ~BusyFile();
    BusyFile(const BusyFile &) = delete;
    BusyFile &operator=(const BusyFile &) = delete;

    // False when the file could not be made busy.
    bool isBusy() const noexcept { return m_busy; }

private:
    QString m_path;
    bool m_busy = false;
};

} // namespace kivo::test
