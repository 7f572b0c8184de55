"""The dock journey: the ctest e2e_dock, run by tulvane_e2e.py."""

from common import BLUE, WINDOW_COLOR, TulvaneSession, quit_with_ctrl_q
from harness import SCREEN_H, Failure


def double_click(s, x, y):
    s.x(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1"])


def title_bar(s):
    """A point on the docked readout's title bar, left of its buttons."""
    x, y, w, h = s.dock_region()
    return x + 60, y + 8


def floating_readout(s, what):
    """The readout as a window of its own, showing its face and none of the plot."""
    window = s.wait_window("^Orbit Readout$", exclude=(s.main_window,), what=what)
    region = s.geometry(window)
    shot = s.settled(region, "the floating readout to finish painting")
    if len(shot.find(WINDOW_COLOR, region)) < region[2] * region[3] // 2 or shot.find(BLUE, region):
        raise Failure(f"the window named Orbit Readout at {region} does not show the readout")
    return window


def journey(args):
    """The docked readout's edge dragged to widen it, floated off by its title bar as a window of its own, and
    docked again: each layout comes back after a restart; floating, it leaves the plot the window's width."""
    with TulvaneSession(args, "dock") as s:
        s.start_tulvane()
        s.find_plot()
        full, h = s.plot_size
        s.key("F3")
        s.readout_docked(s.wait_plot_width(lambda w: w < full, "the plot to make room for the readout after F3"))
        docked = s.plot_size[0]

        # The edge between the plot and the readout follows the pointer: 150 pixels to the left.
        edge = (s.origin[0] + docked + 2, s.origin[1] + h // 2)
        goal = docked - 150
        s.x(["xdotool", "mousemove", "--sync", *map(str, edge), "mousedown", "1"])
        for x in (edge[0] - 50, edge[0] - 100, edge[0] - 150):
            s.x(["xdotool", "mousemove", "--sync", str(x), str(edge[1])])
        s.x(["xdotool", "mouseup", "1"])
        s.readout_docked(s.wait_plot_width(lambda w: abs(w - goal) <= 2, f"the plot to narrow to {goal} pixels"))
        dragged = s.plot_size[0]
        quit_with_ctrl_q(s)
        s.start_tulvane()
        s.find_plot()
        if s.plot_size[0] != dragged:
            raise Failure(f"after a restart the plot is {s.plot_size[0]} wide, not the {dragged} it was dragged to")
        s.readout_docked(s.last_shot)

        # A double click on the title bar floats the readout off as a window of its own; the plot takes the
        # window's width. The window is made lower and moved down, off the plot's top row, where the plot's
        # width is measured, and still on the screen.
        double_click(s, *title_bar(s))
        floating = floating_readout(s, "the readout to float after a double click on its title bar")
        fx, fy, fw, fh = s.geometry(floating)
        low = (fx, SCREEN_H // 2, fw, SCREEN_H // 3)
        s.x(["xdotool", "windowsize", "--sync", str(floating), str(low[2]), str(low[3])])
        s.x(["xdotool", "windowmove", "--sync", str(floating), str(low[0]), str(low[1])])
        s.wait_for(lambda: s.geometry(floating) == low, f"the floating readout to stand at {low}")
        s.wait_plot_width(lambda w: w == full, "the plot to take the window's width beside the floating readout")
        quit_with_ctrl_q(s)

        s.start_tulvane()
        floating = floating_readout(s, "the floating readout after a restart")
        if s.geometry(floating) != low:
            raise Failure(f"after a restart the floating readout stands at {s.geometry(floating)}, not {low}")
        s.find_plot()
        if s.plot_size[0] != full:
            raise Failure(f"beside the floating readout the plot is {s.plot_size[0]} wide, not the window's {full}")

        # F3 hides and shows the floating readout as it does the docked one.
        s.activate(s.main_window)
        s.key("F3")
        s.wait_gone(floating, "F3 to hide the floating readout")
        s.key("F3")
        floating = floating_readout(s, "the floating readout after F3 again")

        # A double click on its own title bar docks it again, at the width it had.
        fx, fy, fw, fh = s.geometry(floating)
        double_click(s, fx + 60, fy + 8)
        s.wait_gone(floating, "the floating readout to dock after a double click on its title bar")
        s.readout_docked(s.wait_plot_width(lambda w: w == dragged, "the plot to make room for the docked readout"))
        quit_with_ctrl_q(s)
