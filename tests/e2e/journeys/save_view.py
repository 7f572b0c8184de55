"""The save-view journey: the ctest e2e_save-view, run by tulvane_e2e.py."""

import os

from common import VIEW_DELETE_BUTTON, VIEW_FINISHED_BUTTON, TulvaneSession, trace
from harness import Failure


def journey(args):
    """Ctrl+S saves a labelled record; tulvane-trace reads it; the viewer deletes it, leaving an empty file."""
    label = "Slingshot past B"
    with TulvaneSession(args, "save-view") as s:
        s.start_tulvane()
        s.find_plot()
        path = os.path.join(s.data_dir, "orbits.tv0")

        # View > Current Settings shows the settings without a file; Finished closes it.
        s.key("alt+v")
        s.key("Return")
        current = s.wait_window("^Current State Settings$", what="the viewer after View > Current Settings")
        vx, vy, vw, vh = s.geometry(current)
        s.window_picture(current, "viewer-current.png")
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(current, "Finished to close the current-settings view")

        s.activate(s.main_window)
        s.key("ctrl+s")
        prompt = s.wait_window("^Saving Settings$", what="the label prompt after Ctrl+S")
        s.activate(prompt)
        s.type(label)
        s.window_picture(prompt, "save-label.png")
        s.key("Return")
        s.wait_gone(prompt, "the label prompt to close")
        files = s.wait_window("^Saving Settings$", exclude=[prompt], what="the save dialog")
        s.activate(files)
        # A bare name: the dialog starts in the data folder and adds the .tv0 extension.
        s.type("orbits")
        s.window_picture(files, "save-dialog.png")
        s.accept_file_dialog(files)
        note = s.wait_window("^Tulvane$", exclude=[s.main_window], what="the confirmation of the save")
        s.activate(note)
        s.key("Return")
        s.wait_gone(note, "the confirmation to close")

        if not os.path.isfile(path):
            raise Failure(f"no settings file at {path}; the data folder holds {os.listdir(s.data_dir)}")
        with open(path, "rb") as f:
            record = f.read()
        if len(record) != 293:
            raise Failure(f"the settings file holds {len(record)} bytes, not one 293-byte record")
        if record[4] != len(label) or record[5 : 5 + len(label)] != label.encode("cp1252"):
            raise Failure(f"the record's label field reads {record[4:5 + len(label)]!r}")
        # Label and date aside the record is the built-in settings, so the trace from it is the same.
        if trace(args, "--points", "20", path, "1") != trace(args, "--points", "20"):
            raise Failure("tulvane-trace runs the saved record differently from the built-in settings")

        # View > Saved Settings: Delete, then Finished compacts the file to nothing.
        s.activate(s.main_window)
        s.key("alt+v")
        s.key("Down")
        s.key("Return")
        opener = s.wait_window("^Viewing Saved Settings$", what="the open dialog of View > Saved Settings")
        s.activate(opener)
        s.type("orbits.tv0")
        s.accept_file_dialog(opener)
        viewer = s.wait_window("^Saved State Settings$", what="the settings viewer")
        vx, vy, vw, vh = s.geometry(viewer)
        s.window_picture(viewer, "viewer.png")
        s.click_screen(vx + VIEW_DELETE_BUTTON[0], vy + VIEW_DELETE_BUTTON[1])
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(viewer, "Finished to close the viewer")
        s.wait_for(
            lambda: os.path.exists(path) and os.path.getsize(path) == 0,
            "the settings file to be empty after Delete and Finished",
            timeout=5,
        )
