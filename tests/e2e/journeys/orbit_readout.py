"""The orbit-readout journey: the ctest e2e_orbit-readout, run by tulvane_e2e.py."""

import os
import re

from a11y import AccessibilityBus
from common import (
    PAUSE_BUTTON, RED, RUN_BUTTON, YELLOW, ZPLUS_BUTTON, Readout, TulvaneSession, elapsed_days, pixels_at,
    quit_with_ctrl_q, trace_points, wait_for_tracks,
)
from harness import Failure


def beneath(centres, left, right, height):
    """The centres that fall between two columns of the plot."""
    return [(x, y) for x, y in centres if left + 2 < x < right - 2 and 0 <= y < height]


def journey(args):
    """F3 docks the Orbit Readout at the plot's right: the bound start, then the run's escape past day 111. The
    plot beside it shows the run, keeps the crosses the readout stands over and shows them once F3 hides it."""
    points = trace_points(args, 400)
    with TulvaneSession(args, "orbit-readout") as s:
        bus = AccessibilityBus(s).start()
        options = os.path.join(s.root, "config", "Tulvane", "view-options.conf")
        s.start_tulvane()
        readout = Readout(bus, bus.application(s.program.pid))
        s.find_plot()
        full = s.plot_size[0]
        s.key("F3")
        shot = s.wait_plot_width(lambda w: w < full, "the plot to make room for the readout after F3")
        region = s.readout_docked(shot)
        active = s.x(["xdotool", "getactivewindow"], check=False).strip()
        if active != str(s.main_window):
            raise Failure("opening the readout took the focus from the main window")

        table = readout.when(lambda t: t.get("Orbit"), "the readout's texts")
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
        s.wait_for(lambda: elapsed_days(readout.table()) >= 115, "the run to pass day 115", timeout=60)
        s.click_plot(PAUSE_BUTTON)
        s.wait_for(lambda: readout.table().get("Timeline", ["", ""])[1] == "enabled", "the timeline after Pause")
        shot = s.settled(region, "the readout to stop changing after Pause")
        table = readout.table()
        if table["Orbit"] != ["bound ellipse", "hyperbola: escape"]:
            raise Failure(f"the columns read {table['Orbit']}, not the bound start and the escape")
        if table["Period"][1] != "\u2014":
            raise Failure(f"an escape has a period of {table['Period'][1]!r}")
        if table["Energy drift"][1] != "red" or not table["Energy drift"][0].startswith("+"):
            raise Failure(f"the energy gauge reads {table['Energy drift']} after the escape")
        if not table["Hint"][0]:
            raise Failure("no hint under the red gauge")
        # The red of the gauge is on the screen, inside the readout at the window's right.
        if not shot.find((210, 0, 0), region):
            raise Failure("no red gauge shows in the readout")
        s.readout_picture("orbit-readout.png")
        paused = re.fullmatch(r"Plot point (\d+) of \1", table["Timeline"][0])
        if not paused:
            raise Failure(f"after Pause the timeline reads {table['Timeline'][0]!r}, not the last plot point")
        count = int(paused.group(1)) + 1

        # The plot left of the readout shows the run's crosses where tulvane-trace puts them.
        a_px, b_px = pixels_at(points[:count], "1e9")
        wait_for_tracks(s, a_px, b_px, f"the plot beside the readout to show the {count} plot points")

        # Zoomed in, part of the run lies beneath the readout, and none of it shows through.
        s.click_plot(ZPLUS_BUTTON)
        a_px, b_px = pixels_at(points[:count], "5e8")
        w, h = s.plot_size
        if not beneath(a_px + b_px, w, full, h):
            raise Failure("at 5e8 m per pixel no cross lies beneath the readout: the journey checks nothing")
        wait_for_tracks(s, a_px, b_px, "the replay at 5e8 m per pixel beside the readout")
        for color in (YELLOW, RED):
            if s.last_shot.find(color, region):
                raise Failure(f"crosses of colour {color} show inside the readout")

        # A left click re-centres on the middle of the plot that shows, beside the readout.
        click = (w // 2 + 100, h // 2 + 100)
        s.click_plot(click)
        shift = (w // 2 - click[0], h // 2 - click[1])
        a_px, b_px = pixels_at(points[:count], "5e8", shift)
        if not beneath(a_px + b_px, w, full, h):
            raise Failure("after re-centring no cross lies beneath the readout: the journey checks nothing")
        wait_for_tracks(s, a_px, b_px, f"the replay re-centred on {click} of the plot beside the readout")

        # F3 closes it, from the main window as from anywhere: the plot takes the whole width and shows the
        # crosses the readout stood over. The choice is remembered.
        s.activate(s.main_window)
        s.key("F3")
        s.wait_plot_width(lambda width: width == full, "F3 to hide the readout and the plot to widen")
        wait_for_tracks(s, a_px, b_px, "the crosses beneath the readout to show once it is hidden")
        with open(options, encoding="utf-8") as f:
            if "open=false" not in f.read():
                raise Failure("closing the readout was not remembered")
        s.key("F3")
        s.readout_docked(s.wait_plot_width(lambda width: width == w, "the readout to come back after F3 again"))
        quit_with_ctrl_q(s)

        s.start_tulvane()
        s.find_plot()
        if s.plot_size[0] != w:
            raise Failure(f"after a restart the plot is {s.plot_size[0]} wide, not {w} beside the readout")
        s.readout_docked(s.last_shot)
        quit_with_ctrl_q(s)
