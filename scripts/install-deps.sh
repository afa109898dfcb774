#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the examples need,
# including the Windows cross-build (mingw-w64, 32-bit Wine, clang for the
# MSVC-target host) and the zh_CN.UTF-8 locale its tests run in.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libcairo2-dev libharfbuzz-dev libfribidi-dev nlohmann-json3-dev zlib1g-dev
  libcli11-dev libgdal-dev gdal-bin
  fonts-dejavu-core fonts-liberation2 fonts-arphic-uming fonts-wqy-microhei hershey-fonts-data
  fonts-noto-core fonts-noto-cjk
  # The Windows library: cross-compiler, GoogleTest sources, Wine, and clang
  # with lld for the host built to the MSVC conventions.
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 googletest
  wine wine32:i386 clang lld llvm locales
  # Wine's Windows SDK headers: the public headers compiled as a host
  # built by Microsoft's compiler compiles them, over real <windows.h>.
  libwine-dev
  # Fuzzing (clang's libFuzzer runtime) and the SVG well-formedness check.
  libclang-rt-dev libxml2-utils
  # The script sheet test reads the PDF and SVG pictures back.
  poppler-utils librsvg2-bin
)

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

# wine32 is an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows tests also run with a Chinese system's code page.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  $sudo_cmd sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen ||
    echo 'zh_CN.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  $sudo_cmd locale-gen >/dev/null
fi
