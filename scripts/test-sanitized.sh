#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $KIVO_SANITIZE_BUILD_DIR) and runs every test there through
# CTest. Any sanitizer report, a leak included, fails its test and the run.
# Expects the packages of scripts/install-deps.sh to be installed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_SANITIZE_BUILD_DIR:-$here/build-sanitize}
KIVO_BUILD_DIR="$build_dir" "$here/scripts/build.sh" -DKIVO_SANITIZE=ON -DKIVO_BUILD_BENCHMARKS=OFF

# The installation test preloads a probe library into the installed program, which
# puts the probe ahead of the ASan runtime in the list of libraries; the probe is
# instrumented and replaces nothing that ASan intercepts, so that order is safe.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:verify_asan_link_order=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$here/tests/sanitizers/lsan.supp:print_suppressions=0"
cd "$build_dir"
# Every test of the tree, whatever its label: the instrumented code runs a few
# times slower, hence the longer time limit.
ctest --output-on-failure --parallel "${CTEST_PARALLEL_LEVEL:-$(nproc)}" --timeout 1200 --no-tests=error
