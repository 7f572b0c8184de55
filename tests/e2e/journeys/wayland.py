"""The wayland journey: the ctest e2e_wayland, run by tulvane_e2e.py. It needs weston and Qt's Wayland plugin
(the Debian packages weston and qt6-wayland) and is skipped without them."""

import glob
import os
import shutil
import signal
import subprocess
import tempfile

from a11y import AccessibilityBus
from common import BLUE, WINDOW_COLOR, Readout
from harness import WAIT, Failure, Session, Shot, Skip, run, slowness

SOCKET = "wayland-tulvane"


def wayland_plugin():
    """Qt's Wayland platform plugin, where this Qt looks for its plugins."""
    folders = []
    if shutil.which("qtpaths6"):
        r = run(["qtpaths6", "--query", "QT_INSTALL_PLUGINS"], check=False)
        folders.append(r.stdout.decode(errors="replace").strip())
    folders += glob.glob("/usr/lib/*/qt6/plugins")
    return next((p for f in folders for p in glob.glob(os.path.join(f, "platforms", "libqwayland-*.so"))), None)


class WaylandSession(Session):
    """A headless weston instead of Xvfb and openbox. Its screenshots come from weston-screenshooter, which
    weston allows only when started with --debug."""

    def _start_display(self):
        for k in ("DISPLAY", "XAUTHORITY"):
            self.env.pop(k, None)
        self.env.update(WAYLAND_DISPLAY=SOCKET, QT_QPA_PLATFORM="wayland")
        self.start(["weston", "--backend=headless-backend.so", "--use-pixman", "--width=1280", "--height=1024",
                    f"--socket={SOCKET}", "--idle-time=0", "--debug"], "weston.log")
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], SOCKET)
        self.wait_for(lambda: os.path.exists(socket) or self.processes[-1].poll() is not None, "weston's socket")
        if not os.path.exists(socket):
            raise Failure("weston did not start: " + self.log_text("weston.log"))

    def screenshot(self):
        with tempfile.TemporaryDirectory(dir=self.root) as folder:
            run(["weston-screenshooter"], "weston-screenshooter", env=self.env, cwd=folder)
            taken = glob.glob(os.path.join(folder, "*.png"))
            if not taken:
                raise Failure("weston-screenshooter wrote no picture")
            self.last_shot = Shot.read(taken[0], "PNG")
        return self.last_shot


def layout(shot):
    """Along a row below the control panel: the plot, the longest run of its blue, and what stands right of it
    to the screen's edge, with how much of that is the window colour and how much blue."""
    y = shot.height * 3 // 4
    line = [shot.pixel(x, y) for x in range(shot.width)]
    best, start = (0, 0), None
    for x, pixel in enumerate(line + [None]):
        if pixel == BLUE and start is None:
            start = x
        elif pixel != BLUE and start is not None:
            best = max(best, (start, x), key=lambda r: r[1] - r[0])
            start = None
    right = line[best[1] :]
    return best, len(right), sum(1 for p in right if p == WINDOW_COLOR), sum(1 for p in right if p == BLUE)


def journey(args):
    """The program under a headless Wayland compositor, its readout remembered open: the readout stands at the
    plot's right, inside the main window, and a screen reader reads its texts over the accessibility bus, which
    is D-Bus under Wayland as under X; the program ends on SIGTERM without a crash."""
    if not shutil.which("weston") or not shutil.which("weston-screenshooter"):
        raise Skip("weston is not installed (the Debian package weston)")
    if not wayland_plugin():
        raise Skip("Qt's Wayland platform plugin is not installed (the Debian package qt6-wayland)")
    with WaylandSession(args, "wayland") as s:
        bus = AccessibilityBus(s).start()
        # F3 cannot be typed into Wayland from outside: the readout is opened as a restart would find it.
        options = os.path.join(s.root, "config", "Tulvane")
        os.makedirs(options)
        with open(os.path.join(options, "view-options.conf"), "w", encoding="utf-8") as f:
            f.write("[OrbitReadout]\nopen=true\n")
        s.program = s.start([args.tulvane], "tulvane.log")
        readout = Readout(bus, bus.application(s.program.pid, timeout=2 * WAIT))
        table = readout.when(lambda t: t.get("Orbit"), "the readout's texts under Wayland", timeout=2 * WAIT)
        if table["Orbit"] != ["bound ellipse", "\u2014"] or table["Period"][0] != "1356.6 days (3.714 years)":
            raise Failure(f"under Wayland the readout reads {table['Orbit']}, period {table['Period']}")

        def beside():
            (left, right), strip, face, blue = layout(s.screenshot())
            width = s.last_shot.width
            return right - left >= width // 2 and width // 6 <= strip <= width // 2 and face >= strip // 2 \
                and blue == 0 and (left, right, strip)

        try:
            left, right, strip = s.wait_for(beside, "the plot with the readout at its right", timeout=2 * WAIT)
        except Failure as e:
            (left, right), strip, face, blue = layout(s.last_shot)
            raise Failure(f"{e}: the plot's blue spans {left}..{right}, then {strip} pixels with {face} of the "
                          f"window colour and {blue} blue")
        if s.program.poll() is not None:
            raise Failure(f"the program ended under Wayland with status {s.program.returncode}")
        print(f"under Wayland: the plot spans {left}..{right}, the readout the {strip} pixels right of it")
        s.last_shot.save(os.path.join(args.out, "e2e-wayland.png"))

        s.program.send_signal(signal.SIGTERM)
        try:
            code = s.program.wait(timeout=WAIT * slowness())
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end on SIGTERM under Wayland")
        if code != -signal.SIGTERM:
            raise Failure(f"on SIGTERM under Wayland the program ended with status {code}")
        log = s.log_text("tulvane.log")
        for sign in ("protocol error", "Wayland connection", "Segmentation", "Aborted"):
            if sign in log:
                raise Failure(f"the program's output under Wayland says {sign!r}:\n{log}")
