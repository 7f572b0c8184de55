#!/usr/bin/env python3
"""End-to-end journeys: the built tulvane under Xvfb and openbox, driven with xdotool, checked on screenshots.

Each journey gets its own X server, window manager, home folder and data folder. A failing journey leaves
its last screenshot in the output folder and prints the path. With TULVANE_HELP_IMAGES set to a folder, the
journeys also write the pictures of the help pages there.
"""

import argparse
import configparser
import decimal
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

SCREEN_W, SCREEN_H = 1280, 1024

BLUE = (0, 0, 255)
YELLOW = (255, 255, 0)
RED = (255, 0, 0)
WHITE = (255, 255, 255)
# The exact paths: each body's colour tinted halfway to white.
PATH_A = (255, 255, 127)
PATH_B = (255, 127, 127)
PANEL_COLOR = (191, 205, 219)

# The control panel and its buttons, in plot pixels.
PANEL_RECT = (8, 336, 81, 145)
RUN_BUTTON = (8 + 10 + 27, 336 + 24 + 12)
PAUSE_BUTTON = (8 + 10 + 27, 336 + 52 + 12)
RESET_BUTTON = (8 + 10 + 27, 336 + 80 + 12)
ZPLUS_BUTTON = (8 + 60 + 8, 336 + 122 + 8)

# Buttons of the dialogs, in their client pixels.
SET_STATE_BUTTON = (248 + 37, 320 + 12)
VIEW_DELETE_BUTTON = (8 + 87 + 32, 260 + 18 + 11)
VIEW_FINISHED_BUTTON = (376 + 31, 284 + 12)

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


def cross(x, y):
    """The pixels of a body's cross centred on (x, y)."""
    return {(x + d, y) for d in range(-2, 3)} | {(x, y + d) for d in range(-2, 3)}


def inside(point, rect):
    x, y, w, h = rect
    return x <= point[0] < x + w and y <= point[1] < y + h


def round_half_even(value):
    return int(value.to_integral_value(rounding=decimal.ROUND_HALF_EVEN))


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
        self.data_dir = os.path.join(self.data_home, "Tulvane") + "/"
        for d in (self.home, self.data_home, os.path.join(self.root, "config"), os.path.join(self.root, "cache")):
            os.makedirs(d)
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.last_shot = None
        self.main_window = None
        self.origin = None
        self.plot_size = None

        # Nothing from the caller's desktop or Qt settings may leak in: no offscreen platform, no theme.
        keep = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        for k in ("XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"):
            keep.pop(k, None)
        keep.update(
            HOME=self.home,
            XDG_DATA_HOME=self.data_home,
            XDG_CONFIG_HOME=os.path.join(self.root, "config"),
            XDG_CACHE_HOME=os.path.join(self.root, "cache"),
            XDG_RUNTIME_DIR=runtime,
            LC_ALL="C.UTF-8",
            LANG="C.UTF-8",
            NO_AT_BRIDGE="1",
            QT_QPA_PLATFORM="xcb",
        )
        self.env = keep

    # -- processes

    def start(self, argv, log_name):
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
        for log in ("tulvane.log", "openbox.log"):
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

    def key(self, *keys):
        self.x(["xdotool", "key", "--clearmodifiers", *keys])

    def type(self, text):
        self.x(["xdotool", "type", "--delay", "15", text])

    def click_screen(self, x, y, button=1):
        self.x(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)])
        # The pointer leaves the buttons, so no tool tip stands over the plot.
        self.x(["xdotool", "mousemove", "--sync", str(SCREEN_W - 1), str(SCREEN_H - 1)])

    def save_image(self, shot, name):
        folder = os.environ.get("TULVANE_HELP_IMAGES")
        if folder:
            os.makedirs(folder, exist_ok=True)
            shot.save(os.path.join(folder, name))

    # -- the main window

    def start_tulvane(self, program=None, data_home=None):
        self.env["XDG_DATA_HOME"] = data_home or self.data_home
        self.program = self.start([program or self.args.tulvane], "tulvane.log")
        self.main_window = self.wait_window("^Tulvane$", what="the main window to appear")
        self.wait_for(self.maximised, "the main window to be maximised")
        self.activate(self.main_window)
        return self.program

    def maximised(self):
        state = self.x(["xprop", "-id", str(self.main_window), "_NET_WM_STATE"], check=False)
        if "_NET_WM_STATE_MAXIMIZED_VERT" not in state or "_NET_WM_STATE_MAXIMIZED_HORZ" not in state:
            return False
        x, y, w, h = self.geometry(self.main_window)
        return x == 0 and w == SCREEN_W and y + h == SCREEN_H

    def find_plot(self):
        """Finds the plot surface's top-left corner: the first blue row below the menu bar."""
        x, y, w, h = self.geometry(self.main_window)
        column = x + w // 2

        def found():
            shot = self.settled((x, y, w, h), "the main window to finish painting")
            for row in range(y, y + 80):
                if shot.pixel(column, row) == BLUE and shot.pixel(column, row + 1) == BLUE:
                    self.origin = (x, row)
                    self.plot_size = (w, y + h - row)
                    return shot
            return None

        return self.wait_for(found, "a blue plot surface below the menu bar")

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

    def plot_to_screen(self, px, py):
        return self.origin[0] + px, self.origin[1] + py

    def click_plot(self, point, button=1):
        self.click_screen(*self.plot_to_screen(*point), button=button)

    def plot_region(self):
        return (self.origin[0], self.origin[1], self.plot_size[0], self.plot_size[1])

    def on_plot(self, shot, color):
        """The plot pixels of a colour, outside the control panel."""
        px, py, pw, ph = PANEL_RECT
        return {(x, y) for x, y in shot.find(color, self.plot_region()) if not inside((x, y), PANEL_RECT)}

    def visible(self, pixels):
        """The pixels of a drawing that show: on the plot and not under the control panel."""
        w, h = self.plot_size
        return {p for p in pixels if inside(p, (0, 0, w, h)) and not inside(p, PANEL_RECT)}

    def crosses(self, centres):
        w, h = self.plot_size
        drawn = set()
        for x, y in centres:
            # A cross whose centre is off the plot is not drawn at all.
            if 0 <= x < w and 0 <= y < h:
                drawn |= cross(x, y)
        return self.visible(drawn)


# -------------------------------------------------------------------------------------------- helpers


def trace(args, *extra):
    return run([args.trace, *extra], f"tulvane-trace {' '.join(extra)}", timeout=60.0).stdout.decode()


def trace_points(args, count):
    """(A, B) positions in metres of the plot points 0..count of a run from the built-in settings."""
    decimal.getcontext().prec = 50
    lines = trace(args, "--points", str(count)).splitlines()
    header = lines[0].split(",")
    col = {name: header.index(name) for name in ("a_u", "a_v", "b_u", "b_v")}
    points = []
    for line in lines[1:]:
        f = line.split(",")
        points.append(tuple(decimal.Decimal(f[col[k]]) for k in ("a_u", "a_v", "b_u", "b_v")))
    return points


def pixels_at(points, sf, shift=(0, 0)):
    sf = decimal.Decimal(sf)
    a = [(round_half_even(p[0] / sf) + shift[0], round_half_even(p[1] / sf) + shift[1]) for p in points]
    b = [(round_half_even(p[2] / sf) + shift[0], round_half_even(p[3] / sf) + shift[1]) for p in points]
    return a, b


def describe(found, expected):
    missing, extra = sorted(expected - found), sorted(found - expected)
    return f"{len(missing)} pixels missing (e.g. {missing[:8]}), {len(extra)} unexpected (e.g. {extra[:8]})"


def wait_for_tracks(s, a_centres, b_centres, what):
    """Waits until the yellow and red pixels on the plot are exactly the crosses at these centres."""
    want_a, want_b = s.crosses(a_centres), s.crosses(b_centres)
    state = {}

    def matches():
        shot = s.screenshot()
        state["a"], state["b"] = s.on_plot(shot, YELLOW), s.on_plot(shot, RED)
        return state["a"] == want_a and state["b"] == want_b

    try:
        s.wait_for(matches, what, timeout=WAIT, interval=0.3)
    except Failure as e:
        raise Failure(f"{e}: body A {describe(state['a'], want_a)}; body B {describe(state['b'], want_b)}")


def only_background(s, shot, panel=PANEL_RECT):
    """True when the whole plot outside the control panel is the blue background."""
    w, h = s.plot_size
    px, py, pw, ph = panel
    ox, oy = s.origin
    blue = bytes(BLUE)
    for y in range(h):
        if py <= y < py + ph:
            parts = [(0, px), (px + pw, w)]
        else:
            parts = [(0, w)]
        for x0, x1 in parts:
            if shot.row(oy + y, ox + x0, ox + x1) != blue * (x1 - x0):
                return False
    return True


def panel_interior(panel=PANEL_RECT):
    """The panel's colour fills it inside its one-pixel bevel: left, top, right, bottom."""
    px, py, pw, ph = panel
    return px + 1, py + 1, px + pw - 2, py + ph - 2


PANEL_GRIP = (4, 60)  # a point of the panel's background, in panel pixels


def drag_panel(s, drop, panel=PANEL_RECT):
    """Drags the control panel standing at panel by its background to release the mouse at a plot point, as a
    hand moves a mouse. Returns where its top-left corner should land: the point it was taken at stays under
    the pointer."""
    grip = s.plot_to_screen(panel[0] + PANEL_GRIP[0], panel[1] + PANEL_GRIP[1])
    target = s.plot_to_screen(*drop)
    # A --sync move waits for the pointer to move, forever when it is there already.
    s.x(["xdotool", "mousemove", str(SCREEN_W - 1), str(SCREEN_H - 1)])
    s.x(["xdotool", "mousemove", "--sync", str(grip[0]), str(grip[1]), "mousedown", "1"])
    for step in (0.1, 0.4, 0.7, 1.0):
        x, y = (round(g + (t - g) * step) for g, t in zip(grip, target))
        s.x(["xdotool", "mousemove", "--sync", str(x), str(y)])
    s.x(["xdotool", "mouseup", "1"])
    return drop[0] - PANEL_GRIP[0], drop[1] - PANEL_GRIP[1]


def panel_bounds(s, shot, panel=PANEL_RECT):
    """The bounds of the panel's colour around where the panel should stand, in plot pixels."""
    px, py, pw, ph = panel
    found = shot.find(PANEL_COLOR, (s.origin[0] + px - 4, s.origin[1] + py - 4, pw + 8, ph + 8))
    if not found:
        return None
    xs, ys = [p[0] + px - 4 for p in found], [p[1] + py - 4 for p in found]
    return min(xs), min(ys), max(xs), max(ys)


# ------------------------------------------------------------------------------------------- journeys


def about_box(s):
    """Opens Help > About with the keyboard and returns the box's window and its picture."""
    s.activate(s.main_window)
    s.key("alt+h")
    s.key("a")
    box = s.wait_window("^Tulvane$", exclude=[s.main_window], what="the About box")
    x, y, w, h = s.geometry(box)
    return box, s.settled((x, y, w, h), "the About box to finish painting").crop(x, y, w, h)


def menu_pictures(s):
    """Pictures of the four menus for the help pages, opened with the keyboard."""
    x, y, w, h = s.geometry(s.main_window)
    area = (x, y, 560, 600)
    base = s.screenshot().crop(*area)
    menus = [
        (["alt+f"], "menu-file.png"),
        (["alt+s", "Up", "Right"], "menu-settings.png"),
        (["alt+v"], "menu-view.png"),
        (["alt+h"], "menu-help.png"),
    ]
    for keys, name in menus:
        s.activate(s.main_window)
        for k in keys:
            s.key(k)
        seen = {"last": base}

        def settled():
            # Open and unchanged since the last look: a submenu opens a moment after its item is chosen.
            now = s.screenshot().crop(*area)
            done = now.data != base.data and now.data == seen["last"].data
            seen["last"] = now
            return done

        s.wait_for(settled, f"the menu of {keys[0]} to open", interval=0.4)
        s.save_image(crop_to_change(seen["last"], base), name)
        for _ in keys:
            s.key("Escape")
        s.wait_for(lambda: s.screenshot().crop(*area).data == base.data, "the menu to close")


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


def expect_clean_exit(s, failure):
    try:
        code = s.program.wait(timeout=WAIT * slowness())
    except subprocess.TimeoutExpired:
        raise Failure(failure)
    if code != 0:
        raise Failure(f"the program ended with status {code}")


def quit_with_ctrl_q(s):
    s.activate(s.main_window)
    s.key("ctrl+q")
    expect_clean_exit(s, "Ctrl+Q did not end the program")


def journey_start(args):
    """The window opens maximised on the blue plot with the control panel; About, F1 and Ctrl+Q."""
    with Session(args, "start") as s:
        s.start_tulvane()
        shot = s.find_plot()
        if not only_background(s, shot):
            raise Failure("the plot is not all blue at start")
        bounds = panel_bounds(s, shot)
        if bounds != panel_interior():
            raise Failure(f"control panel colour spans {bounds}, not the panel at {PANEL_RECT} inside its bevel")
        px, py, pw, ph = PANEL_RECT
        ox, oy = s.origin
        s.save_image(shot.crop(ox + px - 2, oy + py - 2, pw + 4, ph + 4), "control-panel-ready.png")
        if os.environ.get("TULVANE_HELP_IMAGES"):
            menu_pictures(s)

        # The panel follows the pointer, the point it was taken at staying under it.
        drop = (300, 600)
        moved = (*drag_panel(s, drop), pw, ph)
        s.wait_for(lambda: panel_bounds(s, s.screenshot(), moved) == panel_interior(moved), f"the panel at {moved}")
        if not only_background(s, s.last_shot, moved):
            raise Failure("moving the panel left something other than the background behind")
        # Released by the bottom-right corner, the whole panel stays in view, as close as it fits.
        w, h = s.plot_size
        drag_panel(s, (w - 2, h - 2), moved)
        cornered = (w - pw, h - ph, pw, ph)
        s.wait_for(
            lambda: panel_bounds(s, s.screenshot(), cornered) == panel_interior(cornered),
            f"the panel kept inside at {cornered[:2]}",
        )
        if not os.path.isdir(s.data_dir):
            raise Failure(f"the data folder {s.data_dir} was not made at start")

        box, about = about_box(s)
        s.window_picture(box, "about.png")
        s.key("Return")
        s.wait_gone(box, "Return to close the About box")

        # F1 opens the help window beside the program.
        s.activate(s.main_window)
        s.key("F1")
        helpw = s.wait_window("^Tulvane Help$", what="the help window after F1")
        hx, hy, hw, hh = s.geometry(helpw)
        if hw < 200 or hh < 200:
            raise Failure(f"help window is only {hw}x{hh}")

        # Ctrl+Q ends the program at once while Ready, help window and all.
        quit_with_ctrl_q(s)
        if s.windows("^Tulvane Help$"):
            raise Failure("the help window outlived the program")

        # The box's text cannot be read back from the screen, but a data folder of another name, as long,
        # must change its last line and nothing else.
        other = s.data_home[:-1] + chr(ord(s.data_home[-1]) + 1)
        s.start_tulvane(data_home=other)
        box, other_about = about_box(s)
        if (other_about.width, other_about.height) != (about.width, about.height):
            raise Failure("the About box changed its size with a data folder of the same length")
        rows = [y for y in range(about.height) if about.row(y, 0, about.width) != other_about.row(y, 0, about.width)]
        if not rows:
            raise Failure("the About box does not show the data folder: it looks the same for another folder")
        if rows[-1] - rows[0] > 20 or rows[0] < about.height // 2:
            raise Failure(f"another data folder changed rows {rows[0]}..{rows[-1]} of the About box, not one line")
        s.key("Return")
        s.wait_gone(box, "Return to close the About box")
        quit_with_ctrl_q(s)


def journey_run(args):
    """Run, Pause: the crosses stand where tulvane-trace puts them; Zoom in, re-centre, Reset."""
    images = bool(os.environ.get("TULVANE_HELP_IMAGES"))
    points = trace_points(args, 400)
    with Session(args, "run") as s:
        s.start_tulvane()
        s.find_plot()
        reset_area = (*s.plot_to_screen(RESET_BUTTON[0] - 27, RESET_BUTTON[1] - 12), 55, 25)
        reset_disabled = s.last_shot.crop(*reset_area).data
        s.click_plot(RUN_BUTTON)
        # A picture for the help shows more of the orbit.
        a_px, b_px = pixels_at(points, "1e9")
        goal = 140 if images else 20
        s.wait_for(lambda: s.crosses(a_px[: goal + 1]) <= s.on_plot(s.screenshot(), YELLOW),
                   f"the run to draw plot point {goal}", timeout=4 * WAIT)
        s.click_plot(PAUSE_BUTTON)
        s.wait_for(lambda: s.screenshot().crop(*reset_area).data != reset_disabled, "Pause to enable Reset")

        # Once paused the picture stops changing; then the yellow crosses are those of points 0..K.
        shot = s.settled(s.plot_region(), "the plot to stop changing after Pause")
        yellow, red = s.on_plot(shot, YELLOW), s.on_plot(shot, RED)
        reached, drawn, closest = None, set(), set()
        for k, centre in enumerate(a_px):
            drawn = drawn | s.crosses([centre])
            if not drawn <= yellow:
                break
            closest = drawn
            if drawn == yellow:
                reached = k
        if reached is None:
            raise Failure(f"the yellow crosses are those of no run of tulvane-trace: {describe(yellow, closest)}")
        if reached < 5 or reached >= len(points) - 1:
            raise Failure(f"the run drew {reached} plot points")
        count = reached + 1
        want_red = s.crosses(b_px[:count])
        if red != want_red:
            raise Failure(f"body B's crosses after {reached} points differ: {describe(red, want_red)}")
        print(f"paused after plot point {reached}")
        if images:
            x, y = s.origin
            top = s.geometry(s.main_window)[1]
            s.save_image(shot.crop(0, top, 660, y - top + 500), "main-window.png")
            px, py, pw, ph = PANEL_RECT
            s.save_image(shot.crop(x + px - 2, y + py - 2, pw + 4, ph + 4), "control-panel-paused.png")

        # Zoom in: the same points, replayed at half the scale.
        s.click_plot(ZPLUS_BUTTON)
        a_px, b_px = pixels_at(points[:count], "5e8")
        wait_for_tracks(s, a_px, b_px, "the replay at 5e8 m per pixel after Zoom in")

        # A left click re-centres: the clicked point moves to the centre, the tracks with it.
        w, h = s.plot_size
        click = (w // 2 + 150, h // 2 + 100)
        s.click_plot(click)
        shift = (w // 2 - click[0], h // 2 - click[1])
        a_px, b_px = pixels_at(points[:count], "5e8", shift)
        wait_for_tracks(s, a_px, b_px, f"the replay re-centred on {click}")

        # Reset leaves only the background and the panel.
        s.click_plot(RESET_BUTTON)
        s.wait_for(lambda: only_background(s, s.screenshot()), "the plot to clear after Reset")

        # Ctrl+Q during a run is kept until the next Pause: the run goes on drawing, then the program ends.
        s.click_plot(RUN_BUTTON)
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > 0, "the new run's first crosses")
        s.activate(s.main_window)
        s.key("ctrl+q")
        drawn = len(s.on_plot(s.screenshot(), YELLOW))
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > drawn, "the run to go on after Ctrl+Q")
        if s.program.poll() is not None:
            raise Failure("Ctrl+Q ended the program in the middle of a run")
        s.click_plot(PAUSE_BUTTON)
        expect_clean_exit(s, "the program did not end at the Pause after Ctrl+Q")


def journey_keyboard(args):
    """A session from the keyboard alone: F5 runs and pauses, Ctrl++ zooms, Ctrl+R resets, the keys work from the
    help window and the Initial State dialog as well, and Ctrl+Q quits."""
    with Session(args, "keyboard") as s:
        s.start_tulvane()
        s.find_plot()
        reset_area = (*s.plot_to_screen(RESET_BUTTON[0] - 27, RESET_BUTTON[1] - 12), 55, 25)
        reset_disabled = s.last_shot.crop(*reset_area).data

        def reset_enabled():
            return s.screenshot().crop(*reset_area).data != reset_disabled

        # F1 opens the help, and the program's keys work from it: F5 runs and pauses.
        s.key("F1")
        helpw = s.wait_window("^Tulvane Help$", what="the help window after F1")
        s.activate(helpw)
        # The help's pictures hold crosses too: the run must add to what the screen shows.
        shown = len(s.on_plot(s.screenshot(), YELLOW))
        s.key("F5")
        more = shown + 5 * len(cross(0, 0))
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > more, "F5 from the help to start a run")
        s.key("F5")
        s.wait_for(reset_enabled, "F5 to pause the run and enable Reset")
        s.key("alt+F4")
        s.wait_gone(helpw, "Alt+F4 to close the help window")

        # The focus rests on Run, so Space goes on with the run; then F5 pauses it again.
        s.activate(s.main_window)
        s.key("space")
        s.wait_for(lambda: not reset_enabled(), "Space on the focused Run to resume the run")
        s.key("F5")
        s.wait_for(reset_enabled, "F5 to pause the resumed run")
        paused = s.settled(s.plot_region(), "the plot to stop changing after F5")
        if cross(400, 200) <= s.on_plot(paused, YELLOW):
            raise Failure("a cross stands at (400, 200) before zooming in")

        # Zoom keeps the top-left corner fixed: Body A's start at (200, 100) moves to (400, 200).
        s.key("ctrl+plus")
        s.wait_for(lambda: cross(400, 200) <= s.on_plot(s.screenshot(), YELLOW), "Ctrl++ to zoom in")
        s.key("ctrl+r")
        s.wait_for(lambda: only_background(s, s.screenshot()), "Ctrl+R to clear the plot")
        if reset_enabled():
            raise Failure("Reset is still enabled after Ctrl+R")

        # The program's keys work while the Initial State dialog has the focus.
        s.key("alt+s")
        s.key("Return")
        dialog = s.wait_window("^Initial State$", what="the Initial State dialog")
        s.activate(dialog)
        opened = len(s.on_plot(s.screenshot(), RED))
        s.key("F5")
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), RED)) > opened + 20, "F5 from the dialog to start a run")
        s.key("F5")
        s.wait_for(reset_enabled, "F5 from the dialog to pause the run")
        if dialog not in s.windows("^Initial State$"):
            raise Failure("the Initial State dialog closed during the run")
        s.key("ctrl+q")
        expect_clean_exit(s, "Ctrl+Q from the Initial State dialog did not end the paused program")


def journey_initial_state(args):
    """A right click picks Body A's start in the Initial State dialog; Set State and Run start there."""
    with Session(args, "initial-state") as s:
        s.start_tulvane()
        s.find_plot()
        s.key("alt+s")
        s.key("Return")
        dialog = s.wait_window("^Initial State$", what="the Initial State dialog")
        dx, dy, dw, dh = s.geometry(dialog)
        old_start = (200, 100)
        # Opening the dialog draws Body A's cross at its stored start.
        s.wait_for(lambda: cross(*old_start) <= s.on_plot(s.screenshot(), YELLOW), "Body A's cross at its start")
        before = s.settled((dx, dy, dw, dh), "the dialog to finish painting").crop(dx, dy, dw, dh)
        s.window_picture(dialog, "initial-state.png")

        pick = (300, 420)
        sx, sy = s.plot_to_screen(*pick)
        if dx - 10 <= sx <= dx + dw + 10 and dy - 30 <= sy <= dy + dh + 10:
            raise Failure(f"the Initial State dialog at {(dx, dy, dw, dh)} covers the picked point")
        s.click_plot(pick, button=3)
        # The pick shows in the dialog's position label and draws nothing on the plot.
        s.wait_for(lambda: s.screenshot().crop(dx, dy, dw, dh).data != before.data, "the dialog to show the pick")
        # The dialog's own yellow swatch is no cross.
        ox, oy = s.origin
        framed = (dx - ox - 2, dy - oy - 30, dw + 4, dh + 32)
        yellow = {p for p in s.on_plot(s.last_shot, YELLOW) if not inside(p, framed)}
        if yellow != s.crosses([old_start]):
            raise Failure("the right click drew on the plot")

        s.click_screen(dx + SET_STATE_BUTTON[0], dy + SET_STATE_BUTTON[1])
        s.wait_gone(dialog, "Set State to hide the dialog")
        s.click_plot(RUN_BUTTON)
        s.wait_for(lambda: cross(*pick) <= s.on_plot(s.screenshot(), YELLOW), "the run's first cross at the pick")
        s.click_plot(PAUSE_BUTTON)
        shot = s.screenshot()
        yellow = s.on_plot(shot, YELLOW)
        near_old = {p for p in yellow if abs(p[0] - old_start[0]) <= 6 and abs(p[1] - old_start[1]) <= 6}
        # The cross the dialog drew stays, alone: the run did not start there.
        if near_old != cross(*old_start):
            raise Failure(f"around the old start {old_start} stand {sorted(near_old)} instead of one cross")
        if not cross(*pick) <= yellow:
            raise Failure(f"no yellow cross at the picked point {pick}")


def journey_save_view(args):
    """Ctrl+S saves a labelled record; tulvane-trace reads it; the viewer deletes it, leaving an empty file."""
    label = "Slingshot past B"
    with Session(args, "save-view") as s:
        s.start_tulvane()
        s.find_plot()
        path = os.path.join(s.data_dir, "orbits.tv0")

        # View > Current Settings shows the settings without a file; Finished closes it.
        s.key("alt+v")
        s.key("Return")
        current = s.wait_window("^Current State Settings$", what="the viewer after View > Current Settings")
        vx, vy, vw, vh = s.geometry(current)
        s.window_picture(current, "viewer-current.png")
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(current, "Finished to close the current-settings view")

        s.activate(s.main_window)
        s.key("ctrl+s")
        prompt = s.wait_window("^Saving Settings$", what="the label prompt after Ctrl+S")
        s.activate(prompt)
        s.type(label)
        s.window_picture(prompt, "save-label.png")
        s.key("Return")
        s.wait_gone(prompt, "the label prompt to close")
        files = s.wait_window("^Saving Settings$", exclude=[prompt], what="the save dialog")
        s.activate(files)
        # A bare name: the dialog starts in the data folder and adds the .tv0 extension.
        s.type("orbits")
        s.window_picture(files, "save-dialog.png")
        s.accept_file_dialog(files)
        note = s.wait_window("^Tulvane$", exclude=[s.main_window], what="the confirmation of the save")
        s.activate(note)
        s.key("Return")
        s.wait_gone(note, "the confirmation to close")

        if not os.path.isfile(path):
            raise Failure(f"no settings file at {path}; the data folder holds {os.listdir(s.data_dir)}")
        with open(path, "rb") as f:
            record = f.read()
        if len(record) != 293:
            raise Failure(f"the settings file holds {len(record)} bytes, not one 293-byte record")
        if record[4] != len(label) or record[5 : 5 + len(label)] != label.encode("cp1252"):
            raise Failure(f"the record's label field reads {record[4:5 + len(label)]!r}")
        # Label and date aside the record is the built-in settings, so the trace from it is the same.
        if trace(args, "--points", "20", path, "1") != trace(args, "--points", "20"):
            raise Failure("tulvane-trace runs the saved record differently from the built-in settings")

        # View > Saved Settings: Delete, then Finished compacts the file to nothing.
        s.activate(s.main_window)
        s.key("alt+v")
        s.key("Down")
        s.key("Return")
        opener = s.wait_window("^Viewing Saved Settings$", what="the open dialog of View > Saved Settings")
        s.activate(opener)
        s.type("orbits.tv0")
        s.accept_file_dialog(opener)
        viewer = s.wait_window("^Saved State Settings$", what="the settings viewer")
        vx, vy, vw, vh = s.geometry(viewer)
        s.window_picture(viewer, "viewer.png")
        s.click_screen(vx + VIEW_DELETE_BUTTON[0], vy + VIEW_DELETE_BUTTON[1])
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(viewer, "Finished to close the viewer")
        s.wait_for(
            lambda: os.path.exists(path) and os.path.getsize(path) == 0,
            "the settings file to be empty after Delete and Finished",
            timeout=5,
        )


def check_installed_layout(prefix, app_id, how):
    """The files under an installed prefix: programs, help with every link in place, desktop entry, metadata,
    icons and manual pages."""
    expected = [
        "bin/tulvane",
        "bin/tulvane-trace",
        "share/tulvane/help/index.html",
        f"share/applications/{app_id}.desktop",
        f"share/metainfo/{app_id}.metainfo.xml",
        "share/icons/hicolor/scalable/apps/tulvane.svg",
        "share/icons/hicolor/64x64/apps/tulvane.png",
        "share/man/man1/tulvane.1.gz",
        "share/man/man1/tulvane-trace.1.gz",
    ]
    missing = [f for f in expected if not os.path.isfile(os.path.join(prefix, f))]
    if missing:
        raise Failure(f"not installed by {how}: {missing}")
    for exe in ("bin/tulvane", "bin/tulvane-trace"):
        if not os.access(os.path.join(prefix, exe), os.X_OK):
            raise Failure(f"{exe} from {how} is not executable")
    with open(os.path.join(prefix, f"share/applications/{app_id}.desktop")) as f:
        entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
    for k, v in (("Type", "Application"), ("Exec", "tulvane"), ("Icon", "tulvane"), ("Name", "Tulvane")):
        if entry.get(k) != v:
            raise Failure(f"the desktop entry from {how} has {k}={entry.get(k)!r}, not {v!r}")
    help_dir = os.path.join(prefix, "share/tulvane/help")
    for page in sorted(p for p in os.listdir(help_dir) if p.endswith(".html")):
        with open(os.path.join(help_dir, page), encoding="utf-8") as f:
            for link in re.findall(r'(?:href|src)="([^"#:]+)', f.read()):
                if not os.path.isfile(os.path.join(help_dir, link)):
                    raise Failure(f"the help page {page} from {how} links to {link}, which is not there")
    return entry


def run_installed_program(s, program, entry, how):
    """The installed program shows its icon, matches its desktop entry, finds its help and ends on Ctrl+Q."""
    s.start_tulvane(program)
    # An X11 desktop ties a window to the entry by its class, since the entry's name is not the program's.
    wm_class = s.x(["xprop", "-id", str(s.main_window), "WM_CLASS"], check=False)
    if not wm_class.rstrip().endswith(f'"{entry.get("StartupWMClass")}"'):
        raise Failure(f"the window's {wm_class.strip()} does not match StartupWMClass of the desktop entry")
    icon = s.x(["xprop", "-id", str(s.main_window), "_NET_WM_ICON"], check=False)
    # Qt gives a window without an icon of its own a 48 x 48 default; the program's icon is 64 x 64.
    if "Icon (64 x 64)" not in icon:
        raise Failure(f"the main window of the program from {how} does not show the program's icon")
    s.key("F1")
    s.wait_window("^Tulvane Help$", what=f"the help window of the program from {how} after F1")
    s.activate(s.main_window)
    s.key("ctrl+q")
    try:
        s.program.wait(timeout=WAIT * slowness())
    except subprocess.TimeoutExpired:
        raise Failure(f"Ctrl+Q did not end the program from {how}")


def journey_installed(args):
    """cmake --install and the .deb lay out the program, its help, the desktop entry, the metadata, the icons
    and the manual pages; each installed program finds its help and shows its icon."""
    with Session(args, "installed") as s:
        prefix = os.path.join(s.root, "prefix")
        install = [args.cmake, "--install", args.build_dir, "--prefix", prefix]
        run(install, "cmake --install", timeout=120.0)
        entry = check_installed_layout(prefix, args.app_id, "cmake --install")
        run_installed_program(s, os.path.join(prefix, "bin/tulvane"), entry, "cmake --install")

        if not args.package_dir:
            raise Failure("the journey needs --package-dir, the folder of the .deb")
        debs = sorted(f for f in os.listdir(args.package_dir) if f.endswith(".deb"))
        if len(debs) != 1:
            raise Failure(f"expected one .deb in {args.package_dir}, found {debs}")
        root = os.path.join(s.root, "deb")
        run(["dpkg", "-x", os.path.join(args.package_dir, debs[0]), root], "dpkg -x", timeout=120.0)
        entry = check_installed_layout(os.path.join(root, "usr"), args.app_id, debs[0])
        run_installed_program(s, os.path.join(root, "usr/bin/tulvane"), entry, debs[0])


# The view aids' keys in the view options, and their places from the bottom of the View menu, above Run Speed.
VIEW_AIDS = {"OffscreenMarkers": 2, "ScaleBar": 3, "ExactPath": 4}


def view_option(s, section, key):
    """A value of the view options file, as the program last wrote it."""
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    try:
        parser.read(os.path.join(s.root, "config", "Tulvane", "view-options.conf"), encoding="utf-8")
    except configparser.Error:
        return None
    return parser.get(section, key, fallback=None)


def set_view_aids(s, on):
    """Checks or unchecks the three view aids in the View menu with the keyboard; each is done once the menu
    has closed and the program has kept the choice."""
    for key, from_bottom in VIEW_AIDS.items():
        s.activate(s.main_window)
        s.key("alt+v")
        # The pointer is parked away from the program, so the one popup is the menu.
        menu = s.wait_for(lambda: s.popups()[:1], "the View menu to open")[0]
        s.key(*["Up"] * from_bottom)
        s.key("Return")
        s.wait_gone(menu, "the View menu to close")
        word = "true" if on else "false"
        s.wait_for(lambda: view_option(s, "View", key) == word, f"the view options to keep {key}={word}")


def near(pixels, point, distance):
    x, y = point
    return any(abs(px - x) <= distance and abs(py - y) <= distance for px, py in pixels)


def journey_view_aids(args):
    """Exact Path, Scale Bar and Off-screen Markers turned on during a default run: the dots leave the path."""
    points = trace_points(args, 400)
    with Session(args, "view-aids") as s:
        s.start_tulvane()
        s.find_plot()
        a_px, b_px = pixels_at(points, "1e9")
        s.click_plot(RUN_BUTTON)
        s.wait_for(lambda: s.crosses(a_px[:11]) <= s.on_plot(s.screenshot(), YELLOW), "the run's first crosses")
        set_view_aids(s, True)
        # Past the closest approach on day 111, with the dots well on their way out. Body A's dot there has left
        # the exact path, which hides the dots on it.
        goal = 180
        s.wait_for(lambda: s.crosses(a_px[goal : goal + 1]) <= s.on_plot(s.screenshot(), YELLOW),
                   f"the run to draw plot point {goal}", timeout=4 * WAIT, interval=0.5)
        s.click_plot(PAUSE_BUTTON)
        shot = s.settled(s.plot_region(), "the plot to stop changing after Pause")
        path = os.path.join(args.out, "e2e-view-aids.png")
        shot.save(path)
        print(f"screenshot with the view aids: {path}")
        path_a, path_b = s.on_plot(shot, PATH_A), s.on_plot(shot, PATH_B)
        w, h = s.plot_size

        # Turning the three off shows the run's own crosses, which tell how far it went.
        set_view_aids(s, False)
        plain = s.settled(s.plot_region(), "the plot to show the crosses alone")
        yellow = s.on_plot(plain, YELLOW)
        count = max(k for k in range(len(a_px)) if s.crosses(a_px[: k + 1]) <= yellow) + 1
        if s.crosses(a_px[:count]) != yellow:
            raise Failure(f"with the aids off the crosses differ: {describe(yellow, s.crosses(a_px[:count]))}")
        if count < 140:
            raise Failure(f"the run reached only plot point {count - 1}")
        print(f"paused after plot point {count - 1}; {len(path_a)} + {len(path_b)} exact path pixels")

        # Before the closest approach the dots sit on their exact path; after it they leave it.
        on_path = [k for k in range(5, 100, 5) if near(path_a, a_px[k], 3)]
        if len(on_path) < 17:
            raise Failure(f"body A's early dots lie off its exact path: only {on_path} are on it")
        late = [k for k in range(count - 30, count, 3) if near(path_a, a_px[k], 12)]
        if late:
            raise Failure(f"body A's last dots still follow the exact path: {late} lie on it")
        # The exact path swings round the other body and comes back towards where A started.
        far_side = [p for p in path_a if p[0] < a_px[count - 1][0] - 40 or p[1] > a_px[count - 1][1] + 40]
        if len(path_a) < 300 or len(path_b) < 30 or not far_side:
            raise Failure(f"the exact paths are too short: {len(path_a)} and {len(path_b)} pixels")
        # The scale bar: 100 million km at 1e9 m a pixel, bottom left.
        bar_y = h - 14
        bar = [x for x in range(104, 205) if shot.pixel(s.origin[0] + x, s.origin[1] + bar_y) == WHITE]
        if len(bar) != 101:
            raise Failure(f"the scale bar covers {len(bar)} of its 101 pixels")

        # Zoomed in, body B stands right of the plot: its red arrow sits on the right edge.
        set_view_aids(s, True)
        s.click_plot(ZPLUS_BUTTON)
        b_last = pixels_at(points[count - 1 : count], "5e8")[1][0]
        zoomed = s.settled(s.plot_region(), "the replay at 5e8 m per pixel")
        red_edge = [p for p in s.on_plot(zoomed, RED) if p[0] >= w - 20]
        if b_last[0] < w and red_edge:
            raise Failure(f"body B at {b_last} is on the plot, yet an arrow stands at the right edge")
        if b_last[0] >= w and len(red_edge) < 15:
            raise Failure(f"body B at {b_last} is off the plot on the right, but no arrow shows there")
        zoomed.save(os.path.join(args.out, "e2e-view-aids-zoomed.png"))
        x, y = s.origin
        s.save_image(zoomed.crop(x + 96, y + 400, w - 96, h - 400), "view-aids.png")
        quit_with_ctrl_q(s)


def read_readout(path):
    """The readout's texts as the program writes them with TULVANE_READOUT_DUMP: caption -> cells."""
    try:
        with open(path, encoding="utf-8") as f:
            return {cells[0]: cells[1:] for cells in (line.rstrip("\n").split("\t") for line in f)}
    except OSError:
        return {}


def elapsed_days(table):
    now = table.get("Elapsed", ["", ""])[1]
    return float(now.split()[0]) if now.split() and now[0].isdigit() else -1.0


def journey_orbit_readout(args):
    """F3 opens the Orbit Readout beside the plot: the bound start, then the run's escape past day 111."""
    with Session(args, "orbit-readout") as s:
        dump = os.path.join(s.root, "readout.txt")
        s.env["TULVANE_READOUT_DUMP"] = dump
        options = os.path.join(s.root, "config", "Tulvane", "view-options.conf")
        s.start_tulvane()
        s.find_plot()
        s.key("F3")
        readout = s.wait_window("^Orbit Readout$", exclude=(s.main_window,), what="the readout after F3")

        def at_right_edge():
            x, y, w, h = s.geometry(readout)
            # Once framed, the window moves so that the frame, title bar included, is on the screen.
            return abs(x + w - SCREEN_W) <= 2 and 10 <= y <= 40

        try:
            s.wait_for(at_right_edge, "the readout at the screen's right edge")
        except Failure:
            raise Failure(f"the readout stands at {s.geometry(readout)}, not at the right edge with its title")
        x, y, w, h = s.geometry(readout)
        active = s.x(["xdotool", "getactivewindow"], check=False).strip()
        if active != str(s.main_window):
            raise Failure("opening the readout took the focus from the main window")

        table = s.wait_for(lambda: read_readout(dump).get("Orbit"), "the readout's texts")
        table = read_readout(dump)
        expected = {
            "Orbit": "bound ellipse",
            "Eccentricity": "0.97300",
            "Period": "1356.6 days (3.714 years)",
            "Steps across closest approach": "27",
        }
        for caption, text in expected.items():
            if table[caption][0] != text:
                raise Failure(f"start column {caption}: {table[caption][0]!r}, not {text!r}")
        if table["Orbit"][1] != "\u2014":
            raise Failure(f"the Now column shows {table['Orbit'][1]!r} before a run")
        if not table["Warning"][0].startswith("closest approach in 27 steps: expect the run to drift"):
            raise Failure(f"no warning of the closest approach: {table['Warning']}")

        # The run passes its closest approach at about day 111 and leaves on an open orbit.
        s.click_plot(RUN_BUTTON)
        s.wait_for(lambda: elapsed_days(read_readout(dump)) >= 115, "the run to pass day 115", timeout=60)
        s.click_plot(PAUSE_BUTTON)
        shot = s.settled((x, y, w, h), "the readout to stop changing after Pause")
        table = read_readout(dump)
        if table["Orbit"] != ["bound ellipse", "hyperbola: escape"]:
            raise Failure(f"the columns read {table['Orbit']}, not the bound start and the escape")
        if table["Period"][1] != "\u2014":
            raise Failure(f"an escape has a period of {table['Period'][1]!r}")
        if table["Energy drift"][1] != "red" or not table["Energy drift"][0].startswith("+"):
            raise Failure(f"the energy gauge reads {table['Energy drift']} after the escape")
        if not table["Hint"][0]:
            raise Failure("no hint under the red gauge")
        # The red of the gauge is on the screen, inside the readout.
        if not shot.find((210, 0, 0), (x, y, w, h)):
            raise Failure("no red gauge shows in the readout")
        s.window_picture(readout, "orbit-readout.png")

        # F3 closes it, from the main window as from anywhere; the choice is remembered.
        s.activate(s.main_window)
        s.key("F3")
        s.wait_gone(readout, "F3 to close the readout")
        with open(options, encoding="utf-8") as f:
            if "open=false" not in f.read():
                raise Failure("closing the readout was not remembered")
        s.key("F3")
        readout = s.wait_window("^Orbit Readout$", exclude=(s.main_window,), what="the readout after F3 again")
        quit_with_ctrl_q(s)

        s.start_tulvane()
        s.wait_window("^Orbit Readout$", exclude=(s.main_window,), what="the readout remembered open")
        quit_with_ctrl_q(s)


def timeline(table):
    """The timeline's label and whether the slider takes input, from the readout's dump."""
    cells = table.get("Timeline", ["", ""])
    return cells[0], cells[1] == "enabled"


def export_through_dialog(s, title, name, path):
    """Types a bare name into the save dialog, which starts in the pictures folder (else the documents folder,
    else home) and adds the extension."""
    dialog = s.wait_window(f"^{title}$", exclude=(s.main_window,), what=f"the {title} dialog")
    s.activate(dialog)
    s.type(name)
    s.accept_file_dialog(dialog)
    s.wait_for(lambda: os.path.isfile(path), f"{path} to be written", timeout=30)


def journey_timeline(args):
    """A paused run walked back on the readout's timeline to its closest approach, then exported as a picture
    and as a track: the picture's crosses and the track's rows are those of tulvane-trace."""
    closest = 111  # the default settings' closest approach, one plot point a day
    with Session(args, "timeline") as s:
        dump = os.path.join(s.root, "readout.txt")
        s.env["TULVANE_READOUT_DUMP"] = dump
        # A home with a pictures folder, as most desktops make: the exports start there.
        pictures = os.path.join(s.home, "Pictures")
        os.makedirs(pictures)
        s.start_tulvane()
        s.find_plot()
        s.key("F3")
        readout = s.wait_window("^Orbit Readout$", exclude=(s.main_window,), what="the readout after F3")
        s.wait_for(lambda: read_readout(dump).get("Orbit"), "the readout's texts")
        label, usable = timeline(read_readout(dump))
        if usable:
            raise Failure(f"the timeline takes input before a run: {label!r}")

        s.activate(s.main_window)
        s.key("F5")
        s.wait_for(lambda: elapsed_days(read_readout(dump)) >= closest + 15, "the run to pass its closest approach",
                   timeout=90)
        s.activate(s.main_window)
        s.key("F5")
        s.wait_for(lambda: timeline(read_readout(dump))[1], "the timeline to open up after Pause")
        label = timeline(read_readout(dump))[0]
        paused = re.fullmatch(r"Plot point (\d+) of (\d+)", label)
        if not paused or paused.group(1) != paused.group(2):
            raise Failure(f"after Pause the timeline reads {label!r}, not the last plot point")
        count = int(paused.group(2))
        if count <= closest:
            raise Failure(f"the run paused at plot point {count}, before its closest approach")

        # The slider is the readout's one control, so it has the focus once the window is active.
        s.activate(readout)
        s.key("Home")
        s.wait_for(lambda: timeline(read_readout(dump))[0].startswith(f"Plot point 0 of {count},"),
                   "Home to take the timeline to the start")
        if elapsed_days(read_readout(dump)) != 0.0:
            raise Failure(f"at plot point 0 the readout shows {read_readout(dump)['Elapsed']}")
        # A page is ten plot points, an arrow one.
        s.key(*["Page_Up"] * (closest // 10), *["Right"] * (closest % 10))
        at_closest = f"Plot point {closest} of {count},"
        s.wait_for(lambda: timeline(read_readout(dump))[0].startswith(at_closest), f"the keys to reach {at_closest}")
        table = read_readout(dump)
        if elapsed_days(table) != float(closest):
            raise Failure(f"at plot point {closest} the readout shows {table['Elapsed']}")
        s.window_picture(readout, "orbit-readout-timeline.png")

        picture = os.path.join(pictures, "approach.png")
        s.activate(s.main_window)
        s.key("ctrl+e")
        export_through_dialog(s, "Export Picture", "approach", picture)
        track = os.path.join(pictures, "track.csv")
        s.activate(s.main_window)
        s.key("alt+f")
        s.key("Down")
        s.key("Down")
        s.key("Return")
        export_through_dialog(s, "Export Track", "track", track)

        def last_row():
            with open(track, encoding="utf-8") as f:
                text = f.read()
            return text if text.endswith("\n") and text.splitlines()[-1].startswith(f"{count},") else None

        # The track is written in the background: it is whole once its last row is the paused run's last point.
        text = s.wait_for(last_row, "the track to be written to its last plot point", timeout=30)
        shot = Shot.read(picture, "PNG")
        shutil.copyfile(picture, os.path.join(args.out, "e2e-timeline.png"))
        quit_with_ctrl_q(s)

    want = trace(args, "--orbit", "--points", str(count))
    if text != want:
        lines, wanted = text.splitlines(), want.splitlines()
        diff = next((i for i, (a, b) in enumerate(zip(lines, wanted)) if a != b), min(len(lines), len(wanted)))
        raise Failure(f"the exported track differs from tulvane-trace --orbit --points {count} at line {diff + 1}: "
                      f"{lines[diff:diff + 1]} against {wanted[diff:diff + 1]}")

    # The picture holds the run's crosses where tulvane-trace puts them, and a ring round each body at the
    # closest approach.
    a_px, b_px = pixels_at(trace_points(args, count), "1e9")
    rings = (a_px[closest], b_px[closest])

    def plot_pixels(color, near_rings):
        return {(x, y) for x, y in shot.find(color, (0, 0, shot.width, shot.height))
                if not inside((x, y), PANEL_RECT) and near(rings, (x, y), 9) == near_rings}

    for body, color, centres in (("A", YELLOW, a_px), ("B", RED, b_px)):
        drawn = set()
        for x, y in centres:
            if 0 <= x < shot.width and 0 <= y < shot.height:
                drawn |= cross(x, y)
        want_px = {p for p in drawn if inside(p, (0, 0, shot.width, shot.height)) and not inside(p, PANEL_RECT)
                   and not near(rings, p, 9)}
        found = plot_pixels(color, False)
        if found != want_px:
            raise Failure(f"body {body}'s crosses in the exported picture differ: {describe(found, want_px)}")
        ring = centres[closest]
        round_it = [
            p for p in plot_pixels(color, True) - drawn if 6 <= max(abs(p[0] - ring[0]), abs(p[1] - ring[1])) <= 8
        ]
        if len(round_it) < 20:
            raise Failure(f"no ring round body {body} at {ring} in the exported picture: {len(round_it)} pixels")
    print(f"paused after plot point {count}; picture {shot.width}x{shot.height}, track of {count + 1} rows")


def journey_pause(args):
    """F5 while a Classic run waits between two plot points: the panel says Paused at once, and nothing more is
    drawn; F5 again goes on. The times printed are from the key to the screenshot that shows Paused."""
    rng = random.Random(7)
    with Session(args, "pause") as s:
        s.start_tulvane()
        s.find_plot()
        reset_area = (*s.plot_to_screen(RESET_BUTTON[0] - 27, RESET_BUTTON[1] - 12), 55, 25)
        label_area = (*s.plot_to_screen(PANEL_RECT[0] + 10, PANEL_RECT[1] + 6), 55, 13)
        reset_disabled = s.last_shot.crop(*reset_area).data
        ready_label = s.last_shot.crop(*label_area).data

        def reset_enabled():
            return s.screenshot().crop(*reset_area).data != reset_disabled

        s.activate(s.main_window)
        s.key("F5")
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > 3 * len(cross(0, 0)), "the run's first crosses")
        running_label = s.last_shot.crop(*label_area).data
        paused_label = None
        seen = []
        for _ in range(5):
            # A random phase of the 100 ms rhythm between two plot points.
            time.sleep(rng.uniform(0.2, 0.3))
            pressed = time.monotonic()
            s.key("F5")
            s.wait_for(reset_enabled, "F5 to pause the run", interval=0.0)
            seen.append(time.monotonic() - pressed)
            label = s.last_shot.crop(*label_area).data
            if label in (ready_label, running_label):
                raise Failure("Reset is enabled but the panel does not say Paused")
            if paused_label is not None and label != paused_label:
                raise Failure("the panel's state label differs from one Pause to the next")
            paused_label = label
            still = s.settled(s.plot_region(), "the plot to stop changing after Pause")
            time.sleep(0.5)
            if s.screenshot().crop(*s.plot_region()).data != still.crop(*s.plot_region()).data:
                raise Failure("the run went on drawing after Pause")
            s.key("F5")
            s.wait_for(lambda: not reset_enabled(), "F5 to go on with the run")
        print("from F5 to a screenshot showing Paused: " + ", ".join(f"{t * 1000:.0f} ms" for t in seen))
        s.key("F5")
        s.wait_for(reset_enabled, "F5 to pause the run before quitting")
        quit_with_ctrl_q(s)


JOURNEYS = {
    "start": journey_start,
    "run": journey_run,
    "initial-state": journey_initial_state,
    "keyboard": journey_keyboard,
    "save-view": journey_save_view,
    "installed": journey_installed,
    "view-aids": journey_view_aids,
    "orbit-readout": journey_orbit_readout,
    "timeline": journey_timeline,
    "pause": journey_pause,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--tulvane", required=True)
    parser.add_argument("--trace", required=True)
    parser.add_argument("--out", required=True, help="folder for the screenshots of failures")
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--build-dir", help="build folder to install from (journey installed)")
    parser.add_argument("--package-dir", help="folder holding the .deb to unpack (journey installed)")
    parser.add_argument("--app-id", help="names the desktop entry and the metadata file (journey installed)")
    parser.add_argument("journeys", nargs="+", choices=sorted(JOURNEYS))
    args = parser.parse_args()

    missing = sorted({pkg for tool, pkg in TOOLS.items() if shutil.which(tool) is None})
    if missing:
        print(
            f"The end-to-end tests need the Debian packages {', '.join(missing)}: "
            "run scripts/install-deps.sh (make test does).",
            file=sys.stderr,
        )
        return 1
    failed = 0
    for name in args.journeys:
        started = time.monotonic()
        try:
            JOURNEYS[name](args)
            print(f"journey {name}: passed in {time.monotonic() - started:.1f} s")
        except Failure as e:
            failed += 1
            print(f"journey {name}: FAILED: {e}", file=sys.stderr)
        except Exception:
            failed += 1
            print(f"journey {name}: FAILED:\n{traceback.format_exc()}", file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
