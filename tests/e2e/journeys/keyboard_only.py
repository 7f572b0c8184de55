"""The keyboard-only journey: the ctest e2e_keyboard-only, run by tulvane_e2e.py."""

from a11y import AccessibilityBus, same_node
from common import (
    RED, WHITE, YELLOW, TulvaneSession, cross, describe, panel_bounds, panel_interior, pixels_at, save_settings,
    trace_points, trace_rows,
)
from harness import Failure

SF = 1000000000  # metres per pixel, the default scale


def position_text(pixel):
    """The Initial State dialog's position label for a start picked at this plot pixel."""
    return f"({pixel[0] * SF},{pixel[1] * SF})"


def journey(args):
    """A whole session with no pointer, only keys, as the keyboard journey's program keys are not: Settings >
    Body B Initial State by its menu keys, Alt+Tab to the main window and Tab to the plot, the plot's cursor
    moved with the arrows and Body B's start picked there with Space, Set State by Tab and Space, Run and
    Pause, Enter re-centring on the cursor, Alt+arrows moving the panel from a focused button, the dialog
    opened again and left with Esc without a change, and the settings saved through File > Save Settings.
    Each step is checked on the screen or over the accessibility bus; the saved record and the re-centred
    plot against tulvane-trace."""
    with TulvaneSession(args, "keyboard-only") as s:
        bus = AccessibilityBus(s).start()
        s.start_tulvane()
        app = bus.application(s.program.pid)
        s.find_plot()
        main = bus.find(app, "frame", "Tulvane")
        plot = bus.find(main, "filler", "Plot")
        state = bus.find(main, "label", "Ready")
        w, h = s.plot_size
        centre = (w // 2, h // 2)

        def tab_to(root, node, what):
            """Tab until node has the focus: each Tab is waited for, as the focus moves on."""
            for _ in range(12):
                now = bus.focus(root)
                if now is not None and same_node(now, node):
                    return
                s.key("Tab")
                s.wait_for(lambda: not same(bus.focus(root), now), f"Tab to move the focus on to {what}")
            raise Failure(f"Tab never brought the focus to {what}")

        def same(a, b):
            return a is b if a is None or b is None else same_node(a, b)

        def switch_to(window, what):
            s.key("alt+Tab")
            s.wait_active(window, f"Alt+Tab to bring {what} to the front")

        def say(text, what):
            s.wait_for(lambda: state.name == text, f"the panel to say {text} after {what}")

        def open_body_b():
            s.key("alt+s")
            s.wait_for(lambda: s.popups()[:1], "the Settings menu to open")
            s.key("Down", "Return")
            dialog = s.wait_window("^Initial State$", what="the Initial State dialog for body B")
            s.wait_active(dialog, "the dialog to take the focus")
            node = bus.find(app, "dialog", "Initial State", showing=True)
            bus.find(node, "label", "Body B", showing=True)
            return dialog, node

        def cursor_at(point):
            white = s.on_plot(s.screenshot(), WHITE)
            arms = {(point[0] + d, point[1]) for d in (-7, -6, -5, -4, -3, 3, 4, 5, 6, 7)}
            arms |= {(point[0], point[1] + d) for d in (-7, -6, -5, -4, -3, 3, 4, 5, 6, 7)}
            return arms <= white

        # Settings > Body B Initial State, which opens over the middle of the plot.
        dialog, dialog_node = open_body_b()
        bus.find(dialog_node, "label", position_text((600, 400)), showing=True)

        # To the plot, and its cursor: the first arrow shows it at the centre, beneath the dialog; Shift moves it
        # ten pixels at a time, out to the left of the dialog.
        switch_to(s.main_window, "the main window")
        tab_to(main, plot, "the plot")
        s.key("Right")
        pick = (centre[0] - 400, centre[1] + 100)
        s.key(*["shift+Left"] * 40, *["shift+Down"] * 10)
        s.wait_for(lambda: cursor_at(pick), f"the cursor at {pick}")
        s.key("space")
        bus.find(dialog_node, "label", position_text(pick), showing=True)

        switch_to(dialog, "the Initial State dialog")
        tab_to(dialog_node, bus.find(dialog_node, "push button", "Set State"), "Set State")
        s.key("space")
        s.wait_gone(dialog, "Set State to close the dialog")
        s.wait_active(s.main_window, "the main window to have the focus after Set State")

        # Run from the picked start, then Pause.
        s.key("F5")
        say("Running", "F5")
        s.wait_for(lambda: cross(*pick) <= s.on_plot(s.screenshot(), RED), f"the run's first cross of B at {pick}")
        s.wait_for(lambda: len(s.on_plot(s.screenshot(), YELLOW)) > 150, "some plot points of the run")
        s.key("F5")
        say("Paused", "F5")

        # Enter re-centres on the cursor: the cursor's pixel goes to the centre.
        tab_to(main, plot, "the plot")
        s.key("Left")
        s.wait_for(lambda: cursor_at(centre), "the cursor at the centre again")
        target = (centre[0] - 80, centre[1] + 40)
        s.key(*["shift+Left"] * 8, *["shift+Down"] * 4)
        s.wait_for(lambda: cursor_at(target), f"the cursor at {target}")
        shift = (centre[0] - target[0], centre[1] - target[1])
        s.key("Return")
        moved_pick = (pick[0] + shift[0], pick[1] + shift[1])
        s.wait_for(lambda: cross(*moved_pick) <= s.on_plot(s.screenshot(), RED),
                   f"B's first cross re-centred to {moved_pick}")
        # Tab takes the focus, and the cursor with it, to Run: Alt+arrows must move the panel from there.
        tab_to(main, bus.find(main, "push button", "Run"), "Run")

        # Alt held down over five arrows moves the panel three right and two down.
        s.x(["xdotool", "keydown", "Alt_L"])
        s.x(["xdotool", "key", "Right", "Right", "Right", "Down", "Down"])
        s.x(["xdotool", "keyup", "Alt_L"])
        px, py, pw, ph = s.panel
        moved = (px + 3, py + 2, pw, ph)
        s.wait_for(lambda: panel_bounds(s, s.screenshot(), moved) == panel_interior(moved), f"the panel at {moved}")
        s.panel = moved
        recentred = s.settled(s.plot_region(), "the plot to stop changing")

        # Reset, then the dialog again: a bar moved, and Esc leaves it with nothing changed.
        s.key("ctrl+r")
        say("Ready", "Ctrl+R")
        dialog, dialog_node = open_body_b()
        bus.find(dialog_node, "label", position_text(moved_pick), showing=True)
        speed = bus.find(dialog_node, "slider", "Body B speed")
        tab_to(dialog_node, speed, "Body B's speed bar")
        s.key("Down", "Down", "Down")
        s.wait_for(lambda: speed.description == "5 km/sec", "the speed bar to say 5 km/sec")
        s.key("Escape")
        s.wait_gone(dialog, "Esc to close the dialog")
        s.wait_active(s.main_window, "the main window to have the focus after Esc")
        dialog, dialog_node = open_body_b()
        speed = bus.find(dialog_node, "slider", "Body B speed")
        if speed.description != "2 km/sec":
            raise Failure(f"after Esc the dialog opens again with Body B's speed at {speed.description!r}")
        s.key("Escape")
        s.wait_gone(dialog, "Esc to close the dialog")
        s.wait_active(s.main_window, "the main window to have the focus after Esc")

        # File > Save Settings by its menu keys.
        s.key("alt+f")
        s.wait_for(lambda: s.popups()[:1], "the File menu to open")
        path = save_settings(s, "keyboard", "s")
        s.wait_active(s.main_window, "the main window to have the focus after the save")
        s.key("ctrl+q")
        s.expect_clean_exit("Ctrl+Q did not end the program")
        # Read while the session's data folder is still there.
        start = trace_rows(args, "--points", "0", path)[0]
        points = trace_points(args, 1000, path)


    want = {
        "a_u": (200 + shift[0]) * SF, "a_v": (100 + shift[1]) * SF,
        "b_u": moved_pick[0] * SF, "b_v": moved_pick[1] * SF, "b_speed": 2, "b_dir": 270,
    }
    for field, value in want.items():
        if start[field] != value:
            raise Failure(f"the saved record's {field} is {start[field]}, not {value}")

    # The re-centred replay is the saved start's run up to where it was paused, the panel moved over it.
    found = (s.on_plot(recentred, YELLOW), s.on_plot(recentred, RED))
    drawn = (set(), set())
    a_px, b_px = pixels_at(points, SF)
    for point, (a, b) in enumerate(zip(a_px, b_px)):
        drawn[0].update(s.crosses([a]))
        drawn[1].update(s.crosses([b]))
        if drawn == found:
            print(f"the re-centred plot shows the saved start's run to plot point {point}")
            return
    raise Failure(f"no plot point of the saved start's run matches the re-centred plot; to point 1000: body A "
                  f"{describe(found[0], drawn[0])}, body B {describe(found[1], drawn[1])}")
