"""The initial-state journey: the ctest e2e_initial-state, run by tulvane_e2e.py."""

from common import PAUSE_BUTTON, RUN_BUTTON, SET_STATE_BUTTON, YELLOW, TulvaneSession, cross
from harness import Failure, inside


def journey(args):
    """A right click picks Body A's start in the Initial State dialog; Set State and Run start there."""
    with TulvaneSession(args, "initial-state") as s:
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
