"""The info dialog opened from the settings window, and the check for a newer version
against a loopback server that holds the files the build made for the update server."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import time

import harness
import screen
from harness import click_button, window_texts
from screen import wait_until
from test_settings_window import SettingsCase
from tls_authority import TestAuthority
from update_server import ForwardProxy, UpdateServer

INFO_TITLE = "Info \u00fcber Tastomat"
BADGE = "Start als User..."
SAVE_TITLE = "Speichern als"  # the title of Wine's German save dialog
INFORMATION, CONFIRMATION = "Informationen", "Best\u00e4tigen"
UP_TO_DATE = "Derzeit befindet sich keine aktuellere Version auf dem Server"
CONNECT_FAILED = "Problem beim Verbinden mit dem Server"
# Each time-out of the loopback build's HTTP client in these scenarios.
TIMEOUT_MS = 2000


def wait_for_texts(title, timeout=screen.DEFAULT_TIMEOUT):
    screen.wait_for_window(title, timeout=timeout)
    return wait_until(lambda: window_texts(title), timeout, what=f'the texts of "{title}"')


def message(title, timeout=screen.DEFAULT_TIMEOUT):
    """The text of the message box with this title, written as the expected texts here are:
    a line break as \\r or \\n, a backslash as \\\\."""
    texts = wait_for_texts(title, timeout)
    text = next(text for cls, text in texts if cls.lower() == "static" and text)
    return text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n")


def build_version_text():
    with open(os.path.join(harness.BUILD, "generated", "version.h"), encoding="utf-8") as f:
        return re.search(r'TASTOMAT_VERSION_TEXT "([^"]+)"', f.read()).group(1)


def release_file(name):
    with open(harness.build_file(os.path.join("release", name)), "rb") as f:
        return f.read()


class InfoCase(SettingsCase):

    def open_info(self):
        self.open_settings()
        click_button("Einstellungen", "&Info")
        return screen.wait_for_window(INFO_TITLE)

    def label_texts(self):
        return [text for cls, text in wait_for_texts(INFO_TITLE) if cls.lower() == "static"]


class InfoDialog(InfoCase):

    def test_info_shows_version_file_date_and_maker_and_closes_with_enter_only(self):
        self.start_up()
        dialog = self.open_info()
        screen.grab(save_as=self.artifact("info-dialog.png"))
        written = time.localtime(os.path.getmtime(self.exe))
        date = time.strftime("%d.%m.%Y", written)
        if (written.tm_hour, written.tm_min, written.tm_sec // 2) != (0, 0, 0):
            date += " " + time.strftime("%H:%M:", written) + f"{written.tm_sec // 2 * 2:02d}"
        labels = self.label_texts()
        self.assertEqual(labels, ["Copyright \u00a9 Kobaltix", "Homepage: https://www.kobaltix.de/",
                                  "vom " + date, f"Version : {build_version_text()} Build: 0"])
        buttons = [text for cls, text in window_texts(INFO_TITLE) if cls.lower() == "button"]
        self.assertEqual(buttons, ["&OK", "&Neue Version", "&Homepage", "&Mail schreiben"])

        # Centred over the settings window.
        settings = self.settings_window()
        self.assertLess(abs((dialog.x + dialog.width / 2) - (settings.x + settings.width / 2)), 8)

        # Escape does nothing; Enter is "&OK", which has the focus.
        screen.focus(dialog)
        screen.key("Escape")
        self.assertTrue(screen.stays_false(lambda: not screen.windows(INFO_TITLE), 1.0))
        screen.key("Return")
        screen.wait_until_gone(INFO_TITLE)

        # A fresh dialog for the next click, with the same values.
        self.open_info()
        self.assertEqual(self.label_texts(), labels)


    def test_homepage_and_mail_go_to_the_programs_the_shell_has_for_them(self):
        work = tempfile.mkdtemp(prefix="tastomat-info-")
        self.addCleanup(shutil.rmtree, work, True)
        log = os.path.join(work, "opened.txt")
        recorder = harness.windows_path(harness.build_file("record_start.exe"))
        for scheme in ("https", "mailto"):
            replace_default(self, rf"HKCR\{scheme}\shell\open\command",
                            f'"{recorder}" "{harness.windows_path(log)}" "%1"')
        self.start_up()
        dialog = self.open_info()
        screen.focus(dialog)
        screen.key("alt+h")  # "&Homepage"
        harness.wait_for_starts(log, 1)
        # Clicked: after the shell has started a program, Wine may show the dialog with the
        # X focus but hand it no keys (see click_button).
        click_button(INFO_TITLE, "&Mail schreiben")
        commands = [command for command, _ in harness.wait_for_starts(log, 2)]
        self.assertTrue(commands[0].endswith('"https://www.kobaltix.de/"'), commands[0])
        self.assertTrue(commands[1].endswith('"mailto:"Kobaltix" <tastomat@kobaltix.de>"'),
                        commands[1])
        self.assertTrue(screen.windows(INFO_TITLE), "the dialog stays open")


def replace_default(case, key, value):
    """Sets the default value of a registry key for the length of the test case."""
    out = harness.wine("reg", "query", key, "/ve", check=False).decode("utf-8", "replace")
    match = re.search(r"REG_SZ\s+(.*)", out)
    harness.wine("reg", "add", key, "/ve", "/d", value, "/f")
    if match:
        case.addCleanup(harness.wine, "reg", "add", key, "/ve", "/d", match.group(1).strip(),
                        "/f")
    else:
        case.addCleanup(harness.wine, "reg", "delete", key, "/ve", "/f", check=False)


class UpdateCheckCase(InfoCase):
    """Runs the build of the program that asks the loopback server."""

    def setUp(self):
        super().setUp()
        self.exe = harness.build_file(os.path.join("loopback", "Tastomat.exe"))
        self.archive = release_file("tastomat.zip")

    def server_requests(self, method, path):
        return [p for p in self.server.paths(method) if p == path]

    def serve(self, version_file, silent=(), slow=None, tls=None):
        server = UpdateServer({"tastomat.ver": version_file, "tastomat.zip": self.archive},
                              silent, slow, tls)
        self.addCleanup(server.close)
        self.server = server
        for name, value in (("TASTOMAT_TEST_UPDATE_URL", server.base_url),
                            ("TASTOMAT_TEST_HTTP_TIMEOUT_MS", str(TIMEOUT_MS))):
            os.environ[name] = value
            self.addCleanup(os.environ.pop, name, None)
        return server

    def check_for_update(self):
        self.start_up()
        dialog = self.open_info()
        screen.focus(dialog)
        screen.key("alt+n")  # "&Neue Version"

    def close_box(self, title, button="OK"):
        click_button(title, button)
        screen.wait_until_gone(title)

    def status_line(self):
        return next(text for cls, text in window_texts(INFO_TITLE)
                    if cls.lower() == "msctls_statusbar32")


    def save_update_as(self, path):
        """Answers the question with Yes and saves the archive as path."""
        self.assertEqual(message(CONFIRMATION),
                         "Version 1,00, auf dem Server ist 9,99.\\rAktualisieren?")
        self.close_box(CONFIRMATION, "&Ja")
        save = screen.wait_for_window(SAVE_TITLE)
        screen.focus(save)
        screen.key("ctrl+a")
        screen.type_text(harness.windows_path(path), delay_ms=20)
        screen.key("Return")
        screen.wait_until_gone(SAVE_TITLE)

    def associate_zip_archives(self, log):
        """Zip archives open with record_start.exe, which notes how it was started. Wine's
        shell reads file types from HKEY_CLASSES_ROOT only, not from the user's classes."""
        recorder = harness.windows_path(harness.build_file("record_start.exe"))
        classes = "HKCR"
        harness.wine("reg", "add", classes + r"\.zip", "/ve", "/d", "TastomatTestZip", "/f")
        harness.wine("reg", "add", classes + r"\TastomatTestZip\shell\open\command", "/ve", "/d",
                     f'"{recorder}" "{harness.windows_path(log)}" "%1"', "/f")
        self.addCleanup(harness.wine, "reg", "delete", classes + r"\TastomatTestZip", "/f",
                        check=False)
        self.addCleanup(harness.wine, "reg", "delete", classes + r"\.zip", "/f", check=False)


class UpdateCheck(UpdateCheckCase):

    def test_server_holding_this_builds_version_file_has_nothing_newer(self):
        version_file = release_file("tastomat.ver")
        server = self.serve(version_file)
        self.check_for_update()
        self.assertEqual(message(INFORMATION), UP_TO_DATE)
        screen.grab(save_as=self.artifact("up-to-date.png"))
        self.close_box(INFORMATION)
        size = len(version_file)
        self.assertEqual(self.status_line(), f"Heruntergeladen {size} von {size} Bytes")
        self.assertEqual([(m, p) for m, p, _ in server.requests],
                         [("HEAD", "/download/tastomat.ver"), ("GET", "/download/tastomat.ver")])
        headers = server.requests[1][2]
        self.assertEqual(headers["User-Agent"], "Mozilla/3.0 (compatible; Indy Library)")
        self.assertEqual(headers["Accept"], "text/html, */*")

    def test_newer_version_is_downloaded_saved_as_zip_and_opened(self):
        work = tempfile.mkdtemp(prefix="tastomat-update-")
        self.addCleanup(shutil.rmtree, work, True)
        opened_log = os.path.join(work, "opened.txt")
        self.associate_zip_archives(opened_log)
        self.serve(b"9,99\r\n")
        self.check_for_update()
        self.save_update_as(os.path.join(work, "update.tar"))

        closing = message(INFORMATION)
        self.assertEqual(closing, "Installierte Version 1,00\\rVersion auf dem Server 9,99\\r"
                         "Bitte beenden Sie nun zuerst dieses Programm.\\rDanach entpacken Sie "
                         "nun die Dateien im Zip Archiv in ihr Programmverzeichnis")
        screen.grab(save_as=self.artifact("after-download.png"))
        # The archive was opened through the shell before the closing message came up; the
        # program it started must be done before the message gets its key.
        command, _ = harness.wait_for_starts(opened_log)[0]
        saved = os.path.join(work, "update.zip")
        self.assertTrue(command.endswith(f'"{harness.windows_path(saved)}"'), command)
        with open(saved, "rb") as f:
            self.assertEqual(f.read(), self.archive)
        self.assertFalse(os.path.exists(os.path.join(work, "update.tar")))
        self.close_box(INFORMATION)

    def test_silent_server_ends_the_download_by_time_out_and_the_hotkey_still_works(self):
        server = self.serve(b"9,99\r\n", silent={"tastomat.zip"})
        self.check_for_update()
        self.close_box(CONFIRMATION, "&Ja")
        asked = time.monotonic()
        self.assertEqual(message(INFORMATION, timeout=30),
                         "Problem beim Verbinden mit dem Server")
        # One time-out, plus the slowness of a shared machine; a hang would never end.
        self.assertLess(time.monotonic() - asked, 8 * TIMEOUT_MS / 1000)
        self.assertIn("/download/tastomat.zip", server.paths("HEAD"))
        self.close_box(INFORMATION)

        dialog = screen.wait_for_window(INFO_TITLE)
        screen.focus(dialog)
        screen.key("alt+o")  # "&OK"
        screen.wait_until_gone(INFO_TITLE)
        self.close_settings()
        self.show_badge()

    def test_closing_the_dialog_during_a_download_ends_the_check_at_once(self):
        slow_seconds = 8
        self.serve(b"9,99\r\n", slow={"tastomat.zip": slow_seconds})
        self.check_for_update()
        self.close_box(CONFIRMATION, "&Ja")
        dialog = screen.wait_for_window(INFO_TITLE)
        total = f" von {len(self.archive)} Bytes"
        wait_until(lambda: (lambda line: line.endswith(total) and line != "Heruntergeladen "
                            + str(len(self.archive)) + total)(self.status_line()),
                   what="the download to be under way")
        screen.focus(dialog)
        screen.key("alt+o")  # "&OK" while the archive trickles in
        closed = time.monotonic()
        screen.wait_until_gone(INFO_TITLE)
        self.assertLess(time.monotonic() - closed, slow_seconds / 2, "the dialog waited")
        # The server sends the rest; nothing of the abandoned check comes up afterwards.
        self.assertTrue(screen.stays_false(
            lambda: screen.windows(SAVE_TITLE) or screen.windows(INFORMATION),
            slow_seconds + 2))
        self.assertEqual(len(self.server_requests("GET", "/download/tastomat.zip")), 1)
        # The settings window under it answers as before.
        self.close_settings()


class CheckInTheBackground(UpdateCheckCase):

    def test_a_silent_server_holds_nothing_up_and_the_check_says_it_could_not_connect(self):
        # The server takes the connection for the version file and says nothing, for
        # longer than the scenario lasts: the tray menu opens, a second check does not
        # start, while the first one waits. When the server lets go without an answer, the
        # check says it could not connect.
        server = self.serve(b"9,99\r\n", silent={"tastomat.ver"})
        os.environ["TASTOMAT_TEST_HTTP_TIMEOUT_MS"] = "120000"
        self.check_for_update()
        wait_until(lambda: server.paths("HEAD"), what="the check to ask the server")
        screen.key("alt+n")
        items = self.open_tray_menu()
        self.assertIn("Einstellungen Tastomat", dict(items))
        screen.key("Escape")
        wait_until(lambda: self.menu_items() is None, what="the tray menu to close")
        self.assertFalse(screen.windows(INFORMATION), "the check ended before the server")
        self.assertEqual(server.paths(), ["/download/tastomat.ver"])
        server.release()
        self.assertEqual(message(INFORMATION, timeout=30), CONNECT_FAILED)
        self.close_box(INFORMATION)
        self.assertEqual(server.paths(), ["/download/tastomat.ver"])

    def test_no_server_at_the_address_is_a_failure_not_an_old_version(self):
        # A port nobody listens on: the connection is refused.
        server = self.serve(b"9,99\r\n")
        server.close()
        self.check_for_update()
        self.assertEqual(message(INFORMATION, timeout=30), CONNECT_FAILED)
        self.close_box(INFORMATION)
        self.assertFalse(screen.windows(CONFIRMATION))


class SecureServer(UpdateCheckCase):
    """https against a loopback server whose authority the system trusts for this class
    only."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = tempfile.mkdtemp(prefix="tastomat-tls-")
        cls.authority = TestAuthority(cls.folder, "TastomatTestCA")
        cls.stranger = TestAuthority(cls.folder, "TastomatStrangerCA")
        distrust = cls.authority.trust()
        # Taken out again however the class ends.
        cls.addClassCleanup(shutil.rmtree, cls.folder, True)
        cls.addClassCleanup(distrust)

    def test_a_trusted_certificate_brings_the_archive_unchanged(self):
        work = tempfile.mkdtemp(prefix="tastomat-update-")
        self.addCleanup(shutil.rmtree, work, True)
        self.associate_zip_archives(os.path.join(work, "opened.txt"))
        server = self.serve(b"9,99\r\n", tls=self.authority.server_context("localhost"))
        self.assertTrue(server.base_url.startswith("https://localhost:"))
        self.check_for_update()
        self.save_update_as(os.path.join(work, "update.zip"))
        message(INFORMATION)
        with open(os.path.join(work, "update.zip"), "rb") as f:
            self.assertEqual(f.read(), self.archive)
        self.close_box(INFORMATION)

    def test_a_certificate_nobody_vouches_for_or_for_another_host_is_refused(self):
        cases = {"unknown authority": self.stranger.server_context("localhost"),
                 "another host name": self.authority.server_context("updates.example")}
        server = self.serve(b"9,99\r\n", tls=next(iter(cases.values())))
        self.check_for_update()
        for what, context in cases.items():
            with self.subTest(what):
                server.tls = context
                if what != next(iter(cases)):
                    dialog = screen.wait_for_window(INFO_TITLE)
                    screen.focus(dialog)
                    screen.key("alt+n")
                self.assertEqual(message(INFORMATION, timeout=30), CONNECT_FAILED)
                self.assertFalse(screen.windows(CONFIRMATION))
                self.close_box(INFORMATION)
        # The refused connections never got as far as a request.
        self.assertEqual(server.requests, [])


class ThroughTheProxy(UpdateCheckCase):

    def test_the_check_goes_through_the_proxy_the_users_settings_name(self):
        # Wine takes the automatic proxy access of Windows 8.1 and later but goes direct
        # with it; the way of Windows 7, the user's settings, is one Wine follows.
        os.environ["TASTOMAT_TEST_PROXY_SOURCE"] = "user"
        self.addCleanup(os.environ.pop, "TASTOMAT_TEST_PROXY_SOURCE", None)
        proxy = ForwardProxy()
        self.addCleanup(proxy.close)
        set_user_proxy(self, proxy.address)
        server = self.serve(release_file("tastomat.ver"))
        self.check_for_update()
        self.assertEqual(message(INFORMATION), UP_TO_DATE, (proxy.requests, server.requests))
        self.close_box(INFORMATION)
        url = server.base_url + "tastomat.ver"
        self.assertEqual(proxy.requests, [("HEAD", url), ("GET", url)])
        self.assertEqual(server.paths(), ["/download/tastomat.ver"] * 2)


def set_user_proxy(case, address):
    """The user's proxy server for the test case, as the connection settings dialog keeps
    it: DefaultConnectionSettings, version 0x46, "use a proxy server", no exceptions, no
    script, no detection."""
    proxy = address.encode("ascii")
    blob = (struct.pack("<III", 0x46, 0, 0x3) + struct.pack("<I", len(proxy)) + proxy
            + struct.pack("<II", 0, 0) + bytes(32))
    key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections"
    harness.wine("reg", "add", key, "/v", "DefaultConnectionSettings", "/t", "REG_BINARY",
                 "/d", blob.hex(), "/f")
    case.addCleanup(harness.wine, "reg", "delete", key, "/v", "DefaultConnectionSettings",
                    "/f", check=False)
