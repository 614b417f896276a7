#!/usr/bin/env bash
# Configures and builds into build/ (or $KIVO_BUILD_DIR). Warnings are errors under CI.
# Arguments are passed on to CMake's configure step (e.g. -DKIVO_SANITIZE=ON).
# KIVO_BUILD_TARGETS, when set, names the targets to build (separated by blanks);
# by default everything is built. Compiles go through ccache where it is installed.
# CMAKE_BUILD_PARALLEL_LEVEL, when set, is the number of compile jobs; otherwise
# every core is used.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KIVO_BUILD_DIR:-$here/build}
werror=OFF
if [ -n "${CI:-}" ]; then
  werror=ON
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_WERROR="$werror" "${launcher[@]}" "$@"
targets=()
if [ -n "${KIVO_BUILD_TARGETS:-}" ]; then
  read -r -a names <<<"$KIVO_BUILD_TARGETS"
  targets=(--target "${names[@]}")
fi
cmake --build "$build_dir" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" "${targets[@]}"
