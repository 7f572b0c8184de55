"""The start journey: the ctest e2e_start, run by tulvane_e2e.py."""

import os

from common import PANEL_RECT, TulvaneSession, only_background, panel_bounds, panel_interior, quit_with_ctrl_q
from harness import SCREEN_H, SCREEN_W, Failure, crop_to_change


def about_box(s):
    """Opens Help > About with the keyboard and returns the box's window and its picture."""
    s.activate(s.main_window)
    s.key("alt+h")
    s.key("a")
    box = s.wait_window("^Tulvane$", exclude=[s.main_window], what="the About box")
    x, y, w, h = s.geometry(box)
    return box, s.settled((x, y, w, h), "the About box to finish painting").crop(x, y, w, h)


def menu_pictures(s):
    """Pictures of the four menus for the help pages, opened with the keyboard."""
    x, y, w, h = s.geometry(s.main_window)
    area = (x, y, 560, 600)
    base = s.screenshot().crop(*area)
    menus = [
        (["alt+f"], "menu-file.png"),
        (["alt+s", "Up", "Right"], "menu-settings.png"),
        (["alt+v"], "menu-view.png"),
        (["alt+h"], "menu-help.png"),
    ]
    for keys, name in menus:
        s.activate(s.main_window)
        for k in keys:
            s.key(k)
        seen = {"last": base}

        def settled():
            # Open and unchanged since the last look: a submenu opens a moment after its item is chosen.
            now = s.screenshot().crop(*area)
            done = now.data != base.data and now.data == seen["last"].data
            seen["last"] = now
            return done

        s.wait_for(settled, f"the menu of {keys[0]} to open", interval=0.4)
        s.save_image(crop_to_change(seen["last"], base), name)
        for _ in keys:
            s.key("Escape")
        s.wait_for(lambda: s.screenshot().crop(*area).data == base.data, "the menu to close")


PANEL_GRIP = (4, 60)  # a point of the panel's background, in panel pixels


def drag_panel(s, drop, panel=PANEL_RECT):
    """Drags the control panel standing at panel by its background to release the mouse at a plot point, as a
    hand moves a mouse. Returns where its top-left corner should land: the point it was taken at stays under
    the pointer."""
    grip = s.plot_to_screen(panel[0] + PANEL_GRIP[0], panel[1] + PANEL_GRIP[1])
    target = s.plot_to_screen(*drop)
    # A --sync move waits for the pointer to move, forever when it is there already.
    s.x(["xdotool", "mousemove", str(SCREEN_W - 1), str(SCREEN_H - 1)])
    s.x(["xdotool", "mousemove", "--sync", str(grip[0]), str(grip[1]), "mousedown", "1"])
    for step in (0.1, 0.4, 0.7, 1.0):
        x, y = (round(g + (t - g) * step) for g, t in zip(grip, target))
        s.x(["xdotool", "mousemove", "--sync", str(x), str(y)])
    s.x(["xdotool", "mouseup", "1"])
    return drop[0] - PANEL_GRIP[0], drop[1] - PANEL_GRIP[1]


def journey(args):
    """The window opens maximised on the blue plot with the control panel; About, F1 and Ctrl+Q."""
    with TulvaneSession(args, "start") as s:
        s.start_tulvane()
        shot = s.find_plot()
        if not only_background(s, shot):
            raise Failure("the plot is not all blue at start")
        bounds = panel_bounds(s, shot)
        if bounds != panel_interior():
            raise Failure(f"control panel colour spans {bounds}, not the panel at {PANEL_RECT} inside its bevel")
        px, py, pw, ph = PANEL_RECT
        ox, oy = s.origin
        s.save_image(shot.crop(ox + px - 2, oy + py - 2, pw + 4, ph + 4), "control-panel-ready.png")
        if os.environ.get("TULVANE_HELP_IMAGES"):
            menu_pictures(s)

        # The panel follows the pointer, the point it was taken at staying under it.
        drop = (300, 600)
        moved = (*drag_panel(s, drop), pw, ph)
        s.wait_for(lambda: panel_bounds(s, s.screenshot(), moved) == panel_interior(moved), f"the panel at {moved}")
        if not only_background(s, s.last_shot, moved):
            raise Failure("moving the panel left something other than the background behind")
        # Released by the bottom-right corner, the whole panel stays in view, as close as it fits.
        w, h = s.plot_size
        drag_panel(s, (w - 2, h - 2), moved)
        cornered = (w - pw, h - ph, pw, ph)
        s.wait_for(
            lambda: panel_bounds(s, s.screenshot(), cornered) == panel_interior(cornered),
            f"the panel kept inside at {cornered[:2]}",
        )
        if not os.path.isdir(s.data_dir):
            raise Failure(f"the data folder {s.data_dir} was not made at start")

        box, about = about_box(s)
        s.window_picture(box, "about.png")
        s.key("Return")
        s.wait_gone(box, "Return to close the About box")

        # F1 opens the help window beside the program.
        s.activate(s.main_window)
        s.key("F1")
        helpw = s.wait_window("^Tulvane Help$", what="the help window after F1")
        hx, hy, hw, hh = s.geometry(helpw)
        if hw < 200 or hh < 200:
            raise Failure(f"help window is only {hw}x{hh}")

        # Ctrl+Q ends the program at once while Ready, help window and all.
        quit_with_ctrl_q(s)
        if s.windows("^Tulvane Help$"):
            raise Failure("the help window outlived the program")

        # The box's text cannot be read back from the screen, but a data folder of another name, as long,
        # must change its last line and nothing else.
        other = s.data_home[:-1] + chr(ord(s.data_home[-1]) + 1)
        s.start_tulvane(data_home=other)
        box, other_about = about_box(s)
        if (other_about.width, other_about.height) != (about.width, about.height):
            raise Failure("the About box changed its size with a data folder of the same length")
        rows = [y for y in range(about.height) if about.row(y, 0, about.width) != other_about.row(y, 0, about.width)]
        if not rows:
            raise Failure("the About box does not show the data folder: it looks the same for another folder")
        if rows[-1] - rows[0] > 20 or rows[0] < about.height // 2:
            raise Failure(f"another data folder changed rows {rows[0]}..{rows[-1]} of the About box, not one line")
        s.key("Return")
        s.wait_gone(box, "Return to close the About box")
        quit_with_ctrl_q(s)
