#!/usr/bin/env python3
"""The P1-P7 table from paired passes of bench/peers.sh.

table.py PASSES_DIR GLYPHS_JSON [P6_DIR [P7_DIR]]: PASSES_DIR/<workload>/<bench>/<pass>.{out,time}
as the peer harness writes them (one run per pass); ratios are taken within a
pass (inkline wall time / peer wall time), then median and min-max.
"""
import json
import os
import re
import statistics
import sys

LABEL_WORKLOADS = ["latin-10k", "cjk-10k", "latin-100k", "cjk-100k"]
WORLD_WORKLOADS = ["world-10k", "world-100k"]


def read_time(path):
    out = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.strip()
            if line.startswith("Maximum resident set size"):
                out["rss_mb"] = int(line.rsplit(":", 1)[1]) / 1024
            elif line.startswith("Elapsed (wall clock) time"):
                secs = 0.0
                for part in line.split("):", 1)[1].strip().split(":"):
                    secs = secs * 60 + float(part)
                out["wall"] = secs
            elif line.startswith("Exit status"):
                out["exit"] = int(line.rsplit(":", 1)[1])
    return out


def read_result(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("RESULT "):
                return dict(kv.split("=", 1) for kv in line.split()[1:] if "=" in kv)
    return {}


def runs(root, workload, bench):
    """pass number -> {wall, rss_mb, result} for the successful runs."""
    d = os.path.join(root, workload, bench)
    found = {}
    if not os.path.isdir(d):
        return found
    for name in os.listdir(d):
        m = re.match(r"(\d+)\.time$", name)
        if not m:
            continue
        t = read_time(os.path.join(d, name))
        out = os.path.join(d, m.group(1) + ".out")
        if t.get("exit", 1) == 0 and "wall" in t and os.path.exists(out):
            t["result"] = read_result(out)
            found[int(m.group(1))] = t
    return found


def spread(values, fmt="%.2f"):
    if not values:
        return "-"
    return (fmt + " (" + fmt + "-" + fmt + ")") % (statistics.median(values), min(values), max(values))


def verdict(ok):
    return "yes" if ok else "NO"


def ratio_row(root, goal, workload, ours, peer, limit, memory=False):
    a, b = runs(root, workload, ours), runs(root, workload, peer)
    paired = sorted(set(a) & set(b))
    if not paired:
        return None
    ratios = [a[p]["wall"] / b[p]["wall"] for p in paired]
    cells = [goal, workload, "%s / %s" % (ours, peer), spread(ratios), "<= %.2f" % limit,
             spread([a[p]["wall"] for p in paired]) + " s", spread([b[p]["wall"] for p in paired]) + " s"]
    ok = statistics.median(ratios) <= limit
    ram_a = max(a[p]["rss_mb"] for p in paired)
    ram_b = max(b[p]["rss_mb"] for p in paired)
    cells.append("%.0f / %.0f MB" % (ram_a, ram_b))
    if memory:
        ok = ok and ram_a <= ram_b
    cells.append(verdict(ok))
    return cells


def main():
    root, glyphs_json = sys.argv[1], sys.argv[2]
    p6_dir = sys.argv[3] if len(sys.argv) > 3 else None
    p7_dir = sys.argv[4] if len(sys.argv) > 4 else None
    rows = []
    pairs = [
        ("P1", "inkline-png-paths", "pango-image-paths-file", 0.40, False),
        ("P1", "inkline-png-paths", "cairo-image-path-file", 0.65, False),
        ("P2", "inkline-png", "pango-image-file", 0.65, False),
        ("P2", "inkline-png", "cairo-image-file", 1.00, False),
        # The same against peers that draw but write no picture.
        ("P1*", "inkline-png-paths", "pango-image-paths", 0.40, False),
        ("P1*", "inkline-png-paths", "cairo-image-path", 0.65, False),
        ("P2*", "inkline-png", "pango-image", 0.65, False),
        ("P2*", "inkline-png", "cairo-image", 1.00, False),
        ("P3", "inkline-pdf-native", "pango-pdf-file", 0.50, True),
        ("P3", "inkline-svg-native", "pango-svg-file", 0.50, True),
    ]
    for goal, ours, peer, limit, memory in pairs:
        for wl in LABEL_WORKLOADS:
            row = ratio_row(root, goal, wl, ours, peer, limit, memory)
            if row:
                rows.append(row)
    # Place names in the world's scripts, shaped by both.
    for ours, peer in [("inkline-png", "pango-image-file"), ("inkline-pdf-native", "pango-pdf-file")]:
        for wl in WORLD_WORKLOADS:
            row = ratio_row(root, "W", wl, ours, peer, 0.65)
            if row:
                rows.append(row)

    print("Ratios: inkline wall time / peer wall time, whole process, per pass. P1*/P2*: the peer")
    print("draws the same picture but writes no file (inkline still writes its PNG).")
    print()
    print("| goal | workload | inkline / peer | ratio median (min-max) | goal | inkline wall | peer wall | peak RSS inkline / peer | holds |")
    print("|---|---|---|---|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")

    print()
    print("| goal | measure | median (min-max) | goal | holds |")
    print("|---|---|---|---|---|")
    if os.path.exists(glyphs_json):
        with open(glyphs_json) as f:
            data = json.load(f)
        per = {}
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "iteration":
                per.setdefault(b["run_name"], []).append(b["items_per_second"] / 1e6)
        for name, limit in (("BM_VectorGlyphsLatin", 10.0), ("BM_VectorGlyphsChinese", 4.0)):
            v = per.get(name, [])
            if v:
                print("| P4 | %s, M glyphs/s | %s | >= %.0f | %s |" % (
                    name, spread(v), limit, verdict(statistics.median(v) >= limit)))
    for bench, limit in (("inkline-html-reader", 600.0), ("inkline-html-to-str", 200.0)):
        r = runs(root, "markup-10mb", bench)
        v = [float(x["result"]["mb_per_s"]) for x in r.values() if "mb_per_s" in x["result"]]
        if v:
            print("| P5 | %s, MB/s | %s | >= %.0f | %s |" % (
                bench, spread(v, "%.1f"), limit, verdict(statistics.median(v) >= limit)))
        else:
            print("| P5 | %s, MB/s | not measured | >= %.0f | - |" % (bench, limit))
    if p6_dir and os.path.isdir(p6_dir):
        for name in sorted(os.listdir(p6_dir)):
            if name.endswith(".time"):
                t = read_time(os.path.join(p6_dir, name))
                ok = t.get("exit", 1) == 0 and t.get("rss_mb", 1e9) < 1024
                print("| P6 | 1M labels, %s: %.1f s, peak %.0f MB | - | < 1024 MB | %s |" % (
                    name[:-5], t.get("wall", 0), t.get("rss_mb", 0), verdict(ok)))
    else:
        print("| P6 | 1M labels | not run (P6=1 bench/peers.sh) | < 1024 MB | - |")
    print(p7_row(p7_dir))


def p7_row(p7_dir):
    """Speed-up of 2 threads over 1 per pass (1-thread wall / 2-thread wall)."""
    speedups, same, passes = [], 0, 0
    if p7_dir and os.path.isdir(p7_dir):
        for name in os.listdir(p7_dir):
            m = re.match(r"t1\.(\d+)\.time$", name)
            if not m:
                continue
            one = read_time(os.path.join(p7_dir, name))
            two = read_time(os.path.join(p7_dir, "t2.%s.time" % m.group(1)))
            if one.get("exit", 1) != 0 or two.get("exit", 1) != 0 or not two.get("wall"):
                continue
            passes += 1
            speedups.append(one["wall"] / two["wall"])
            same += os.path.exists(os.path.join(p7_dir, "same." + m.group(1)))
    if not speedups:
        return "| P7 | 2 threads against 1, latin-100k PNG | not run (NO_P7 set) | >= 1.7x | - |"
    ok = statistics.median(speedups) >= 1.7 and same == passes
    return "| P7 | 2 threads against 1, latin-100k PNG (pictures identical in %d of %d) | %s | >= 1.7x | %s |" % (
        same, passes, spread(speedups), verdict(ok))


if __name__ == "__main__":
    main()
