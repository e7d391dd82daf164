"""Moving the table's paths to another drive letter: "&Laufwerk" in the settings window, a
drive checked in "Laufwerk auswählen", and the moved paths in the settings file; the dialog
with a share that does not answer."""

import os
import shutil
import tempfile
import time

import harness
import screen
import slow_drive
from test_settings_window import TITLE, SettingsCase

DIALOG = "Laufwerk ausw\u00e4hlen"


def drive_letters():
    """The drive letters of the prefix, in the order the drive list shows them."""
    names = os.listdir(os.path.join(harness.prefix(), "dosdevices"))
    return sorted(n[0].upper() for n in names if len(n) == 2 and n[1] == ":")


class DriveRetargeting(SettingsCase):

    def setUp(self):
        super().setUp()
        self.drives = tempfile.mkdtemp(prefix="tastomat-drives-")
        self.addCleanup(shutil.rmtree, self.drives, True)
        for letter in "EF":
            os.makedirs(os.path.join(self.drives, letter))
        # The stick is F: on this computer: the program and the folder are found there.
        os.makedirs(os.path.join(self.drives, "F", "Tools"))
        os.makedirs(os.path.join(self.drives, "F", "Projekte"))
        with open(os.path.join(self.drives, "F", "Tools", "edit.exe"), "wb") as f:
            f.write(b"MZ")
        self.addCleanup(harness.remove_drive, "E", restart=False)
        self.addCleanup(harness.remove_drive, "F", restart=False)
        harness.add_drive("E", os.path.join(self.drives, "E"), restart=False)
        harness.add_drive("F", os.path.join(self.drives, "F"))

    def test_checking_f_moves_the_paths_found_there(self):
        harness.write_settings(
            "[Buchstaben]\r\nA=D:\\Tools\\edit.exe\r\nVA=D:\\Texte\\\r\nPA=D:\\Texte\\a.txt\r\n"
            "B=D:\\Fehlt\\b.exe\r\nC=\\\\server\\share\\c.exe\r\n\r\n"
            "[Zahlen]\r\n0=D:\\Projekte\\\r\n\r\n")
        self.start_up()
        self.open_settings()
        harness.click_button(TITLE, "&Laufwerk")
        dialog = screen.wait_for_window(DIALOG)
        # Top-left corner of the screen (what X reports is the client area, inside the frame).
        self.assertLess(max(dialog.x, dialog.y), 40)

        # The first drive has the keyboard; F: is reached with the arrow keys and checked
        # with the space bar.
        screen.focus(dialog)
        screen.key("Home")
        for _ in range(drive_letters().index("F")):
            screen.key("Right", delay_ms=20)
        screen.key("space")
        screen.grab(save_as=self.artifact("drive-dialog.png"))
        screen.key("Return")
        screen.wait_until_gone(DIALOG)
        self.close_settings()

        sections = self.sections()
        letters = sections["Buchstaben"]
        self.assertEqual((letters["A"], letters["VA"], letters["PA"]),
                         ("F:\\Tools\\edit.exe", "D:\\Texte\\", "D:\\Texte\\a.txt"))
        self.assertEqual(letters["B"], "D:\\Fehlt\\b.exe")
        self.assertEqual(letters["C"], "\\\\server\\share\\c.exe")
        self.assertEqual(sections["Zahlen"]["0"], "F:\\Projekte\\")


def mount_share_as_d(case, lookup_seconds, *programs):
    """D: a mapped network drive over a folder of its own holding the programs (paths with
    "/"), whose lookups the scenario can make slow; everything goes again after it."""
    share = tempfile.mkdtemp(prefix="tastomat-share-")
    case.addCleanup(shutil.rmtree, share, True)
    for program in programs:
        path = os.path.join(share, *program.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"MZ")
    case.assertFalse(os.path.lexists(os.path.join(harness.prefix(), "dosdevices", "d:")),
                     "the prefix must have no D: drive")
    mounted = slow_drive.mount_for(case, share, lookup_seconds)
    case.addCleanup(harness.remove_drive, "D", restart=False)
    # Wine is started again to forget the drive.
    case.addCleanup(mounted.go_fast)
    harness.add_drive("D", mounted.mountpoint, "network")
    return mounted


class DriveDialogWithAShareThatDoesNotAnswer(SettingsCase):
    """D: a mapped network drive whose server goes out of reach while the settings window
    is open: every lookup on it, its root's too, then takes seconds."""

    LOOKUP_SECONDS = 3.0

    def setUp(self):
        super().setUp()
        self.share = mount_share_as_d(self, self.LOOKUP_SECONDS)

    def test_dialog_opens_within_the_deadline_and_names_the_share_by_its_letter(self):
        self.start_up()
        self.open_settings()
        button = harness.wait_until(lambda: harness.child_window(TITLE, "button", "&Laufwerk"),
                                    what="the button &Laufwerk")
        self.share.go_slow(root_too=True)
        self.addCleanup(self.share.save_log, self.artifact("share-lookups.log"))
        clicked = time.monotonic()
        screen.click(*button.centre())
        dialog = screen.wait_for_window(DIALOG)
        shown = time.monotonic() - clicked
        # Each Wine process start looks at every drive's root, the probe's too.
        self.share.go_fast()
        items = harness.wait_until(lambda: harness.list_view_items(DIALOG),
                                   what="the drives in the dialog")
        print(f"\n  with D: answering after {self.LOOKUP_SECONDS:.0f} s a lookup: dialog shown "
              f"{shown:.2f} s after the click, drives (text, icon) {items}")
        screen.grab(save_as=self.artifact("drive-dialog.png"))
        self.assertEqual(len(items), len(drive_letters()))
        [(text, icon)] = [item for item in items if "D:" in item[0]]
        self.assertEqual(text, "D:")
        self.assertGreaterEqual(icon, 0, "the share is shown without an icon")
        self.assertLess(shown, 2.5, "the dialog waited for the share")
        screen.focus(dialog)
        screen.key("Escape")
        screen.wait_until_gone(DIALOG)
        self.close_settings()


class RetargetingOntoAShareThatDoesNotAnswer(SettingsCase):
    """D: a mapped network drive that holds the table's program but whose server stops
    answering once the settings window is open: each lookup on it then takes longer than the
    scenario."""

    LOOKUP_SECONDS = 40.0

    def setUp(self):
        super().setUp()
        self.share = mount_share_as_d(self, self.LOOKUP_SECONDS, "Tools/edit.exe")

    def test_the_settings_window_keeps_answering_and_nothing_moves_to_the_share(self):
        harness.write_settings("[Buchstaben]\r\nA=E:\\Tools\\edit.exe\r\nB=E:\\Tools\\b.exe\r\n"
                               "\r\n")
        self.start_up()
        window = self.open_settings()
        harness.wait_until(lambda: harness.child_window(TITLE, "button", "&Laufwerk"),
                           what="the button &Laufwerk")
        # Its root answers: Wine looks at every root at each process start, the probes' too.
        self.share.go_slow()
        self.addCleanup(self.share.save_log, self.artifact("share-lookups.log"))
        harness.click_button(TITLE, "&Laufwerk")
        dialog = screen.wait_for_window(DIALOG)
        screen.focus(dialog)
        screen.key("Home")
        for _ in range(drive_letters().index("D")):
            screen.key("Right", delay_ms=20)
        screen.key("space")
        screen.key("Return")
        asked = time.monotonic()
        screen.wait_until_gone(DIALOG)

        # While the share is asked the window takes the next edit: slot B is deleted.
        # The list takes the keys again once it is clicked: the button had them.
        screen.click(*harness.child_window(TITLE, "listbox").centre())
        self.select_slot(window, 1)
        harness.click_button(TITLE, "&L\u00f6schen")
        harness.wait_until(lambda: (harness.list_lines(TITLE) or [""] * 2)[1] == "B: " or None,
                           what="slot B to be cleared")
        answered = time.monotonic() - asked
        print(f"\n  with D: answering after {self.LOOKUP_SECONDS:.0f} s a lookup: the window "
              f"took an edit {answered:.2f} s after the drive was chosen")
        self.assertLess(answered, self.LOOKUP_SECONDS / 4, "the window waited for the share")
        # Past the deadline the share counts as not having the program: slot A stays.
        self.assertTrue(screen.stays_false(
            lambda: (harness.list_lines(TITLE) or [""])[0] != "A: E:\\Tools\\edit.exe", 2.0))
        self.close_settings()
        letters = self.sections()["Buchstaben"]
        self.assertEqual((letters["A"], letters["B"]), ("E:\\Tools\\edit.exe", ""))
