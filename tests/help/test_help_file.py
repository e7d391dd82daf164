"""The built help file, read with a reader of its own (Debian's chmlib tools): its topics,
the pages its context numbers open, its title, and that every link stays inside the file.

    TASTOMAT_HELP_FILE=build/win64/TASTOMAT.chm python3 -m unittest test_help_file
"""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest

HELP_FILE = os.environ.get("TASTOMAT_HELP_FILE", "build/win64/TASTOMAT.chm")

# The numbers the program opens, and the page with its title each must open.
CONTEXTS = [
    (100, "settings.htm", "Das Fenster Einstellungen"),
    (400, "launcher.htm", "Das Startfenster und die Tasten"),
    (600, "parameters.htm", "Parameter und Arbeitsverzeichnis"),
    (32000, "info.htm", "Info und neue Version"),
]
# Opened by name from the administrator dialog.
ADMINISTRATOR_PAGE = "administrator.htm"
PAGES = {"start.htm", "launcher.htm", "settings.htm", "parameters.htm", "portable.htm",
         ADMINISTRATOR_PAGE, "info.htm"}


def topics(path):
    """Names of the files stored in the help file, as enum_chmLib lists them."""
    out = subprocess.run(["enum_chmLib", path], capture_output=True, text=True,
                         check=True).stdout
    names = []
    for line in out.splitlines():
        fields = line.split()
        if len(fields) >= 5 and fields[0].isdigit() and fields[-1].startswith("/"):
            names.append(fields[-1])
    return names


def system_entries(data):
    """{code: bytes} of #SYSTEM: a version word, then code, length, data records."""
    entries, pos = {}, 4
    while pos + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, pos)
        entries[code] = data[pos + 4:pos + 4 + length]
        pos += 4 + length
    return entries


def c_string(data, offset=0):
    return data[offset:data.index(b"\0", offset)].decode("cp1252")


def context_map(ivb, strings):
    """{context number: topic} from #IVB (size, then number/offset pairs) and #STRINGS."""
    size = struct.unpack_from("<I", ivb, 0)[0]
    pairs = (struct.unpack_from("<II", ivb, 4 + 8 * i) for i in range(size // 8))
    return {number: c_string(strings, offset) for number, offset in pairs}


def title_of(page):
    match = re.search(r"<title>(.*?)</title>", page, re.S)
    return match.group(1).strip() if match else None


class HelpFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(HELP_FILE):
            raise AssertionError(f"{HELP_FILE} is not built: build the win64 preset first")
        cls.folder = tempfile.mkdtemp(prefix="tastomat-help-")
        subprocess.run(["extract_chmLib", HELP_FILE, cls.folder], check=True,
                       stdout=subprocess.DEVNULL)
        cls.topics = topics(HELP_FILE)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def read(self, name):
        with open(os.path.join(self.folder, name.lstrip("/")), "rb") as f:
            return f.read()

    def page(self, name):
        return self.read(name).decode("utf-8")

    def test_topics_title_and_start_page(self):
        stored = {t.lstrip("/") for t in self.topics if t.endswith(".htm")}
        self.assertEqual(stored, PAGES, f"topics: {sorted(self.topics)}")
        system = system_entries(self.read("#SYSTEM"))
        self.assertEqual(c_string(system[3]), "Tastomat-Hilfe")  # the viewer's caption
        self.assertEqual(c_string(system[2]), "start.htm")
        self.assertEqual(struct.unpack_from("<I", system[4])[0], 0x0407)  # German

    def test_context_numbers_open_their_pages(self):
        contexts = context_map(self.read("#IVB"), self.read("#STRINGS"))
        self.assertEqual(sorted(contexts), [number for number, _, _ in CONTEXTS])
        for number, page, title in CONTEXTS:
            with self.subTest(context=number):
                self.assertEqual(contexts[number], page)
                self.assertIn("/" + page, self.topics)
                self.assertEqual(title_of(self.page(page)), title)

    def test_every_link_leads_to_a_file_of_the_help(self):
        stored = {t.lstrip("/") for t in self.topics}
        links = []
        for name in sorted(stored):
            if name.endswith(".htm"):
                links += [(name, href) for href in re.findall(r'href="([^"#:]+)', self.page(name))]
            elif name.endswith((".hhc", ".hhk")):
                text = self.read(name).decode("cp1252")
                links += [(name, local) for local in
                          re.findall(r'name="Local" value="([^"]+)"', text)]
        self.assertTrue(links)
        for name, target in links:
            with self.subTest(link=f"{name} -> {target}"):
                self.assertIn(target, stored)
        contents = self.read("contents.hhc").decode("cp1252")
        self.assertEqual(set(re.findall(r'name="Local" value="([^"]+)"', contents)), PAGES)


if __name__ == "__main__":
    unittest.main()
