#pragma once

#include <cstdlib>

namespace kivo::bench {

// True when the environment variable KIVO_BENCH_SMOKE is set (to anything but
// empty): the test suite then runs the benchmark once, in one short round of
// each part, to show that it still runs to its end. Its figures then measure
// nothing; nothing is timed or asserted about speed.
inline bool smokeRun()
{
    const char *value = std::getenv("KIVO_BENCH_SMOKE");
    return value != nullptr && *value != '\0';
}

} // namespace kivo::bench
