"""The run journey: the ctest e2e_run, run by tulvane_e2e.py."""

import os

from common import (
    PANEL_RECT, PAUSE_BUTTON, RED, RESET_BUTTON, RUN_BUTTON, WHITE, YELLOW, ZPLUS_BUTTON, TulvaneSession,
    describe, only_background, pixels_at, trace_points, wait_for_tracks,
)
from harness import WAIT, Failure


def journey(args):
    """Run, Pause: the crosses stand where tulvane-trace puts them; Zoom in, re-centre, Reset."""
    images = bool(os.environ.get("TULVANE_HELP_IMAGES"))
    points = trace_points(args, 400)
    with TulvaneSession(args, "run") as s:
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
        # Meanwhile a notice at the plot's top left says so: white text with a black shadow on the blue.
        notice = (s.origin[0] + 4, s.origin[1] + 2, 220, 22)

        def notice_shown(shot):
            return len(shot.find(WHITE, notice)) >= 60 and len(shot.find((0, 0, 0), notice)) >= 10

        if notice_shown(s.screenshot()):
            raise Failure("a notice stands at the plot's top left before Ctrl+Q")
        s.activate(s.main_window)
        s.key("ctrl+q")
        drawn = len(s.on_plot(s.screenshot(), YELLOW))
        s.wait_for(lambda: notice_shown(s.screenshot()), "the notice that the program ends at the next Pause")
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > drawn, "the run to go on after Ctrl+Q")
        if s.program.poll() is not None:
            raise Failure("Ctrl+Q ended the program in the middle of a run")
        if not notice_shown(s.last_shot):
            raise Failure("the notice went while the run went on after Ctrl+Q")
        s.click_plot(PAUSE_BUTTON)
        s.expect_clean_exit("the program did not end at the Pause after Ctrl+Q")
