"""The settings window: opening it from the badge, assigning, deleting and parameterising
slots, capturing the launcher hotkey, and the control-state store with its backup."""

import os
import shutil
import tempfile

import harness
import screen
from screen import wait_until

TITLE = "Einstellungen"
ADMIN_TITLE = "Administratoreinstellungen"
BADGE = "Start als User..."
OPEN_TITLE = "Programm w\u00e4hlen"
# The folder chooser's title is the system's own (Wine's German one here).
FOLDER_TITLE = "Verzeichnis ausw\u00e4hlen"


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
        # Polled: right after a dialog of its own closes, the window may take a moment to be
        # found again on a busy machine.
        window = screen.wait_for_window(TITLE)
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
        """Ends every process of the run (nothing is saved at the end) and starts anew."""
        for process in self.processes:
            if process.poll() is None:
                process.kill()
        harness.stop_wine()
        for process in self.processes:
            process.wait(timeout=10)
            process.log.close()
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

    def mark_slot(self, window, slot):
        self.select_slot(window, slot)
        return wait_until(lambda: marked_line_centre(window), what="the marked line")

    def choose_program(self, window, slot, path, paste=False):
        """Double-clicks the slot's line and gives the program chooser a path: typed, or
        pasted for letters the keyboard layout lacks (xdotool types those by remapping a
        key for a moment, and Wine, reading the layout late, may miss it)."""
        line = self.mark_slot(window, slot)
        screen.xdotool("mousemove", *line, "click", "--repeat", "2", "--delay", "80", "1")
        chooser = screen.wait_for_window(OPEN_TITLE)
        screen.focus(chooser)
        if paste:
            harness.put_on_clipboard(path)
            screen.key("ctrl+a", "ctrl+v")
        else:
            screen.type_text(path, delay_ms=20)
        screen.key("Return")
        screen.wait_until_gone(OPEN_TITLE)

    def enter_parameters(self, parameters, directory=None):
        """"&Parameter" for the marked slot: types into its dialog and confirms it."""
        harness.click_button(TITLE, "&Parameter")
        dialog = screen.wait_for_window("Parameter")
        screen.focus(dialog)
        screen.type_text(parameters, delay_ms=20)
        if directory is not None:
            screen.key("Tab")
            screen.type_text(directory, delay_ms=20)
        screen.grab(save_as=self.artifact("parameter-dialog.png"))
        screen.key("Return")
        screen.wait_until_gone("Parameter")

    def helper_copy(self):
        """record_start.exe copied into the work folder, as a Windows path."""
        target = os.path.join(self.work, "record_start.exe")
        shutil.copy(harness.build_file("record_start.exe"), target)
        return harness.windows_path(target)


class OpenSettings(SettingsCase):

    def test_ctrl_e_opens_it_once_at_the_bottom_right(self):
        self.start_up()
        window = self.open_settings()
        # Bottom right of the work area, which is the whole 1280x1024 screen here (no
        # taskbar under Xvfb): 16 px from its right edge, its bottom on the screen's bottom.
        # The outer window as Windows reports it (the X window leaves out Wine's frame).
        outer = wait_until(lambda: harness.probe_windows("top", "TTastomatProgrammliste"),
                           what="the settings window's outer rectangle")[0]
        self.assertEqual((outer.right, outer.bottom), (1280 - 16, 1024))
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


# The window's layout at the 96 dpi of the test display (designed at 120 dpi), for
# scenarios written against it; the scenarios here find each control by its caption.
SCALE = 96 / 120
GROUP_TOP = 472


def at(window, x, y):
    """Screen point of a design position inside the settings window."""
    return window.x + round(x * SCALE), window.y + round(y * SCALE)


def marked_line_centre(window):
    """Finds the highlighted line of the slot list on the screen; its (x, y) centre."""
    slots = harness.child_window(window.name, "listbox")
    if slots is None:
        return None
    x = slots.left + 40
    image = screen.grab((x, slots.top, 1, slots.bottom - slots.top))
    rows = [y for y in range(image.height) if _is_highlight(image.pixel(0, y))]
    if not rows:
        return None
    return x, slots.top + (rows[0] + rows[-1]) // 2


def _is_highlight(rgb):
    r, g, b = rgb
    return b > 100 and b > r + 40  # the selection colour is a blue


class EditSlots(SettingsCase):

    def test_program_parameters_and_directory_reach_the_started_program(self):
        helper = self.helper_copy()
        record = harness.windows_path(self.record)
        workdir = harness.windows_path(self.work)
        self.start_up()
        window = self.open_settings()

        # Double-click on slot E opens the program chooser; a path is typed into it.
        self.choose_program(window, 4, helper)
        # "&Parameter": the dialog takes parameters and working directory.
        self.enter_parameters(record, workdir)
        self.close_settings()

        slots = self.sections()["Buchstaben"]
        self.assertEqual((slots["E"], slots["PE"], slots["VE"]), (helper, record, workdir))

        self.restart()
        self.assertEqual(self.sections()["Buchstaben"]["E"], helper)
        self.show_badge()
        screen.key("e")
        line = self.wait_for_record()[0]
        command, directory = line.rsplit("|", 1)
        self.assertTrue(command.endswith(record), command)
        self.assertEqual(directory.rstrip("\\").lower(), workdir.rstrip("\\").lower())

    def test_working_directory_through_folder_chooser_and_input_box(self):
        harness.write_settings("[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\nPE=-x\r\n\r\n")
        self.start_up()
        window = self.open_settings()
        line = self.mark_slot(window, 4)
        screen.click(*line, 3)
        items = wait_until(self.menu_items, what="the list's context menu")
        self.assertEqual([text for text, _ in items],
                         ["Parameter...", "Verzeichnis...", "L\u00f6schen"])
        screen.click(*dict(items)["Verzeichnis..."])

        # The chooser's own choice is confirmed; the input box then lets the user write
        # something else, which is stored as typed - even though it is no folder.
        chooser = screen.wait_for_window(FOLDER_TITLE)
        screen.focus(chooser)
        screen.key("Return")
        screen.wait_until_gone(FOLDER_TITLE)
        box = screen.wait_for_window("Parameter angeben")
        screen.focus(box)
        screen.key("ctrl+a")
        screen.type_text("C:\\kein Ordner", delay_ms=20)
        screen.grab(save_as=self.artifact("input-box.png"))
        screen.key("Return")
        screen.wait_until_gone("Parameter angeben")
        self.close_settings()

        slots = self.sections()["Buchstaben"]
        self.assertEqual((slots["E"], slots["VE"], slots["PE"]),
                         ("C:\\Tools\\e.exe", "C:\\kein Ordner", "-x"))

    def test_deleting_a_slot_empties_its_entries_and_keeps_foreign_sections(self):
        harness.write_settings(
            "[Fremd]\r\nSchluessel=Wert bleibt\r\n\r\n"
            "[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\nVE=C:\\Tools\\\r\nPE=-x\r\n"
            "F=C:\\Tools\\f.exe\r\n\r\n")
        self.start_up()
        window = self.open_settings()
        self.mark_slot(window, 4)
        harness.click_button(TITLE, "&L\u00f6schen")
        self.close_settings()
        sections = self.sections()
        self.assertEqual({k: sections["Buchstaben"][k] for k in ("E", "VE", "PE")},
                         {"E": "", "VE": "", "PE": ""})
        self.assertEqual(sections["Buchstaben"]["F"], "C:\\Tools\\f.exe")
        self.assertEqual(sections["Fremd"], {"Schluessel": "Wert bleibt"})
        self.assertEqual(sections["Check"], {"WroteSuccesful": "1"})


class LauncherHotkey(SettingsCase):

    def type_into_hotkey_field(self, *keys):
        self.start_up()
        self.open_settings()
        harness.click_control(TITLE, "edit")
        screen.key(*keys)

    def assert_no_badge_after(self, key, quiet, message=None):
        """The key, pressed in the other application, brings up no badge."""
        screen.focus(self.focus)
        screen.key(key)
        self.assertTrue(screen.stays_false(lambda: screen.windows(BADGE), quiet), message)

    def test_typed_hotkey_replaces_alt_f12_and_survives_a_restart(self):
        self.type_into_hotkey_field("ctrl+alt+k")
        screen.grab(save_as=self.artifact("hotkey-typed.png"))
        self.close_settings(how="Return")  # Enter in the hotkey field acts as OK
        self.assertEqual(self.sections()["Programmliste"]["kuerzel"], "Strg+Alt+K")

        self.show_badge("ctrl+alt+k")
        # The badge has the keyboard again after the settings window was open.
        screen.key("Escape")
        screen.wait_until_gone(BADGE)
        self.assert_no_badge_after("alt+F12", 1.5, "Alt+F12 must no longer bring up the badge")

        self.restart()
        self.show_badge("ctrl+alt+k")


    def test_plain_keys_and_escape_in_the_hotkey_field_leave_alt_f12_armed(self):
        self.type_into_hotkey_field("k", "space", "7", "BackSpace")
        screen.grab(save_as=self.artifact("plain-keys-typed.png"))
        # Escape keeps its meaning in the window: it closes it, which saves.
        screen.key("Escape")
        screen.wait_until_gone(TITLE)
        self.assertEqual(self.sections()["Programmliste"]["kuerzel"], "Alt+F12")
        self.show_badge("alt+F12")
        screen.key("Escape")
        screen.wait_until_gone(BADGE)
        # The letter was not taken from every other application either.
        self.assert_no_badge_after("k", 1.0)


class Stacking(SettingsCase):

    def position(self, order, title):
        return next(i for i, (t, _) in enumerate(order) if t == title)

    def open_admin(self):
        self.choose_tray_item("Einstellungen Administrator")
        return screen.wait_for_window(ADMIN_TITLE)

    def test_another_application_can_come_in_front_of_a_window_opened_from_the_launcher(self):
        self.start_up()
        for title, open_window in ((TITLE, self.open_settings), (ADMIN_TITLE, self.open_admin)):
            with self.subTest(title):
                open_window()
                # Active, it is above the badge and everything else.
                order = wait_until(
                    lambda: (lambda o: o if dict(o).get(title) else None)(harness.z_order()),
                    what=f"{title} to be topmost while active")
                self.assertLess(self.position(order, title),
                                self.position(order, "TastomatE2EFocus"))

                screen.focus(self.focus)
                screen.click(self.focus.x + 100, self.focus.y + 60)

                def behind():
                    o = harness.z_order()
                    if dict(o).get(title, True):
                        return None
                    return o if self.position(o, "TastomatE2EFocus") < self.position(o, title) \
                        else None
                wait_until(behind, what=f"the other window in front of {title}")
                screen.grab(save_as=self.artifact(
                    "settings-behind.png" if title == TITLE else "admin-behind.png"))

                # Back to the window: on top again.
                window = screen.wait_for_window(title)
                screen.focus(window)
                screen.click(window.x + 30, window.y + 60)
                wait_until(lambda: dict(harness.z_order()).get(title),
                           what=f"{title} topmost again once active")
                screen.focus(window)
                screen.key("Escape")
                screen.wait_until_gone(title)


class Backup(SettingsCase):

    def test_file_without_marker_is_replaced_by_its_backup_before_the_table_is_read(self):
        good = ("[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\n\r\n"
                "[Check]\r\nWroteSuccesful=1\r\n\r\n"
                "[Buchstaben]\r\nE=C:\\Gut\\gut.exe\r\n\r\n")
        harness.write_settings("[Buchstaben]\r\nE=C:\\Kaputt\\kaputt.exe\r\n\r\n")
        with open(os.path.join(harness.settings_dir(), "Tastomat.bak"), "wb") as f:
            f.write(good.encode(harness.ANSI))
        self.start_tastomat()
        text = self.wait_for_settings()[0]
        sections = harness.ini_sections(text)
        self.assertEqual(sections["Buchstaben"]["E"], "C:\\Gut\\gut.exe")
        self.assertNotIn("Kaputt", text)

    def test_file_with_marker_is_copied_byte_for_byte_to_the_backup(self):
        original = ("\ufeff[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\n\r\n"
                    "[Check]\r\nWroteSuccesful=1\r\n\r\n[Zahlen]\r\n1=C:\\\u00dcbung\\x.exe\r\n")
        raw = original.encode("utf-16-le")
        os.makedirs(harness.settings_dir(), exist_ok=True)
        with open(harness.settings_path(), "wb") as f:
            f.write(raw)
        self.start_tastomat()
        self.wait_for_settings()
        with open(os.path.join(harness.settings_dir(), "Tastomat.bak"), "rb") as f:
            self.assertEqual(f.read(), raw)
