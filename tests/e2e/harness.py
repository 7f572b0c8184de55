"""The machinery of the end-to-end journeys: an X server with a window manager, programs started in it, keys
and clicks through xdotool, pictures through ImageMagick, and waits whose time limits stretch with the
machine's load. What the journeys know of Tulvane itself is in common.py.
"""

import os
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024

TOOLS = {
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "import": "imagemagick",
    "convert": "imagemagick",
    "identify": "imagemagick",
    "xwininfo": "x11-utils",
    "xprop": "x11-utils",
}

WAIT = 15.0  # seconds, on an idle machine, for anything the program or the window system should do at once


class Failure(Exception):
    pass


class Skip(Exception):
    """A journey that cannot run here, for want of something the machine lacks."""


# ------------------------------------------------------------------------------------------------- load


try:
    CPUS = len(os.sched_getaffinity(0))
except AttributeError:
    CPUS = os.cpu_count() or 1


def slowness():
    """How many times slower than on an idle machine things run now: the processes wanting a processor
    against the processors. The load average trails a sudden load by a minute, so the processes runnable
    at this moment count too, less this one."""
    load = os.getloadavg()[0]
    try:
        with open("/proc/loadavg") as f:
            load = max(load, float(f.read().split()[3].split("/")[0]) - 1)
    except (OSError, ValueError, IndexError):
        pass
    return max(1.0, load / CPUS)


class Deadline:
    """A time limit in idle-machine seconds: a second that passes counts for less while the machine is
    loaded, so that what passes alone passes beside a busy build too, and a hang still ends."""

    def __init__(self, seconds):
        self.left = seconds
        self.last = time.monotonic()

    def expired(self):
        now = time.monotonic()
        self.left -= (now - self.last) / slowness()
        self.last = now
        return self.left <= 0


def run(argv, what=None, timeout=10.0, check=True, **kwargs):
    """Runs a command to its end, its output captured. The time limit only guards against a hang, so it
    stretches with the load."""
    limit = timeout * slowness()
    try:
        r = subprocess.run(argv, capture_output=True, timeout=limit, **kwargs)
    except subprocess.TimeoutExpired:
        raise Failure(f"{what or ' '.join(argv)} did not end within {limit:.0f} s")
    if check and r.returncode != 0:
        raise Failure(f"{what or ' '.join(argv)} failed ({r.returncode}): {r.stderr.decode(errors='replace').strip()}")
    return r


# ---------------------------------------------------------------------------------------------- pictures


class Shot:
    """An RGB picture, 3 bytes a pixel row by row from the top left: ImageMagick's raw "rgb" format, which
    ImageMagick reads and writes, so that no picture format is decoded here."""

    def __init__(self, width, height, data):
        if len(data) != 3 * width * height:
            raise Failure(f"a {width}x{height} picture of {len(data)} bytes, not {3 * width * height}")
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def read(path, kind):
        """A picture file of this kind (as ImageMagick names it: PNG, JPEG), alpha dropped and colours kept."""
        found, width, height = magick(["identify", "-format", "%m %w %h\n", path]).decode().split()[:3]
        if found != kind:
            raise Failure(f"{path} holds a picture of kind {found}, not {kind}")
        data = magick(["convert", path, "-alpha", "off", "-depth", "8", "rgb:-"])
        return Shot(int(width), int(height), data)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = 3 * (y * self.width + x)
        return tuple(self.data[i : i + 3])

    def row(self, y, x0, x1):
        return self.data[3 * (y * self.width + x0) : 3 * (y * self.width + x1)]

    def crop(self, x, y, w, h):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = b"".join(self.row(r, x0, x1) for r in range(y0, y1))
        return Shot(x1 - x0, y1 - y0, rows)

    def find(self, color, region):
        """The pixels of exactly this colour inside region (x, y, w, h), relative to the region."""
        x, y, w, h = region
        pattern = bytes(color)
        found = set()
        for r in range(max(0, y), min(self.height, y + h)):
            x0, x1 = max(0, x), min(self.width, x + w)
            line = self.row(r, x0, x1)
            i = line.find(pattern)
            while i >= 0:
                if i % 3 == 0:
                    found.add((x0 + i // 3 - x, r - y))
                    i = line.find(pattern, i + 3)
                else:
                    i = line.find(pattern, i + 1)
        return found

    def save(self, path):
        """Writes the picture in the format the file name's extension names; without the time of writing
        (-strip), so that the same picture makes the same file."""
        raw = ["convert", "-size", f"{self.width}x{self.height}", "-depth", "8", "rgb:-", "-strip", path]
        magick(raw, self.data)


def magick(argv, data=None, env=None):
    """An ImageMagick command's output."""
    return run(argv, argv[0], timeout=30.0, input=data, env=env).stdout


def inside(point, rect):
    x, y, w, h = rect
    return x <= point[0] < x + w and y <= point[1] < y + h


def crop_to_change(picture, base):
    """The picture cut to the part that differs from base, from the top-left corner."""
    right = bottom = 0
    for r in range(picture.height):
        a, b = picture.row(r, 0, picture.width), base.row(r, 0, base.width)
        if a != b:
            bottom = r
            for c in range(picture.width - 1, right, -1):
                if a[3 * c : 3 * c + 3] != b[3 * c : 3 * c + 3]:
                    right = c
                    break
    return picture.crop(0, 0, right + 8, bottom + 8)


# ------------------------------------------------------------------------------------------- the session


class Session:
    """One X server with a window manager, a fresh home and data folder, and the programs started in it."""

    def __init__(self, args, name):
        self.args, self.name = args, name
        self.processes = []
        self.tmp = tempfile.TemporaryDirectory(prefix=f"tulvane-e2e-{name}-")
        self.root = self.tmp.name
        self.home = os.path.join(self.root, "home")
        self.data_home = os.path.join(self.root, "data")
        for d in (self.home, self.data_home, os.path.join(self.root, "config"), os.path.join(self.root, "cache")):
            os.makedirs(d)
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.logs = []
        self.last_shot = None
        self.main_window = None
        self.program = None
        # Called once the processes have ended, the last added first: what a process left running.
        self.cleanups = []

        # Nothing from the caller's desktop or Qt settings may leak in: no offscreen platform, no theme.
        keep = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        for k in ("XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                  "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
            keep.pop(k, None)
        keep.update(
            HOME=self.home,
            XDG_DATA_HOME=self.data_home,
            XDG_CONFIG_HOME=os.path.join(self.root, "config"),
            XDG_CACHE_HOME=os.path.join(self.root, "cache"),
            XDG_RUNTIME_DIR=runtime,
            # English: LANGUAGE would choose the program's language before LC_ALL does.
            LANGUAGE="",
            LC_ALL="C.UTF-8",
            LANG="C.UTF-8",
            NO_AT_BRIDGE="1",
            QT_QPA_PLATFORM="xcb",
        )
        self.env = keep

    # -- processes

    def start(self, argv, log_name):
        """Starts a program in the session, its output going to a log that a failure shows."""
        if log_name not in self.logs:
            self.logs.append(log_name)
        with open(os.path.join(self.root, log_name), "ab") as log:
            p = subprocess.Popen(argv, env=self.env, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def log_text(self, log_name):
        try:
            with open(os.path.join(self.root, log_name), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def __enter__(self):
        try:
            self._start_display()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        screen = f"{SCREEN_W}x{SCREEN_H}x24"
        with open(os.path.join(self.root, "xvfb.log"), "wb") as log:
            xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"],
                env=self.env,
                pass_fds=(write_fd,),
                stdout=subprocess.DEVNULL,
                stderr=log,
                stdin=subprocess.DEVNULL,
            )
        self.processes.append(xvfb)
        os.close(write_fd)
        # Xvfb writes the display number it chose once it accepts connections.
        number = self._read_display_number(read_fd, xvfb)
        self.env["DISPLAY"] = f":{number}"
        self.start(["openbox", "--sm-disable"], "openbox.log")
        self.wait_for(
            lambda: "window id" in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False),
            "openbox to manage the screen",
        )

    def _read_display_number(self, fd, xvfb):
        deadline = Deadline(WAIT)
        text = b""
        os.set_blocking(fd, False)
        try:
            while not deadline.expired():
                try:
                    chunk = os.read(fd, 64)
                except BlockingIOError:
                    chunk = None
                if chunk:
                    text += chunk
                    if text.endswith(b"\n"):
                        return int(text)
                elif chunk == b"" or xvfb.poll() is not None:
                    raise Failure("Xvfb did not start: " + self.log_text("xvfb.log"))
                time.sleep(0.05)
        finally:
            os.close(fd)
        raise Failure("Xvfb did not report its display within the time limit")

    def __exit__(self, kind, value, trace):
        if kind is not None and kind is not KeyboardInterrupt:
            self.leave_screenshot()
        # Each process is ended by its own pid, the last started first.
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait(timeout=5)
        for cleanup in reversed(self.cleanups):
            cleanup()
        self.tmp.cleanup()
        return False

    def leave_screenshot(self):
        path = os.path.join(self.args.out, f"e2e-{self.name}-failure.png")
        shot = None
        try:
            shot = self.screenshot()
        except Exception:
            shot = self.last_shot
        if shot is not None:
            shot.save(path)
            print(f"screenshot of the failure: {path}", file=sys.stderr)
        for log in reversed(self.logs):
            text = self.log_text(log).strip()
            if text:
                print(f"--- {log} ---\n{text}", file=sys.stderr)

    # -- X commands

    def x(self, argv, check=True):
        return run(argv, env=self.env, check=check).stdout.decode(errors="replace")

    def wait_for(self, predicate, what, timeout=WAIT, interval=0.1):
        """The predicate's first true result; a Failure when none comes in time, the time stretched by the
        machine's load."""
        deadline = Deadline(timeout)
        while True:
            result = predicate()
            if result:
                return result
            if deadline.expired():
                raise Failure(f"timed out after {timeout:.0f} s (stretched by the load) waiting for {what}")
            time.sleep(interval)

    def screenshot(self):
        data = magick(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"], env=self.env)
        self.last_shot = Shot(SCREEN_W, SCREEN_H, data)
        return self.last_shot

    def settled(self, region, what):
        """A screenshot once the region has stopped changing: a window just mapped may still be painting.
        The look between two screenshots lengthens with the load, as painting does."""
        seen = {}

        def still():
            time.sleep(0.25 * slowness())
            shot = self.screenshot()
            part = shot.crop(*region).data
            same = seen.get("part") == part
            seen["part"] = part
            return shot if same else None

        return self.wait_for(still, what, interval=0.0)

    def window_picture(self, window, name):
        """Saves a picture of a window with its title bar for the help pages."""
        if os.environ.get("TULVANE_HELP_IMAGES"):
            x, y, w, h = self.geometry(window)
            shot = self.settled((x, y, w, h), "the window to finish painting")
            self.save_image(shot.crop(x - 1, y - 20, w + 2, h + 21), name)

    def windows(self, name):
        out = self.x(["xdotool", "search", "--onlyvisible", "--name", name], check=False)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """Absolute position and size of a window's client area."""
        info = {}
        for line in self.x(["xwininfo", "-id", str(window)]).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(info[k]) for k in keys)

    def wait_window(self, name, exclude=(), what=None):
        found = self.wait_for(
            lambda: [w for w in self.windows(name) if w not in exclude], what or f"a window named {name}"
        )
        return found[0]

    def popups(self):
        """The program's mapped windows that the window manager leaves alone, menus and tool tips. A menu has
        no WM_NAME for xdotool's --name to match, nor always a menu's window type."""
        out = self.x(["xdotool", "search", "--onlyvisible", "--pid", str(self.program.pid)], check=False)
        unmanaged = "Override Redirect State: yes"
        return [int(w) for w in out.split() if unmanaged in self.x(["xwininfo", "-id", w], check=False)]

    def wait_gone(self, window, what, timeout=WAIT):
        self.wait_for(lambda: window not in self.windows("."), what, timeout=timeout)

    def activate(self, window):
        self.x(["xdotool", "windowactivate", "--sync", str(window)])

    def active_window(self):
        out = self.x(["xdotool", "getactivewindow"], check=False).strip()
        return int(out) if out.isdigit() else None

    def wait_active(self, window, what):
        """Waits for a window to have the keyboard's focus, as the window manager gives it."""
        self.wait_for(lambda: self.active_window() == window, what)

    def key(self, *keys):
        self.x(["xdotool", "key", "--clearmodifiers", *keys])

    def type(self, text):
        self.x(["xdotool", "type", "--delay", "15", text])

    def click_screen(self, x, y, button=1):
        self.x(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)])
        # The pointer leaves the buttons, so no tool tip stands over the plot.
        self.x(["xdotool", "mousemove", "--sync", str(SCREEN_W - 1), str(SCREEN_H - 1)])

    def save_image(self, shot, name):
        """In the picture-making mode, TULVANE_HELP_IMAGES naming a folder, writes a picture for the help."""
        folder = os.environ.get("TULVANE_HELP_IMAGES")
        if folder:
            os.makedirs(folder, exist_ok=True)
            shot.save(os.path.join(folder, name))

    # -- a program's main window

    def start_program(self, argv, title, log_name):
        """Starts a program and waits for its main window: mapped, maximised by the program, and active."""
        self.program = self.start(argv, log_name)
        self.main_window = self.wait_window(f"^{title}$", what="the main window to appear")
        self.wait_for(self.maximised, "the main window to be maximised")
        self.activate(self.main_window)
        return self.program

    def maximised(self):
        state = self.x(["xprop", "-id", str(self.main_window), "_NET_WM_STATE"], check=False)
        if "_NET_WM_STATE_MAXIMIZED_VERT" not in state or "_NET_WM_STATE_MAXIMIZED_HORZ" not in state:
            return False
        x, y, w, h = self.geometry(self.main_window)
        return x == 0 and w == SCREEN_W and y + h == SCREEN_H

    def expect_clean_exit(self, failure):
        """Waits for the program to end by itself, with status 0."""
        try:
            code = self.program.wait(timeout=WAIT * slowness())
        except subprocess.TimeoutExpired:
            raise Failure(failure)
        if code != 0:
            raise Failure(f"the program ended with status {code}")

    def accept_file_dialog(self, dialog):
        """Return in a file dialog; a second one when the first only took the name completer's suggestion."""
        for attempt in range(3):
            self.key("Return")
            try:
                self.wait_gone(dialog, "the file dialog to close", timeout=3)
                return
            except Failure:
                if dialog not in self.windows("."):
                    return
        raise Failure("the file dialog did not accept the typed name")
