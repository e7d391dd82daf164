"""Helpers for the end-to-end scenarios: the real Tastomat.exe under Wine on an X display.

The environment comes from scripts/test.sh (or by hand, see scripts/wine-env.sh):
  WINEPREFIX          a private, already created Wine prefix; only it is ever killed
  DISPLAY             an X display (Xvfb) without a window manager
  TASTOMAT_BUILD      the win64 build folder (Tastomat.exe, tests/record_start.exe, ...)
  TASTOMAT_ARTIFACTS  where screenshots and logs are kept
"""

import os
import re
import shutil
import signal
import subprocess
import unittest
from dataclasses import dataclass

import screen
from screen import wait_until

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PROCESS_CLASS = "tastomat.exe"  # WM_CLASS of every X window of Tastomat's process
TRAY_TITLE = "Wine System Tray"
# The tray window is moved here so that the badge in the top-left corner never covers it.
TRAY_PLACE = (640, 560)


def _from_repo(path):
    return path if os.path.isabs(path) else os.path.join(REPO, path)


BUILD = _from_repo(os.environ.get("TASTOMAT_BUILD", "build/win64"))
ARTIFACTS = os.path.join(_from_repo(os.environ.get("TASTOMAT_ARTIFACTS", "artifacts")), "e2e")


def build_file(name):
    """A program of the win64 build: the exe itself, or a test helper under tests/."""
    for candidate in (os.path.join(BUILD, name), os.path.join(BUILD, "tests", name)):
        if os.path.isfile(candidate):
            return candidate
    # A scenario that cannot run is a failure: a skipped suite looks green.
    raise AssertionError(f"{name} is not built in {BUILD}: build the win64 preset first")


# --- Wine ------------------------------------------------------------------------------

def wine_env():
    env = dict(os.environ)
    if not env.get("WINEPREFIX") or not env.get("DISPLAY"):
        raise RuntimeError("WINEPREFIX and DISPLAY must be set (see scripts/wine-env.sh)")
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d")
    env.setdefault("WINEARCH", "win64")
    # German regional formats and user language.
    env["LANG"] = env["LC_ALL"] = "de_DE.UTF-8"
    return env


def prefix():
    return wine_env()["WINEPREFIX"]


def wine(*args, timeout=60, check=True):
    """Runs a Windows command to its end and returns its output (bytes)."""
    result = subprocess.run(["wine", *args], env=wine_env(), capture_output=True,
                            timeout=timeout)
    if check and result.returncode != 0:
        raise AssertionError(f"wine {' '.join(args)} failed ({result.returncode}): "
                             f"{result.stderr.decode(errors='replace')}")
    return result.stdout


def stop_wine():
    """Ends every Wine process of the test's own prefix and waits for its server."""
    env = wine_env()
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=60)
    subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=60)


def reg_add(key, name, value, kind="REG_SZ"):
    wine("reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f")


def reg_delete(key, name):
    wine("reg", "delete", key, "/v", name, "/f", check=False)


# --- paths between Windows and the prefix -----------------------------------------------

def unix_path(windows_path):
    """The Linux path of a Windows path on a drive of the prefix (C:\\..., Z:\\...)."""
    drive, rest = windows_path[:2].lower(), windows_path[2:].lstrip("\\")
    root = os.path.realpath(os.path.join(prefix(), "dosdevices", drive))
    return os.path.join(root, *[p for p in rest.split("\\") if p])


def windows_path(path):
    """The Windows path of a Linux file through Wine's Z: drive (the whole file system)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# Wine rewrites these with its own German data (d.M.yyyy) whenever a Wine process of the
# prefix runs under another locale; the scenarios stand for a German Windows system.
GERMAN_WINDOWS_FORMATS = {"sShortDate": "dd.MM.yyyy", "sTimeFormat": "HH:mm:ss"}
_prepared = set()


def prepare_prefix():
    """Once per run and prefix: the regional formats of a German Windows installation."""
    if prefix() in _prepared:
        return
    for name, value in GERMAN_WINDOWS_FORMATS.items():
        reg_add(r"HKCU\Control Panel\International", name, value)
    _prepared.add(prefix())


_appdata = {}


def appdata():
    """%APPDATA% of the prefix's user, as Windows path (asked once per prefix)."""
    if prefix() not in _appdata:
        out = wine("cmd", "/c", "echo", "%APPDATA%").decode("utf-8", "replace").strip()
        if not out or "%" in out:
            raise AssertionError(f"cannot tell %APPDATA% (got {out!r})")
        _appdata[prefix()] = out
    return _appdata[prefix()]


def settings_dir():
    return unix_path(appdata() + "\\Kobaltix\\Tastomat")


def settings_path():
    return os.path.join(settings_dir(), "Tastomat.ini")


# --- the settings file -----------------------------------------------------------------

BOMS = (("utf-8", b"\xef\xbb\xbf"), ("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff"))
ANSI = "cp1252"  # the ANSI code page of a German system


def decode_settings(raw):
    """(text, encoding, has_mark) of a settings file's bytes."""
    for encoding, mark in BOMS:
        if raw.startswith(mark):
            return raw[len(mark):].decode(encoding), encoding, True
    return raw.decode(ANSI), ANSI, False


def read_settings():
    with open(settings_path(), "rb") as f:
        return decode_settings(f.read())


def write_settings(text, encoding=ANSI, mark=False):
    """Writes the settings file in an encoding, with its byte-order mark when asked."""
    os.makedirs(settings_dir(), exist_ok=True)
    data = text.encode(encoding)
    if mark:
        data = dict(BOMS)[encoding] + data
    with open(settings_path(), "wb") as f:
        f.write(data)


def ini_sections(text):
    """{section: {key: value}} with the reading rules of the settings file, names as written."""
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            k, v = line.split("=", 1)
            current[k.strip()] = v.strip()
    return sections


# --- what the helper program record_start.exe wrote -------------------------------------

def recorded_starts(log_path):
    """[(command line, current directory)] for each start of record_start.exe that wrote
    to log_path (a Linux path)."""
    try:
        with open(log_path, encoding="utf-8") as f:
            return [tuple(line.rsplit("|", 1)) for line in f.read().splitlines()]
    except FileNotFoundError:
        return []


def wait_for_starts(log_path, count=1, timeout=screen.DEFAULT_TIMEOUT):
    return wait_until(lambda: (lambda s: s if len(s) >= count else None)(
        recorded_starts(log_path)), timeout, what=f"{count} start(s) in {log_path}")


# --- extra drives (the drive search looks at their types) -------------------------------

DRIVES_KEY = r"HKLM\Software\Wine\Drives"


def add_drive(letter, target, kind="hd", restart=True):
    """Maps the drive letter to a Linux folder; kind is hd, network, floppy or cdrom.
    Wine reads drive types at server start, so the server is restarted (once, after the
    last of several drives)."""
    link = os.path.join(prefix(), "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.path.abspath(target), link)
    reg_add(DRIVES_KEY, letter.upper() + ":", kind)
    if restart:
        stop_wine()


def remove_drive(letter, restart=True):
    link = os.path.join(prefix(), "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.remove(link)
    reg_delete(DRIVES_KEY, letter.upper() + ":")
    if restart:
        stop_wine()


# --- windows of any process, as window_probe.exe reads them ----------------------------

_UNESCAPE = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}


def probe(*args):
    """The records window_probe.exe printed for its command (each a list of fields, texts
    unescaped), or None when it found nothing."""
    result = subprocess.run(["wine", build_file("window_probe.exe"), *args], env=wine_env(),
                            capture_output=True, timeout=30)
    if result.returncode != 0:
        return None
    # One record a line; a CR in a text is escaped, so one here is the console's line end.
    lines = result.stdout.decode("utf-8", "replace").split("\n")[:-1]
    return [[re.sub(r"\\(.)", lambda m: _UNESCAPE.get(m.group(1), m.group(1)), field)
             for field in line.rstrip("\r").split("\t")]
            for line in lines]


@dataclass
class ProbedWindow:
    left: int
    top: int
    right: int
    bottom: int
    style: int
    window_class: str
    text: str
    ex_style: int = 0
    control_id: int = 0

    def region(self):
        """(x, y, width, height) for screen.grab."""
        return self.left, self.top, self.right - self.left, self.bottom - self.top

    def centre(self):
        return (self.left + self.right) // 2, (self.top + self.bottom) // 2


def _probed(command, *args):
    windows = []
    for left, top, right, bottom, style, ex_style, control_id, window_class, text in (
            probe(command, *args) or []):
        windows.append(ProbedWindow(int(left), int(top), int(right), int(bottom), int(style, 16),
                                    window_class, text, int(ex_style, 16), int(control_id)))
    return windows


def probe_windows(mode, argument):
    """The "children" of the visible window titled argument, or the visible "top"-level
    windows of the class argument; [] when there are none."""
    if mode == "children":
        return _probed("window", argument)[1:]
    return _probed(mode, argument)


def window_and_children(title):
    """The visible window with this title, then its child windows; [] when it is not open."""
    return _probed("window", title)


def window_texts(title):
    """[(class, text)] of the open window with this title (its caption first), or None."""
    return [(w.window_class, w.text) for w in window_and_children(title)] or None


def child_window(title, window_class, text=None):
    """The first child window of this class (and text, when given) in the window with this
    title, or None."""
    return next((w for w in probe_windows("children", title)
                 if w.window_class.lower() == window_class.lower()
                 and (text is None or w.text == text)), None)


def click_control(title, window_class, text=None, button=1):
    """Clicks the middle of a child window as a user would, once it is there."""
    control = wait_until(lambda: child_window(title, window_class, text),
                         what=f"{window_class} {text!r} in the window {title!r}")
    screen.click(*control.centre(), button)


def click_button(title, caption):
    """Clicks the button with this caption ("&" and all) in the window with this title. A
    click rather than a key: under Wine a message box that comes up after the shell started
    another program may show the X focus without getting the keys."""
    click_control(title, "button", caption)


WS_EX_TOPMOST = 0x8


def z_order():
    """[(title, topmost)] of the visible top-level windows, top first."""
    return [(w.text, bool(w.ex_style & WS_EX_TOPMOST)) for w in _probed("stack")]


def list_lines(title):
    """The lines of the list box in the window with this title, or None."""
    records = probe("list", title)
    return None if records is None else [text for text, in records]


def list_view_items(title):
    """[(text, image index)] of the items of the list view in the window with this title,
    or None."""
    records = probe("items", title)
    return None if records is None else [(text, int(image)) for text, image in records]


def put_on_clipboard(text):
    """For what the keyboard layout cannot type: paste it."""
    if probe("clipboard", text) is None:
        raise AssertionError(f"cannot put {text!r} on the clipboard")


TTS_BALLOON = 0x40


def balloon_texts():
    """Texts of the balloons shown at tray icons (tooltips of the balloon style)."""
    return [w.text for w in probe_windows("top", "tooltips_class32") if w.style & TTS_BALLOON]


def tray_icon_count():
    return len([w for w in probe_windows("children", TRAY_TITLE)
                if w.window_class.lower() == "__winex11_tray_icon"])


# --- the test case base ----------------------------------------------------------------

class ScenarioOverTime(BaseException):
    """A scenario ran past its time limit. Not an Exception: no `except Exception` on the
    way (a poll that tolerates a failing probe) can swallow it."""


class TimeLimitedCase(unittest.TestCase):
    """A scenario that does not end within time_limit seconds (set-up and clean-up included)
    fails with its name, its processes are ended, and the run goes on with the next one.
    A class whose scenarios are long by nature sets a limit of its own."""

    time_limit = 300

    def run(self, result=None):
        def over_time(_signum, _frame):
            try:
                self.end_processes()
            except Exception:  # the next scenario's set-up ends them again
                pass
            raise ScenarioOverTime(
                f"{self.id()} did not end within its time limit of {self.time_limit} s")

        previous = signal.signal(signal.SIGALRM, over_time)
        signal.setitimer(signal.ITIMER_REAL, self.time_limit)
        try:
            return super().run(result)
        finally:
            signal.setitimer(signal.ITIMER_REAL, 0)
            signal.signal(signal.SIGALRM, previous)

    def end_processes(self):
        """Ends what the scenario started, when its time is up; it may be stuck anywhere."""


class TastomatCase(TimeLimitedCase):
    """Each test starts with no settings and no Wine process of the prefix, and ends by
    stopping every process it started."""

    def setUp(self):
        self.exe = build_file("Tastomat.exe")
        self.processes = []
        self.tastomat = None
        stop_wine()
        prepare_prefix()
        shutil.rmtree(unix_path(appdata() + "\\Kobaltix"), ignore_errors=True)
        os.makedirs(ARTIFACTS, exist_ok=True)

    def tearDown(self):
        self.end_processes()
        for process in self.processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
            if process.log:
                process.log.close()

    def end_processes(self):
        for process in getattr(self, "processes", []):
            if process.poll() is None:
                process.kill()
        stop_wine()

    def artifact(self, name):
        return os.path.join(ARTIFACTS, f"{self.id().split('.')[-1]}-{name}")

    def start(self, exe, *args, log_name, env=None):
        log = open(self.artifact(log_name), "wb")
        process = subprocess.Popen(["wine", exe, *args], env=env or wine_env(), stdout=log,
                                   stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        process.log = log
        self.processes.append(process)
        return process

    # Tastomat itself

    def start_tastomat(self, env=None):
        """Starts Tastomat.exe and waits for its tray icon."""
        self.tastomat = self.start(self.exe, log_name="tastomat.log", env=env)
        # A Wine process start is the slowest step of all on a busy machine; polled, so a
        # long limit costs nothing when it is quick.
        self.tray_window(timeout=60)
        return self.tastomat

    def tastomat_windows(self, visible=True):
        return screen.windows(wm_class=PROCESS_CLASS, visible=visible)

    def wait_for_exit(self, timeout=screen.DEFAULT_TIMEOUT):
        wait_until(lambda: self.tastomat.poll() is not None, timeout,
                   what="Tastomat to end")
        return self.tastomat.returncode

    def wait_for_settings(self, text_in_file="Gestartet="):
        """Waits until the settings file holds the text; returns (text, encoding, mark)."""
        def written():
            try:
                content = read_settings()
            except (OSError, UnicodeDecodeError):
                return None
            return content if text_in_file in content[0] else None
        return wait_until(written, what=f"{text_in_file!r} in the settings file")

    # the helper window standing for "some other application"

    def start_focus_window(self, title="TastomatE2EFocus"):
        # The title is the helper's command line as Windows passes it: no blanks, no quotes.
        self.start(build_file("focus_window.exe"), title, log_name="focus.log")
        window = screen.wait_for_window(title)
        screen.focus(window)
        return window

    # the tray: Wine's own "Wine System Tray" window, first icon at its top-left

    def tray_window(self, timeout=screen.DEFAULT_TIMEOUT):
        window = screen.wait_for_window(TRAY_TITLE, timeout=timeout)
        if (window.x, window.y) != TRAY_PLACE:
            screen.move_window(window, *TRAY_PLACE)
            window = screen.wait_for_window(TRAY_TITLE)
        return window

    def tray_visible(self):
        return bool(screen.windows(TRAY_TITLE))

    def click_tray_icon(self, button):
        tray = self.tray_window()
        screen.click(tray.x + 10, tray.y + 10, button)

    def open_tray_menu(self):
        """Right-clicks the tray icon; returns the menu items [(text, (cx, cy))]."""
        self.click_tray_icon(3)
        return wait_until(self.menu_items, what="the tray menu")

    def menu_items(self):
        """Items of the open popup menu [(text, (cx, cy))], or None when none is open."""
        records = probe("menu")
        if records is None:
            return None
        return [(text, ((int(left) + int(right)) // 2, (int(top) + int(bottom)) // 2))
                for left, top, right, bottom, text in records]

    def choose_tray_item(self, text):
        items = self.open_tray_menu()
        centres = dict(items)
        self.assertIn(text, centres, f"tray menu items: {[t for t, _ in items]}")
        screen.click(*centres[text])
        wait_until(lambda: self.menu_items() is None, what="the tray menu to close")
