"""First start: tray icon only, the start recorded in the settings file, the tray menu,
the blinking badge, hiding and quitting."""

import re
import unittest
from datetime import datetime, timedelta

import harness
import screen
from screen import wait_until

MENU = ["Zeigen", "Verbergen", "Einstellungen Tastomat", "Einstellungen Administrator",
        "Beenden"]
RED = (255, 0, 0)


def parse_started(value):
    """A German "Gestartet" value: dd.mm.yyyy hh:mm:ss, or the date alone at midnight."""
    match = re.fullmatch(r"(\d\d\.\d\d\.\d{4})(?: (\d\d:\d\d:\d\d))?", value)
    if not match:
        return None
    return datetime.strptime(f"{match[1]} {match[2] or '00:00:00'}", "%d.%m.%Y %H:%M:%S")


def desktop_colour():
    """The system colour of the desktop background (COLOR_BACKGROUND) of the prefix."""
    out = harness.wine("reg", "query", r"HKCU\Control Panel\Colors", "/v", "Background",
                       check=False).decode("utf-8", "replace")
    match = re.search(r"Background\s+REG_SZ\s+(\d+) (\d+) (\d+)", out)
    return tuple(map(int, match.groups())) if match else None


class FirstStart(harness.TastomatCase):

    def assert_crlf_only(self, text):
        self.assertGreater(text.count("\r\n"), 0)
        self.assertEqual(text.count("\n"), text.count("\r\n"), "every line ends with CR LF")
        self.assertEqual(text.count("\r"), text.count("\r\n"), "every line ends with CR LF")

    def assert_started_now(self, sections, before):
        value = sections.get("Info", {}).get("Gestartet", "")
        started = parse_started(value)
        self.assertIsNotNone(started, f"Gestartet={value!r} is not a German date and time")
        if value.count(":") == 0:
            self.assertEqual(started.time(), datetime.min.time())
        self.assertLessEqual(before - timedelta(seconds=2), started)
        self.assertLessEqual(started, datetime.now() + timedelta(seconds=2))

    def test_start_shows_only_the_tray_icon_and_records_the_start(self):
        before = datetime.now()
        self.start_tastomat()
        text, encoding, mark = self.wait_for_settings()
        # Give a window that would wrongly appear a moment to do so.
        self.assertTrue(screen.stays_false(self.tastomat_windows, 1.5),
                        f"visible windows of Tastomat: {self.tastomat_windows()}")
        self.assertTrue(self.tray_visible())
        screen.grab(save_as=self.artifact("after-start.png"))

        self.assertEqual((encoding, mark), (harness.ANSI, False), "a new file is ANSI")
        self.assert_crlf_only(text)
        self.assert_started_now(harness.ini_sections(text), before)
        value = harness.ini_sections(text)["Info"]["Gestartet"]
        self.assertIn(f"[Info]\r\nGestartet={value}\r\n\r\n", text,
                      "each section is followed by one empty line")

    def test_tray_menu_shows_hides_and_ends(self):
        self.start_tastomat()
        self.click_tray_icon(1)
        self.assertTrue(screen.stays_false(self.menu_items, 1.5),
                        "a left click on the tray icon opens no menu")

        items = self.open_tray_menu()
        screen.grab(save_as=self.artifact("tray-menu.png"))
        self.assertEqual([text for text, _ in items], MENU)
        screen.click(*dict(items)["Zeigen"])

        badge = screen.wait_for_window("Start als User...", harness.PROCESS_CLASS)
        self.assertEqual((badge.x, badge.y), (0, 0), "the badge sits in the top-left corner")
        # 159 x 56 at 120 dpi, scaled to Wine's 96 dpi.
        self.assertAlmostEqual(badge.width, 127, delta=1)
        self.assertAlmostEqual(badge.height, 45, delta=1)
        self.assert_blinking_red_ellipse(badge)

        self.choose_tray_item("Verbergen")
        screen.wait_until_gone("Start als User...", harness.PROCESS_CLASS)
        self.assertEqual(self.tastomat_windows(), [])

        self.choose_tray_item("Beenden")
        self.assertEqual(self.wait_for_exit(), 0)
        wait_until(lambda: not self.tray_visible(), what="the tray icon to go")

    def assert_blinking_red_ellipse(self, badge):
        w, h = badge.width, badge.height
        # Below the label, well inside the ellipse; and the corners, outside it.
        inside = [(w // 2, h * 4 // 5), (w // 4, h * 3 // 4), (w * 3 // 4, h * 3 // 4)]
        corners = [(1, 1), (w - 2, 1), (1, h - 2), (w - 2, h - 2)]
        red_shot, other_colour = None, None
        for _ in range(15):  # about a dozen blink ticks of 200 ms
            shot = screen.grab((0, 0, w, h))
            colours = {shot.pixel(x, y) for x, y in inside}
            if colours == {RED}:
                red_shot = red_shot or shot
            elif red_shot and RED not in colours:
                # Only after red: before the first tick the badge has its start colour.
                other_colour = other_colour or colours
            if red_shot and other_colour:
                break
        self.assertIsNotNone(red_shot, "the badge turns red")
        self.assertIsNotNone(other_colour, "the badge blinks (red and another colour)")
        desktop = desktop_colour()
        if desktop:
            self.assertEqual(other_colour, {desktop},
                             "the other phase has the desktop's background colour")
        red_shot.save(self.artifact("badge-red.png"))
        screen.grab(save_as=self.artifact("badge-screen.png"))
        for x, y in corners:
            self.assertNotEqual(red_shot.pixel(x, y), RED, f"corner ({x}, {y}) is outside")
        white = sum(1 for y in range(4, h * 2 // 3) for x in range(4, w - 4)
                    if min(red_shot.pixel(x, y)) >= 200)
        self.assertGreater(white, 15, "white text on the badge")

    def test_utf16_settings_keep_encoding_mark_and_foreign_section(self):
        foreign = "[Fremde Sektion]\r\nSchlüssel=Wert = mit Ä, € und 日本\r\n\r\n"
        harness.write_settings(foreign, "utf-16-le", mark=True)
        before = datetime.now()
        self.start_tastomat()
        text, encoding, mark = self.wait_for_settings()

        self.assertEqual((encoding, mark), ("utf-16-le", True))
        self.assert_crlf_only(text)
        self.assertIn(foreign, text, "the foreign section is kept as it was")
        sections = harness.ini_sections(text)
        self.assertEqual(sections["Fremde Sektion"], {"Schlüssel": "Wert = mit Ä, € und 日本"})
        self.assert_started_now(sections, before)


class ScreenDensity(harness.TastomatCase):

    def test_badge_has_its_design_size_at_120_dpi(self):
        desktop = r"HKCU\Control Panel\Desktop"
        harness.reg_add(desktop, "LogPixels", "120", "REG_DWORD")
        self.addCleanup(harness.stop_wine)
        self.addCleanup(harness.reg_delete, desktop, "LogPixels")
        harness.stop_wine()  # the density is taken when Wine starts
        self.start_tastomat()
        self.wait_for_settings()
        screen.click(*dict(self.open_tray_menu())["Zeigen"])
        badge = screen.wait_for_window("Start als User...", harness.PROCESS_CLASS)
        self.assertEqual((badge.x, badge.y, badge.width, badge.height), (0, 0, 159, 56))


if __name__ == "__main__":
    unittest.main()
