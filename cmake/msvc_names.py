#!/usr/bin/env python3
"""Gives the C++ exports of a mingw-built DLL the names Microsoft's compiler
gives them, so that a host built with that compiler links against the DLL.

The exports are read from the objects' export directives. Each C++ name of a
class or function in scope is demangled, then named once more by clang for
the MSVC target, which compiles a small file that calls each of them: the
name it calls is the MSVC name. Writes:

  --link-def    EXPORTS of the aliases, given to the linker of the DLL
  --msvc-def    LIBRARY and EXPORTS as a host built by MSVC sees the DLL (C
                names and MSVC names), for its import library
  --import-def  LIBRARY and EXPORTS mapping each mingw name to the MSVC name
                it is imported under, for dlltool: a mingw-built module then
                imports the MSVC names from a DLL another compiler built

Constructors and virtual tables are not aliased: MSVC constructors return
their object and MSVC tables start at their first slot, so the DLL defines
those names itself (--defined lists them; a missing one fails the link).
"""
import argparse
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def run(cmd, check=True, **kw):
    done = subprocess.run(cmd, capture_output=True, text=True, **kw)
    if check and done.returncode != 0:
        sys.exit(f"msvc_names: {cmd[0]} failed:\n{done.stderr}")
    return done.stdout


def exports_of(objdump, objects):
    """The names the objects export (their -export: directives)."""
    names = []
    for obj in objects:
        # An object without the section makes objdump fail: it exports nothing.
        dump = run([objdump, "-s", "-j", ".drectve", obj], check=False)
        data = bytearray()
        for line in dump.splitlines():
            m = re.match(r"^ [0-9a-f]{4,} ((?:[0-9a-f]{2,8} ?){1,4})", line)
            if m:
                data += bytes.fromhex(m.group(1).replace(" ", ""))
        text = data.decode("latin-1")
        for m in re.finditer(r'-export:(?:"([^"]+)"|([^\s,]+))', text):
            name = (m.group(1) or m.group(2)).split(",")[0]
            if name not in names:
                names.append(name)
    return names


def demangle(cxxfilt, names):
    out = run([cxxfilt], input="\n".join(names) + "\n").splitlines()
    return dict(zip(names, out))


def split_args(text):
    """Top-level comma-separated parts of an argument list."""
    parts, depth, cur = [], 0, ""
    for ch in text:
        if ch in "<(":
            depth += 1
        elif ch in ">)":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(cur.strip())
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur.strip())
    return [] if parts == ["void"] else parts


def parse(signature):
    """(scope, name, args, const) of 'A::f(int, char*) const' or 'f(int)'."""
    m = re.match(r"^(?:(\w+)::)?(~?\w+|operator=)\((.*)\)( const)?$", signature)
    if not m:
        return None
    return m.group(1), m.group(2), split_args(m.group(3)), bool(m.group(4))


def probe_call(scope, name, args, const, abstract):
    """(declarations, statement) that make the probe call the entity once."""
    call_args = ", ".join(f"Arg<{a}>()" for a in args)
    if scope is None:
        return "", f"{name}({call_args});"
    if name == scope:
        if scope not in abstract:
            return "", f"new {scope}({call_args});"
        # An abstract class is constructed by a class derived from it.
        return "derived", ""
    if name == "~" + scope:
        return "", f"Arg<{scope}*>()->~{scope}();"
    this = f"Arg<{scope} const*>()" if const else f"Arg<{scope}*>()"
    return "", f"{this}->{scope}::{name}({call_args});"


def probe_source(headers, probes):
    lines = [f"#include <{h}>" for h in headers]
    lines += ["template <class T> T Arg();", "struct CMapStringProbe {"]
    derived = []
    for i, (kind, call, sig) in enumerate(probes):
        if kind == "derived":
            scope, _, args, _ = sig
            params = ", ".join(f"{a} a{k}" for k, a in enumerate(args))
            passed = ", ".join(f"a{k}" for k in range(len(args)))
            derived.append(f"struct Make{i} : {scope} {{ Make{i}({params}); }};")
            derived.append(f"Make{i}::Make{i}({params}) : {scope}({passed}) {{}}")
            call = ""
        lines.append(f"  static void Use{i}() {{ {call} }}")
    lines.append("};")
    keep = ", ".join(f"&CMapStringProbe::Use{i}" for i in range(len(probes)))
    lines.append(f"void (*kept[])() = {{{keep}}};")
    return "\n".join(lines + derived) + "\n"


def compile_probe(clang, clang_args, source):
    with tempfile.TemporaryDirectory() as tmp:
        src = Path(tmp) / "probe.cpp"
        src.write_text(source)
        done = subprocess.run(
            [clang, "--target=i686-pc-windows-msvc", "-std=c++17", "-fno-exceptions",
             "-U_WIN32", "-ffreestanding", "-S", "-emit-llvm", "-o", "-", str(src)] + clang_args,
            capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


# The MSVC code of a member's access and kind, public form to the others.
ACCESS_CODES = {"private": {"Q": "A", "U": "E", "S": "C"},
                "protected": {"Q": "I", "U": "M", "S": "K"}}


def probe_lines(source):
    """Line number (1-based) of each probe, by probe index."""
    lines = {}
    for number, line in enumerate(source.splitlines(), 1):
        m = re.match(r"  static void Use(\d+)\(\)", line)
        if m:
            lines[number] = int(m.group(1))
    return lines


def compile_all(clang, clang_args, headers, signatures):
    """The probe's IR and the access of each probe that named a private or
    protected member: such probes are compiled with every member public and
    their names given their own access back."""
    abstract, hidden, opened = set(), {}, []
    while True:
        probes = [(*probe_call(*sig, abstract), sig) for sig in signatures]
        source = probe_source(headers, probes)
        code, ir, err = compile_probe(clang, clang_args + opened, source)
        if code == 0:
            return ir, hidden
        more = set(re.findall(r"object of abstract class type '(\w+)'", err)) - abstract
        lines = probe_lines(source)
        for line, access in re.findall(r"probe\.cpp:(\d+):\d+: error: '\w+' is a (private|protected) member", err):
            hidden[lines[int(line)]] = access
        if more:
            abstract |= more
        elif hidden and not opened:
            opened = ["-Dprivate=public", "-Dprotected=public"]
        else:
            sys.exit(f"msvc_names: the probe does not compile:\n{err}")


def with_access(name, access):
    at = name.index("@@") + 2
    return name[:at] + ACCESS_CODES[access].get(name[at], name[at]) + name[at + 1:]


def msvc_names(clang, clang_args, headers, signatures):
    """The MSVC name of each signature, by index."""
    ir, hidden = compile_all(clang, clang_args, headers, signatures)
    found = {}
    current = None
    for line in ir.splitlines():
        m = re.match(r'^define .*@"(?:\?Use(\d+)@CMapStringProbe@@|\?\?0Make(\d+)@@)', line)
        if m:
            current = int(m.group(1) or m.group(2))
            continue
        if line == "}":
            current = None
        if current is None:
            continue
        # The first name called that is not the probe's own machinery.
        for sym in re.findall(r'@"(\?[^"]+)"', line):
            if current not in found and not sym.startswith(("??$Arg@", "??2@", "??3@", "??_7")):
                found[current] = sym
    return {i: with_access(name, hidden[i]) if i in hidden else name for i, name in found.items()}


def write_def(path, header, entries):
    if path:
        with open(path, "w") as f:
            f.write(header + "EXPORTS\n" + "".join(f"  {e}\n" for e in entries))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--cxxfilt", required=True)
    ap.add_argument("--clang", required=True)
    ap.add_argument("--include", action="append", default=[])
    ap.add_argument("--header", action="append", default=[])
    ap.add_argument("--scope", action="append", default=[],
                    help="a class or free function whose names get MSVC names")
    ap.add_argument("--dll", required=True)
    ap.add_argument("--link-def")
    ap.add_argument("--msvc-def")
    ap.add_argument("--import-def")
    ap.add_argument("objects", nargs="+")
    a = ap.parse_args()

    exports = exports_of(a.objdump, a.objects)
    plain = [n for n in exports if not n.startswith("_Z")]
    mangled = [n for n in exports if n.startswith("_Z")]
    readable = demangle(a.cxxfilt, mangled)

    aliases = []   # (msvc name, mingw name)
    defined = []   # MSVC names the DLL defines itself
    probed = []
    seen = set()
    for name in mangled:
        text = readable[name]
        m = re.match(r"^vtable for (\w+)$", text)
        if m and m.group(1) in a.scope:
            defined.append((f"??_7{m.group(1)}@@6B@", True))
            continue
        sig = parse(text)
        if not sig or (sig[0] or sig[1]) not in a.scope or text in seen:
            continue
        seen.add(text)
        probed.append((name, sig))
    names = msvc_names(a.clang, [f"-I{d}" for d in a.include], a.header,
                       [sig for _, sig in probed])
    for i, (name, (scope, fn, _, _)) in enumerate(probed):
        if i not in names:
            sys.exit(f"msvc_names: clang gave no name for {readable[name]}")
        if scope is not None and fn == scope:
            defined.append((names[i], False))
        else:
            aliases.append((names[i], name))

    own = [f"{msvc}{' DATA' if data else ''}" for msvc, data in defined]
    library = f"LIBRARY {a.dll}\n"
    write_def(a.link_def, "", [f"{msvc} = {mingw}" for msvc, mingw in aliases] + own)
    write_def(a.msvc_def, library, plain + [msvc for msvc, _ in aliases] + own)
    write_def(a.import_def, library, plain + [f"{mingw} == {msvc}" for msvc, mingw in aliases])

if __name__ == "__main__":
    main()
