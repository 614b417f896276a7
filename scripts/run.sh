#!/usr/bin/env bash
# Installs what is needed, builds, and starts Kivo Rudovaz.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
program="$build_dir/kivo-rudovaz"
if [ ! -x "$program" ]; then
  echo "Built the libraries and tests; the program's main window is not written yet, so there is nothing to start."
  exit 0
fi
exec "$program" "$@"
