#!/usr/bin/env python3
"""A guided tour of Tastomat on a virtual screen: real key presses on the real program.

Run by scripts/run.sh when there is no display. Expects WINEPREFIX (a throwaway prefix,
never the user's own) and DISPLAY (a private Xvfb) to be set. Each step prints one line
saying what happened and whether it worked, and leaves a numbered screenshot.

    demo.py <screenshot folder>     exit status 0 when every step worked
    demo.py --table                 only writes the demo's keys, when there are no settings
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402  (the end-to-end helpers: Wine, windows, keys, screenshots)
import screen  # noqa: E402
from screen import wait_until  # noqa: E402

BADGE = "Start als User..."
SETTINGS = "Einstellungen"
PARAMETERS = "Parameter"
INFO = "Info \u00fcber Tastomat"
NOTEPAD_CLASS = "notepad.exe"
RED = (255, 0, 0)
DESKTOP = "#3a6ea5"  # the desktop colour of Windows' classic look
# A start of a Wine program takes seconds on a slow machine; the rest is quick.
START_TIMEOUT = 60

# Programs and folders every Wine prefix (and every Windows) has.
DEMO_TABLE = {
    "Buchstaben": [("N", r"C:\windows\notepad.exe"), ("VN", r"C:\windows"),
                   ("T", r"C:\windows\Fonts")],
    "Zahlen": [],
    "Funktionstasten": [("F1", r"C:\windows\system32\cmd.exe"), ("V1", r"C:\windows")],
}


def demo_settings_text():
    return "".join(f"[{name}]\r\n" + "".join(f"{k}={v}\r\n" for k, v in entries) + "\r\n"
                   for name, entries in DEMO_TABLE.items())


class Tour:
    def __init__(self, shots):
        self.shots = shots
        self.step = 0
        self.failed = 0
        self.tastomat = None
        self.other = None
        self.red_screen = None

    def run(self, what, action, shot_name):
        """One step: action() returns a short account of what was seen, or raises; or the
        account and the window it brought up, which is also kept on its own in windows/."""
        self.step += 1
        shot = os.path.join(self.shots, f"{self.step:02d}-{shot_name}.png")
        window = None
        try:
            seen = action()
            if isinstance(seen, tuple):
                seen, window = seen
            verdict = "ok"
        except Exception as error:  # a step that fails is reported, the tour goes on
            seen, verdict = str(error), "FAILED"
            self.failed += 1
        try:
            self.save_pictures(shot, window,
                               os.path.join(self.shots, "windows", f"{shot_name}.png"))
        except (OSError, subprocess.SubprocessError) as error:
            seen += f" (no screenshot: {error})"
        print(f"{self.step}. {what}: {seen} ... {verdict}  [{os.path.relpath(shot)}]",
              flush=True)

    def save_pictures(self, shot, window, window_shot):
        # The badge blinks: its pictures are taken from the screen seen in its red phase.
        whole = self.red_screen or screen.grab()
        self.red_screen = None
        whole.save(shot)
        if window is not None:
            region = (window.x, window.y, window.width, window.height)
            subprocess.run(["convert", shot, "-crop", "{2}x{3}+{0}+{1}".format(*region),
                            "+repage", window_shot], check=True, timeout=30)

    # the steps

    def start(self):
        harness.write_settings(demo_settings_text())
        self.tastomat = subprocess.Popen(["wine", harness.build_file("Tastomat.exe")],
                                         env=harness.wine_env(), stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        tray = screen.wait_for_window(harness.TRAY_TITLE, timeout=START_TIMEOUT)
        screen.move_window(tray, *harness.TRAY_PLACE)
        # A desktop colour instead of the bare server's black, as a Windows screen has. Not
        # sooner: an X server without clients starts afresh and forgets it.
        subprocess.run(["xsetroot", "-solid", DESKTOP], check=False)
        # The start time goes into the settings file once the hotkey is armed.
        wait_until(lambda: "Gestartet=" in harness.read_settings()[0], START_TIMEOUT,
                   what="the start to be recorded")
        return "its icon is in the notification area, the hotkey is armed"

    def other_program(self):
        subprocess.Popen(["wine", "explorer", "C:\\"], env=harness.wine_env(),
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        window = wait_until(lambda: next(iter(
            w for w in screen.windows(wm_class="explorer.exe") if w.name != harness.TRAY_TITLE),
            None), START_TIMEOUT, what="the Explorer window")
        screen.move_window(window, 360, 260)
        self.other = window
        self.focus_other()
        return f'Wine\'s Explorer ("{window.name}") has the keyboard, as any program would'

    def focus_other(self):
        # The hotkey is global: it is pressed while another program has the keyboard.
        if self.other is not None:
            screen.focus(self.other)

    def badge(self):
        self.focus_other()
        screen.key("alt+F12")
        badge = screen.wait_for_window(BADGE, harness.PROCESS_CLASS)
        # Shown in its red phase, as the eye catches it.
        point = (badge.x + badge.width // 2, badge.y + badge.height * 4 // 5)
        self.red_screen = wait_until(
            lambda: (lambda shot: shot if shot.pixel(*point) == RED else None)(screen.grab()),
            what="the badge to blink red")
        return f"the red badge is up at ({badge.x}, {badge.y}), waiting for one key", badge

    def notepad(self):
        screen.key("n")
        window = wait_until(lambda: next(iter(screen.windows(wm_class=NOTEPAD_CLASS)), None),
                            START_TIMEOUT, what="the Notepad window")
        screen.wait_until_gone(BADGE, harness.PROCESS_CLASS)
        return f'Notepad runs ("{window.name}"), the badge is gone'

    def close_notepad(self):
        for window in screen.windows(wm_class=NOTEPAD_CLASS):
            screen.focus(window)
            screen.key("alt+F4")
        wait_until(lambda: not screen.windows(wm_class=NOTEPAD_CLASS),
                   what="Notepad to close")

    def settings(self):
        self.close_notepad()
        self.focus_other()
        screen.key("alt+F12")
        screen.wait_for_window(BADGE, harness.PROCESS_CLASS)
        screen.key("ctrl+e")
        window = screen.wait_for_window(SETTINGS)
        screen.focus(window)
        # Down to slot N, the fourteenth line, so that it is marked in the picture.
        screen.key("Home")
        for _ in range(13):
            screen.key("Down", delay_ms=20)
        return "Ctrl+E on the badge opens the settings window with the 48 keys", window

    def parameters(self):
        screen.wait_for_window(SETTINGS)
        # Clicked: "&Programm" comes first with the same mnemonic, so Alt+P switches the
        # choice mode instead.
        harness.click_button(SETTINGS, "&Parameter")
        dialog = screen.wait_for_window(PARAMETERS)
        return '"Parameter" shows the parameters and working folder of key N', dialog

    def info(self):
        screen.key("Escape")
        screen.wait_until_gone(PARAMETERS)
        screen.focus(screen.wait_for_window(SETTINGS))
        screen.key("alt+i")
        window = screen.wait_for_window(INFO)
        return f'Alt+I opens "{window.name}" with the version and the update check', window

    def finish(self):
        for title in (INFO, SETTINGS):
            for window in screen.windows(title):
                screen.focus(window)
                screen.key("Return" if title == INFO else "Escape")
            screen.wait_until_gone(title)
        return "both windows closed; Tastomat waits in the tray for the next Alt+F12"


def main():
    if sys.argv[1:] == ["--table"]:
        if not os.path.exists(harness.settings_path()):
            harness.write_settings(demo_settings_text())
        return 0
    shots = sys.argv[1] if len(sys.argv) > 1 else "artifacts/demo"
    # Pictures of an earlier tour would pass for this one's.
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(os.path.join(shots, "windows"))
    tour = Tour(shots)
    steps = [("Tastomat starts", tour.start, "tray"), ("Another program in front", tour.other_program, "explorer"),
             ("Alt+F12", tour.badge, "badge"),
             ("N", tour.notepad, "notepad"), ("Settings", tour.settings, "settings"),
             ("Parameters", tour.parameters, "parameters"), ("Info", tour.info, "info"),
             ("Closing", tour.finish, "closed")]
    for what, action, shot in steps:
        tour.run(what, action, shot)
        if tour.step == 1 and tour.failed:
            break  # without a running Tastomat the other steps have nothing to show
    if tour.failed:
        print(f"{tour.failed} of {tour.step} steps failed.")
        return 1
    print(f"All {tour.step} steps worked.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
