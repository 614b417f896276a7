#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $KIVO_FUZZ_BUILD_DIR)
# and runs each one for the given number of seconds (60 by default), starting
# from its seed corpus tests/fuzz/corpus/<name>/ (target fuzz_<name>). A crash,
# a sanitizer report or a failed check stops the run with an error; the input
# that caused it is kept in the build tree's artifacts/ folder, and
# `<build>/tests/fuzz/fuzz_<name> <that file>` replays it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build_dir=${KIVO_FUZZ_BUILD_DIR:-$here/build-fuzz}

CC=clang CXX=clang++ KIVO_BUILD_DIR="$build_dir" KIVO_BUILD_TARGETS=fuzzers "$here/scripts/build.sh" \
  -DKIVO_FUZZ=ON -DKIVO_BUILD_TESTS=OFF -DKIVO_BUILD_BENCHMARKS=OFF

# The targets write and read small files on every run: memory is far quicker than a disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build_dir/artifacts"
for seeds in "$here"/tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  target="$build_dir/tests/fuzz/fuzz_${name//-/_}"
  # New inputs go to the first folder, in the build tree; the seeds stay as they are.
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  echo "== fuzz_${name//-/_} for ${seconds} s"
  "$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$build_dir/artifacts/$name-" "$corpus" "$seeds"
done
