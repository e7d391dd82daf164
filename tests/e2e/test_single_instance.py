"""Starting the program while it already runs: the later start hands over to the running
copy and ends without showing anything or touching the settings file; a start storm
leaves one running copy."""

import os

import harness
import screen
from screen import wait_until

BADGE = "Start als User..."
QUIET = 1.5


class SingleInstance(harness.TastomatCase):

    def settings_state(self):
        path = harness.settings_path()
        with open(path, "rb") as f:
            return f.read(), os.stat(path).st_mtime_ns

    def badge_shown(self):
        return bool(screen.windows(BADGE, harness.PROCESS_CLASS))

    def show_badge(self, focus):
        screen.focus(focus)
        screen.key("alt+F12")
        return screen.wait_for_window(BADGE, harness.PROCESS_CLASS)

    def test_second_start_ends_and_the_first_copy_runs_on_unseen(self):
        self.start_tastomat()
        self.wait_for_settings()
        focus = self.start_focus_window()
        before = self.settings_state()
        self.assertEqual(harness.tray_icon_count(), 1)

        second = self.start(self.exe, "-n", "liste.txt", log_name="second.log")
        wait_until(lambda: second.poll() is not None, what="the second start to end")
        self.assertEqual(second.returncode, 0)

        self.assertIsNone(self.tastomat.poll(), "the first copy ended")
        self.assertTrue(screen.stays_false(self.badge_shown, QUIET),
                        "the hidden badge came up")
        self.assertEqual(harness.tray_icon_count(), 1)
        self.assertEqual(self.settings_state(), before, "the settings file was touched")
        screen.grab(save_as=self.artifact("after-second-start.png"))
        # The first copy still answers its hotkey.
        self.show_badge(focus)

    def test_twenty_starts_at_once_leave_one_copy_that_answers_its_hotkey(self):
        copies = [self.start(self.exe, log_name=f"copy-{i}.log") for i in range(20)]

        def running():
            return [p for p in copies if p.poll() is None]
        # Later copies that get no answer take over after 10 s; they would keep running.
        wait_until(lambda: len(running()) <= 1, timeout=120, what="all copies but one to end")
        self.assertEqual(len(running()), 1)
        self.assertEqual(sorted({p.returncode for p in copies if p.poll() is not None}), [0])
        self.tastomat = running()[0]
        self.tray_window()
        self.assertEqual(harness.tray_icon_count(), 1)
        self.wait_for_settings()
        self.show_badge(self.start_focus_window())


if __name__ == "__main__":
    import unittest
    unittest.main()
