#!/usr/bin/env python3
"""Makes the context-number table of a help file built by chmcmd point inside the file.

chmcmd 3.2.2 (Debian's fp-utils) writes each context topic of the project's [ALIAS]/[MAP]
as the page's absolute path on the build machine (/home/.../help/settings.htm) into the
string table #STRINGS that #IVB refers to. A help viewer then looks for that path inside
the file and finds nothing: HH_HELP_CONTEXT opens no page, on Windows as under Wine.

This step appends the topic paths relative to the project folder to #STRINGS, writes a new
#IVB that points to them, and stores both uncompressed (section 0) at the end of the file;
every other string keeps its offset, so nothing else in the file changes meaning. Topics
that already lie inside the file are left alone, so a fixed chmcmd makes this a no-op.

    chm_context_paths.py FILE.chm PROJECT_FOLDER

The compressed originals are read with extract_chmLib (Debian's libchm-bin).
"""

import os
import struct
import subprocess
import sys
import tempfile

CHUNK_HEADER = 20  # "PMGL", free space, 0, previous chunk, next chunk
QUICKREF_EVERY = 5  # 1 + (1 << density), density 2 as chmcmd writes it


def read_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Chm:
    """The parts of an ITSF file this step touches: header, directory chunks, content."""

    def __init__(self, data):
        if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
            raise ValueError("not a version 3 ITSF (CHM) file")
        self.data = bytearray(data)
        self.section0_header, _, self.dir_offset, _ = struct.unpack_from("<QQQQ", data, 0x38)
        self.content = struct.unpack_from("<Q", data, 0x58)[0]
        if self.data[self.dir_offset:self.dir_offset + 4] != b"ITSP":
            raise ValueError("no ITSP directory header")
        header_len, _, self.chunk_size, density = struct.unpack_from(
            "<IIII", data, self.dir_offset + 8)
        if density != 2:
            raise ValueError(f"unexpected directory density {density}")
        self.first_chunk = struct.unpack_from("<i", data, self.dir_offset + 0x20)[0]
        self.chunks_at = self.dir_offset + header_len

    def chunk_start(self, index):
        return self.chunks_at + index * self.chunk_size

    def listing_chunks(self):
        index = self.first_chunk
        while index != -1:
            start = self.chunk_start(index)
            if self.data[start:start + 4] != b"PMGL":
                raise ValueError(f"directory chunk {index} is no listing chunk")
            yield index
            index = struct.unpack_from("<i", self.data, start + 16)[0]

    def entries(self, index):
        """[(name, section, offset, length)] of one listing chunk."""
        start = self.chunk_start(index)
        chunk = self.data[start:start + self.chunk_size]
        end = self.chunk_size - struct.unpack_from("<I", chunk, 4)[0]
        pos, found = CHUNK_HEADER, []
        while pos < end:
            size, pos = read_encint(chunk, pos)
            name = chunk[pos:pos + size].decode("utf-8")
            pos += size
            section, pos = read_encint(chunk, pos)
            offset, pos = read_encint(chunk, pos)
            length, pos = read_encint(chunk, pos)
            found.append((name, section, offset, length))
        count = struct.unpack_from("<H", chunk, self.chunk_size - 2)[0]
        if count != len(found):
            raise ValueError(f"chunk {index} lists {len(found)} entries, says {count}")
        return found

    def write_entries(self, index, entries):
        """Lays a listing chunk out anew, quick-reference area included."""
        start = self.chunk_start(index)
        header = bytes(self.data[start:start + CHUNK_HEADER])
        body, quickrefs = bytearray(), []
        for n, (name, section, offset, length) in enumerate(entries, 1):
            raw = name.encode("utf-8")
            entry = encint(len(raw)) + raw + encint(section) + encint(offset) + encint(length)
            if n % QUICKREF_EVERY == 0:
                quickrefs.append(len(body))
            body += entry
        tail = b"".join(struct.pack("<H", q) for q in reversed(quickrefs))
        tail += struct.pack("<H", len(entries))
        used = CHUNK_HEADER + len(body)
        if used + len(tail) > self.chunk_size:
            raise ValueError(f"directory chunk {index} has no room for the new entries")
        chunk = bytearray(self.chunk_size)
        chunk[:CHUNK_HEADER] = header
        struct.pack_into("<I", chunk, 4, self.chunk_size - used)
        chunk[CHUNK_HEADER:used] = body
        chunk[self.chunk_size - len(tail):] = tail
        self.data[start:start + self.chunk_size] = chunk

    def append_section0(self, payload):
        """Appends bytes to the uncompressed section; returns their section offset."""
        offset = len(self.data) - self.content
        self.data += payload
        struct.pack_into("<Q", self.data, self.section0_header + 8, len(self.data))
        return offset

    def relocate(self, name, payload):
        """Stores a new content for the internal file name in section 0."""
        for index in self.listing_chunks():
            entries = self.entries(index)
            for i, entry in enumerate(entries):
                if entry[0] == name:
                    offset = self.append_section0(payload)
                    entries[i] = (name, 0, offset, len(payload))
                    self.write_entries(index, entries)
                    return
        raise ValueError(f"{name} is not in the file")


def extracted(chm_path, names):
    """The contents of internal files, as extract_chmLib reads them."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["extract_chmLib", chm_path, folder], check=True,
                       stdout=subprocess.DEVNULL)
        contents = {}
        for name in names:
            path = os.path.join(folder, name.lstrip("/"))
            with open(path, "rb") as f:
                contents[name] = f.read()
        return contents


def string_at(table, offset):
    end = table.index(b"\0", offset)
    return table[offset:end].decode("utf-8")


def context_table(ivb):
    """[(context number, offset of its topic in #STRINGS)] of an #IVB."""
    size = struct.unpack_from("<I", ivb, 0)[0]
    return [struct.unpack_from("<II", ivb, 4 + 8 * i) for i in range(size // 8)]


def fixed_tables(ivb, strings, project):
    """(new #IVB, new #STRINGS), or None when every topic already lies inside the file."""
    prefix = project.rstrip("/") + "/"
    strings = bytearray(strings)
    appended, pairs, changed = {}, [], False
    for context, offset in context_table(ivb):
        topic = string_at(strings, offset)
        if topic.startswith(prefix):
            topic = topic[len(prefix):]
            if topic not in appended:
                appended[topic] = len(strings)
                strings += topic.encode("utf-8") + b"\0"
            offset, changed = appended[topic], True
        pairs.append((context, offset))
    if not changed:
        return None
    new_ivb = struct.pack("<I", 8 * len(pairs))
    new_ivb += b"".join(struct.pack("<II", c, o) for c, o in pairs)
    return new_ivb, bytes(strings)


def fix(chm_path, project):
    """Fixes the file in place; returns {context number: topic}. Fails when a topic names
    no file inside the help file."""
    project = os.path.realpath(project)
    with open(chm_path, "rb") as f:
        chm = Chm(f.read())
    names = {e[0] for i in chm.listing_chunks() for e in chm.entries(i)}
    if "/#IVB" not in names:
        return {}
    tables = extracted(chm_path, ["/#IVB", "/#STRINGS"])
    ivb, strings = tables["/#IVB"], tables["/#STRINGS"]
    fixed = fixed_tables(ivb, strings, project)
    if fixed is not None:
        ivb, strings = fixed
        chm.relocate("/#STRINGS", strings)
        chm.relocate("/#IVB", ivb)
        temporary = chm_path + ".tmp"
        with open(temporary, "wb") as f:
            f.write(chm.data)
        os.replace(temporary, chm_path)
    contexts = {c: string_at(strings, o) for c, o in context_table(ivb)}
    for context, topic in contexts.items():
        if "/" + topic.lstrip("/") not in names:
            raise SystemExit(f"context {context} leads to {topic}, which is not in {chm_path}")
    return contexts


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    fix(argv[1], argv[2])


if __name__ == "__main__":
    main(sys.argv)
