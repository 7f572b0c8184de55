"""The accuracy-lab journey: the ctest e2e_accuracy-lab, run by tulvane_e2e.py."""

import time

from common import PAUSE_BUTTON, RUN_BUTTON, YELLOW, TulvaneSession, pixels_at, quit_with_ctrl_q, trace_points
from harness import WAIT, Failure, slowness

# Places of the items below the View menu's first (Current Settings, highlighted as the menu opens): Saved
# Settings, Orbit Readout, Accuracy Lab, Graphs; the separator is passed over.
LAB_DOWN = 3
GRAPHS_DOWN = 4
# The chart's pens: Body A's and Body B's errors in the lab, the run's separation in the graphs.
LAB_ERROR_A = (200, 160, 0)
LAB_ERROR_B = (200, 0, 0)


def choose_view_item(s, down):
    s.activate(s.main_window)
    s.key("alt+v")
    # The pointer rests in the screen's corner, over no control, so no tool tip opens: the one popup is the menu.
    menu = s.wait_for(lambda: s.popups()[:1], "the View menu to open")[0]
    s.key(*["Down"] * down)
    s.key("Return")
    s.wait_gone(menu, "the View menu to close")


def still_for_a_second(s, region):
    """A predicate: true once the region looks the same a second apart (stretched by the load)."""
    seen = {}

    def still():
        time.sleep(slowness())
        part = s.screenshot().crop(*region).data
        same = seen.get("part") == part
        seen["part"] = part
        return same

    return still


def journey(args):
    """View > Accuracy Lab sweeps the default close pass to one period and draws the errors falling with the
    step; View > Graphs docks the graphs beside the plot and follows a run."""
    points = trace_points(args, 200)
    with TulvaneSession(args, "accuracy-lab") as s:
        s.start_tulvane()
        s.find_plot()
        choose_view_item(s, LAB_DOWN)
        lab = s.wait_window("^Accuracy Lab$", exclude=(s.main_window,), what="the Accuracy Lab")
        region = s.geometry(lab)
        # The progress bar moves until the last row is in; then the window stands still.
        s.wait_for(still_for_a_second(s, region), "the sweep to finish", timeout=12 * WAIT, interval=0.0)
        shot = s.last_shot
        for color, what in ((LAB_ERROR_A, "Body A's"), (LAB_ERROR_B, "Body B's")):
            if not shot.find(color, region):
                raise Failure(f"the lab's chart shows no line of {what} error")
        s.window_picture(lab, "accuracy-lab.png")
        s.activate(lab)
        s.key("alt+F4")
        s.wait_gone(lab, "the lab to close")

        choose_view_item(s, GRAPHS_DOWN)
        x, y, w, h = s.geometry(s.main_window)
        a_px, _ = pixels_at(points, "1e9")
        s.click_plot(RUN_BUTTON)
        goal = 150
        s.wait_for(lambda: s.crosses(a_px[goal : goal + 1]) <= s.on_plot(s.screenshot(), YELLOW),
                   f"the run to draw plot point {goal}", timeout=4 * WAIT, interval=0.5)
        s.click_plot(PAUSE_BUTTON)
        # The dock stands at the main window's right edge.
        dock = (x + w - 340, y, 340, h)
        shot = s.settled(dock, "the graphs to stop changing after Pause")
        if not shot.find((200, 0, 0), dock):
            raise Failure("the Graphs dock shows no separation line")
        s.save_image(shot.crop(*dock), "graphs-dock.png")
        quit_with_ctrl_q(s)
