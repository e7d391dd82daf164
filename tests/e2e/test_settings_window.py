"""The settings window: opening it from the badge, assigning, deleting and parameterising
slots, capturing the launcher hotkey, and the control-state store with its backup."""

import os
import shutil
import tempfile

import harness
import screen
from screen import wait_until

TITLE = "Einstellungen"
BADGE = "Start als User..."
OPEN_TITLE = "Programm w\u00e4hlen"
FOLDER_TITLE = "Ordner suchen"  # Wine's title of the folder chooser is not ours to set


class SettingsCase(harness.TastomatCase):
    """Helpers of the settings-window scenarios."""

    def setUp(self):
        super().setUp()
        self.work = tempfile.mkdtemp(prefix="tastomat-settings-")
        self.addCleanup(shutil.rmtree, self.work, True)
        self.record = os.path.join(self.work, "record.txt")

    def start_up(self):
        self.start_tastomat()
        self.wait_for_settings()
        self.focus = self.start_focus_window()

    def show_badge(self, combo="alt+F12"):
        screen.focus(self.focus)
        screen.key(combo)
        return screen.wait_for_window(BADGE)

    def open_settings(self):
        """Ctrl+E on the badge; returns the settings window."""
        self.show_badge()
        screen.key("ctrl+e")
        return screen.wait_for_window(TITLE)

    def settings_window(self):
        return next(iter(screen.windows(TITLE)), None)

    def close_settings(self, how="Escape"):
        window = self.settings_window()
        screen.focus(window)
        screen.key(how)
        screen.wait_until_gone(TITLE)

    def select_slot(self, window, slot):
        """Marks a line of the list by keyboard: Home, then down to the slot."""
        screen.focus(window)
        screen.key("Home")
        for _ in range(slot):
            screen.key("Down", delay_ms=20)

    def restart(self):
        self.tastomat.kill()
        harness.stop_wine()
        self.processes = []
        self.start_up()

    def sections(self):
        return harness.ini_sections(harness.read_settings()[0])

    def wait_for_record(self, count=1):
        def lines():
            if not os.path.exists(self.record):
                return None
            with open(self.record, encoding="utf-8") as f:
                got = f.read().splitlines()
            return got if len(got) >= count else None
        return wait_until(lines, timeout=20, what="the helper program to record its start")

    def helper_copy(self):
        """record_start.exe copied into the work folder, as a Windows path."""
        target = os.path.join(self.work, "record_start.exe")
        shutil.copy(harness.build_file("record_start.exe"), target)
        return harness.windows_path(target)


class OpenSettings(SettingsCase):

    def test_ctrl_e_opens_it_once_at_the_bottom_right(self):
        self.start_up()
        window = self.open_settings()
        # Bottom right of the 1280x1024 screen, clear of where a taskbar would be.
        self.assertGreater(window.x, 1280 // 2)
        self.assertGreater(window.y, 1024 // 3)
        self.assertLessEqual(window.x + window.width, 1280)
        self.assertLessEqual(window.y + window.height, 1024)
        screen.grab(save_as=self.artifact("settings-window.png"))
        # Ctrl+E again from the badge brings up no second window.
        self.show_badge_while_open()
        self.assertEqual(len(screen.windows(TITLE)), 1)

    def show_badge_while_open(self):
        # The launcher hotkey is off while the window is open; the tray menu still works.
        items = self.open_tray_menu()
        screen.click(*dict(items)["Einstellungen Tastomat"])
        wait_until(lambda: self.menu_items() is None, what="the tray menu to close")
        self.assertTrue(screen.stays_false(lambda: len(screen.windows(TITLE)) != 1, 1.0))
