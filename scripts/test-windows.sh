#!/usr/bin/env bash
# The Windows library: cross-builds inkline.dll and its tests with mingw-w64
# and runs them under Wine, headless, once in the C locale (a Western code
# page) and once in zh_CN.UTF-8 (code page 936). Wine hides why a program
# could not start, so every step's exit code is checked here explicitly.
#   bash scripts/test-windows.sh [BUILD_DIR [BUILD_TYPE]]
# The build type defaults to Release, the DLL as it ships (optimized at link
# time); Debug, RelWithDebInfo and MinSizeRel build and pass the same tests.
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-win}
build_type=${2:-Release}
jobs=$(nproc)
export WINEPREFIX="$PWD/$build/wineprefix"

fail() {
  echo "test-windows: $*" >&2
  exit 1
}
# The Wine server outlives the programs; stop it however the run ends.
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE="$build_type" || fail "configure failed"
cmake --build "$build" -j "$jobs" || fail "build failed"

# The library and the host's library must run on a bare Windows: system DLLs
# and each other only, no compiler runtime.
for dll in "$build/bin/inkline.dll" "$build/bin/inkhost.dll"; do
  [ -f "$dll" ] || fail "$dll was not built"
  imports=$(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p')
  for name in $imports; do
    case "${name,,}" in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | inkhost.dll) ;;
      *) fail "$dll imports $name" ;;
    esac
  done
done

# inkline.dll exports exactly its interface (and the MSVC names of it):
# anything more, or less, is a change of the product's interface.
exports=$(i686-w64-mingw32-objdump -p "$build/bin/inkline.dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p')
if ! diff -u tests/windows/inkline_dll.exports <(printf '%s\n' "$exports"); then
  fail "inkline.dll's exports differ from tests/windows/inkline_dll.exports (above)"
fi

for locale in C zh_CN.UTF-8; do
  echo "== Windows tests under Wine, LC_ALL=$locale"
  LC_ALL=$locale ctest --test-dir "$build" --output-on-failure -j "$jobs" ||
    fail "tests failed in the $locale locale"
done
