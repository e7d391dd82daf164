"""Tastomat against the reference launcher, both under Wine on the same X server.

Every time is taken from an event: the X server's (a window mapped, damaged, focused), the
started program's own clock reading, or a change in /proc. Nothing here sleeps for a
result; the only waits are the idle periods whose cost is being measured.

Environment (bench/run.sh sets it): WINEPREFIX, DISPLAY (an X server without a window
manager), BENCH_BUILD (the win64 build folder).
"""

import argparse
import os
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, XK, display as xdisplay
from Xlib.ext import damage, xtest

BUILD = os.environ.get("BENCH_BUILD", "build/win64")
TRAY_TITLE = "Wine System Tray"
FILETIME_UNIX_OFFSET = 11644473600  # seconds from 1601-01-01 to 1970-01-01
CLOCK_TICK = os.sysconf("SC_CLK_TCK")


# --- X ---------------------------------------------------------------------------------

class Screen:
    """One X connection: top-level windows seen through the root, keys sent through XTEST."""

    def __init__(self):
        self.d = xdisplay.Display()
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        if not self.d.has_extension("DAMAGE"):
            raise SystemExit("the X server has no DAMAGE extension")
        self.d.damage_query_version()
        self.damage_event = self.d.extension_event.DamageNotify
        self.log = []
        self.d.sync()

    def keycode(self, name):
        return self.d.keysym_to_keycode(XK.string_to_keysym(name))

    def press(self, *names):
        """Presses the keys in order and lets them go in reverse; returns the moment
        (monotonic, wall) at which the server had them."""
        self.hold(*names)
        return self.release(*reversed(names))

    def hold(self, *names):
        for name in names:
            xtest.fake_input(self.d, X.KeyPress, self.keycode(name))
        self.d.sync()
        return time.monotonic(), time.time()

    def release(self, *names):
        for name in names:
            xtest.fake_input(self.d, X.KeyRelease, self.keycode(name))
        self.d.sync()
        return time.monotonic(), time.time()

    def has_focus(self, window):
        return self.d.get_input_focus().focus == window

    def mark(self):
        """Starts a new record of events; waits after it look at what came since."""
        self.log = []

    def wait(self, what, matches, timeout=20):
        """The arrival time (monotonic) of the first recorded event that matches; events
        stay recorded, so several waits may look for events of one action in any order."""
        end = time.monotonic() + timeout
        seen = 0
        while True:
            for at, e in self.log[seen:]:
                if matches(e):
                    return at
            seen = len(self.log)
            left = end - time.monotonic()
            if left <= 0:
                raise RuntimeError(f"no {what} within {timeout} s")
            self.receive(left)

    def receive(self, timeout):
        """Records what has come, waiting up to timeout seconds for something to come."""
        if not self.d.pending_events():
            select.select([self.d.fileno()], [], [], timeout)
        while self.d.pending_events():
            self.log.append((time.monotonic(), self.d.next_event()))

    def idle(self, seconds):
        """Lets the time pass while nothing is asked of the programs; events are dropped."""
        end = time.monotonic() + seconds
        while (left := end - time.monotonic()) > 0:
            self.receive(left)
            self.log.clear()

    def wm_class(self, window):
        try:
            cls = window.get_wm_class()
        except Exception:  # the window may be gone already
            return None
        return cls[0].lower() if cls else None

    def title(self, window):
        try:
            return window.get_wm_name() or ""
        except Exception:
            return ""

    def geometry(self, window):
        try:
            g = window.get_geometry()
            return g.x, g.y, g.width, g.height
        except Exception:
            return None

    def watch(self, window):
        """Focus and structure changes of a window of another client, and its damage."""
        window.change_attributes(event_mask=X.FocusChangeMask | X.StructureNotifyMask)
        window.damage_create(damage.DamageReportRawRectangles)
        self.d.sync()

    def focus(self, window):
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.sync()


# --- /proc -----------------------------------------------------------------------------

def _environ_prefix(pid):
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            for item in f.read().split(b"\0"):
                if item.startswith(b"WINEPREFIX="):
                    return item[len(b"WINEPREFIX="):].decode()
    except OSError:
        pass
    return None


def find_pid(name, timeout=30):
    """The process of our prefix whose program (argv[0], Windows path or not) ends in name."""
    prefix = os.environ["WINEPREFIX"]
    end = time.monotonic() + timeout
    while True:
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    argv0 = f.read().split(b"\0")[0].decode(errors="replace")
            except OSError:
                continue
            # Windows programs show their Windows path; the server is "wineserver64".
            base = argv0.replace("\\", "/").rsplit("/", 1)[-1].lower()
            if base == name.lower() or (name == "wineserver" and base.startswith(name)):
                if _environ_prefix(entry) == prefix:
                    return int(entry)
        if time.monotonic() >= end:
            raise RuntimeError(f"no process {name} in {prefix}")
        time.sleep(0.01)  # polling /proc for a process that is starting


def memory_kib(pid):
    """(Rss, Pss) in KiB from smaps_rollup."""
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            parts = line.split()
            if parts[0] in ("Rss:", "Pss:"):
                values[parts[0][:-1]] = int(parts[1])
    return values["Rss"], values["Pss"]


def cpu_and_switches(pid):
    """(CPU seconds, context switches) of every thread of the process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / CLOCK_TICK
    switches = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except OSError:
            pass
    return cpu, switches


# --- the two programs ------------------------------------------------------------------

def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Program:
    def __init__(self, label, exe, args, wm_class):
        self.label, self.exe, self.args, self.wm_class = label, exe, args, wm_class

    def prepare(self):
        pass


class Tastomat(Program):
    """Slot A holds the stamp program; the settings file is written before every start."""

    def __init__(self, exe, stamp_exe, stamp_file, settings_file):
        super().__init__("Tastomat", exe, [], "tastomat.exe")
        self.stamp_exe, self.stamp_file, self.settings_file = stamp_exe, stamp_file, settings_file

    def prepare(self):
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "wb") as f:
            # With the mark of a complete save: without it the program takes the file for
            # one cut short and puts back the backup of an earlier run.
            f.write((f"[Buchstaben]\r\nA={wine_path(self.stamp_exe)}\r\n"
                     f"PA={wine_path(self.stamp_file)}\r\n\r\n"
                     f"[Check]\r\nWroteSuccesful=1\r\n\r\n").encode("cp1252"))


def settings_file():
    out = subprocess.run(["wine", "cmd", "/c", "echo", "%APPDATA%"], capture_output=True,
                         check=True).stdout.decode().strip()
    drive, rest = out[:2].lower(), out[2:].lstrip("\\")
    root = os.path.realpath(os.path.join(os.environ["WINEPREFIX"], "dosdevices", drive))
    return os.path.join(root, *rest.split("\\"), "Kobaltix", "Tastomat", "Tastomat.ini")


# --- one running program ---------------------------------------------------------------

class Run:
    """A started program, its badge window once seen, and the figures of this run."""

    def __init__(self, bench, program):
        self.bench, self.program, self.screen = bench, program, bench.screen
        self.badge = None
        self.figures = {}
        self.step = ""

    def is_badge(self, window):
        return (self.screen.wm_class(window) == self.program.wm_class and
                (self.screen.geometry(window) or (1, 1))[:2] == (0, 0))

    def start(self):
        """Starts the program; times the tray icon and the first hotkey that answers."""
        self.program.prepare()
        sc = self.screen
        sc.mark()
        started = time.monotonic()
        self.process = subprocess.Popen(["wine", self.program.exe, *self.program.args],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        tray = mapped = None
        deadline = started + 60
        while mapped is None or tray is None:
            if time.monotonic() > deadline:
                raise RuntimeError(f"{self.program.label}: no tray icon or badge within 60 s")
            if mapped is None:
                # F12 tapped again and again with Alt held: the first tap after the hotkey
                # is armed answers.
                sc.hold("Alt_L")
                sc.press("F12")
            sc.receive(self.bench.press_interval)
            for at, e in sc.log:
                if e.type != X.MapNotify:
                    continue
                if tray is None and sc.title(e.window) == TRAY_TITLE:
                    tray = at
                elif mapped is None and self.is_badge(e.window):
                    mapped, self.badge = at, e.window
            sc.log.clear()
        self.pid = find_pid(os.path.basename(self.program.exe))
        self.figures["start -> tray icon (ms)"] = (tray - started) * 1000
        self.figures["start -> first hotkey answered (ms)"] = (mapped - started) * 1000
        sc.watch(self.badge)
        sc.release("Alt_L")
        self.settle()
        rss, pss = memory_kib(self.pid)
        self.figures["Rss after start (KiB)"] = rss
        self.figures["Pss after start (KiB)"] = pss

    def viewable(self):
        return self.badge.get_attributes().map_state == X.IsViewable

    def settle(self):
        """After the taps of the start: a tap that came after the one that answered has met
        the badge as the F12 key (an empty slot, which hides it). Whichever way it went,
        the badge ends hidden and the stand-in application holds the keyboard."""
        sc = self.screen
        sc.mark()
        # Asked after watch(): a focus that came before it shows here, a later one as event.
        if self.viewable() and not sc.has_focus(self.badge):
            sc.wait("the badge to take or lose the keyboard",
                    lambda e: self.focus_in(self.badge)(e) or self.unmapped(e), timeout=20)
        if self.viewable():
            self.hide()
        self.back_to_stand_in()

    def focus_in(self, window):
        return lambda e: (e.type == X.FocusIn and e.window == window and
                          e.detail != X.NotifyPointer)

    def wait_for_focus(self, window):
        if self.screen.has_focus(window):
            return
        self.screen.wait("keyboard focus", self.focus_in(window))

    def unmapped(self, e):
        return e.type == X.UnmapNotify and e.window == self.badge

    def hide(self):
        self.screen.mark()
        self.screen.press("Escape")
        self.screen.wait("badge hidden", self.unmapped)
        self.back_to_stand_in()

    def back_to_stand_in(self):
        """The keyboard back with the stand-in application, where the next hotkey is
        pressed. Each launcher hands it back itself when the badge hides after a single
        hotkey; after a burst of them it may not know where it came from."""
        sc = self.screen
        if sc.has_focus(self.bench.focus_window):
            return
        try:
            sc.wait("keyboard focus", self.focus_in(self.bench.focus_window), timeout=0.5)
        except RuntimeError:
            sc.focus(self.bench.focus_window)
            self.wait_for_focus(self.bench.focus_window)

    def show(self):
        """Presses the hotkey; returns ms to badge mapped, first pixel painted, keys."""
        sc = self.screen
        if self.viewable():
            raise RuntimeError(f"{self.program.label}: the badge is up before the hotkey")
        sc.mark()
        sc.hold("Alt_L")
        pressed, _ = sc.press("F12")
        mapped = sc.wait("badge mapped", lambda e: e.type == X.MapNotify and e.window == self.badge)
        painted = sc.wait("badge painted", lambda e: e.type == sc.damage_event and
                          e.drawable == self.badge)
        focused = sc.wait("keyboard focus", self.focus_in(self.badge))
        sc.release("Alt_L")
        return [(t - pressed) * 1000 for t in (mapped, painted, focused)]

    def launch(self):
        """With the badge up: presses A and returns ms until the started program ran."""
        stamp = self.bench.stamp_file
        before = os.path.getsize(stamp) if os.path.exists(stamp) else 0
        self.screen.mark()
        _, pressed_wall = self.screen.press("a")
        self.screen.wait("badge hidden", self.unmapped)
        self.back_to_stand_in()
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if os.path.exists(stamp) and os.path.getsize(stamp) > before:
                with open(stamp, "rb") as f:
                    f.seek(before)
                    line = f.read().split(b"\n")[0]
                if line:
                    ran = int(line) / 1e7 - FILETIME_UNIX_OFFSET
                    return (ran - pressed_wall) * 1000
            time.sleep(0.005)  # polling the file the started program writes
        raise RuntimeError(f"{self.program.label}: the started program did not run")

    def abandon(self):
        """After a failed step: the program is ended by force, so that the next start is not
        a second copy, and the keyboard goes back to the stand-in application."""
        sc = self.screen
        sc.release("Alt_L")
        sc.mark()
        # Ended as a user would, so that its tray icon goes with it: a killed program's icon
        # stays until the tray notices, and the next start's icon would be timed wrong.
        if self.badge is not None and self.viewable():
            sc.focus(self.badge)
            sc.press("Control_L", "b")
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()  # the wine loader; the program is a process of its own
            try:
                os.kill(find_pid(os.path.basename(self.program.exe), timeout=1), 9)
            except (RuntimeError, OSError):
                pass
            self.process.wait(timeout=30)
        try:
            sc.wait("the tray window to go", lambda e: e.type == X.UnmapNotify and
                    sc.title(e.window) == TRAY_TITLE, timeout=10)
        except RuntimeError:
            pass  # the table's next start of this program may then read high
        sc.focus(self.bench.focus_window)
        self.wait_for_focus(self.bench.focus_window)

    def holder_of_the_keyboard(self):
        focus = self.screen.d.get_input_focus().focus
        if not hasattr(focus, "id"):
            return str(focus)
        return f"{self.screen.wm_class(focus)} \"{self.screen.title(focus)}\""

    def quit(self):
        self.show()
        self.screen.mark()
        self.screen.press("Control_L", "b")
        self.process.wait(timeout=30)
        # The tray window goes when its last icon does; the next start is timed to it.
        self.screen.wait("the tray window to go", lambda e: e.type == X.UnmapNotify and
                         self.screen.title(e.window) == TRAY_TITLE, timeout=10)
        self.back_to_stand_in()

    def idle_slices(self, seconds, slices, server_pid, name):
        """CPU ms and context switches per slice of the program and of the Wine server."""
        per = seconds / slices
        own, server = [], []
        for _ in range(slices):
            a0, b0 = cpu_and_switches(self.pid), cpu_and_switches(server_pid)
            self.screen.idle(per)  # the idle period being measured
            a1, b1 = cpu_and_switches(self.pid), cpu_and_switches(server_pid)
            own.append(((a1[0] - a0[0]) * 1000 / per, (a1[1] - a0[1]) / per))
            server.append(((b1[0] - b0[0]) * 1000 / per, (b1[1] - b0[1]) / per))
        f = self.figures
        f[f"{name}: CPU of program (ms/s)"] = [c for c, _ in own]
        f[f"{name}: switches of program (/s)"] = [s for _, s in own]
        f[f"{name}: CPU of wineserver (ms/s)"] = [c for c, _ in server]
        f[f"{name}: switches of wineserver (/s)"] = [s for _, s in server]


# --- the benchmark ---------------------------------------------------------------------

class Bench:
    def __init__(self, args):
        self.args = args
        self.press_interval = args.press_interval / 1000
        self.screen = Screen()
        self.stamp_file = os.path.abspath(os.path.join(args.work, "stamps.txt"))
        os.makedirs(args.work, exist_ok=True)
        stamp_exe = os.path.join(BUILD, "bench", "start_stamp.exe")
        stamp_args = [wine_path(stamp_exe), wine_path(self.stamp_file)]
        tastomat = Tastomat(os.path.join(BUILD, "Tastomat.exe"), stamp_exe, self.stamp_file,
                            settings_file())
        if args.against:
            # A variant of the reference in Tastomat's place; it reads the same settings
            # file, so that file is there as it would be for Tastomat.
            tastomat.prepare()
            first = Program(args.against, os.path.join(BUILD, "bench", f"{args.against}.exe"),
                            stamp_args, f"{args.against}.exe")
        else:
            first = tastomat
        self.programs = [
            first,
            Program("reference", os.path.join(BUILD, "bench", "reference_launcher.exe"),
                    stamp_args, "reference_launcher.exe"),
        ]
        self.samples = {p.label: {} for p in self.programs}
        self.failed = {}

    def add(self, program, figures):
        for name, value in figures.items():
            values = value if isinstance(value, list) else [value]
            self.samples[program.label].setdefault(name, []).extend(values)

    def start_focus_window(self):
        self.focus_process = subprocess.Popen(
            ["wine", os.path.join(BUILD, "tests", "focus_window.exe"), "BenchFocus"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.screen.mark()
        self.screen.wait("the stand-in application's window",
                         lambda e: e.type == X.MapNotify and
                         self.screen.title(e.window) == "BenchFocus", timeout=60)
        self.focus_window = next(e.window for _, e in self.screen.log
                                 if e.type == X.MapNotify and
                                 self.screen.title(e.window) == "BenchFocus")
        self.focus_window.change_attributes(event_mask=X.FocusChangeMask)
        self.screen.focus(self.focus_window)

    def order(self, rounds):
        """A B B A A B ...: neither program always runs first after the other."""
        a, b = self.programs
        return [(a, b) if i % 2 == 0 else (b, a) for i in range(rounds)]

    def short_run(self, run):
        run.step = "start"
        run.start()
        for i in range(self.args.shows):
            run.step = f"hotkey {i + 1}"
            m, p, k = run.show()
            run.figures.setdefault("hotkey -> badge mapped (ms)", []).append(m)
            run.figures.setdefault("hotkey -> badge painted (ms)", []).append(p)
            run.figures.setdefault("hotkey -> keyboard focus (ms)", []).append(k)
            run.step = f"letter key {i + 1}"
            run.figures.setdefault("letter key -> program running (ms)", []).append(
                run.launch())
        run.step = "quit"
        run.quit()

    def short_runs(self):
        for pair in self.order(self.args.repetitions):
            for program in pair:
                run = Run(self, program)
                try:
                    self.short_run(run)
                except RuntimeError as e:
                    self.note_failure(run, e)
                    continue
                self.add(program, run.figures)
                print(f"  {program.label}: start {run.figures['start -> first hotkey answered (ms)']:.0f} ms",
                      file=sys.stderr)

    def long_runs(self):
        for program in self.programs:
            for _ in range(3):
                run = Run(self, program)
                try:
                    self.long_run(run)
                    break
                except RuntimeError as e:
                    self.note_failure(run, e)
            else:
                raise RuntimeError(f"{program.label}: three long runs failed")

    def note_failure(self, run, e):
        # One stuck run must not cost the figures of all the others; it is counted and
        # shown in the table instead.
        print(f"  {run.program.label}: run failed at {run.step}: {e}; the keyboard was with "
              f"{run.holder_of_the_keyboard()}", file=sys.stderr)
        self.failed[run.program.label] = self.failed.get(run.program.label, 0) + 1
        if hasattr(run, "process"):
            run.abandon()

    def long_run(self, run):
        program = run.program
        server = find_pid("wineserver")
        run.step = "start"
        run.start()
        run.step = "idle and launches"
        rss0, pss0 = memory_kib(run.pid)
        run.idle_slices(self.args.idle_hidden, self.args.slices, server, "idle, badge hidden")
        run.show()
        run.idle_slices(self.args.idle_shown, self.args.slices, server, "idle, badge shown")
        run.hide()
        for _ in range(self.args.launches):
            run.show()
            run.launch()
        rss1, pss1 = memory_kib(run.pid)
        run.figures[f"Rss after {self.args.launches} launches (KiB)"] = rss1
        run.figures[f"Pss after {self.args.launches} launches (KiB)"] = pss1
        run.figures[f"Rss growth over {self.args.launches} launches (KiB)"] = rss1 - rss0
        run.figures[f"Pss growth over {self.args.launches} launches (KiB)"] = pss1 - pss0
        run.quit()
        for name in list(run.figures):
            if name.startswith("start ->") or name.endswith("after start (KiB)"):
                del run.figures[name]  # counted in the short runs
        self.add(program, run.figures)
        print(f"  {program.label}: long run done", file=sys.stderr)

    def table(self):
        ours, ref = (self.samples[p.label] for p in self.programs)
        rows = [("figure", "n", "ours median [min-max]", "reference median [min-max]", "ratio")]
        for name in ours:
            a, b = ours[name], ref.get(name, [])
            ma, mb = statistics.median(a), statistics.median(b) if b else float("nan")
            ratio = f"{ma / mb:.2f}" if mb else ("-" if ma == 0 else "inf")
            rows.append((name, str(len(a)), f"{ma:.1f} [{min(a):.1f}-{max(a):.1f}]",
                         f"{mb:.1f} [{min(b):.1f}-{max(b):.1f}]" if b else "-", ratio))
        rows.append(("runs failed (and repeated, long runs)", "", str(self.failed.get(self.programs[0].label, 0)),
                     str(self.failed.get(self.programs[1].label, 0)), ""))
        widths = [max(len(r[i]) for r in rows) for i in range(5)]
        for r in rows:
            print("  ".join(c.ljust(w) if i == 0 else c.rjust(w)
                            for i, (c, w) in enumerate(zip(r, widths))))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--repetitions", type=int, default=16, help="starts of each program")
    parser.add_argument("--shows", type=int, default=2, help="hotkey + launch per start")
    parser.add_argument("--launches", type=int, default=50)
    parser.add_argument("--idle-hidden", type=float, default=60)
    parser.add_argument("--idle-shown", type=float, default=20)
    parser.add_argument("--slices", type=int, default=15, help="samples per idle period")
    parser.add_argument("--press-interval", type=float, default=20,
                        help="ms between hotkey presses while a program starts")
    parser.add_argument("--work", default="build/bench-work")
    parser.add_argument("--against", metavar="VARIANT",
                        help="a variant of the reference (bench/<VARIANT>.exe) in Tastomat's "
                             "place")
    parser.add_argument("--short-only", action="store_true",
                        help="starts, hotkeys and launches only; no idle periods")
    args = parser.parse_args()
    bench = Bench(args)
    bench.start_focus_window()
    print("short runs (start, hotkey, launch) ...", file=sys.stderr)
    bench.short_runs()
    if not args.short_only:
        print("long runs (idle, 50 launches) ...", file=sys.stderr)
        bench.long_runs()
    bench.table()


if __name__ == "__main__":
    main()
