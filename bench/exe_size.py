"""Size of each executable, stripped, and what its loaded part is made of, from the link
map the build writes beside it (<exe>.map): our own objects, the C++ standard library, the
runtime (C runtime, libgcc, winpthread, import stubs), resources; the rest of the file is
symbols and debug information (what stripping removes) and headers and padding."""

import os
import re
import subprocess
import sys
import tempfile

STRIP = "x86_64-w64-mingw32-strip"
OBJDUMP = "x86_64-w64-mingw32-objdump"
# Input sections of the loaded image; debug sections are counted through stripping.
LOADED = re.compile(r"^\.(text|data|rdata|pdata|xdata|bss|idata|CRT|tls|ctors|dtors|eh_frame)")
ENTRY = re.compile(r"^ (\.\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")


def kind_of(origin):
    if "libstdc++" in origin or "libsupc++" in origin:
        return "standard library"
    if "CMakeFiles/" in origin or "libtastomat_" in origin:
        return "own code"
    return "runtime"


def composition(map_path):
    sizes = {"own code": 0, "standard library": 0, "runtime": 0}
    in_memory_map, section = False, None
    with open(map_path, errors="replace") as f:
        for line in f:
            if line.startswith("Linker script and memory map"):
                in_memory_map = True
                continue
            if not in_memory_map:
                continue
            m = ENTRY.match(line)
            if m:
                name = m.group(1) or section
                if name and LOADED.match(name) and not name.startswith(".bss"):
                    sizes[kind_of(m.group(4))] += int(m.group(3), 16)
                section = None
            elif re.match(r"^ \.\S+\s*$", line):
                section = line.strip()  # a long name; address, size and file follow below
    return sizes


def section_size(exe, name):
    out = subprocess.run([OBJDUMP, "-h", exe], capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        parts = line.split()
        if len(parts) > 2 and parts[1] == name:
            return int(parts[2], 16)
    return 0


def stripped_size(exe):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "stripped.exe")
        subprocess.run([STRIP, "-o", out, exe], check=True)
        return os.path.getsize(out)


def describe(exe):
    size, stripped = os.path.getsize(exe), stripped_size(exe)
    parts = composition(exe + ".map")
    parts["resources"] = section_size(exe, ".rsrc")
    parts["symbols + debug info"] = size - stripped
    parts["headers, imports, padding"] = size - sum(parts.values())
    return size, stripped, parts


def kib(n):
    return f"{n / 1024:.1f}"


def main():
    rows = [(os.path.basename(exe), *describe(exe)) for exe in sys.argv[1:]]
    names = list(rows[0][3])
    head = ["KiB", *[r[0] for r in rows]]
    lines = [head, ["file", *[kib(r[1]) for r in rows]], ["stripped", *[kib(r[2]) for r in rows]]]
    lines += [[f"  {n}", *[kib(r[3][n]) for r in rows]] for n in names]
    if len(rows) == 2:
        for line in lines[1:3]:
            a, b = float(line[1]), float(line[2])
            line.append(f"ratio {a / b:.2f}" if b else "")
    widths = [max(len(x[i]) for x in lines if i < len(x)) for i in range(len(head) + 1)]
    for line in lines:
        print("  ".join(c.ljust(widths[0]) if i == 0 else c.rjust(widths[i])
                        for i, c in enumerate(line)))


if __name__ == "__main__":
    main()
