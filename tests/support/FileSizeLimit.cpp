#include "FileSizeLimit.h"

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace kivo::test {

#ifdef Q_OS_UNIX
FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &m_old);
    // A write past the limit then fails with an error instead of ending the process.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}
#endif

} // namespace kivo::test
