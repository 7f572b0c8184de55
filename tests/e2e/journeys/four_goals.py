"""The four-goals journey: the ctest e2e_four-goals, run by tulvane_e2e.py."""

import decimal
import os
from fractions import Fraction

from a11y import AccessibilityBus
from common import Readout, TulvaneSession, quit_with_ctrl_q, save_settings, trace_rows
from harness import Failure

# The most key presses a goal may take, from the default start to the goal set.
KEY_BUDGET = 60

# The Initial State dialog's Tab chain with the typed values on: the classic controls, then the column.
FOCUS_CHAIN = [
    "mass bar", "speed bar", "direction bar", "Cancel", "Set State",
    "mass", "speed", "direction", "u", "v", "Circular speed", "Escape speed",
]

# Where the record keeps each body's values; the v of a position is 16 bytes after its u.
OFFSETS = {
    "A": {"u": 117, "v": 133, "mass": 181, "speed": 201, "direction": 221},
    "B": {"u": 149, "v": 165, "mass": 191, "speed": 211, "direction": 231},
}
AU = Fraction(149597870700)
MSUN = Fraction("1.98847e30")
MEARTH = Fraction("5.9722e24")


class Keyboard:
    """Sends keys and counts them: a key or key combination is one press, a typed text one per character.
    It follows the Initial State dialog's focus, which the dialog keeps while hidden, and reaches a control
    by the shorter way round the Tab chain."""

    def __init__(self, s):
        self.s = s
        self.presses = 0
        self.focus = "mass bar"  # where the dialog puts it when first shown

    def press(self, *keys):
        self.s.key(*keys)
        self.presses += len(keys)

    def type(self, text):
        self.s.type(text)
        self.presses += len(text)

    def menu(self, letter, *keys):
        """Opens a menu with Alt and its letter, then presses keys in it once it shows."""
        s = self.s
        s.activate(s.main_window)
        self.press(f"alt+{letter}")
        # The pointer rests in the screen's corner, so the one popup is the menu.
        s.wait_for(lambda: s.popups()[:1], f"the menu of Alt+{letter.upper()} to open")
        self.press(*keys)

    def tab_to(self, control):
        here, there, n = FOCUS_CHAIN.index(self.focus), FOCUS_CHAIN.index(control), len(FOCUS_CHAIN)
        forward = (there - here) % n
        if forward <= n - forward:
            self.press(*["Tab"] * forward)
        else:
            self.press(*["shift+Tab"] * (n - forward))
        self.focus = control

    def fill(self, field, text):
        # Tab selects a line edit's whole text, so the typing replaces it.
        self.tab_to(field)
        self.type(text)

    def edit_body(self, body, fields=(), button=None):
        """Settings > Body A or B Initial State, the typed fields, optionally a speed button, then Set State."""
        s = self.s
        self.menu("s", *(["Return"] if body == "A" else ["Down", "Return"]))
        dialog = s.wait_window("^Initial State$", what=f"the Initial State dialog for body {body}")
        s.activate(dialog)
        for field, text in fields:
            self.fill(field, text)
        if button:
            self.tab_to(button)
            self.press("space")
        self.tab_to("Set State")
        self.press("space")
        s.wait_gone(dialog, "Set State to close the dialog")

    def restore_default_start(self):
        # Settings: Body A and B Initial State, three colours, the picture, Plot Interval, then this.
        self.menu("s", *["Down"] * 7, "Return")


def extended_bytes(x):
    """The 10 bytes of the 80-bit value nearest to x, ties to even, as the record stores it."""
    if x == 0:
        return bytes(10)
    sign, x = (1, -x) if x < 0 else (0, x)
    e = x.numerator.bit_length() - x.denominator.bit_length()
    if Fraction(2) ** e > x:
        e -= 1
    m = round(x / Fraction(2) ** (e - 63))
    if m == 1 << 64:
        m, e = m >> 1, e + 1
    return m.to_bytes(8, "little") + ((sign << 15) | (e + 16383)).to_bytes(2, "little")


def check_record(path, typed):
    """The saved record holds, for each typed value, the 80-bit value nearest to what was typed."""
    with open(path, "rb") as f:
        record = f.read()
    if len(record) != 293:
        raise Failure(f"{path} holds {len(record)} bytes, not one 293-byte record")
    for (body, field), value in typed.items():
        at = OFFSETS[body][field]
        if record[at : at + 10] != extended_bytes(value):
            raise Failure(f"body {body}'s {field} in {os.path.basename(path)} is {record[at:at + 10].hex()}, "
                          f"not {extended_bytes(value).hex()}, the typed {float(value):g}")


def journey(args):
    """Four goals a teacher sets, each typed in the Initial State dialog from the default start with at most
    60 key presses: a circle, the Earth round the Sun, an equal-mass binary at rest, an escape."""
    decimal.getcontext().prec = 50
    counts = {}
    with TulvaneSession(args, "four-goals") as s:
        bus = AccessibilityBus(s).start()
        # Set up before the start, as a user would have them from an earlier session; these are no key
        # presses: the typed values, the readout open, and the start markers with the exact paths.
        folder = os.path.join(s.root, "config", "Tulvane")
        os.makedirs(folder)
        with open(os.path.join(folder, "view-options.conf"), "w", encoding="utf-8") as f:
            f.write("[InitialState]\ntypedValues=true\n\n[OrbitReadout]\nopen=true\n\n"
                    "[View]\nStartMarkers=true\nExactPath=true\n")
        s.start_tulvane()
        readout = Readout(bus, bus.application(s.program.pid))
        s.find_plot()
        keys = Keyboard(s)

        def start(table, caption):
            return table.get(caption, [""])[0]

        def from_default_start():
            keys.restore_default_start()
            readout.when(at_default, "the default start after Restore Default Start")

        def reach(name, steps):
            keys.presses = 0
            steps()
            counts[name] = keys.presses
            print(f"goal {name}: {keys.presses} key presses")
            if keys.presses > KEY_BUDGET:
                raise Failure(f"the goal {name} took {keys.presses} key presses, more than {KEY_BUDGET}")

        def save(name):
            """Ctrl+S: the goal's name as the label, and a file of its own in the data folder. Saving is no
            part of reaching a goal: its keys are not counted."""
            s.activate(s.main_window)
            return save_settings(s, name)

        def picture(name):
            shot = s.settled(s.plot_region(), "the plot to stop changing")
            path = os.path.join(args.out, f"e2e-four-goals-{name}.png")
            shot.save(path)
            print(f"screenshot of the goal {name}: {path}")

        def at_default(table):
            return start(table, "Eccentricity") == "0.97300" and start(table, "Period").startswith("1356.6 ")

        readout.when(at_default, "the default start")

        # The Earth round the Sun, from the fresh start: the Sun is body A at rest, moved down to 1 AU; the
        # Earth is body B straight below it at 2 AU, moving left (B's default direction) across the line.
        def earth():
            keys.edit_body("A", [("v", "1AU"), ("speed", "0"), ("mass", "1Msun")])
            keys.edit_body("B", [("mass", "1Mearth"), ("speed", "29.78"), ("u", "2e11"), ("v", "2AU")])

        reach("earth", earth)
        table = readout.when(lambda t: start(t, "Period").startswith("365."), "a period of about a year")
        days = float(start(table, "Period").split()[0])
        if abs(days - 365.2) > 0.3:
            raise Failure(f"the Earth's period reads {start(table, 'Period')!r}, not 365.2 \u00b1 0.3 days")
        if start(table, "Orbit") != "bound ellipse":
            raise Failure(f"the Earth's orbit reads {start(table, 'Orbit')!r}")
        picture("earth")
        path = save("earth")
        check_record(path, {
            ("A", "mass"): MSUN, ("A", "speed"): 0, ("A", "v"): AU, ("A", "u"): 200_000_000_000,
            ("B", "mass"): MEARTH, ("B", "speed"): Fraction("29.78"), ("B", "u"): 200_000_000_000,
            ("B", "v"): 2 * AU, ("B", "direction"): 270,
        })

        # A circle: body A takes the circular speed about body B as it stands.
        def circle():
            from_default_start()
            keys.edit_body("A", button="Circular speed")

        reach("circle", circle)
        table = readout.when(lambda t: start(t, "Orbit") == "bound circle", "a circle")
        if start(table, "Eccentricity") != "0.00000":
            raise Failure(f"the circle's eccentricity reads {start(table, 'Eccentricity')!r}")
        picture("circle")
        path = save("circle")
        e = trace_rows(args, "--orbit", "--points", "0", path)[0]["eccentricity"]
        if not e < decimal.Decimal("1e-9"):
            raise Failure(f"the circle's start has e = {e}")

        # An equal-mass binary: both masses typed the same (the default mass of A is a hair off 2e30); A moves
        # right and B left (its default) at the same speed, so the total momentum is nothing and the centre of
        # mass stays where it is.
        def binary():
            from_default_start()
            keys.edit_body("A", [("mass", "2e30"), ("speed", "10"), ("direction", "90")])
            keys.edit_body("B", [("mass", "2e30"), ("speed", "10")])

        reach("binary", binary)
        table = readout.when(lambda t: start(t, "Body B speed").startswith("10"), "body B at 10 km/s")
        if start(table, "Orbit") != "bound ellipse":
            raise Failure(f"the binary's orbit reads {start(table, 'Orbit')!r}, not a bound ellipse")
        picture("binary")
        path = save("binary")
        check_record(path, {
            ("A", "speed"): 10, ("A", "direction"): 90, ("B", "mass"): 2 * 10**30, ("B", "speed"): 10,
            ("A", "mass"): 2 * 10**30, ("B", "direction"): 270,
        })
        rows = trace_rows(args, "--points", "400", path)
        first = rows[0]
        if first["a_speed"] != first["b_speed"] or first["b_dir"] - first["a_dir"] != 180:
            raise Failure(f"the binary starts with A at {first['a_speed']} km/s, {first['a_dir']} deg and B at "
                          f"{first['b_speed']} km/s, {first['b_dir']} deg: not equal and opposite")
        centres = [((r["a_u"] + r["b_u"]) / 2, (r["a_v"] + r["b_v"]) / 2) for r in rows]
        drift = max(max(abs(u - centres[0][0]), abs(v - centres[0][1])) for u, v in centres)
        # The integration keeps the momentum only to about 1e-7 of its parts: the centre creeps some 20 km in
        # the 400 days. A centre moving at 3 cm/s would be 1000 km away, a thousandth of a pixel.
        if drift > 10**6:
            raise Failure(f"the binary's centre of mass moves {drift:.3e} m in 400 days")
        moved = max(abs(r["a_u"] - rows[0]["a_u"]) for r in rows)
        if moved < 10**11:
            raise Failure(f"body A moves only {moved:.3e} m in 400 days: no orbit to speak of")

        # An escape: body A, aimed close past B as by default, at twice its default speed.
        def escape():
            from_default_start()
            keys.edit_body("A", [("speed", "60")])

        reach("escape", escape)
        table = readout.when(lambda t: start(t, "Orbit") == "hyperbola: escape", "a hyperbola")
        if not float(start(table, "Eccentricity")) > 1:
            raise Failure(f"the escape's eccentricity reads {start(table, 'Eccentricity')!r}")
        picture("escape")
        path = save("escape")
        check_record(path, {("A", "speed"): 60, ("A", "direction"): 115})
        e = trace_rows(args, "--orbit", "--points", "0", path)[0]["eccentricity"]
        if not e > 1:
            raise Failure(f"the escape's start has e = {e}")

        print(f"key presses per goal: {counts}")
        quit_with_ctrl_q(s)
