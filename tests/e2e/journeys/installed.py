"""The installed journey: the ctest e2e_installed, run by tulvane_e2e.py."""

import os
import re
import subprocess

from common import TulvaneSession
from harness import WAIT, Failure, run, slowness


def check_installed_layout(prefix, app_id, how):
    """The files under an installed prefix: programs, help with every link in place, desktop entry, metadata,
    icons and manual pages."""
    expected = [
        "bin/tulvane",
        "bin/tulvane-trace",
        "share/tulvane/help/index.html",
        "share/tulvane/examples.tv0",
        f"share/applications/{app_id}.desktop",
        f"share/metainfo/{app_id}.metainfo.xml",
        "share/icons/hicolor/scalable/apps/tulvane.svg",
        "share/icons/hicolor/64x64/apps/tulvane.png",
        "share/man/man1/tulvane.1.gz",
        "share/man/man1/tulvane-trace.1.gz",
    ]
    missing = [f for f in expected if not os.path.isfile(os.path.join(prefix, f))]
    if missing:
        raise Failure(f"not installed by {how}: {missing}")
    for exe in ("bin/tulvane", "bin/tulvane-trace"):
        if not os.access(os.path.join(prefix, exe), os.X_OK):
            raise Failure(f"{exe} from {how} is not executable")
    with open(os.path.join(prefix, f"share/applications/{app_id}.desktop")) as f:
        entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
    # The file manager opens a settings file with the program: %f is its path, or nothing.
    for k, v in (("Type", "Application"), ("Exec", "tulvane %f"), ("Icon", "tulvane"), ("Name", "Tulvane"),
                 ("MimeType", "application/x-tulvane-settings;")):
        if entry.get(k) != v:
            raise Failure(f"the desktop entry from {how} has {k}={entry.get(k)!r}, not {v!r}")
    help_dir = os.path.join(prefix, "share/tulvane/help")
    for page in sorted(p for p in os.listdir(help_dir) if p.endswith(".html")):
        with open(os.path.join(help_dir, page), encoding="utf-8") as f:
            for link in re.findall(r'(?:href|src)="([^"#:]+)', f.read()):
                if not os.path.isfile(os.path.join(help_dir, link)):
                    raise Failure(f"the help page {page} from {how} links to {link}, which is not there")
    return entry


def run_installed_program(s, program, entry, how):
    """The installed program shows its icon, matches its desktop entry, finds its help and ends on Ctrl+Q."""
    s.start_tulvane(program)
    # An X11 desktop ties a window to the entry by its class, since the entry's name is not the program's.
    wm_class = s.x(["xprop", "-id", str(s.main_window), "WM_CLASS"], check=False)
    if not wm_class.rstrip().endswith(f'"{entry.get("StartupWMClass")}"'):
        raise Failure(f"the window's {wm_class.strip()} does not match StartupWMClass of the desktop entry")
    icon = s.x(["xprop", "-id", str(s.main_window), "_NET_WM_ICON"], check=False)
    # Qt gives a window without an icon of its own a 48 x 48 default; the program's icon is 64 x 64.
    if "Icon (64 x 64)" not in icon:
        raise Failure(f"the main window of the program from {how} does not show the program's icon")
    s.key("F1")
    s.wait_window("^Tulvane Help$", what=f"the help window of the program from {how} after F1")
    s.activate(s.main_window)
    s.key("ctrl+q")
    try:
        s.program.wait(timeout=WAIT * slowness())
    except subprocess.TimeoutExpired:
        raise Failure(f"Ctrl+Q did not end the program from {how}")


def journey(args):
    """cmake --install and the .deb lay out the program, its help, the desktop entry, the metadata, the icons
    and the manual pages; each installed program finds its help and shows its icon."""
    with TulvaneSession(args, "installed") as s:
        prefix = os.path.join(s.root, "prefix")
        install = [args.cmake, "--install", args.build_dir, "--prefix", prefix]
        run(install, "cmake --install", timeout=120.0)
        entry = check_installed_layout(prefix, args.app_id, "cmake --install")
        run_installed_program(s, os.path.join(prefix, "bin/tulvane"), entry, "cmake --install")

        if not args.package_dir:
            raise Failure("the journey needs --package-dir, the folder of the .deb")
        debs = sorted(f for f in os.listdir(args.package_dir) if f.endswith(".deb"))
        if len(debs) != 1:
            raise Failure(f"expected one .deb in {args.package_dir}, found {debs}")
        root = os.path.join(s.root, "deb")
        run(["dpkg", "-x", os.path.join(args.package_dir, debs[0]), root], "dpkg -x", timeout=120.0)
        entry = check_installed_layout(os.path.join(root, "usr"), args.app_id, debs[0])
        run_installed_program(s, os.path.join(root, "usr/bin/tulvane"), entry, debs[0])
