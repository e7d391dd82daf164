#!/usr/bin/env python3
"""Marks a Windows program to be copied whole into the page file when it is started from a
removable or network drive, and checks that mark.

    pe_swaprun.py mark Tastomat.exe            after linking, before anything copies it
    pe_swaprun.py check Tastomat.exe tastomat.zip ...

Windows reads a program's pages from its file as they are first touched. Pulled from the
stick while it runs, the program would die at the first page it had not yet touched (an
in-page error), which may be the settings window opened for the first time. The two
header flags (link.exe's /SWAPRUN:CD,NET) make the loader copy the image at start; GNU ld
cannot set them, so they are set here. A set header checksum is kept right, computed as
CheckSumMappedFile does. "check" reads a program file, or every .exe inside a zip archive.
"""
import struct
import sys
import zipfile

REMOVABLE_RUN_FROM_SWAP = 0x0400
NET_RUN_FROM_SWAP = 0x0800
SWAPRUN = REMOVABLE_RUN_FROM_SWAP | NET_RUN_FROM_SWAP


class NotAProgram(Exception):
    pass


def header_offsets(image):
    """(offset of the COFF characteristics, offset of the optional header's checksum)."""
    if len(image) < 0x40 or image[:2] != b"MZ":
        raise NotAProgram("no MZ header")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise NotAProgram("no PE signature")
    coff = pe + 4
    optional_size = struct.unpack_from("<H", image, coff + 16)[0]
    if optional_size < 68 or coff + 20 + optional_size > len(image):
        raise NotAProgram("optional header too short")
    # The checksum sits at the same place in the headers of 32- and 64-bit programs.
    return coff + 18, coff + 20 + 64


def checksum(image, checksum_at):
    """The image checksum: 16-bit one's-complement-style sum of the file with the checksum
    field taken as zero, folded to 16 bits, plus the file's length."""
    total = 0
    even = len(image) & ~1
    words = struct.unpack_from(f"<{even // 2}H", image)
    skip = (checksum_at // 2, checksum_at // 2 + 1)
    for i, word in enumerate(words):
        if i in skip:
            continue
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    if len(image) & 1:
        total += image[-1]
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def problems(image):
    """What is wrong with a program's header; empty when both flags are set and the
    checksum, if set, is right."""
    flags_at, checksum_at = header_offsets(image)
    found = []
    flags = struct.unpack_from("<H", image, flags_at)[0]
    if flags & SWAPRUN != SWAPRUN:
        found.append(f"characteristics 0x{flags:04x} lack 0x{SWAPRUN:04x} "
                     "(run from swap on removable and network media)")
    stored = struct.unpack_from("<I", image, checksum_at)[0]
    if stored and stored != checksum(image, checksum_at):
        found.append(f"header checksum 0x{stored:08x} is not the file's "
                     f"0x{checksum(image, checksum_at):08x}")
    return found


def mark(path):
    with open(path, "rb") as f:
        image = bytearray(f.read())
    flags_at, checksum_at = header_offsets(image)
    flags = struct.unpack_from("<H", image, flags_at)[0]
    struct.pack_into("<H", image, flags_at, flags | SWAPRUN)
    if struct.unpack_from("<I", image, checksum_at)[0]:
        struct.pack_into("<I", image, checksum_at, checksum(image, checksum_at))
    with open(path, "wb") as f:
        f.write(image)


def programs_in(path):
    """[(name, bytes)]: the file itself, or the programs inside a zip archive."""
    if zipfile.is_zipfile(path):
        with zipfile.ZipFile(path) as archive:
            found = [(f"{path}:{name}", archive.read(name)) for name in archive.namelist()
                     if name.lower().endswith(".exe")]
        if not found:
            raise NotAProgram(f"{path} holds no program")
        return found
    with open(path, "rb") as f:
        return [(path, f.read())]


def main(argv):
    if len(argv) < 3 or argv[1] not in ("mark", "check"):
        print(__doc__, file=sys.stderr)
        return 2
    failed = False
    for path in argv[2:]:
        try:
            if argv[1] == "mark":
                mark(path)
                continue
            for name, image in programs_in(path):
                found = problems(image)
                for problem in found:
                    print(f"{name}: {problem}")
                if not found:
                    print(f"{name}: runs from swap on removable and network media")
                failed = failed or bool(found)
        except (OSError, NotAProgram, zipfile.BadZipFile) as error:
            print(f"{path}: {error}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
