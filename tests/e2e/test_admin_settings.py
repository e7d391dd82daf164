"""The administrator settings: the account for run-as starts, typed with a masked password,
and the run-as hotkey, which has no key after a start until one is pressed in the dialog."""

import harness
import screen
from screen import wait_until

TITLE = "Administratoreinstellungen"
ADMIN_BADGE = "Start als Admin..."
QUIET = 1.5


class AdminSettings(harness.TastomatCase):

    def fields(self):
        """The dialog's three edits, top to bottom: user name, password, hotkey."""
        edits = [w for w in harness.probe_windows("children", TITLE)
                 if w.window_class.lower() == "edit"]
        return sorted(edits, key=lambda w: w.top) if len(edits) == 3 else None

    def hotkey_text(self):
        fields = self.fields()
        return fields[2].text if fields else None

    def password_shot(self, field):
        return screen.grab(field.region()).data

    def test_account_and_run_as_hotkey_are_typed_into_the_dialog(self):
        self.start_tastomat()
        self.wait_for_settings()
        focus = self.start_focus_window()
        screen.focus(focus)
        screen.key("alt+F11")
        self.assertTrue(screen.stays_false(lambda: screen.windows(ADMIN_BADGE), QUIET),
                        "a run-as hotkey answered before one was set")

        self.choose_tray_item("Einstellungen Administrator")
        dialog = screen.wait_for_window(TITLE)
        self.assertGreater(dialog.x, 1280 // 2)
        self.assertGreater(dialog.y, 1024 // 2)
        user, password, hotkey = wait_until(self.fields, what="the dialog's fields")
        screen.focus(dialog)
        screen.type_text("admin")
        # Tab into a field selects its text; what is typed then replaces it.
        screen.key("Tab")
        screen.type_text("geheim12")
        screen.key("Tab")
        first = self.password_shot(password)
        screen.key("shift+Tab")
        screen.type_text("wortXYZ9")
        screen.key("Tab")
        # Masked, two passwords of one length look alike; in clear text they would not.
        self.assertTrue(self.password_shot(password) == first, "the password can be read")
        screen.grab(save_as=self.artifact("admin-dialog.png"))

        # A bare key, Backspace and a digit never become the run-as hotkey, nor text. (The
        # Shift of shift+Tab above was taken, as Shift alone is in the settings window.)
        held = self.hotkey_text()
        screen.type_text("q")
        screen.key("BackSpace", "7")
        self.assertTrue(screen.stays_false(lambda: self.hotkey_text() != held, QUIET),
                        f"the hotkey field took {self.hotkey_text()!r}")
        screen.key("alt+F11")
        wait_until(lambda: self.hotkey_text() == "Alt+F11", what='"Alt+F11" in the hotkey field')
        screen.type_text("q")
        self.assertTrue(screen.stays_false(lambda: self.hotkey_text() != "Alt+F11", QUIET),
                        f"the hotkey field shows {self.hotkey_text()!r}")
        screen.focus(focus)
        screen.type_text("q")
        self.assertTrue(screen.stays_false(lambda: screen.windows(ADMIN_BADGE), QUIET),
                        "q became the run-as hotkey")
        screen.key("alt+F11")
        screen.wait_for_window(ADMIN_BADGE, harness.PROCESS_CLASS)


if __name__ == "__main__":
    import unittest
    unittest.main()
