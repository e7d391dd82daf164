"""A read-only view of a folder that can turn slow, like a mapped share whose server goes
out of reach: then each stat of a name below its root, and each directory listing, waits
seconds before it answers. Mounted with FUSE, with the kernel's caches off, so that every
lookup reaches it.

    python3 slow_drive.py SOURCE MOUNTPOINT DELAY_FILE   (runs in the foreground)

Each lookup waits as many seconds as DELAY_FILE's first word says (none when it is empty or
missing); the root's own lookups only when its second word is "root".
The scenarios use SlowDrive, which mounts it, says why it cannot (so they can skip), turns
it slow and fast, and unmounts it however the scenario ends."""

import atexit
import errno
import os
import shutil
import subprocess
import sys
import tempfile
import time

MOUNT_TIMEOUT = 30.0


def _fusepy():
    """Debian's python3-fusepy names the module fusepy; installed with pip it is fuse."""
    try:
        import fusepy as module  # pylint: disable=import-outside-toplevel
    except ImportError:
        import fuse as module  # pylint: disable=import-outside-toplevel
    return module


def _interpreter():
    """A Python that has fusepy: this one, or the system's (where Debian installs it)."""
    for candidate in dict.fromkeys([sys.executable, "/usr/bin/python3"]):
        if candidate and os.path.exists(candidate) and subprocess.run(
                [candidate, "-B", os.path.abspath(__file__), "--check"], stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, check=False).returncode == 0:
            return candidate
    return None


def _mounted(path):
    """Read from the kernel's table: a stat of the mount point would itself wait."""
    path = os.path.realpath(path)
    try:
        with open("/proc/self/mountinfo", encoding="utf-8") as f:
            return any(line.split()[4] == path for line in f)
    except OSError:
        return False


class SlowDrive:
    """The file system over source, mounted at a fresh folder (mountpoint). It answers at
    once until go_slow: the system's own start-up looks at every drive, and a share that
    goes away while it is mapped is the case to show."""

    def __init__(self, source, lookup_seconds):
        self.source = os.path.abspath(source)
        self.lookup_seconds = lookup_seconds
        self.mountpoint = None
        self.process = None
        self.log = None
        self.control = tempfile.mkdtemp(prefix="tastomat-slow-drive-control-")
        self.delay_file = os.path.join(self.control, "delay")

    def go_slow(self, root_too=False):
        """From now on each lookup waits. The share's root answers at once unless root_too:
        Wine looks at every drive's root whenever it starts a process, and would make each
        start wait where Windows, whose mapping of the letter is local, does not."""
        self._set_delay(self.lookup_seconds, root_too)

    def go_fast(self):
        self._set_delay(0, False)

    def _set_delay(self, seconds, root_too):
        with open(self.delay_file + ".new", "w", encoding="ascii") as f:
            f.write(f"{seconds} {'root' if root_too else ''}")
        os.replace(self.delay_file + ".new", self.delay_file)

    def unavailable(self):
        """Why FUSE cannot be used here, or None."""
        if not os.path.exists("/dev/fuse"):
            return "/dev/fuse is missing"
        if not _interpreter():
            return "no Python here has fusepy (Debian python3-fusepy) with its libfuse2"
        if os.geteuid() != 0 and not (shutil.which("fusermount") or
                                      shutil.which("fusermount3")):
            return "fusermount is missing"
        return None

    def mount(self):
        """Mounts and returns None, or returns why it could not."""
        reason = self.unavailable()
        if reason:
            return reason
        self.mountpoint = tempfile.mkdtemp(prefix="tastomat-slow-drive-")
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            [_interpreter(), "-B", os.path.abspath(__file__), self.source, self.mountpoint,
             self.delay_file], stdout=self.log, stderr=subprocess.STDOUT,
            stdin=subprocess.DEVNULL)
        atexit.register(self.unmount)
        deadline = time.monotonic() + MOUNT_TIMEOUT
        while not _mounted(self.mountpoint):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.log.seek(0)
                output = self.log.read().decode(errors="replace").strip()
                ended = self.process.poll()
                why = output or (f"it ended with {ended}" if ended is not None
                                 else f"no mount within {MOUNT_TIMEOUT:.0f} s")
                self.unmount()
                return f"mounting with FUSE failed: {why}"
            time.sleep(0.1)
        return None

    def save_log(self, path):
        """Keeps what the file system was asked, with the time of each question."""
        if self.log:
            self.log.seek(0)
            with open(path, "wb") as f:
                shutil.copyfileobj(self.log, f)

    def unmount(self):
        """Safe to call more than once, and when mount failed."""
        if self.mountpoint and _mounted(self.mountpoint):
            tool = shutil.which("fusermount") or shutil.which("fusermount3")
            # Lazily: a process still waiting on it must not keep it mounted.
            command = [tool, "-u", "-z"] if tool else ["umount", "-l"]
            subprocess.run(command + [self.mountpoint], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False, timeout=30)
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        if self.mountpoint and not _mounted(self.mountpoint):
            try:
                os.rmdir(self.mountpoint)
            except OSError:
                pass
            self.mountpoint = None
        if self.log:
            self.log.close()
            self.log = None
        shutil.rmtree(self.control, ignore_errors=True)


def mount_for(case, source, lookup_seconds):
    """A SlowDrive over source, mounted for the test case and unmounted after it (after Wine
    has stopped, so that nothing still waits on it); skips the case where FUSE cannot."""
    drive = SlowDrive(source, lookup_seconds)
    case.addCleanup(drive.unmount)
    reason = drive.mount()
    if reason:
        case.skipTest(reason)
    return drive


def _serve(source, mountpoint, delay_file):
    fusepy = _fusepy()
    FUSE, FuseOSError, Operations = fusepy.FUSE, fusepy.FuseOSError, fusepy.Operations

    class Slow(Operations):
        def _real(self, path):
            return os.path.join(source, path.lstrip("/"))

        def _wait(self, what, path):
            # What was asked, and when: the scenario's log says who waited on the share.
            print(f"{time.monotonic():.2f} {what} {path}", flush=True)
            try:
                with open(delay_file, encoding="ascii") as f:
                    words = f.read().split()
                seconds = float(words[0]) if words else 0
            except (OSError, ValueError):
                return
            if path != "/" or "root" in words:
                time.sleep(seconds)

        def getattr(self, path, fh=None):
            self._wait("stat", path)
            try:
                st = os.lstat(self._real(path))
            except OSError as error:
                raise FuseOSError(error.errno or errno.ENOENT)
            return {key: getattr(st, key) for key in (
                "st_mode", "st_nlink", "st_size", "st_uid", "st_gid", "st_atime",
                "st_mtime", "st_ctime")}

        def readdir(self, path, fh):
            self._wait("list", path)
            return [".", ".."] + os.listdir(self._real(path))

        def open(self, path, flags):
            if flags & (os.O_WRONLY | os.O_RDWR):
                raise FuseOSError(errno.EROFS)
            return os.open(self._real(path), os.O_RDONLY)

        def read(self, path, size, offset, fh):
            return os.pread(fh, size, offset)

        def release(self, path, fh):
            os.close(fh)

        def statfs(self, path):
            st = os.statvfs(source)
            return {key: getattr(st, key) for key in (
                "f_bsize", "f_frsize", "f_blocks", "f_bfree", "f_bavail", "f_files",
                "f_ffree", "f_namemax")}

    # Every lookup waits, so none may be answered from the kernel's caches; and one worker
    # per request, so that lookups made at once wait at once, as on a real share.
    FUSE(Slow(), mountpoint, foreground=True, nothreads=False, ro=True,
         entry_timeout=0, attr_timeout=0, negative_timeout=0)


if __name__ == "__main__":
    if sys.argv[1:] == ["--check"]:
        sys.exit(0 if hasattr(_fusepy(), "FUSE") else 1)
    _serve(os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3])
