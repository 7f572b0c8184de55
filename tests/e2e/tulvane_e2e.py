#!/usr/bin/env python3
"""End-to-end journeys: the built tulvane under Xvfb and openbox, driven with xdotool, checked on screenshots.

Each journey is a module in journeys/ (its name with - for _) and gets its own X server, window manager, home
folder and data folder. A failing journey leaves its last screenshot in the output folder and prints the path.
With TULVANE_HELP_IMAGES set to a folder, the journeys also write the pictures of the help pages there.
"""

import argparse
import importlib
import os
import shutil
import subprocess
import sys
import time
import traceback

# The source tree stays clean: no __pycache__ beside the harness and the journeys.
sys.dont_write_bytecode = True

from harness import TOOLS, Failure, Skip  # noqa: E402 (after the line above)

JOURNEYS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "journeys")


def journey_names():
    names = (f[: -len(".py")] for f in os.listdir(JOURNEYS_DIR) if f.endswith(".py") and not f.startswith("_"))
    return sorted(n.replace("_", "-") for n in names)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--tulvane", required=True)
    parser.add_argument("--trace", required=True)
    parser.add_argument("--out", required=True, help="folder for the screenshots of failures")
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--build-dir", help="build folder to install from (journey installed)")
    parser.add_argument("--package-dir", help="folder holding the .deb to unpack (journey installed)")
    parser.add_argument("--app-id", help="names the desktop entry and the metadata file (journey installed)")
    parser.add_argument("journeys", nargs="+", choices=journey_names())
    args = parser.parse_args()

    missing = sorted({pkg for tool, pkg in TOOLS.items() if shutil.which(tool) is None})
    if missing:
        print(
            f"The end-to-end tests need the Debian packages {', '.join(missing)}: "
            "run scripts/install-deps.sh (make test does).",
            file=sys.stderr,
        )
        return 1
    if len(args.journeys) > 1:
        return run_each(args)
    failed = skipped = 0
    for name in args.journeys:
        started = time.monotonic()
        try:
            importlib.import_module("journeys." + name.replace("-", "_")).journey(args)
            print(f"journey {name}: passed in {time.monotonic() - started:.1f} s")
        except Skip as e:
            skipped += 1
            print(f"journey {name}: SKIPPED: {e}")
        except Failure as e:
            failed += 1
            print(f"journey {name}: FAILED: {e}", file=sys.stderr)
        except Exception:
            failed += 1
            print(f"journey {name}: FAILED:\n{traceback.format_exc()}", file=sys.stderr)
    if failed:
        return 1
    # ctest counts a test that ends with 77 as skipped (SKIP_RETURN_CODE).
    return 77 if skipped == len(args.journeys) else 0


def run_each(args):
    """Several journeys, each in a process of its own, as ctest runs them: the accessibility client keeps its
    connection to one bus in its process."""
    options = ["--tulvane", args.tulvane, "--trace", args.trace, "--out", args.out, "--cmake", args.cmake]
    for flag, value in (("--build-dir", args.build_dir), ("--package-dir", args.package_dir),
                        ("--app-id", args.app_id)):
        if value:
            options += [flag, value]
    codes = [subprocess.run([sys.executable, os.path.abspath(__file__), *options, name]).returncode
             for name in args.journeys]
    if any(code not in (0, 77) for code in codes):
        return 1
    return 77 if all(code == 77 for code in codes) else 0


if __name__ == "__main__":
    sys.exit(main())
