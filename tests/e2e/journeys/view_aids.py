"""The view-aids journey: the ctest e2e_view-aids, run by tulvane_e2e.py."""

import configparser
import os

from common import (
    PATH_A, PATH_B, PAUSE_BUTTON, RED, RUN_BUTTON, WHITE, YELLOW, ZPLUS_BUTTON, TulvaneSession, describe, near,
    pixels_at, quit_with_ctrl_q, trace_points,
)
from harness import WAIT, Failure


# The view aids' keys in the view options, and their places from the bottom of the View menu, above Start
# Markers, Fit Both Orbits and Run Speed. During a run Fit Both Orbits is disabled, and the arrow keys pass
# over it.
VIEW_AIDS = {"OffscreenMarkers": 4, "ScaleBar": 5, "ExactPath": 6}


def view_option(s, section, key):
    """A value of the view options file, as the program last wrote it."""
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    try:
        parser.read(os.path.join(s.root, "config", "Tulvane", "view-options.conf"), encoding="utf-8")
    except configparser.Error:
        return None
    return parser.get(section, key, fallback=None)


def set_view_aids(s, on, running=False):
    """Checks or unchecks the three view aids in the View menu with the keyboard; each is done once the menu
    has closed and the program has kept the choice."""
    for key, from_bottom in VIEW_AIDS.items():
        from_bottom -= 1 if running else 0
        s.activate(s.main_window)
        s.key("alt+v")
        # The pointer rests in the screen's corner, over no control, so no tool tip opens: the one popup is the menu.
        menu = s.wait_for(lambda: s.popups()[:1], "the View menu to open")[0]
        s.key(*["Up"] * from_bottom)
        s.key("Return")
        s.wait_gone(menu, "the View menu to close")
        word = "true" if on else "false"
        s.wait_for(lambda: view_option(s, "View", key) == word, f"the view options to keep {key}={word}")


def dashes(pixels):
    """The pieces a drawing falls into, its pixels joined to their eight neighbours."""
    left, pieces = set(pixels), []
    while left:
        stack = [left.pop()]
        piece = list(stack)
        while stack:
            x, y = stack.pop()
            for n in ((x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                if n in left:
                    left.remove(n)
                    stack.append(n)
                    piece.append(n)
        pieces.append(piece)
    return pieces


def check_dashed(name, pixels):
    """An exact path is drawn dashed and 2 pixels wide: many short pieces, each about twice as many pixels as
    it is long."""
    pieces = dashes(pixels)
    longest = max(len(p) for p in pieces)
    spans = sorted(len(p) / (1 + max(max(q[0] for q in p) - min(q[0] for q in p),
                                     max(q[1] for q in p) - min(q[1] for q in p))) for p in pieces)
    if len(pieces) < 30 or longest > 40:
        raise Failure(f"body {name}'s exact path is not dashed: {len(pieces)} pieces, the longest of {longest} pixels")
    if spans[len(spans) // 2] < 1.5:
        raise Failure(f"body {name}'s exact path is not 2 pixels wide: its dashes hold {spans[len(spans) // 2]:.2f} "
                      "pixels for each pixel of length")


def journey(args):
    """Exact Path, Scale Bar and Off-screen Markers turned on during a default run: the dots leave the path."""
    points = trace_points(args, 400)
    with TulvaneSession(args, "view-aids") as s:
        s.start_tulvane()
        s.find_plot()
        a_px, b_px = pixels_at(points, "1e9")
        s.click_plot(RUN_BUTTON)
        s.wait_for(lambda: s.crosses(a_px[:11]) <= s.on_plot(s.screenshot(), YELLOW), "the run's first crosses")
        set_view_aids(s, True, running=True)
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
        check_dashed("A", path_a)
        check_dashed("B", path_b)
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
