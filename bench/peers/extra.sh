# Sourced by the peer harness (EXTRA_BENCHES) once per workload: adds the
# inkline command, and the peers writing the same kind of file, to its table.
# Set by bench/peers.sh: INKLINE_CLI, INKLINE_BENCH, INKLINE_PEERS_DIR, PEER_OUT.
# Set by the harness: WORKLOAD, WNAME, BIN, and the function bench.

if [ -n "$WORKLOAD" ]; then
    ink_work=$PEER_OUT/work
    mkdir -p "$ink_work"
    ink_layer=$ink_work/$WNAME.geojson
    if [ ! -s "$ink_layer" ] || [ "$ink_layer" -ot "$WORKLOAD" ]; then
        python3 "$INKLINE_PEERS_DIR/to_inkline.py" "$WORKLOAD" "$ink_layer"
    fi
    ink() {  # ink NAME OUTPUT-EXTENSION [render options]
        local name=$1 ext=$2; shift 2
        bench "$name" "$INKLINE_PEERS_HERE/run_inkline.sh" "$WORKLOAD" "$INKLINE_CLI" render \
            "$ink_layer" --fonts "$INKLINE_PEERS_DIR/fonts.txt" -o "$PEER_OUT/$WNAME-$name.$ext" "$@"
    }
    ink inkline-png-paths png --no-truetype
    ink inkline-png png
    ink inkline-pdf-native pdf --kind 8
    ink inkline-svg-native svg --kind 8
    # The peers writing their picture to a file too, as the command does.
    bench pango-image-paths-file "$BIN/pango_labels" --surface image --paths -o "$PEER_OUT/$WNAME-pp.png" "$WORKLOAD"
    bench pango-image-file "$BIN/pango_labels" --surface image -o "$PEER_OUT/$WNAME-pt.png" "$WORKLOAD"
    bench cairo-image-path-file "$BIN/cairo_ft_labels" --surface image --draw path -o "$PEER_OUT/$WNAME-cp.png" "$WORKLOAD"
    bench cairo-image-file "$BIN/cairo_ft_labels" --surface image -o "$PEER_OUT/$WNAME-ct.png" "$WORKLOAD"
    bench pango-pdf-file "$BIN/pango_labels" --surface pdf -o "$PEER_OUT/$WNAME-p.pdf" "$WORKLOAD"
    bench pango-svg-file "$BIN/pango_labels" --surface svg -o "$PEER_OUT/$WNAME-p.svg" "$WORKLOAD"
elif [ -n "${MARKUP:-}" ] && [ -x "${INKLINE_MARKUP_RATE:-}" ]; then
    bench inkline-html-reader "$INKLINE_MARKUP_RATE" --mode reader "$MARKUP"
    bench inkline-html-to-str "$INKLINE_MARKUP_RATE" --mode to-str "$MARKUP"
fi
