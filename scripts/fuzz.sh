#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a fixed time, one after the
# other, starting from a scratch copy of its seeds. Any crash, broken rule,
# leak, timeout or memory blow-up fails the run; the input that caused it is
# left in out/fuzz-findings/ (commit it to the target's seed folder once fixed).
#
#   FUZZ_SECONDS   time per target (default 50)
#   FUZZ_TARGETS   names to run, e.g. "truetype richtext" (default all)
#   FUZZ_BUILD     build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-50}
build=${FUZZ_BUILD:-build-fuzz}
findings=out/fuzz-findings

# name, seed folder under fuzz/corpus, dictionary (or -), input growth: the
# parsers take inputs of any length up to 64 KB at once (a linear pass over
# them is quick, a quadratic one times out); the drawing targets let libFuzzer
# grow them step by step.
targets=(
  "html_reader html/reader fuzz/html.dict 0"
  "html_tag html/tag fuzz/html.dict 0"
  "html_entity html/entity fuzz/html.dict 0"
  "markup_convert markup fuzz/html.dict 0"
  "annotation annotation - 100"
  "font_table font_table - 0"
  "stroke_font stroke_font - 100"
  "truetype truetype - 100"
  "richtext richtext fuzz/html.dict 100"
  "label_text label_text - 100"
  "layer_reader layer fuzz/geojson.dict 0"
)
wanted=${FUZZ_TARGETS:-}

# The tools stay on: the layer reader target links the command's library.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DINKLINE_FUZZ=ON -DINKLINE_BUILD_TESTS=OFF -DINKLINE_BUILD_BENCH=OFF \
  -DINKLINE_BUILD_TOOLS=ON >/dev/null
names=()
for t in "${targets[@]}"; do
  read -r name _ _ _ <<<"$t"
  if [ -z "$wanted" ] || [[ " $wanted " == *" $name "* ]]; then names+=("${name}_fuzzer"); fi
done
cmake --build "$build" --target "${names[@]}"

# The sanitizer runtime is a shared library here (see CMakeLists.txt), loaded
# just after the C++ library: harmless, as that library intercepts nothing.
export ASAN_OPTIONS="verify_asan_link_order=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

mkdir -p "$findings"
failed=()
for t in "${targets[@]}"; do
  read -r name corpus dict growth <<<"$t"
  if [ -n "$wanted" ] && [[ " $wanted " != *" $name "* ]]; then continue; fi
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$corpus/." "$work/"
  args=(-max_total_time="$seconds" -max_len=65536 -len_control="$growth" -timeout=5 -rss_limit_mb=2048
        -artifact_prefix="$findings/$name-" -print_final_stats=1)
  [ "$dict" != "-" ] && args+=(-dict="$dict")
  echo "== $name: $seconds s"
  if ! "$build/fuzz/${name}_fuzzer" "${args[@]}" "$work" >"$findings/$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "$findings/$name.log"
  fi
  grep -E "DONE" "$findings/$name.log" || true
  rm -rf "$work"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $findings/)" >&2
  exit 1
fi
echo "fuzzing: no findings"
