"""The timeline journey: the ctest e2e_timeline, run by tulvane_e2e.py."""

import os
import re
import shutil

from a11y import AccessibilityBus
from common import (
    PANEL_RECT, RED, YELLOW, Readout, TulvaneSession, cross, describe, elapsed_days, near, pixels_at,
    quit_with_ctrl_q, trace, trace_points,
)
from harness import Failure, Shot, inside


def timeline(table):
    """What the timeline says and whether the slider takes input, as the readout's table has them."""
    cells = table.get("Timeline", ["", ""])
    return cells[0], cells[1] == "enabled"


def export_through_dialog(s, title, name, path):
    """Types a bare name into the save dialog over the name it suggests; the dialog starts in the pictures
    folder for a picture, the documents folder for a track, and adds the extension."""
    dialog = s.wait_window(f"^{title}$", exclude=(s.main_window,), what=f"the {title} dialog")
    s.activate(dialog)
    s.key("ctrl+a")
    s.type(name)
    s.accept_file_dialog(dialog)
    s.wait_for(lambda: os.path.isfile(path), f"{path} to be written", timeout=30)


def journey(args):
    """A paused run walked back on the readout's timeline to its closest approach, then exported as a picture
    and as a track: the picture's crosses and the track's rows are those of tulvane-trace."""
    closest = 111  # the default settings' closest approach, one plot point a day
    with TulvaneSession(args, "timeline") as s:
        bus = AccessibilityBus(s).start()
        # A home with pictures and documents folders, as most desktops make: the exports start there.
        pictures = os.path.join(s.home, "Pictures")
        os.makedirs(pictures)
        documents = os.path.join(s.home, "Documents")
        os.makedirs(documents)
        s.start_tulvane()
        readout = Readout(bus, bus.application(s.program.pid))
        s.find_plot()
        full = s.plot_size[0]
        s.key("F3")
        s.readout_docked(s.wait_plot_width(lambda w: w < full, "the plot to make room for the readout after F3"))
        s.wait_for(lambda: readout.table().get("Orbit"), "the readout's texts")
        label, usable = timeline(readout.table())
        if usable:
            raise Failure(f"the timeline takes input before a run: {label!r}")

        s.activate(s.main_window)
        s.key("F5")
        s.wait_for(lambda: elapsed_days(readout.table()) >= closest + 15, "the run to pass its closest approach",
                   timeout=90)
        s.activate(s.main_window)
        s.key("F5")
        s.wait_for(lambda: timeline(readout.table())[1], "the timeline to open up after Pause")
        label = timeline(readout.table())[0]
        paused = re.fullmatch(r"Plot point (\d+) of (\d+)", label)
        if not paused or paused.group(1) != paused.group(2):
            raise Failure(f"after Pause the timeline reads {label!r}, not the last plot point")
        count = int(paused.group(2))
        if count <= closest:
            raise Failure(f"the run paused at plot point {count}, before its closest approach")

        # A click on the slider gives it the keys; Home then takes it from wherever the click left it.
        s.click_screen(*s.readout_slider(s.settled(s.dock_region(), "the readout to stop changing after Pause")))
        s.key("Home")
        s.wait_for(lambda: timeline(readout.table())[0].startswith(f"Plot point 0 of {count},"),
                   "Home to take the timeline to the start")
        if elapsed_days(readout.table()) != 0.0:
            raise Failure(f"at plot point 0 the readout shows {readout.table()['Elapsed']}")
        # A page is ten plot points, an arrow one.
        s.key(*["Page_Up"] * (closest // 10), *["Right"] * (closest % 10))
        at_closest = f"Plot point {closest} of {count},"
        s.wait_for(lambda: timeline(readout.table())[0].startswith(at_closest), f"the keys to reach {at_closest}")
        table = readout.table()
        if elapsed_days(table) != float(closest):
            raise Failure(f"at plot point {closest} the readout shows {table['Elapsed']}")
        s.readout_picture("orbit-readout-timeline.png")

        picture = os.path.join(pictures, "approach.png")
        s.activate(s.main_window)
        s.key("ctrl+e")
        export_through_dialog(s, "Export Picture", "approach", picture)
        track = os.path.join(documents, "track.csv")
        s.activate(s.main_window)
        s.key("alt+f")
        s.key("Down")
        s.key("Down")
        s.key("Return")
        export_through_dialog(s, "Export Track", "track", track)

        def last_row():
            with open(track, encoding="utf-8") as f:
                text = f.read()
            return text if text.endswith("\n") and text.splitlines()[-1].startswith(f"{count},") else None

        # The track is written in the background: it is whole once its last row is the paused run's last point.
        text = s.wait_for(last_row, "the track to be written to its last plot point", timeout=30)
        shot = Shot.read(picture, "PNG")
        shutil.copyfile(picture, os.path.join(args.out, "e2e-timeline.png"))
        quit_with_ctrl_q(s)

    want = trace(args, "--orbit", "--points", str(count))
    if text != want:
        lines, wanted = text.splitlines(), want.splitlines()
        diff = next((i for i, (a, b) in enumerate(zip(lines, wanted)) if a != b), min(len(lines), len(wanted)))
        raise Failure(f"the exported track differs from tulvane-trace --orbit --points {count} at line {diff + 1}: "
                      f"{lines[diff:diff + 1]} against {wanted[diff:diff + 1]}")

    # The picture holds the run's crosses where tulvane-trace puts them, and a ring round each body at the
    # closest approach.
    a_px, b_px = pixels_at(trace_points(args, count), "1e9")
    rings = (a_px[closest], b_px[closest])

    def plot_pixels(color, near_rings):
        return {(x, y) for x, y in shot.find(color, (0, 0, shot.width, shot.height))
                if not inside((x, y), PANEL_RECT) and near(rings, (x, y), 9) == near_rings}

    for body, color, centres in (("A", YELLOW, a_px), ("B", RED, b_px)):
        drawn = set()
        for x, y in centres:
            if 0 <= x < shot.width and 0 <= y < shot.height:
                drawn |= cross(x, y)
        want_px = {p for p in drawn if inside(p, (0, 0, shot.width, shot.height)) and not inside(p, PANEL_RECT)
                   and not near(rings, p, 9)}
        found = plot_pixels(color, False)
        if found != want_px:
            raise Failure(f"body {body}'s crosses in the exported picture differ: {describe(found, want_px)}")
        ring = centres[closest]
        round_it = [
            p for p in plot_pixels(color, True) - drawn if 6 <= max(abs(p[0] - ring[0]), abs(p[1] - ring[1])) <= 8
        ]
        if len(round_it) < 20:
            raise Failure(f"no ring round body {body} at {ring} in the exported picture: {len(round_it)} pixels")
    print(f"paused after plot point {count}; picture {shot.width}x{shot.height}, track of {count + 1} rows")
