"""The keyboard journey: the ctest e2e_keyboard, run by tulvane_e2e.py."""

from common import RED, RESET_BUTTON, YELLOW, TulvaneSession, cross, only_background
from harness import Failure


def journey(args):
    """A session from the keyboard alone: F5 runs and pauses, Ctrl++ zooms, Ctrl+R resets, the keys work from the
    help window and the Initial State dialog as well, and Ctrl+Q quits."""
    with TulvaneSession(args, "keyboard") as s:
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
        s.expect_clean_exit("Ctrl+Q from the Initial State dialog did not end the paused program")
