"""The autostart shortcut: "&Installieren" in the settings window writes Tastomat.lnk into
the user's startup folder, read back with an independent parser (lnkinfo), and says
whether it worked."""

import os
import re
import shutil
import subprocess
import unittest

import harness
import screen
from test_settings_window import TITLE, SettingsCase

SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"


def startup_value():
    """The "Startup" value of the shell's folders (Wine spells it "StartUp"), or None."""
    out = harness.wine("reg", "query", SHELL_FOLDERS, "/v", "Startup", check=False)
    match = re.search(r"^\s*Startup\s+REG_\w+\s+(.*?)\s*$",
                      out.decode("utf-8", "replace"), re.IGNORECASE | re.MULTILINE)
    return match.group(1) if match else None


def lnkinfo(path):
    """{field: value} of the link as liblnk reads it."""
    if not shutil.which("lnkinfo"):
        raise unittest.SkipTest("lnkinfo (liblnk-utils) is not installed")
    out = subprocess.run(["lnkinfo", path], capture_output=True, check=True, timeout=30).stdout
    fields = {}
    for line in out.decode("utf-8", "replace").splitlines():
        if ":" in line:
            name, value = line.split(":", 1)
            fields.setdefault(name.strip(), value.strip())
    return fields


class Autostart(SettingsCase):

    def press_install(self, box_title):
        harness.click_button(TITLE, "&Installieren")
        box = screen.wait_for_window(box_title)
        screen.grab(save_as=self.artifact(f"{box_title}.png"))
        screen.focus(box)
        screen.key("Return")
        screen.wait_until_gone(box_title)

    def test_installieren_writes_one_link_to_the_program(self):
        folder = harness.unix_path(startup_value())
        link = os.path.join(folder, "Tastomat.lnk")
        if os.path.exists(link):
            os.remove(link)
        self.addCleanup(lambda: os.path.exists(link) and os.remove(link))
        self.start_up()
        self.open_settings()
        self.press_install("Informationen")
        self.press_install("Informationen")  # replaces the link, no second one

        self.assertEqual([n for n in os.listdir(folder) if n.lower().endswith(".lnk")],
                         ["Tastomat.lnk"])
        exe = harness.windows_path(self.exe)
        info = lnkinfo(link)
        self.assertEqual(info.get("Local path", "").lower(), exe.lower())
        self.assertEqual(info.get("Working directory", "").lower(),
                         exe[:exe.rindex("\\") + 1].lower())
        self.assertEqual(info.get("Description"), "Tastomat")
        self.assertEqual(info.get("Command line arguments", ""), "")

    def test_without_startup_folder_it_fails_and_writes_nothing(self):
        value = startup_value()
        folder = harness.unix_path(value)
        self.addCleanup(harness.reg_add, SHELL_FOLDERS, "StartUp", value)
        harness.reg_delete(SHELL_FOLDERS, "Startup")
        before = sorted(os.listdir(folder))
        self.start_up()
        self.open_settings()
        self.press_install("Fehler")
        self.assertEqual(sorted(os.listdir(folder)), before)
        self.assertIsNone(startup_value())
