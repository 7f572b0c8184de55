"""What the journeys know of Tulvane: its colours and control panel, its main window and plot, where
tulvane-trace puts the crosses, the readout's dump, and quitting."""

import decimal
import os

from harness import WAIT, Failure, Session, inside, run

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


class TulvaneSession(Session):
    """A session that starts Tulvane and knows where its plot stands on the screen."""

    def __init__(self, args, name):
        super().__init__(args, name)
        self.data_dir = os.path.join(self.data_home, "Tulvane") + "/"
        self.origin = None
        self.plot_size = None

    def start_tulvane(self, program=None, data_home=None):
        self.env["XDG_DATA_HOME"] = data_home or self.data_home
        return self.start_program([program or self.args.tulvane], "Tulvane", "tulvane.log")

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


def cross(x, y):
    """The pixels of a body's cross centred on (x, y)."""
    return {(x + d, y) for d in range(-2, 3)} | {(x, y + d) for d in range(-2, 3)}


def round_half_even(value):
    return int(value.to_integral_value(rounding=decimal.ROUND_HALF_EVEN))


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


def quit_with_ctrl_q(s):
    s.activate(s.main_window)
    s.key("ctrl+q")
    s.expect_clean_exit("Ctrl+Q did not end the program")


def near(pixels, point, distance):
    x, y = point
    return any(abs(px - x) <= distance and abs(py - y) <= distance for px, py in pixels)


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
