#!/usr/bin/env bash
# Installs what the program needs, builds the program and its libraries (neither
# the tests nor the benchmarks, which scripts/test.sh builds), installs Kivo
# Rudovaz into install/ in the checkout (or into $KIVO_PREFIX) and starts the
# installed program with the arguments given.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
prefix=${KIVO_PREFIX:-$here/install}
"$here/scripts/install-deps.sh" program
"$here/scripts/build.sh" -DKIVO_BUILD_TESTS=OFF -DKIVO_BUILD_BENCHMARKS=OFF
cmake --install "$build_dir" --prefix "$prefix"
program="$prefix/bin/kivo-rudovaz"
if [ ! -x "$program" ]; then
  echo "The build made no program to install, so there is nothing to start." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display (DISPLAY and WAYLAND_DISPLAY are unset); starting Kivo Rudovaz on a virtual one (Xvfb)."
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
