#!/usr/bin/env python3
"""Lists every library function a Windows program imports, delay-loaded ones included, and
fails on any library or function that Windows 7 SP1 does not have.

    check_imports.py --compiler x86_64-w64-mingw32-gcc Tastomat.exe

A program that imports a missing function does not start at all: the loader refuses it
before its first line runs. Which functions are newer than Windows 7 comes from the
compiler's own system headers, preprocessed once for Windows 7 and once for Windows 10:
what only the second declares is newer. A few newer functions are declared for every
target; they are listed below by hand.
"""
import argparse
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

# The headers whose functions the program may import.
HEADERS = """
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <winhttp.h>
#include <winver.h>
"""

# Newer than Windows 7, yet declared whatever the target version.
NEWER_FOR_EVERY_TARGET = {
    "GetSystemTimePreciseAsFileTime",  # Windows 8
    "SetThreadDescription",  # Windows 10 1607
    "GetThreadDescription",  # Windows 10 1607
    # Only with update KB2533623 on Windows 7, which many machines lack.
    "SetDefaultDllDirectories",
    "AddDllDirectory",
    "RemoveDllDirectory",
    "WaitOnAddress",  # Windows 8, as the next six
    "WakeByAddressSingle",
    "WakeByAddressAll",
    "CopyFile2",
    "GetOverlappedResultEx",
    "InitializeSynchronizationBarrier",
    "EnterSynchronizationBarrier",
    "DeleteSynchronizationBarrier",
}

# Libraries of a Windows 7 SP1 system folder that a program like this one may import.
# A library not named here fails the check until someone has made sure it is there.
WINDOWS_7_LIBRARIES = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "uxtheme.dll", "version.dll", "winhttp.dll", "ws2_32.dll", "imm32.dll", "winmm.dll",
    "dwmapi.dll", "crypt32.dll", "secur32.dll", "userenv.dll", "bcrypt.dll", "ntdll.dll",
}


class Image:
    def __init__(self, data: bytes):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pe64 = magic == 0x20B
        directories = optional + (112 if self.pe64 else 96)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((va, max(vsize, rsize), raw, rsize))

    def offset(self, rva: int):
        for va, size, raw, rsize in self.sections:
            if va <= rva < va + size and rva - va < rsize:
                return raw + rva - va
        return None

    def u32(self, rva):
        at = self.offset(rva)
        return None if at is None or at + 4 > len(self.data) else struct.unpack_from(
            "<I", self.data, at)[0]

    def string(self, rva, limit=256):
        at = self.offset(rva)
        if at is None:
            return None
        end = self.data.find(b"\0", at, at + limit)
        if end < 0:
            return None
        try:
            return self.data[at:end].decode("ascii")
        except UnicodeDecodeError:
            return None

    def names(self, table_rva):
        """The functions of one import name table, or None when it is not one."""
        step, ordinal_flag = (8, 1 << 63) if self.pe64 else (4, 1 << 31)
        names = []
        for index in range(4096):
            at = self.offset(table_rva + step * index)
            if at is None or at + step > len(self.data):
                return None
            entry = int.from_bytes(self.data[at:at + step], "little")
            if entry == 0:
                return names
            if entry & ordinal_flag:
                names.append(f"#{entry & 0xFFFF}")
                continue
            name = self.string(entry + 2)
            if not name or not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_@?$]*", name):
                return None
            names.append(name)
        return None


DLL_NAME = re.compile(r"[A-Za-z0-9_.-]+\.dll", re.IGNORECASE)


def ordinary_imports(image):
    rva, _ = image.directories[1]
    found = []
    while rva:
        lookup, _, _, name, thunks = (image.u32(rva + 4 * i) for i in range(5))
        if not name:
            break
        found.append((image.string(name), image.names(lookup or thunks) or [], False))
        rva += 20
    return found


def delayed_imports(image):
    """The delay-load descriptors. The GNU linker leaves the header's entry for them empty,
    so they are found by their shape: RVA-based, naming a library, with name tables that
    read as such."""
    rva, size = image.directories[13]
    candidates = range(rva, rva + size, 32) if rva else (
        va + at for va, _, _, rsize in image.sections for at in range(0, rsize - 32, 4))
    found, seen = [], set()
    for at in candidates:
        fields = [image.u32(at + 4 * i) for i in range(8)]
        if None in fields:
            continue
        attributes, name, module, iat, names_rva = fields[:5]
        if attributes != 1 or not (name and module and iat and names_rva):
            continue
        dll = image.string(name)
        if not dll or not DLL_NAME.fullmatch(dll) or at in seen:
            continue
        functions = image.names(names_rva)
        if functions is None or image.offset(iat) is None:
            continue
        seen.add(at)
        found.append((dll, functions, True))
    return found


def declared_functions(compiler, versions, work):
    """The functions the headers declare for each target version, read from the
    compiler's list of the prototypes it has seen."""
    source = Path(work) / "headers.c"
    source.write_text(HEADERS)
    listings = {v: Path(work) / f"declared-{v}.txt" for v in versions}
    compiles = [subprocess.Popen([compiler, "-fsyntax-only", f"-D_WIN32_WINNT={v}",
                                  f"-DWINVER={v}", f"-DNTDDI_VERSION={v}0000",
                                  "-aux-info", str(listings[v]), str(source)])
                for v in versions]
    if any(c.wait() for c in compiles):
        raise SystemExit("the system headers did not compile")
    pattern = re.compile(r"\*/ extern .*?\b([A-Za-z_][A-Za-z0-9_]*) \(")
    return [{m.group(1) for line in listings[v].read_text().splitlines()
             if (m := pattern.search(line))} for v in versions]


def newer_than_windows_7(compiler):
    with tempfile.TemporaryDirectory() as work:
        old, new = declared_functions(compiler, ["0x0601", "0x0A00"], work)
    if "CreateWindowExW" not in old:
        raise SystemExit("no functions read from the system headers")
    return (new - old) | NEWER_FOR_EVERY_TARGET


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--compiler", required=True, help="the MinGW-w64 C compiler")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()

    newer = newer_than_windows_7(args.compiler)
    failures = []
    for program in args.programs:
        image = Image(Path(program).read_bytes())
        imports = ordinary_imports(image) + delayed_imports(image)
        print(f"{program}:")
        for dll, functions, delayed in imports:
            print(f"  {dll}{' (loaded at first call)' if delayed else ''}: "
                  + " ".join(sorted(functions)))
            if dll.lower() not in WINDOWS_7_LIBRARIES:
                failures.append(f"{program}: {dll} is not a known Windows 7 SP1 library")
            failures += [f"{program}: {dll} {f} is newer than Windows 7 SP1"
                         for f in sorted(functions) if f in newer]
    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        return 1
    print(f"All imports exist on Windows 7 SP1 ({len(newer)} newer functions known).")
    return 0


if __name__ == "__main__":
    sys.exit(main())
