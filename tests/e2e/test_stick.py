"""Running from a stick: Tastomat started from its folder on a removable drive lets go of
that folder, so that Windows could remove the stick while it runs, and a slot without a
working folder still starts in the folder that drive had as its current one."""

import os
import shutil

import harness
import screen
from screen import wait_until
from test_launch import LaunchCase, ini_text

STICK = "R:"
FOLDER = STICK + "\\Tastomat"


def current_folders():
    """The current directory of each running Tastomat.exe, as its process keeps it."""
    records = harness.probe("folder", "Tastomat.exe")
    return [folder for [folder] in records] if records else None


class StartedFromTheStick(LaunchCase):
    """R: is a removable drive (Wine's "floppy") holding Tastomat.exe and the recorder in
    the folder Tastomat; Tastomat is started with that folder current, as Explorer and the
    autostart link start it."""

    def setUp(self):
        super().setUp()
        self.stick = os.path.join(self.work, "stick")
        os.makedirs(os.path.join(self.stick, "Tastomat"))
        for name in ("Tastomat.exe", "record_start.exe"):
            shutil.copy(harness.build_file(name), os.path.join(self.stick, "Tastomat", name))
        self.addCleanup(harness.remove_drive, STICK[0], restart=False)
        harness.add_drive(STICK[0], self.stick, "floppy")
        self.exe = FOLDER + "\\Tastomat.exe"
        self.launcher_drive = STICK

    def start_from_the_stick(self, sections):
        harness.write_settings(ini_text(sections))
        # "start /d" sets the folder the program starts in, as a shortcut's "Start in" does.
        self.start("start", "/d", FOLDER, self.exe, log_name="tastomat.log")
        self.tray_window(timeout=60)
        self.wait_for_settings()
        self.focus = self.start_focus_window()

    def test_the_program_folder_is_let_go_and_a_slot_without_folder_starts_in_it(self):
        system = harness.wine("cmd", "/c", "echo", "%SystemRoot%\\system32").decode().strip()
        self.start_from_the_stick({"Buchstaben": [
            ("A", FOLDER + "\\record_start.exe"), ("VA", ""),
            ("PA", self.recorder_params("slot-a")),
        ]})
        folders = wait_until(current_folders, what="Tastomat's current directory")
        # Windows keeps the final backslash of a current directory.
        self.assertEqual([f.rstrip("\\").lower() for f in folders], [system.lower()])

        self.show_badge()
        screen.key("a")
        [(command, cwd)] = harness.wait_for_starts(self.log)
        self.assertTrue(command.endswith(" slot-a"), command)
        # The bare drive R: names the folder that was current there when Tastomat started.
        self.assertEqual(cwd.rstrip("\\").lower(), FOLDER.lower())
        self.wait_badge_hidden()
