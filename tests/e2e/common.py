"""What the journeys know of Tulvane: its colours and control panel, its main window and plot, the readout
docked at the plot's right and its texts as a screen reader reads them, where tulvane-trace puts the crosses,
and quitting."""

import decimal
import os

from harness import WAIT, Failure, Session, inside, run

BLUE = (0, 0, 255)
YELLOW = (255, 255, 0)
RED = (255, 0, 0)
WHITE = (255, 255, 255)
# The exact paths: each body's colour, a light one (as both default colours are) darkened by a factor of 1.6.
PATH_A = (159, 159, 0)
PATH_B = (159, 0, 0)
PANEL_COLOR = (191, 205, 219)
# The face of the readout and the other widgets: the style's window colour.
WINDOW_COLOR = (239, 239, 239)

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
        # Where the control panel stands on the plot, which hides what is drawn beneath it.
        self.panel = PANEL_RECT

    def start_tulvane(self, program=None, data_home=None):
        self.env["XDG_DATA_HOME"] = data_home or self.data_home
        return self.start_program([program or self.args.tulvane], "Tulvane", "tulvane.log")

    def find_plot(self):
        """Finds the plot surface's top-left corner, the first blue row below the menu bar, and its width: the
        blue from there to the window's right edge or to a dock that stands beside it."""
        x, y, w, h = self.geometry(self.main_window)
        column = x + w // 4

        def found():
            shot = self.settled((x, y, w, h), "the main window to finish painting")
            for row in range(y, y + 80):
                if shot.pixel(column, row) == BLUE and shot.pixel(column, row + 1) == BLUE:
                    self.origin = (x, row)
                    self.plot_size = (self.plot_width(shot), y + h - row)
                    return shot
            return None

        return self.wait_for(found, "a blue plot surface below the menu bar")

    def plot_width(self, shot):
        """The blue from the plot's left edge along its top and bottom rows, where no cross stands in the way
        of both; the plot's right edge, when it is blue there."""
        x, y, w, h = self.geometry(self.main_window)
        ox, oy = self.origin
        widths = []
        for row in (oy, y + h - 1):
            line = shot.row(row, ox, x + w)
            stop = next((i for i in range(0, len(line), 3) if line[i : i + 3] != bytes(BLUE)), len(line))
            widths.append(stop // 3)
        return max(widths)

    def wait_plot_width(self, test, what):
        """Waits until the plot's width, measured on a settled window, passes the test; keeps it as the plot's."""
        x, y, w, h = self.geometry(self.main_window)

        def measured():
            shot = self.settled((x, y, w, h), "the main window to finish painting")
            width = self.plot_width(shot)
            if test(width):
                self.plot_size = (width, self.plot_size[1])
                return shot
            return None

        return self.wait_for(measured, what)

    def dock_region(self):
        """The screen right of the plot, to the window's right edge: where a docked readout stands."""
        x, y, w, h = self.geometry(self.main_window)
        ox, oy = self.origin
        left = ox + self.plot_size[0]
        return (left, oy, x + w - left, self.plot_size[1])

    def readout_docked(self, shot):
        """The readout is docked at the plot's right: a strip between a sixth and half of the window wide, no
        plot blue in it, its face the window colour with dark text on it, and no window of its own."""
        w = self.geometry(self.main_window)[2]
        region = self.dock_region()
        width = region[2]
        if not w // 6 <= width <= w // 2:
            raise Failure(f"the readout's strip at the window's right is {width} pixels wide, of {w}")
        if shot.find(BLUE, region):
            raise Failure("the plot's blue shows inside the readout's strip: the readout covers the plot")
        area = width * region[3]
        face, text = len(shot.find(WINDOW_COLOR, region)), len(shot.find((0, 0, 0), region))
        if face < area // 2 or text < 500:
            raise Failure(f"the strip at the window's right does not look like the readout: {face} of {area} "
                          f"pixels its face, {text} of text")
        if self.windows("^Orbit Readout$"):
            raise Failure("the docked readout has a window of its own")
        return region

    def readout_picture(self, name):
        """Saves a picture of the docked readout for the help pages, down to its last line of content."""
        if os.environ.get("TULVANE_HELP_IMAGES"):
            x, y, w, h = self.dock_region()
            shot = self.settled((x, y, w, h), "the readout to finish painting")
            # The bottom rows hold the scroll bar; the content ends at the last row above it that is not bare.
            face = bytes(WINDOW_COLOR) * w
            last = max((r for r in range(y, y + h - 24) if shot.row(r, x, x + w) != face), default=y + h - 24)
            self.save_image(shot.crop(x, y, w, last - y + 8), name)

    def readout_slider(self, shot):
        """The screen point at the middle of the readout's timeline: its groove is the one line across the
        docked readout, the first row from the top that one colour other than the face fills for half its
        width."""
        x, y, w, h = self.dock_region()
        for row in range(y, y + h):
            line = shot.row(row, x, x + w)
            run, colour, longest = 0, None, 0
            for i in range(0, len(line), 3):
                pixel = line[i : i + 3]
                run = run + 1 if pixel == colour else 1
                colour = pixel
                if pixel != bytes(WINDOW_COLOR):
                    longest = max(longest, run)
            if longest >= w // 2:
                return x + w // 2, row + 2
        raise Failure("no timeline slider in the docked readout")

    def plot_to_screen(self, px, py):
        return self.origin[0] + px, self.origin[1] + py

    def click_plot(self, point, button=1):
        self.click_screen(*self.plot_to_screen(*point), button=button)

    def plot_region(self):
        return (self.origin[0], self.origin[1], self.plot_size[0], self.plot_size[1])

    def on_plot(self, shot, color):
        """The plot pixels of a colour, outside the control panel."""
        return {(x, y) for x, y in shot.find(color, self.plot_region()) if not inside((x, y), self.panel)}

    def visible(self, pixels):
        """The pixels of a drawing that show: on the plot and not under the control panel."""
        w, h = self.plot_size
        return {p for p in pixels if inside(p, (0, 0, w, h)) and not inside(p, self.panel)}

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


def trace_rows(args, *extra):
    """tulvane-trace's rows as dictionaries of exact decimals."""
    lines = trace(args, *extra).splitlines()
    header = lines[0].split(",")
    return [{k: decimal.Decimal(v) for k, v in zip(header, line.split(",")) if v} for line in lines[1:]]


def trace_points(args, count, *settings):
    """(A, B) positions in metres of the plot points 0..count of a run from the built-in settings, or from a
    settings file's record (FILE [RECORD])."""
    decimal.getcontext().prec = 50
    lines = trace(args, "--points", str(count), *settings).splitlines()
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


def panel_bounds(s, shot, panel=PANEL_RECT):
    """The bounds of the panel's colour around where the panel should stand, in plot pixels."""
    px, py, pw, ph = panel
    found = shot.find(PANEL_COLOR, (s.origin[0] + px - 4, s.origin[1] + py - 4, pw + 8, ph + 8))
    if not found:
        return None
    xs, ys = [p[0] + px - 4 for p in found], [p[1] + py - 4 for p in found]
    return min(xs), min(ys), max(xs), max(ys)


def panel_interior(panel=PANEL_RECT):
    """The panel's colour fills it inside its one-pixel bevel: left, top, right, bottom."""
    px, py, pw, ph = panel
    return px + 1, py + 1, px + pw - 2, py + ph - 2


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


def save_settings(s, name, *keys):
    """Saves the current settings from the keyboard alone: keys open the save (Ctrl+S unless given), then the
    name is typed as the label and as the file's name in the data folder, and the confirmation is closed.
    Each prompt takes the keyboard's focus as it opens. The saved file's path."""
    s.key(*(keys or ["ctrl+s"]))
    prompt = s.wait_window("^Saving Settings$", what="the label prompt")
    s.wait_active(prompt, "the label prompt to take the focus")
    s.type(name)
    s.key("Return")
    s.wait_gone(prompt, "the label prompt to close")
    files = s.wait_window("^Saving Settings$", exclude=[prompt], what="the save dialog")
    s.wait_active(files, "the save dialog to take the focus")
    s.type(name)
    s.accept_file_dialog(files)
    note = s.wait_window("^Tulvane$", exclude=[s.main_window], what="the confirmation of the save")
    s.wait_active(note, "the confirmation to take the focus")
    s.key("Return")
    s.wait_gone(note, "the confirmation to close")
    path = os.path.join(s.data_dir, name + ".tv0")
    if not os.path.isfile(path):
        raise Failure(f"no {path}; the data folder holds {os.listdir(s.data_dir)}")
    return path


def quit_with_ctrl_q(s):
    s.activate(s.main_window)
    s.key("ctrl+q")
    s.expect_clean_exit("Ctrl+Q did not end the program")


def near(pixels, point, distance):
    x, y = point
    return any(abs(px - x) <= distance and abs(py - y) <= distance for px, py in pixels)


HINT = "Red: a shorter plot interval keeps the run closer to the true orbit."


class Readout:
    """The Orbit Readout as a screen reader reads it over the accessibility bus (a11y.py): each value's label is
    named after its row and column and carries the value as its description."""

    def __init__(self, bus, app):
        self.bus = bus
        self.dock = bus.find(app, "frame", "Orbit Readout")

    def table(self):
        """The readout's texts while it shows, else nothing: each row's caption -> [start, now]; Warning ->
        [text]; Energy drift and Angular momentum drift -> [figure, chip colour]; Hint -> [text, empty while
        hidden]; Timeline -> [what the slider says, "enabled" or "disabled"]."""
        bus = self.bus
        if not bus.showing(self.dock):
            return {}
        table = {"Warning": [""], "Hint": [""]}
        columns = {"Exact orbit of the start": 0, "Now": 1, "Drift since the start": 0}
        for node in bus.find_all(self.dock):
            if not bus.visible(node):
                continue
            role, name = node.getRoleName(), node.name
            row, comma, column = name.rpartition(", ")
            if role == "label" and comma and column in columns:
                key = f"{row} drift" if column == "Drift since the start" else row
                table.setdefault(key, ["", ""])[columns[column]] = node.description
            elif role == "label" and name in ("Energy drift", "Angular momentum drift"):
                table.setdefault(name, ["", ""])[1] = node.description
            elif role == "label" and name.startswith("closest approach in "):
                table["Warning"] = [name]
            elif role == "label" and name == HINT:
                table["Hint"] = [name]
            elif role == "slider" and name == "Timeline":
                table["Timeline"] = [node.description, "enabled" if bus.enabled(node) else "disabled"]
        return table

    def when(self, test, what, timeout=WAIT):
        """The table once test accepts it; the last table seen tells a failure."""
        seen = {}

        def ready():
            seen["table"] = self.table()
            return test(seen["table"]) and seen["table"]

        try:
            return self.bus.session.wait_for(ready, what, timeout=timeout)
        except Failure as e:
            raise Failure(f"{e}; the readout showed {seen.get('table')}")


def elapsed_days(table):
    now = table.get("Elapsed", ["", ""])[1]
    return float(now.split()[0]) if now.split() and now[0].isdigit() else -1.0
