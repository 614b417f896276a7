#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace kivo::test {

#ifdef Q_OS_UNIX
// While it lives, no file of this process may grow beyond the given size, which makes
// a longer write fail for every user, root included, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

} // namespace kivo::test
