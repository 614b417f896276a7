#!/usr/bin/env bash
# Runs the tests that send real MIDI (CTest label "jack") again and again while
# busy processes load every core, and reports how many runs passed.
#   scripts/jack-soak.sh [runs] [busy processes]     (defaults: 50 runs, 8 busy)
# Uses an existing build in build/ (or $KIVO_BUILD_DIR); the log of each failed
# run is kept in the folder the summary names.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
runs=${1:-50}
busy=${2:-8}

if [ ! -f "$build_dir/CTestTestfile.cmake" ]; then
  echo "No build in $build_dir: run scripts/build.sh first." >&2
  exit 2
fi

logs=$(mktemp -d "${TMPDIR:-/tmp}/jack-soak.XXXXXX")
loaders=()
stop_loaders() {
  if [ ${#loaders[@]} -gt 0 ]; then
    kill "${loaders[@]}" 2>/dev/null || true
    wait "${loaders[@]}" 2>/dev/null || true
    loaders=()
  fi
}
trap stop_loaders EXIT
trap 'exit 130' INT TERM

for ((i = 0; i < busy; ++i)); do
  yes >/dev/null &
  loaders+=($!)
done

passed=0
failed=0
start=$(date +%s)
for ((run = 1; run <= runs; ++run)); do
  log="$logs/run-$run.log"
  if (cd "$build_dir" && ctest -L jack --output-on-failure) >"$log" 2>&1; then
    passed=$((passed + 1))
    rm -f "$log"
    echo "run $run: passed"
  else
    failed=$((failed + 1))
    echo "run $run: FAILED ($(grep -E '^[[:space:]]*[0-9]+ - ' "$log" | sed 's/^[[:space:]]*//' | tr '\n' ' '))"
  fi
done
duration=$(($(date +%s) - start))
stop_loaders

echo "runs: $runs, passed: $passed, failed: $failed, busy processes: $busy, duration: $((duration / 60)) min $((duration % 60)) s"
if [ "$failed" -gt 0 ]; then
  echo "logs of the failed runs: $logs"
  exit 1
fi
rmdir "$logs"
