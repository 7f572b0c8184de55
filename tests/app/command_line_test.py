#!/usr/bin/env python3
"""Starts the built program with arguments it must refuse, and without a usable display, and checks the exit
status and the message: it must end cleanly before any window appears."""

import os
import subprocess
import sys
import tempfile
import unittest

PROGRAM = None
NO_DISPLAY_LINE = "tulvane: cannot open a display: set DISPLAY or WAYLAND_DISPLAY\n"


def run(args, env):
    return subprocess.run([PROGRAM, *args], capture_output=True, text=True, env=env, timeout=60)


def base_env(runtime):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY") and not k.startswith("QT_")}
    env["XDG_RUNTIME_DIR"] = runtime
    return env


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.runtime = tempfile.TemporaryDirectory(prefix="tulvane-cli-")
        os.chmod(self.runtime.name, 0o700)

    def tearDown(self):
        self.runtime.cleanup()

    def test_bad_arguments_exit_2_with_a_hint_to_help(self):
        env = dict(base_env(self.runtime.name), QT_QPA_PLATFORM="offscreen")
        cases = [
            (["--bogus"], "unknown option --bogus"),
            (["-v"], "unknown option -v"),
            (["-V"], "unknown option -V"),
            # Qt's own options are taken out first, whatever follows them.
            (["-platform", "offscreen", "--bogus"], "unknown option --bogus"),
            (["one.tv0", "two.tv0"], "only one settings file"),
            (["--record", "2"], "--record needs a settings file"),
            (["one.tv0", "--record"], "--record needs a record number"),
            (["one.tv0", "--record", "0"], 'counted from 1, not "0"'),
            (["one.tv0", "--record=-3"], 'counted from 1, not "-3"'),
            (["one.tv0", "--record", "2x"], 'counted from 1, not "2x"'),
            (["one.tv0", "--record", "99999999999999999999"], "counted from 1"),
            ([""], "name is empty"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                r = run(args, env)
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertIn("Try 'tulvane --help'", r.stderr)
                self.assertEqual(r.stdout, "")

    def test_without_a_usable_display_one_line_and_exit_1(self):
        unused = next(n for n in range(4000, 4100) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        cases = {
            "no DISPLAY or WAYLAND_DISPLAY": {},
            "a DISPLAY where no server listens": {"DISPLAY": f":{unused}"},
            "a WAYLAND_DISPLAY where no compositor listens": {"WAYLAND_DISPLAY": "tulvane-none"},
        }
        for name, extra in cases.items():
            with self.subTest(case=name):
                r = run(["--bogus"], dict(base_env(self.runtime.name), **extra))
                self.assertEqual((r.returncode, r.stderr, r.stdout), (1, NO_DISPLAY_LINE, ""))


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main(verbosity=2)
