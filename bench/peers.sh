#!/usr/bin/env bash
# Runs the inkline command and the peer programs (Pango, Cairo) on the same
# label layers through the peer harness, in paired passes, and prints the
# P1-P7 table: ratio = inkline time / peer time per pass (whole process),
# median with min-max over the passes.
#
#   bench/peers.sh                       # 3 passes, 10k and 100k labels
#   PASSES=5 SIZES=10000 bench/peers.sh  # 10k only
#
# Environment: INKLINE_BUILD (build folder with a Release build; build-release),
#   PEERS (the harness folder; /work/shared/peers), PEERS_BUILD (/tmp/peers),
#   PASSES (3), SIZES ("10000 100000"), ONLY (regex on workload/bench),
#   P6=1 also draws 1M labels to PNG and PDF (peak memory),
#   NO_P7=1 skips the 1-against-2-threads pairs on latin-100k,
#   NO_WORLD=1 skips the place names in the world's scripts (world-10k, ...).
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
BUILD=$(cd "${INKLINE_BUILD:-$ROOT/build-release}" && pwd)
PEERS=${PEERS:-/work/shared/peers}
export PEERS_BUILD=${PEERS_BUILD:-/tmp/peers}
PASSES=${PASSES:-3}
export SIZES=${SIZES:-"10000 100000"}

export INKLINE_CLI=$BUILD/tools/inkline/inkline
export INKLINE_BENCH=$BUILD/bench/inkline_bench
export INKLINE_MARKUP_RATE=$BUILD/bench/markup_rate
export INKLINE_PEERS_DIR=$PEERS/inkline
export INKLINE_PEERS_HERE=$HERE/peers
export PEER_OUT=$PEERS_BUILD/inkline
for f in "$INKLINE_CLI" "$INKLINE_BENCH"; do
    [ -x "$f" ] || { echo "missing $f: build Release into $BUILD first" >&2; exit 1; }
done
mkdir -p "$PEER_OUT"

# Only what the table uses: ours, the peers writing the same files, and the
# peers' image rows that write no file at all (a stricter comparison).
export ONLY=${ONLY:-'/(inkline-|pango-image|cairo-image$|cairo-image-file|cairo-image-path|pango-pdf-file|pango-svg-file)'}
COLLECT=$PEER_OUT/passes-${SIZES// /-}
rm -rf "$COLLECT"; mkdir -p "$COLLECT"
for pass in $(seq 1 "$PASSES"); do
    echo "== pass $pass of $PASSES" >&2
    REPS=1 EXTRA_BENCHES=$HERE/peers/extra.sh "$PEERS/run.sh" >/dev/null
    # This pass's runs only: the harness keeps those of other sizes.
    for n in $SIZES; do
        for w in latin-$((n / 1000))k cjk-$((n / 1000))k $(cd "$PEERS_BUILD/runs" && ls -d markup-* 2>/dev/null); do
            [ -d "$PEERS_BUILD/runs/$w" ] || continue
            (cd "$PEERS_BUILD/runs" && find "$w" -name '1.*' | while read -r f; do
                d=$COLLECT/$(dirname "$f"); mkdir -p "$d"; cp "$f" "$d/$pass.${f##*.}"; done)
        done
    done
done

# The world's scripts: the same place names for Pango and for the command
# (bench/peers/gen_world.py), each pair run one after the other in a pass.
if [ -z "${NO_WORLD:-}" ]; then
    for n in $SIZES; do
        wl=world-$((n / 1000))k
        peers_layer=$PEER_OUT/work/$wl.peers.geojson ink_layer=$PEER_OUT/work/$wl.geojson
        mkdir -p "$PEER_OUT/work"
        if [ ! -s "$ink_layer" ] || [ "$ink_layer" -ot "$HERE/peers/gen_world.py" ]; then
            python3 "$HERE/peers/gen_world.py" -n "$n" --seed 42 -o "$peers_layer"
            python3 "$INKLINE_PEERS_DIR/to_inkline.py" "$peers_layer" "$ink_layer"
        fi
        for pass in $(seq 1 "$PASSES"); do
            echo "== $wl, pass $pass of $PASSES" >&2
            run() {  # run BENCH CMD...
                local d=$COLLECT/$wl/$1; shift
                mkdir -p "$d"
                /usr/bin/time -v -o "$d/$pass.time" "$@" >"$d/$pass.out" 2>"$d/$pass.err" || true
            }
            ink=("$INKLINE_PEERS_HERE/run_inkline.sh" "$peers_layer" "$INKLINE_CLI" render "$ink_layer" -q
                 --fonts "$INKLINE_PEERS_DIR/fonts.txt")
            run inkline-png "${ink[@]}" -o "$PEER_OUT/$wl.png"
            run pango-image-file "$PEERS_BUILD/bin/pango_labels" --surface image -o "$PEER_OUT/$wl-p.png" "$peers_layer"
            run inkline-pdf-native "${ink[@]}" -o "$PEER_OUT/$wl.pdf" --kind 8
            run pango-pdf-file "$PEERS_BUILD/bin/pango_labels" --surface pdf -o "$PEER_OUT/$wl-p.pdf" "$peers_layer"
        done
    done
fi

echo "== library alone (Google Benchmark, null device)" >&2
"$INKLINE_BENCH" --benchmark_filter='BM_VectorGlyphs(Latin|Chinese)$' \
    --benchmark_repetitions="$PASSES" --benchmark_format=json >"$PEER_OUT/glyphs.json" 2>/dev/null

P6_DIR=$PEER_OUT/p6
if [ -n "${P6:-}" ]; then   # 1M labels: peak memory and time of the command alone
    mkdir -p "$P6_DIR"
    big=$PEER_OUT/work/latin-1000k.geojson
    if [ ! -s "$big" ]; then
        python3 "$PEERS/gen_labels.py" -n 1000000 --seed 42 -o "$big.peers"
        python3 "$INKLINE_PEERS_DIR/to_inkline.py" "$big.peers" "$big" && rm -f "$big.peers"
    fi
    for out in png pdf; do
        kind=(); [ "$out" = pdf ] && kind=(--kind 8)
        /usr/bin/time -v -o "$P6_DIR/$out.time" "$INKLINE_CLI" render "$big" \
            --fonts "$INKLINE_PEERS_DIR/fonts.txt" -o "$PEER_OUT/p6.$out" "${kind[@]}" >/dev/null || true
    done
fi
# P7: the 100k Latin layer to PNG on one thread and on two, alternated in
# pairs; the two pictures must be the same bytes.
P7_DIR=$PEER_OUT/p7
rm -rf "$P7_DIR"; mkdir -p "$P7_DIR"
if [ -z "${NO_P7:-}" ]; then
    layer=$PEER_OUT/work/latin-100k.geojson
    if [ ! -s "$layer" ]; then
        mkdir -p "$PEER_OUT/work"
        python3 "$PEERS/gen_labels.py" -n 100000 --seed 42 -o "$layer.peers"
        python3 "$INKLINE_PEERS_DIR/to_inkline.py" "$layer.peers" "$layer" && rm -f "$layer.peers"
    fi
    echo "== P7: latin-100k, 1 and 2 threads" >&2
    for pass in $(seq 1 "$PASSES"); do
        for t in 1 2; do
            /usr/bin/time -v -o "$P7_DIR/t$t.$pass.time" "$INKLINE_CLI" render "$layer" -q \
                --fonts "$INKLINE_PEERS_DIR/fonts.txt" --threads "$t" -o "$P7_DIR/t$t.png" || true
        done
        cmp -s "$P7_DIR/t1.png" "$P7_DIR/t2.png" && touch "$P7_DIR/same.$pass"
    done
fi
python3 "$HERE/peers/table.py" "$COLLECT" "$PEER_OUT/glyphs.json" "$P6_DIR" "$P7_DIR"
