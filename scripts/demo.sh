#!/usr/bin/env bash
# Installs what is missing, builds, and renders the bundled showcase layer:
#   out/showcase.png          drawn on a raster device (kind 0: GDI text and outlines)
#   out/showcase-native.svg   drawn on a device that draws text itself (kind 8)
#   out/showcase.pdf          the same as the PNG, as a PDF
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target inkline_command inkline_stroke_font
mkdir -p out
./build/tools/inkline/inkline render examples/showcase.geojson -o out/showcase.png
./build/tools/inkline/inkline render examples/showcase.geojson -o out/showcase.pdf
./build/tools/inkline/inkline render examples/showcase.geojson --kind 8 -o out/showcase-native.svg
echo "wrote out/showcase.png, out/showcase.pdf and out/showcase-native.svg"
