#!/usr/bin/env bash
# Installs the build into a fresh prefix, then builds and runs the README's
# host-kit snippet against it twice: with find_package and with pkg-config.
# Usage: host_kit_snippet.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
# The snippet is the README's block between the hello.cpp markers.
sed -n '/^\/\/ hello.cpp/,/^}/p' "$source/README.md" > "$work/hello.cpp"
test "$(wc -l < "$work/hello.cpp")" -ge 10

check_picture() {  # the program ran and drew ink into a PNG
  (cd "$1" && "$2")
  test -s "$1/hello.png"
  python3 - "$1/hello.png" <<'PY'
import sys, zlib, struct
data = open(sys.argv[1], 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
pos, idat, width, height = 8, b'', 0, 0
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR': width, height = struct.unpack('>II', body[:8])
    if kind == b'IDAT': idat += body
    pos += 12 + length
raw = zlib.decompress(idat)
assert len(set(raw)) > 3, 'the picture is blank'
PY
}

# find_package
mkdir -p "$work/cmake"
cp "$work/hello.cpp" "$work/cmake/"
cat > "$work/cmake/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.16)
project(hello CXX)
set(CMAKE_CXX_STANDARD 17)
find_package(inkline REQUIRED)
add_executable(hello hello.cpp)
target_link_libraries(hello PRIVATE inkline::inkline inkline::hostkit)
CM
cmake -S "$work/cmake" -B "$work/cmake/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake/build" >/dev/null
check_picture "$work/cmake" "$work/cmake/build/hello"

# pkg-config, with the rpath the README shows
mkdir -p "$work/pc"
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
c++ -std=c++17 "$work/hello.cpp" -o "$work/pc/hello" $(pkg-config --cflags --libs inkline-hostkit) \
    -Wl,-rpath,"$(pkg-config --variable=libdir inkline)"
check_picture "$work/pc" "$work/pc/hello"
echo "host kit snippet: built and drawn with find_package and pkg-config"
