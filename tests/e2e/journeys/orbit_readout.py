"""The orbit-readout journey: the ctest e2e_orbit-readout, run by tulvane_e2e.py."""

import os

from common import PAUSE_BUTTON, RUN_BUTTON, TulvaneSession, elapsed_days, quit_with_ctrl_q, read_readout
from harness import SCREEN_W, Failure


def journey(args):
    """F3 opens the Orbit Readout beside the plot: the bound start, then the run's escape past day 111."""
    with TulvaneSession(args, "orbit-readout") as s:
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
