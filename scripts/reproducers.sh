#!/usr/bin/env bash
# Runs every hostile input we know of against a built command and library:
# layers nested a million deep, numbers beyond a double, endless files,
# inputs that once took time growing with their square, huge labels and
# pictures, outputs over the input, non-finite numbers and null pointers
# through the library's entry points. Each runs in a scratch folder with a
# time limit and must end with exit 0, 2, 3 or 4 within 10 s of CPU time,
# leaving no file behind but the one it was asked to write; a run still going
# after 60 s of wall time (one that blocks, or a machine loaded past use) is
# stopped and failed. A run over 1 s is reported (a slow machine may take that
# long), not failed; the CPU seconds beside it tell a loaded machine from slow
# work.
#
#   bash scripts/reproducers.sh [BUILD]    (default build; a Release build
#                                           gives the figures worth quoting)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
inkline="$build/tools/inkline/inkline"
[ -x "$inkline" ] || { echo "no command at $inkline: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
inputs="$work/inputs"
mkdir -p "$inputs"

# --- inputs -----------------------------------------------------------------
python3 - "$inputs" <<'EOF'
import json, sys, os
out = sys.argv[1]
def put(name, text):
    with open(os.path.join(out, name), "w", encoding="utf-8") as f:
        f.write(text)
def layer(props, view=None, n=1, x=10, y=10):
    feature = {"type": "Feature", "geometry": {"type": "Point", "coordinates": [x, y]},
               "properties": props}
    d = {"type": "FeatureCollection", "features": [feature] * n}
    if view: d["view"] = view
    return json.dumps(d, ensure_ascii=False, separators=(",", ":"))
view = {"bbox": [0, 0, 400, 200], "size": [400, 200]}
d = 10**6
put("deep_property.geojson", '{"type":"FeatureCollection","features":[{"type":"Feature","geometry":'
    '{"type":"Point","coordinates":[1,1]},"properties":{"text":"A","height":1,"x":'
    + "[" * d + "]" * d + "}}]}")
d = 10**5
put("deep_height.geojson", '{"type":"FeatureCollection","features":[{"type":"Feature","geometry":'
    '{"type":"Point","coordinates":[1,1]},"properties":{"text":"A","height":' + "[" * d + "]" * d + "}}]}")
put("beyond_double.geojson", '{"type":"FeatureCollection","features":[],"x":1e400}')
put("open_tag.geojson", layer({"html": "<body size=3>" + "<a " * 160000, "box": [0, 0, 400, 200]}, view))
put("long_rich_line.geojson", layer({"html": "<body size=3>" + "A" * 220000, "box": [0, 0, 400, 200]}, view))
put("long_rich_line_5mb.geojson", layer({"html": "<body size=3>" + "A" * (5 << 20), "box": [0, 0, 400, 200]}, view))
put("font_tags.txt", "<body size=10>" + "<font face=1 color=1>a</font>" * 8000 + "</body>")
put("font_table_65536.txt", "".join("%d | Face %d | DejaVu Sans\n" % (i, i) for i in range(65536)))
put("text_50mb.geojson", layer({"text": "中" * (50 * 1024 * 1024 // 3), "height": 20}, view))
put("latin_20mb.geojson", layer({"text": "A" * (20 * 1024 * 1024), "height": 20}, view))
put("codes_1mb.geojson", layer({"text": "A#+B#=" * (1024 * 1024 // 6), "height": 20}, view))
put("million_labels.geojson", layer({"text": "A", "height": 1}, {"bbox": [0, 0, 20, 20], "size": [100, 100]}, n=10**6))
put("big_picture.geojson", layer({"text": "A", "height": 1}, {"bbox": [0, 0, 20, 20], "size": [20000, 20000]}))
put("huge_height.geojson", layer({"text": "A", "height": 1e300}, {"bbox": [0, 0, 1e-300, 1e-300], "size": [100, 100]}))
put("huge_bbox.geojson", layer({"text": "A", "height": 1}, {"bbox": [-1e308, -1e308, 1e308, 1e308], "size": [100, 100]}))
put("wide_pen.geojson", layer({"text": "A", "height": 50, "style": {"outline": True}, "extra": 1e300}, view))
put("control_chars.geojson", layer({"text": "A\u0001B\u001fC", "height": 20}, view))
put("nul_inside.geojson", layer({"text": "A\u0000B", "height": 20}, view))
put("small.geojson", layer({"text": "A", "height": 20}, view))
EOF
cp "$inputs/small.geojson" "$inputs/s.png"
mkfifo "$inputs/fifo"
printf '0 | FIFO font | %s\n' "$inputs/fifo" >"$inputs/fifo_font_table.txt"

# --- the library's entry points, as a host calls them -------------------------
# Built against the installed host kit; exits 1 when a non-finite number
# reaches the device, a null result pointer is written through, or the plain
# case draws nothing (then the others would prove nothing).
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
cat >"$work/api.cpp" <<'EOF'
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {
struct FiniteDevice final : DeviceDriver {
  int bad = 0, calls = 0;
  void Check(double v) {
    bad += !std::isfinite(v);
    ++calls;
  }
  short GetDeviceType() override { return 0; }
  void SetPen(PEN* p) override { Check(p->width); }
  void SetBrush(BRUSH*) override {}
  void DrawLine(double a, double b, double c, double d) override { Check(a + b + c + d); }
  void DrawPolylines(D_POINT* p, int* n, short runs) override { Points(p, n, runs); }
  void FillPolygon(D_POINT* p, int* n, int runs) override { Points(p, n, runs); }
  void FillPolygons(D_POINT* p, int* n, short runs) override { Points(p, n, runs); }
  short GetRationalDispMode() override { return 0; }
  void Points(D_POINT* p, int* n, int runs) {
    for (int r = 0; r < runs; ++r)
      for (int i = 0; i < n[r]; ++i, ++p) Check(p->x + p->y);
  }
};
}  // namespace

int main(int argc, char** argv) {
  const std::string c = argc > 1 ? argv[1] : "";
  if (c == "null_result") return CreateMapString(nullptr, nullptr) == 1 ? 0 : 1;
  FreeTypeFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  FiniteDevice device;
  device.WinRect = D_RECT{0, 0, 1000, 1000};
  device.WinHeight = 1000;
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  if (!s) return 1;
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  double h = 12, w = 12, space = 0, angle = 0, scale = 1, scale2 = 1;
  if (c == "height_inf") h = inf;
  if (c == "width_nan") w = nan;
  if (c == "space_inf") space = inf;
  if (c == "angle_nan") angle = nan;
  if (c == "angle_inf") angle = -inf;
  if (c == "scale_inf") scale = inf;
  if (c == "scale_overflow") scale = scale2 = 1e300;
  s->SetScale(scale, scale2, 1.0);
  char text[] = "H#-2#=O/1/2/";
  s->StringOut(text, 100, 100, h, w, 0, 0x0400, angle, space, 0, 3, 2, &fonts);
  s->Free();
  // The plain case must draw, or the others prove nothing.
  if (c == "plain" && device.calls == 0) return 1;
  return device.bad == 0 ? 0 : 1;
}
EOF
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/lib/x86_64-linux-gnu/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++17 -O1 "$work/api.cpp" -o "$work/api" $(pkg-config --cflags --libs inkline-hostkit) \
  -Wl,-rpath,"$(pkg-config --variable=libdir inkline)" || { echo "api program did not build" >&2; exit 1; }

# --- the runs ---------------------------------------------------------------
# name | what it writes (or -) | command, run in a fresh folder
cases=(
  "deep_property|out.png|$inkline render -q IN/deep_property.geojson -o out.png"
  "deep_height|out.png|$inkline render -q IN/deep_height.geojson -o out.png"
  "beyond_double|out.png|$inkline render -q IN/beyond_double.geojson -o out.png"
  "fonts_dev_zero|out.png|$inkline render -q IN/small.geojson --fonts /dev/zero -o out.png"
  "layer_dev_zero|out.png|$inkline render -q /dev/zero -o out.png"
  "fonts_fifo|out.png|$inkline render -q IN/small.geojson --fonts IN/fifo -o out.png"
  "stroke_font_fifo|out.png|$inkline render -q IN/small.geojson --stroke-font IN/fifo -o out.png"
  "table_font_fifo|out.png|$inkline render -q IN/small.geojson --fonts IN/fifo_font_table.txt -o out.png"
  "open_tag_480k|out.png|$inkline render -q IN/open_tag.geojson -o out.png"
  "rich_line_220k|out.png|$inkline render -q IN/long_rich_line.geojson -o out.png"
  "rich_line_5mb|out.png|$inkline render -q IN/long_rich_line_5mb.geojson -o out.png"
  "font_tags_200k|-|$inkline to-text - <IN/font_tags.txt >/dev/null"
  "font_table_65536|out.png|$inkline render -q IN/small.geojson --fonts IN/font_table_65536.txt -o out.png"
  "text_50mb|out.png|$inkline render -q IN/text_50mb.geojson -o out.png"
  "text_50mb_kind1|out.png|$inkline render -q IN/text_50mb.geojson --kind 1 -o out.png"
  "latin_20mb|out.png|$inkline render -q IN/latin_20mb.geojson -o out.png"
  "codes_1mb|out.png|$inkline render -q IN/codes_1mb.geojson -o out.png"
  "million_labels|out.png|$inkline render -q IN/million_labels.geojson -o out.png"
  "picture_20000|out.png|$inkline render -q IN/big_picture.geojson -o out.png"
  "output_is_input|-|cp IN/s.png s.png && $inkline render -q s.png -o s.png; e=\$?; rm -f s.png; exit \$e"
  "sigterm|out.png|$inkline render -q IN/latin_20mb.geojson -o out.png & p=\$!; sleep 0.3; kill -TERM \$p; wait \$p; e=\$?; [ \$e -gt 128 ] && e=0; exit \$e"
  "huge_height|out.png|$inkline render -q IN/huge_height.geojson -o out.png"
  "huge_bbox|out.png|$inkline render -q IN/huge_bbox.geojson -o out.png"
  "wide_pen|out.png|$inkline render -q IN/wide_pen.geojson -o out.png"
  "face_1e20|-|$inkline to-html --face 1e20 A >/dev/null"
  "hvpl_300|-|$inkline to-html --hvpl 300 A >/dev/null"
  "color_nan|-|$inkline to-html --color nan A >/dev/null"
  "kind_nan|out.png|$inkline render -q IN/small.geojson --kind nan -o out.png"
  "svg_control_chars|out.svg|$inkline render -q IN/control_chars.geojson -o out.svg && xmllint --noout out.svg"
  "nul_inside|out.png|$inkline render -q IN/nul_inside.geojson -o out.png"
  "api_plain|-|$work/api plain"
  "api_height_inf|-|$work/api height_inf"
  "api_width_nan|-|$work/api width_nan"
  "api_space_inf|-|$work/api space_inf"
  "api_angle_nan|-|$work/api angle_nan"
  "api_angle_inf|-|$work/api angle_inf"
  "api_scale_inf|-|$work/api scale_inf"
  "api_scale_overflow|-|$work/api scale_overflow"
  "api_null_result|-|$work/api null_result"
)

failed=0
TIMEFORMAT='%U %S'
printf '%-20s %5s %8s %8s  %s\n' reproducer exit seconds cpu verdict
for entry in "${cases[@]}"; do
  IFS='|' read -r name writes command <<<"$entry"
  run="$work/run-$name"
  mkdir -p "$run"
  command=${command//IN\//$inputs/}
  start=$(date +%s.%N)
  { time (cd "$run" && timeout -k 2 60 bash -c "$command" >"$work/$name.log" 2>&1); } 2>"$work/$name.cpu"
  code=$?
  seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
  cpu=$(awk '{ printf "%.2f", $1 + $2 }' "$work/$name.cpu")
  left=$(cd "$run" && find . -mindepth 1 ! -name "$writes" | head -3 | tr '\n' ' ')
  verdict=ok
  if [ "$code" -eq 124 ] || [ "$code" -eq 137 ]; then verdict="FAIL: over 60 s"
  elif awk -v c="$cpu" 'BEGIN { exit !(c > 10) }'; then verdict="FAIL: over 10 s of CPU"
  elif [[ ! " 0 2 3 4 " == *" $code "* ]]; then verdict="FAIL: exit $code"
  elif [ -n "$left" ]; then verdict="FAIL: left $left"
  elif awk -v s="$seconds" 'BEGIN { exit !(s > 1) }'; then verdict="slow: over 1 s"
  fi
  [[ "$verdict" == FAIL* ]] && failed=$((failed + 1))
  printf '%-20s %5s %8s %8s  %s\n' "$name" "$code" "$seconds" "$cpu" "$verdict"
  [[ "$verdict" == FAIL* ]] && sed 's/^/    /' "$work/$name.log" | head -5
done
if [ "$failed" -gt 0 ]; then
  echo "$failed reproducer(s) failed" >&2
  exit 1
fi
echo "every reproducer ended cleanly"
