"""The X side of the end-to-end scenarios: windows, keys, mouse and screenshots.

There is no window manager under plain Xvfb, so windows are found by name or class with
xdotool, never as "the active window". Keys and clicks go through XTEST (xdotool without
--window): Wine ignores synthetic events sent to a window.
"""

import os
import re
import subprocess
import time
from dataclasses import dataclass

DEFAULT_TIMEOUT = 15.0


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, interval=0.1, what="the condition"):
    """Polls predicate until it returns something truthy and returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def stays_false(predicate, duration, interval=0.1):
    """True when predicate stays falsy for the whole duration (for "nothing happens")."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if predicate():
            return False
        time.sleep(interval)
    return not predicate()


def xdotool(*args, timeout=10):
    """xdotool's output, or "" when it failed or hung (a --sync that never saw its event);
    callers poll for the effect anyway."""
    try:
        result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                                timeout=timeout)
    except subprocess.TimeoutExpired:
        return ""
    return result.stdout if result.returncode == 0 else ""


def ere_escape(text):
    """Escapes text for xdotool's POSIX extended regular expressions."""
    return re.sub(r"([.\[\]()*+?{}|^$\\])", r"\\\1", text)


@dataclass
class Window:
    id: int
    name: str
    x: int
    y: int
    width: int
    height: int

    def contains(self, x, y):
        return self.x <= x < self.x + self.width and self.y <= y < self.y + self.height


def window_name(wid):
    return xdotool("getwindowname", wid).rstrip("\n")


def window_geometry(wid):
    values = dict(line.split("=", 1) for line in
                  xdotool("getwindowgeometry", "--shell", wid).split() if "=" in line)
    return tuple(int(values.get(k, -1)) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def windows(title=None, wm_class=None, visible=True):
    """Windows with exactly this title (any when None) and, optionally, this WM_CLASS."""
    args = ["search"]
    if visible:
        args.append("--onlyvisible")
    if wm_class is not None:
        args += ["--class", "^" + ere_escape(wm_class) + "$"]
    else:
        args += ["--name", "" if title is None else "^" + ere_escape(title) + "$"]
    found = []
    for line in xdotool(*args).split():
        wid = int(line)
        name = window_name(wid)
        if title is not None and name != title:
            continue
        found.append(Window(wid, name, *window_geometry(wid)))
    return found


def wait_for_window(title, wm_class=None, timeout=DEFAULT_TIMEOUT):
    return wait_until(lambda: next(iter(windows(title, wm_class)), None), timeout,
                      what=f'a visible window "{title}"')


def wait_until_gone(title, wm_class=None, timeout=DEFAULT_TIMEOUT):
    wait_until(lambda: not windows(title, wm_class), timeout,
               what=f'the window "{title}" to disappear')


def focus(window):
    xdotool("windowfocus", "--sync", window.id)


def key(*combos, delay_ms=60):
    """Presses key combinations in xdotool's spelling: "alt+F12", "e", "Escape"."""
    xdotool("key", "--delay", delay_ms, *combos)


def type_text(text, delay_ms=60):
    xdotool("type", "--delay", delay_ms, text)


def click(x, y, button=1):
    # No --sync: it waits forever when the pointer already is at (x, y).
    xdotool("mousemove", x, y, "sleep", "0.1", "click", button)


def move_window(window, x, y):
    xdotool("windowmove", "--sync", window.id, x, y)


# --- screenshots -----------------------------------------------------------------------

class Image:
    """An RGB picture read from a binary PPM."""

    def __init__(self, ppm):
        header = []
        pos = 0
        while len(header) < 4:
            match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(ppm, pos)
            header.append(match.group(2))
            pos = match.end()
        if header[0] != b"P6" or header[3] != b"255":
            raise ValueError("not an 8-bit binary PPM")
        self.width, self.height = int(header[1]), int(header[2])
        self.ppm = ppm
        self.data = ppm[pos + 1:]

    def save(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["convert", "ppm:-", path], input=self.ppm, check=True, timeout=30)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])


def grab(region=None, save_as=None):
    """The screen (or the region x, y, w, h of it) as an Image; saved as PNG when asked."""
    crop = [] if region is None else ["-crop", "{2}x{3}+{0}+{1}".format(*region), "+repage"]
    ppm = subprocess.run(["import", "-silent", "-window", "root", *crop, "-depth", "8", "ppm:-"],
                         capture_output=True, check=True, timeout=30).stdout
    image = Image(ppm)
    if save_as:
        image.save(save_as)
    return image
