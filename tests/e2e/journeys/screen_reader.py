"""The screen-reader journey: the ctest e2e_screen-reader, run by tulvane_e2e.py."""

import decimal
import re

from a11y import AccessibilityBus, same_node
from common import Readout, TulvaneSession, elapsed_days, quit_with_ctrl_q, save_settings, trace_rows
from harness import Failure

DEFAULT_PERIOD = "1356.6 days (3.714 years)"


def shown_within_rounding(text, exact):
    """Whether a number as the readout shows it ("1356.6 days ...") is exact rounded to the digits shown."""
    number = re.match(r"\d+(?:\.(\d+))?", text)
    if not number:
        return False
    digits = len(number.group(1) or "")
    return abs(decimal.Decimal(number.group(0)) - exact) <= decimal.Decimal(5) / 10 ** (digits + 1)


def journey(args):
    """Tulvane as a screen reader meets it, over the accessibility bus: the Initial State dialog's bars found by
    their names, Body B's speed set through the Value interface and the dialog saying the new value with its
    unit; the readout's period, found by its name, as tulvane-trace computes it for the saved settings; and
    each change of the run state told once, by the state label's name, with nothing at the plot points."""
    decimal.getcontext().prec = 50
    with TulvaneSession(args, "screen-reader") as s:
        bus = AccessibilityBus(s).start()
        names = bus.listen("object:property-change:accessible-name")
        s.start_tulvane()
        app = bus.application(s.program.pid)
        state = bus.find(app, "label", "Ready")
        if state.description != "Run state":
            raise Failure(f"the label named Ready describes itself as {state.description!r}, not the run state")
        s.key("F3")
        readout = Readout(bus, app)
        table = readout.when(lambda t: t.get("Period"), "the readout to show")
        if table["Period"][0] != DEFAULT_PERIOD:
            raise Failure(f"the readout's period of the default start reads {table['Period'][0]!r}")

        # The menu item's own action opens the dialog, as a screen reader's user chooses it.
        bus.press(bus.find(app, "menu item", "Body B Initial State"))
        dialog = bus.find(app, "dialog", "Initial State", showing=True)
        bars = {}
        for quantity, unit in (("mass", " kg"), ("speed", " km/sec"), ("direction", " deg")):
            bar = bars[quantity] = bus.find(dialog, "slider", f"Body B {quantity}")
            said = bar.description
            if not said.endswith(unit):
                raise Failure(f"the {quantity} bar says {said!r}, with no unit{unit}")
            if not bus.find_all(dialog, "label", said, showing=True):
                raise Failure(f"the {quantity} bar says {said!r}, which the dialog does not show")
        speed = bars["speed"]
        if bus.value(speed) != 2 or speed.description != "2 km/sec":
            raise Failure(f"Body B's speed bar stands at {bus.value(speed)}, saying {speed.description!r}")

        bus.set_value(speed, 5)
        s.wait_for(lambda: speed.description == "5 km/sec", "the speed bar to say 5 km/sec")
        if bus.value(speed) != 5:
            raise Failure(f"the speed bar stands at {bus.value(speed)} after it was set to 5")
        bus.find(dialog, "label", "5 km/sec", showing=True)
        if bus.find_all(dialog, "label", "2 km/sec", showing=True):
            raise Failure("the dialog still shows the old speed, 2 km/sec")
        # While Ready the readout's start follows the dialog's pending values.
        readout.when(lambda t: t["Body B speed"][0] == "5.0000 km/s", "the readout to preview Body B at 5 km/s")

        bus.press(bus.find(dialog, "push button", "Set State"))
        s.wait_for(lambda: not bus.showing(dialog), "Set State to close the dialog")
        table = readout.when(lambda t: t["Period"][0] != DEFAULT_PERIOD, "the readout's period of the new start")
        period = table["Period"][0]
        s.activate(s.main_window)
        start = trace_rows(args, "--orbit", "--points", "0", save_settings(s, "screen reader"))[0]
        if start["b_speed"] != 5:
            raise Failure(f"the saved settings give Body B {start['b_speed']} km/s, not the 5 set on its bar")
        if not shown_within_rounding(period, start["period"] / 86400):
            raise Failure(f"the readout's period reads {period!r}; tulvane-trace computes "
                          f"{start['period'] / 86400:.4f} days")
        print(f"the readout's period of the start with Body B at 5 km/s: {period}")

        # Run, Pause, Run, Pause, Reset, Run, Pause through the panel's buttons: each state is told once, and
        # nothing between, while the run draws ten plot points and more.
        heard = []

        def told(events):
            heard[:] = [text for _, source, text in events if same_node(source, state)]
            return heard

        buttons = {name: bus.find(app, "push button", name) for name in ("Run", "Pause", "Reset")}
        days = 0.0
        for button, said in (("Run", "Running"), ("Pause", "Paused"), ("Run", "Running"), ("Pause", "Paused"),
                             ("Reset", "Ready"), ("Run", "Running"), ("Pause", "Paused")):
            expected = len(heard) + 1
            bus.press(buttons[button])
            bus.wait_events(names, lambda events: len(told(events)) >= expected, f"{button} to be told as {said}")
            if heard[-1] != said:
                raise Failure(f"after {button} the state label was heard as {heard[-1]!r}, not {said!r}")
            if said == "Running":
                days = readout.when(lambda t: elapsed_days(t) >= days + 10, "ten more plot points")["Elapsed"][1]
                days = float(days.split()[0])
            if said == "Ready":
                days = 0.0
        bus.pump()
        if told(names) != ["Running", "Paused", "Running", "Paused", "Ready", "Running", "Paused"]:
            raise Failure(f"the run states were heard as {heard}")
        quit_with_ctrl_q(s)
