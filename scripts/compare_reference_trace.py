#!/usr/bin/env python3
"""Builds tulvane-trace on the step's C++ definition (TULVANE_REFERENCE_STEP=ON) beside the usual build on the
x87 assembly, and checks that both print the same bytes, errors and exit status for a table of starts.

    scripts/compare_reference_trace.py [--build DIR] [--reference-build DIR]

The builds default to build/ and build-ref/ in the source tree; only tulvane-trace is built in each.
"""

import argparse
import os
import subprocess
import sys
import tempfile
from fractions import Fraction
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent

# The settings record (src/core/t_state.h): where each field the run reads sits.
RECORD_SIZE = 293
FIELDS = {
    "APos": 117, "BPos": 149, "AMass": 181, "BMass": 191, "ASpeed": 201, "BSpeed": 211, "ADir": 221,
    "BDir": 231, "dT": 253, "sf": 267,
}
VECTOR_V = 16

# The built-in settings, which a record written from them must reproduce (checked before the cases).
DEFAULTS = {
    "APos": ("2e11", "1e11"), "BPos": ("6e11", "4e11"), "AMass": "2e30", "BMass": "5e30", "ASpeed": "30",
    "BSpeed": "2", "ADir": "115", "BDir": "270", "dT": "86400", "cpT": 40, "sf": "1e9",
}

# Starts that take each form of the assembly: dt and the constants as doubles, dt that no double holds, a
# pull that no pair of doubles holds, a plot interval apart from the step, and a step that fails.
CASES = [
    ("the built-in settings", ["--points", "2000", "--orbit"], None),
    ("cpT 999, so no double holds dt", ["--points", "400", "--orbit"], {"cpT": 999}),
    ("an hourly plot interval at cpT 7", ["--points", "1500", "--orbit"], {"dT": "3600", "cpT": 7}),
    ("a negative cpT", ["--points", "300"], {"cpT": -40}),
    ("a slow Body A that falls close to B", ["--points", "3000", "--orbit"], {"ASpeed": "5"}),
    ("a pull no pair of doubles holds", ["--points", "200", "--orbit"], {"BMass": "1e-300"}),
    ("both bodies at one point, a failing step", ["--points", "10"], {"BPos": ("2e11", "1e11")}),
]


def extended(text):
    """The 10 bytes of the x87 80-bit value nearest the decimal text, ties to even (as strtold rounds)."""
    x = Fraction(text)
    if x == 0:
        return bytes(10)
    sign, x = (0x8000, -x) if x < 0 else (0, x)
    exponent = x.numerator.bit_length() - x.denominator.bit_length()
    if x < Fraction(2) ** exponent:
        exponent -= 1
    scaled = x / Fraction(2) ** exponent * 2**63
    significand = round(scaled)  # Python rounds half to even
    if significand == 2**64:
        significand //= 2
        exponent += 1
    if not -16382 <= exponent <= 16383:
        raise ValueError(f"{text} is outside the normal range")
    return significand.to_bytes(8, "little") + (sign | (exponent + 16383)).to_bytes(2, "little")


def record(changes):
    fields = dict(DEFAULTS, **changes)
    r = bytearray(RECORD_SIZE)
    r[0:4] = (1).to_bytes(4, "little")  # the layout's version
    for name, offset in FIELDS.items():
        value = fields[name]
        if isinstance(value, tuple):
            r[offset:offset + 10] = extended(value[0])
            r[offset + VECTOR_V:offset + VECTOR_V + 10] = extended(value[1])
        else:
            r[offset:offset + 10] = extended(value)
    for offset, colour in ((241, 0x0000FFFF), (245, 0x000000FF), (249, 0x00FF0000)):
        r[offset:offset + 4] = colour.to_bytes(4, "little")
    r[263:267] = fields["cpT"].to_bytes(4, "little", signed=True)
    return bytes(r)


def build_trace(build, reference):
    """Configures the folder when it is new (or for the reference step) and builds tulvane-trace only."""
    options = []
    if reference:
        options.append("-DTULVANE_REFERENCE_STEP=ON")
    if not (build / "CMakeCache.txt").exists():
        options += ["-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=" + ("OFF" if reference else "ON")]
    if options:
        subprocess.run(["cmake", "-S", str(SOURCE), "-B", str(build), *options], check=True,
                       stdout=subprocess.DEVNULL)
    jobs = str(os.cpu_count() or 2)
    subprocess.run(["cmake", "--build", str(build), "--target", "tulvane-trace", "-j", jobs], check=True,
                   stdout=subprocess.DEVNULL)
    return build / "src" / "tulvane-trace"


def links_the_assembly(program):
    symbols = subprocess.run(["nm", "--defined-only", str(program)], check=True, capture_output=True,
                             text=True).stdout.split()
    return "tulvane_step" in symbols


def trace(program, arguments):
    done = subprocess.run([str(program), *arguments], capture_output=True)
    return done.returncode, done.stdout, done.stderr


def first_difference(a, b):
    for n, (x, y) in enumerate(zip(a.splitlines(), b.splitlines()), start=1):
        if x != y:
            return f"line {n}:\n  assembly  {x.decode()}\n  reference {y.decode()}"
    return f"{len(a.splitlines())} lines against {len(b.splitlines())}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=SOURCE / "build")
    parser.add_argument("--reference-build", type=Path, default=SOURCE / "build-ref")
    args = parser.parse_args()

    assembly = build_trace(args.build.resolve(), reference=False)
    reference = build_trace(args.reference_build.resolve(), reference=True)
    # Two builds on the same step would agree whatever the step does.
    if not links_the_assembly(assembly) or links_the_assembly(reference):
        sys.exit("the assembly build must link tulvane_step and the reference build must not")

    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        built_in = trace(assembly, ["--points", "50"])
        defaults_file = Path(folder) / "defaults.tv0"
        defaults_file.write_bytes(record({}))
        if trace(assembly, ["--points", "50", str(defaults_file)]) != built_in:
            sys.exit("the record written from DEFAULTS is not the built-in settings")

        for n, (name, arguments, changes) in enumerate(CASES):
            if changes is not None:
                start = Path(folder) / f"case{n}.tv0"
                start.write_bytes(record(changes))
                arguments = arguments + [str(start)]
            status, out, err = trace(assembly, arguments)
            if (status, out, err) == trace(reference, arguments):
                print(f"same: {name} ({len(out.splitlines()) - 1} rows, exit status {status})")
                continue
            failed += 1
            ref_status, ref_out, ref_err = trace(reference, arguments)
            print(f"DIFFERENT: {name}")
            if status != ref_status:
                print(f"  exit status {status} against {ref_status}")
            if out != ref_out:
                print("  output, " + first_difference(out, ref_out))
            if err != ref_err:
                print(f"  errors {err!r} against {ref_err!r}")
    if failed:
        sys.exit(f"{failed} of {len(CASES)} runs differ between the assembly and the reference step")
    print(f"tulvane-trace prints the same on the assembly and on the reference step in all {len(CASES)} runs")


if __name__ == "__main__":
    main()
