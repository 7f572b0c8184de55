"""The pause journey: the ctest e2e_pause, run by tulvane_e2e.py."""

import random
import time

from common import PANEL_RECT, RESET_BUTTON, YELLOW, TulvaneSession, cross, quit_with_ctrl_q
from harness import Failure


def journey(args):
    """F5 while a Classic run waits between two plot points: the panel says Paused at once, and nothing more is
    drawn; F5 again goes on. The times printed are from the key to the screenshot that shows Paused."""
    rng = random.Random(7)
    with TulvaneSession(args, "pause") as s:
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
