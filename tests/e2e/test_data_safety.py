"""Nothing the user stored is lost: a program missing on this machine keeps its slot, a
settings file that another program holds at the start is left as it was, and a path in
letters outside the ANSI code page survives a save and a restart."""

import os
import shutil
import subprocess
import time

import harness
import screen
from screen import wait_until
from test_settings_window import TITLE, SettingsCase, marked_line_centre

BADGE = "Start als User..."


def probe(what, title=None):
    """The lines of the list box in the window with this title ("list"), or the texts of
    the visible tooltips and balloons ("tooltips"); None when there are none."""
    if what == "tooltips":
        return [w.text for w in harness.probe_windows("top", "tooltips_class32")] or None
    return harness.list_lines(title)


def ini_text(sections):
    return "".join(f"[{name}]\r\n" + "".join(f"{k}={v}\r\n" for k, v in entries) + "\r\n"
                   for name, entries in sections.items())


class DataSafetyCase(SettingsCase):

    def open_from_tray(self):
        self.choose_tray_item("Einstellungen Tastomat")
        return screen.wait_for_window(TITLE)

    def hold_settings_file(self):
        """The settings file held without sharing by another program until it is killed."""
        holder = subprocess.Popen(
            ["wine", harness.build_file("hold_file.exe"),
             harness.appdata() + "\\Kobaltix\\Tastomat\\Tastomat.ini"],
            env=harness.wine_env(), stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        holder.log = None
        self.processes.append(holder)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        return holder

    def list_line(self, slot):
        return wait_until(lambda: probe("list", TITLE), what="the settings list")[slot]

    def drive(self, letter, kind, *files):
        """A drive of the prefix on a fresh folder holding copies of the helper program."""
        root = os.path.join(self.work, f"drive-{letter}")
        for relative in files:
            target = os.path.join(root, *relative.split("\\"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy(harness.build_file("record_start.exe"), target)
        os.makedirs(root, exist_ok=True)
        self.addCleanup(harness.remove_drive, letter, restart=False)
        harness.add_drive(letter, root, kind)


class MissingProgram(DataSafetyCase):

    def test_program_on_no_searched_drive_keeps_its_slot_and_a_balloon_says_so(self):
        # The program is only on a floppy, which the search leaves alone; D: is not there.
        self.drive("A", "floppy", "Tools\\rec.exe")
        stored = "D:\\Tools\\rec.exe"
        record = harness.windows_path(self.record)
        harness.write_settings(ini_text({"Buchstaben": [
            ("E", stored), ("VE", "C:\\windows"), ("PE", record)]}))
        self.start_up()

        self.show_badge()
        screen.key("e")
        screen.wait_until_gone(BADGE)
        balloon = wait_until(lambda: probe("tooltips"), what="the tray balloon")
        screen.grab(save_as=self.artifact("balloon.png"))
        self.assertIn(f"Programm nicht gefunden: {stored}", balloon)
        self.assertFalse(os.path.exists(self.record), "nothing may start")

        self.open_from_tray()
        self.assertEqual(self.list_line(4), "E: " + stored)
        self.close_settings()
        slot = self.sections()["Buchstaben"]
        self.assertEqual((slot["E"], slot["VE"], slot["PE"]), (stored, "C:\\windows", record))


class LockedAtStart(DataSafetyCase):

    def test_file_held_by_another_program_gives_the_error_box_and_stays_as_it_was(self):
        harness.write_settings(
            "; vom Benutzer\r\n[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+F9\r\n\r\n"
            "[Check]\r\nWroteSuccesful=1\r\n\r\n[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\n\r\n")
        with open(harness.settings_path(), "rb") as f:
            before = f.read()
        holder = self.hold_settings_file()

        self.start_tastomat()
        box = screen.wait_for_window("Fehler")
        screen.grab(save_as=self.artifact("error-box.png"))
        screen.focus(box)
        screen.key("Return")
        screen.wait_until_gone("Fehler")
        holder.kill()  # the other program lets go of the file
        holder.wait(timeout=10)

        self.open_from_tray()
        self.close_settings()
        with open(harness.settings_path(), "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertFalse(os.path.exists(os.path.join(harness.settings_dir(), "Tastomat.bak")))


class LettersOutsideTheCodePage(DataSafetyCase):

    def test_polish_path_survives_save_and_restart_and_starts(self):
        path = "E:\\Pr\u00fcfung\\\u0141\u00f3d\u017a\\probe.exe"
        self.drive("E", "hd", path[3:])
        record = harness.windows_path(self.record)
        self.start_up()
        window = self.open_settings()

        self.choose_program(window, 4, path, paste=True)
        self.enter_parameters(record)
        self.assertEqual(self.list_line(4), "E: " + path)
        self.close_settings()

        text, encoding, mark = harness.read_settings()
        self.assertEqual((encoding, mark), ("utf-16-le", True))
        self.assertEqual(harness.ini_sections(text)["Buchstaben"]["E"], path)

        self.restart()
        self.assertEqual(self.sections()["Buchstaben"]["E"], path)
        self.show_badge()
        screen.key("e")
        command = self.wait_for_record()[0]
        self.assertIn(path.lower(), command.lower())


SLOTS_FILE = ("[Fremd]\r\nSchluessel=Wert bleibt\r\n\r\n"
              "[Buchstaben]\r\nE=C:\\Tools\\e.exe\r\nVE=C:\\Tools\\\r\nPE=-x\r\n"
              "F=C:\\Tools\\f.exe\r\n\r\n")


class OpenWindowEdits(DataSafetyCase):
    """An edit made in the open settings window reaches the file although something stands
    in the way of the usual save: the session ends, or another program holds the file."""

    def delete_slot_e(self):
        harness.write_settings(SLOTS_FILE)
        self.start_up()
        window = self.open_settings()
        self.select_slot(window, 4)
        wait_until(lambda: marked_line_centre(window), what="the marked line")
        harness.click_button(TITLE, "&L\u00f6schen")
        wait_until(lambda: self.list_line(4) == "E: " or None, what="slot E to be cleared")
        return window

    def assert_slot_e_gone_and_file_whole(self):
        sections = self.sections()
        slots = sections["Buchstaben"]
        self.assertEqual((slots["E"], slots["VE"], slots["PE"]), ("", "", ""))
        self.assertEqual(slots["F"], "C:\\Tools\\f.exe")
        self.assertEqual(sections["Fremd"], {"Schluessel": "Wert bleibt"})
        self.assertEqual(sections["Check"], {"WroteSuccesful": "1"})
        self.assertEqual(len(slots) + len(sections["Zahlen"]) + len(sections["Funktionstasten"]),
                         48 * 3)

    def test_slot_deleted_in_the_open_window_is_gone_from_the_file_after_log_off(self):
        self.delete_slot_e()
        self.assertEqual(self.sections()["Buchstaben"]["E"], "C:\\Tools\\e.exe")
        # Wine's own end of the session: WM_QUERYENDSESSION and WM_ENDSESSION to every
        # top-level window, then the processes end.
        subprocess.run(["wine", "wineboot", "--end-session", "--shutdown", "--force"],
                       env=harness.wine_env(), capture_output=True, timeout=120)
        self.wait_for_exit(timeout=60)
        self.assert_slot_e_gone_and_file_whole()

    def test_slot_deleted_in_the_open_window_is_gone_from_the_file_after_beenden(self):
        self.delete_slot_e()
        self.assertEqual(self.sections()["Buchstaben"]["E"], "C:\\Tools\\e.exe")
        self.choose_tray_item("Beenden")
        self.wait_for_exit(timeout=30)
        self.assert_slot_e_gone_and_file_whole()

    def test_file_held_for_a_second_while_the_window_closes_still_gets_the_change(self):
        self.delete_slot_e()
        holder = self.hold_settings_file()
        screen.focus(self.settings_window())
        screen.key("Escape")  # the save runs while the file is held
        time.sleep(1.0)  # how long the other program holds the file, not a wait for an effect
        holder.kill()
        holder.wait(timeout=10)
        screen.wait_until_gone(TITLE)
        wait_until(lambda: self.sections()["Buchstaben"]["E"] == "" or None,
                   what="the change in the settings file")
        self.assertTrue(screen.stays_false(lambda: screen.windows("Fehler"), 3.0))
        self.assert_slot_e_gone_and_file_whole()

    def test_file_held_longer_than_the_save_waits_gives_the_error_box_and_stays_as_it_was(self):
        self.delete_slot_e()
        with open(harness.settings_path(), "rb") as f:
            before = f.read()
        holder = self.hold_settings_file()
        screen.focus(self.settings_window())
        screen.key("Escape")
        box = screen.wait_for_window("Fehler")
        screen.grab(save_as=self.artifact("error-box.png"))
        with open(harness.settings_path(), "rb") as f:
            self.assertEqual(f.read(), before)
        screen.focus(box)
        screen.key("Return")
        screen.wait_until_gone("Fehler")
        holder.kill()
        holder.wait(timeout=10)
        with open(harness.settings_path(), "rb") as f:
            self.assertEqual(f.read(), before)
