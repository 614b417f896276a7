#!/usr/bin/env bash
# Installs what is needed, builds what the installation holds (the tests are left
# to scripts/test.sh), installs Kivo Rudovaz into install/ in the checkout (or
# into $KIVO_PREFIX) and starts the installed program with the arguments given.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
prefix=${KIVO_PREFIX:-$here/install}
"$here/scripts/install-deps.sh"
# Named targets rather than options: the build folder is the one that
# scripts/test.sh builds everything in.
KIVO_BUILD_TARGETS=kivo_installation "$here/scripts/build.sh"
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
