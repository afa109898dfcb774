#!/usr/bin/env python3
"""Splits the import .def of the host's functions (a LIBRARY line, then
'mingw name == MSVC name' lines, as msvc_names.py --import-def writes it) into
one .def per DLL that a group of the functions is imported from, so that a
module imports each group from its own DLL.

  host_imports.py --import-def FILE --prefix OUT --group DLL:Name,Name ...

writes OUT-DLL.def for every DLL named by a group (groups may share one).
Functions no group names are left out; a name the .def lacks is an error.
"""
import argparse
import re
import sys


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--import-def", required=True)
    ap.add_argument("--prefix", required=True)
    ap.add_argument("--group", action="append", default=[], help="DLL:Name,Name")
    a = ap.parse_args()

    entries = {}  # function name -> its import line
    with open(a.import_def) as f:
        for line in f:
            m = re.match(r"^\s*(\S+) == (\?(\w+)@\S*)$", line)
            if m:
                entries[m.group(3)] = f"{m.group(1)} == {m.group(2)}"

    by_dll = {}
    for group in a.group:
        dll, _, names = group.partition(":")
        lines = by_dll.setdefault(dll, [])
        for name in filter(None, names.split(",")):
            if name not in entries:
                sys.exit(f"host_imports: {a.import_def} has no {name}")
            lines.append(entries[name])

    for dll, lines in by_dll.items():
        with open(f"{a.prefix}-{dll}.def", "w") as f:
            f.write(f"LIBRARY {dll}.dll\nEXPORTS\n" + "".join(f"  {l}\n" for l in lines))


if __name__ == "__main__":
    main()
