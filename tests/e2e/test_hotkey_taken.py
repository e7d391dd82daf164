"""A launcher hotkey that another program already holds: the launcher says so in a balloon
at its tray icon and can still be used from the tray menu."""

import os

import harness
import screen
from screen import wait_until

MOD_ALT = 1
VK_F12 = 0x7B


class HotkeyTaken(harness.TastomatCase):

    def hold_hotkey(self, modifiers, key):
        """Another program registers the hotkey first."""
        self.start(harness.build_file("hotkey_holder.exe"), str(modifiers), str(key),
                   log_name="holder.log")
        log = self.artifact("holder.log")

        def holding():
            if not os.path.exists(log):
                return False
            with open(log, "rb") as f:
                return b"registered" in f.read()
        wait_until(holding, what="the other program to hold the hotkey")

    def test_taken_launcher_hotkey_gives_a_balloon_and_the_menu_still_works(self):
        self.hold_hotkey(MOD_ALT, VK_F12)
        self.start_tastomat()
        texts = wait_until(harness.balloon_texts, timeout=30, what="a balloon at the tray icon")
        self.assertIn("Alt+F12 ist bereits von einem anderen Programm belegt.", texts)
        screen.grab(save_as=self.artifact("balloon.png"))

        self.choose_tray_item("Zeigen")
        screen.wait_for_window("Start als User...", harness.PROCESS_CLASS)


if __name__ == "__main__":
    import unittest
    unittest.main()
