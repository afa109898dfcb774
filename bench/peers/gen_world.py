#!/usr/bin/env python3
"""A mixed-script workload for the peer benchmarks: place names of the world.

gen_world.py -n N [--seed S] -o FILE writes a layer in the peers' format
(the same view, heights, angles, spacing and colours as gen_labels.py) whose
labels are place names in their own scripts: a third Latin, Cyrillic and
Greek, a tenth Chinese, Japanese and Korean, the rest Arabic, Persian, Urdu,
Hebrew, the scripts of India and South-East Asia, Ethiopic, Georgian,
Armenian, and names mixing Arabic, digits and Latin. Every program draws
the same names; deterministic for the same arguments.
"""
import argparse
import json
import random
import sys

BBOX = [500000.0, 4000000.0, 540960.0, 4040960.0]
SIZE = [4096, 4096]
HEIGHTS = [60, 80, 100, 120, 140, 180, 220, 280]
SPACES = [0.05, 0.1, 0.2, 0.3, 0.5]

NAMES = {
    "alphabets": ["London", "São Paulo", "Zürich", "Kraków", "Reykjavík", "Şanlıurfa",
                  "Москва", "Санкт-Петербург", "Київ", "Αθήνα", "Θεσσαλονίκη", "Ηράκλειο"],
    "cjk": ["北京", "上海市", "广州", "東京", "大阪", "札幌", "서울", "부산", "인천광역시"],
    "arabic": ["القاهرة", "الإسكندرية", "دبي", "بغداد", "تهران", "اصفهان", "لاہور", "کراچی",
               "الرياض", "دمشق"],
    "hebrew": ["ירושלים", "תל אביב", "חיפה", "באר שבע"],
    "indic": ["दिल्ली", "मुंबई", "वाराणसी", "ঢাকা", "কলকাতা", "சென்னை", "மதுரை", "ಬೆಂಗಳೂರು",
              "കൊച്ചി", "హైదరాబాదు", "ਅੰਮ੍ਰਿਤਸਰ", "කොළඹ"],
    "southeast": ["กรุงเทพมหานคร", "เชียงใหม่", "ភ្នំពេញ", "សៀមរាប", "ရန်ကုန်", "မန္တလေး",
                  "ວຽງຈັນ"],
    "other": ["አዲስ አበባ", "ጎንደር", "თბილისი", "ბათუმი", "Երևան", "Գյումրի"],
    "mixed": ["دبي 2020 Dubai", "Tel Aviv תל אביב", "الرياض Riyadh 11564", "Route 66 القاهرة"],
}
SHARES = [("alphabets", 0.33), ("cjk", 0.10), ("arabic", 0.17), ("hebrew", 0.05), ("indic", 0.15),
          ("southeast", 0.10), ("other", 0.06), ("mixed", 0.04)]


def pick(rng):
    r = rng.random()
    for group, share in SHARES:
        if r < share:
            return rng.choice(NAMES[group])
        r -= share
    return rng.choice(NAMES["alphabets"])


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-n", type=int, default=10000)
    ap.add_argument("--seed", type=int, default=42)
    ap.add_argument("-o", "--output", default="-")
    a = ap.parse_args()
    rng = random.Random(a.seed)
    minx, miny, maxx, maxy = BBOX
    out = sys.stdout if a.output == "-" else open(a.output, "w", encoding="utf-8", newline="\n")
    dump = lambda o: json.dumps(o, ensure_ascii=False, separators=(",", ":"))
    out.write('{"type":"FeatureCollection",\n"view":%s,\n"features":[\n' % dump({"bbox": BBOX, "size": SIZE}))
    for i in range(a.n):
        x = round(rng.uniform(minx, maxx), 2)
        y = round(rng.uniform(miny, maxy), 2)
        h = rng.choice(HEIGHTS)
        angle = 0.0 if rng.random() < 0.7 else round(rng.uniform(-90.0, 90.0), 1)
        space = 0.0 if rng.random() < 0.8 else rng.choice(SPACES)
        feature = {"type": "Feature", "id": i, "geometry": {"type": "Point", "coordinates": [x, y]},
                   "properties": {"text": pick(rng), "height": h, "width": h, "angle": angle,
                                  "space": space, "font": 0, "color": rng.randint(1, 20)}}
        out.write(dump(feature) + (",\n" if i + 1 < a.n else "\n"))
    out.write("]}\n")
    if out is not sys.stdout:
        out.close()


if __name__ == "__main__":
    main()
