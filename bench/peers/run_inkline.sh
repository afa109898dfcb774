#!/usr/bin/env bash
# run_inkline.sh WORKLOAD CMD...: runs the command on the peers' workload and
# prints the harness's RESULT line, the rates taken over the whole process
# (the peers' own rates cover their drawing loop only).
set -euo pipefail
workload=$1; shift
counts=${PEER_OUT:-/tmp}/work/$(basename "$workload").counts
mkdir -p "$(dirname "$counts")"
if [ ! -s "$counts" ]; then
    python3 - "$workload" >"$counts" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
texts = [f["properties"]["text"] for f in doc["features"]]
print(len(texts), sum(len(t) - t.count(" ") for t in texts))
PY
fi
read -r labels glyphs <"$counts"
start=$(date +%s.%N)
"$@" >/dev/null
end=$(date +%s.%N)
awk -v l="$labels" -v g="$glyphs" -v s="$start" -v e="$end" 'BEGIN {
    t = e - s
    printf "RESULT prog=inkline labels=%d glyphs=%d wall_s=%.4f labels_per_s=%.0f glyphs_per_s=%.0f\n",
           l, g, t, l / t, g / t }'
