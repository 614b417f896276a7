#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the program and the tests need.
# dpkg-dev has dpkg-shlibdeps, with which cpack finds the Debian package's run-time
# dependencies. clang, its runtimes (libclang-rt-14-dev) and llvm (llvm-symbolizer,
# for readable sanitizer reports) are for the fuzz targets of scripts/fuzz.sh.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  librtmidi-dev libasound2-dev libjack-jackd2-dev jackd2
  libbenchmark-dev
  xvfb xauth poppler-utils dpkg-dev
  shared-mime-info desktop-file-utils
  fonts-wine fonts-liberation2
  clang libclang-rt-14-dev llvm
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"

# Wine's Tahoma stands in for the program's design font with the same metrics;
# fontconfig does not search Wine's font folder by itself.
"${sudo_cmd[@]}" tee /etc/fonts/conf.d/50-kivo-wine-fonts.conf >/dev/null <<'XML'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/wine/fonts</dir>
</fontconfig>
XML
"${sudo_cmd[@]}" fc-cache -f >/dev/null
