#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through CTest, as many at
# once as CTEST_PARALLEL_LEVEL says, or one per core when it is unset.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
# The build folder may be the one that scripts/run.sh built without them.
"$here/scripts/build.sh" -DKIVO_BUILD_TESTS=ON -DKIVO_BUILD_BENCHMARKS=ON
cd "$build_dir"
ctest --output-on-failure --parallel "${CTEST_PARALLEL_LEVEL:-$(nproc)}" --timeout 600
