"""The examples journey: the ctest e2e_examples, run by tulvane_e2e.py."""

import os

from common import VIEW_DELETE_BUTTON, VIEW_FINISHED_BUTTON, TulvaneSession, quit_with_ctrl_q
from harness import Failure

RECORD = 293


def open_example(s, what):
    s.activate(s.main_window)
    s.key("alt+f")
    s.key("e")
    return s.wait_window("^Saved State Settings$", what=what)


def journey(args):
    """File > Open Example finds the examples the program came with, copies them to Examples.tv0 in the data folder
    and opens the copy; Delete and Finished change the copy alone, and the next opening keeps it."""
    # Beside the program in the build tree, in ../share/tulvane where it is installed.
    here = os.path.dirname(os.path.abspath(args.tulvane))
    places = [os.path.join(here, "examples.tv0"), os.path.join(here, "..", "share", "tulvane", "examples.tv0")]
    shipped = next((p for p in places if os.path.isfile(p)), places[0])
    with open(shipped, "rb") as f:
        examples = f.read()
    if len(examples) != 7 * RECORD:
        raise Failure(f"{shipped} holds {len(examples)} bytes, not seven records")
    with TulvaneSession(args, "examples") as s:
        s.start_tulvane()
        s.find_plot()
        copy = os.path.join(s.data_dir, "Examples.tv0")

        viewer = open_example(s, "the viewer after File > Open Example")
        with open(copy, "rb") as f:
            if f.read() != examples:
                raise Failure(f"{copy} is not a copy of {shipped}")
        vx, vy, _, _ = s.geometry(viewer)
        s.click_screen(vx + VIEW_DELETE_BUTTON[0], vy + VIEW_DELETE_BUTTON[1])
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(viewer, "Finished to close the viewer")
        s.wait_for(
            lambda: os.path.getsize(copy) == 6 * RECORD,
            "the copy to lose its first record after Delete and Finished",
            timeout=5,
        )

        # The copy with the user's change is opened again as it is.
        viewer = open_example(s, "the viewer after File > Open Example a second time")
        vx, vy, _, _ = s.geometry(viewer)
        s.click_screen(vx + VIEW_FINISHED_BUTTON[0], vy + VIEW_FINISHED_BUTTON[1])
        s.wait_gone(viewer, "Finished to close the viewer")
        with open(copy, "rb") as f:
            if f.read() != examples[RECORD:]:
                raise Failure("the second Open Example did not keep the user's copy as it was")
        with open(shipped, "rb") as f:
            if f.read() != examples:
                raise Failure(f"{shipped} changed")
        quit_with_ctrl_q(s)
