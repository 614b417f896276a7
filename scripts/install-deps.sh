#!/usr/bin/env bash
# Installs the Debian 12 packages that are needed and not installed yet:
#   scripts/install-deps.sh program   what building, installing and running the program needs
#   scripts/install-deps.sh           that, and what the tests, the benchmarks, the Debian
#                                     package and the sanitized and fuzz builds need
# When every package is there already, the package lists are not even read.
set -euo pipefail

program_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  librtmidi-dev libasound2-dev libjack-jackd2-dev
  shared-mime-info
  # The stand-ins of the window's design fonts, Tahoma and Arial.
  fonts-wine fonts-liberation2
  # scripts/run.sh starts the program on a virtual display where there is none.
  xvfb xauth
)
# jackd2 runs the JACK server of the MIDI tests; dpkg-dev has dpkg-shlibdeps, with
# which cpack finds the package's run-time dependencies; clang, its runtimes
# (libclang-rt-14-dev) and llvm (llvm-symbolizer, for readable sanitizer reports)
# are for the fuzz targets of scripts/fuzz.sh.
test_packages=(
  jackd2 libbenchmark-dev
  poppler-utils desktop-file-utils dpkg-dev
  clang libclang-rt-14-dev llvm
)

case "${1:-all}" in
  program) packages=("${program_packages[@]}") ;;
  all) packages=("${program_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [program|all]" >&2
    exit 2
    ;;
esac

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

declare -A installed=()
while read -r package status; do
  if [ "$status" = installed ]; then
    installed[${package%%:*}]=1
  fi
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
  if [ -z "${installed[$package]:-}" ]; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The program loads Wine's Tahoma itself; an earlier version of this script
# added Wine's font folder to the machine's font configuration instead. That file,
# where it is still there unchanged, goes again, so that the machine's fonts are
# its own.
old_font_config=/etc/fonts/conf.d/50-kivo-wine-fonts.conf
old_font_folder='<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/wine/fonts</dir>
</fontconfig>'
if [ -f "$old_font_config" ] && [ "$(cat "$old_font_config")" = "$old_font_folder" ]; then
  "${sudo_cmd[@]}" rm -f "$old_font_config"
fi
