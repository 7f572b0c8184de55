"""The open-file journey: the ctest e2e_open-file, run by tulvane_e2e.py."""

import os

from common import VIEW_FINISHED_BUTTON, TulvaneSession
from harness import Failure


def record(label):
    """A 293-byte settings record holding only a label: the viewer shows any record's fields."""
    data = bytearray(293)
    data[4] = len(label)
    data[5 : 5 + len(label)] = label.encode("cp1252")
    return bytes(data)


def journey(args):
    """tulvane FILE.tv0, as the file manager starts it on a double-click, shows the file in the settings viewer
    at its first record; Finished leaves the program Ready with its window."""
    with TulvaneSession(args, "open-file") as s:
        os.makedirs(s.root, exist_ok=True)
        path = os.path.join(s.root, "Two orbits.tv0")
        with open(path, "wb") as f:
            f.write(record("First") + record("Second"))
        s.env["XDG_DATA_HOME"] = s.data_home
        s.program = s.start([args.tulvane, path], "tulvane.log")
        viewer = s.wait_window("^Saved State Settings$", what="the settings viewer on the file named to tulvane")
        s.window_picture(viewer, "viewer-from-command-line.png")
        main = s.windows("^Tulvane$")
        if not main:
            raise Failure("the viewer stands without the main window")
        vx, vy, _, _ = s.geometry(viewer)
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(viewer, "Finished to close the viewer")
        if s.program.poll() is not None:
            raise Failure(f"the program ended with {s.program.returncode} when the viewer closed")
        with open(path, "rb") as f:
            if f.read() != record("First") + record("Second"):
                raise Failure("viewing the file changed it")
