#!/usr/bin/env python3
"""Checks the program's Qt Linguist files (.ts).

  check_translations.py current --lupdate LUPDATE --sources LIST TS... [-- LUPDATE_OPTIONS...]
      Fails when a .ts file is out of date with the sources: lupdate, run on a scratch copy with the same
      sources and options, would add messages, take vanished ones away or change a translator comment.
  check_translations.py complete TS...
      Fails when a .ts file holds a message without a finished translation, or an obsolete or vanished one.
"""
import argparse
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

SHOWN = 20  # messages listed per problem; the count says how many there are


def messages(ts):
    """{(context, source, disambiguation): (translation type, translator comment)} of a .ts file."""
    found = {}
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            key = (name, message.findtext("source", ""), message.findtext("comment", ""))
            translation = message.find("translation")
            kind = "missing" if translation is None else translation.get("type", "finished")
            found[key] = (kind, message.findtext("extracomment", ""))
    return found


def describe(key):
    context, source, disambiguation = key
    text = source.replace("\n", "\\n").replace("\r", "\\r")
    return f'{context}: "{text}"' + (f" ({disambiguation})" if disambiguation else "")


def report(ts, problem, keys):
    print(f"{ts}: {len(keys)} {problem}")
    for key in sorted(keys)[:SHOWN]:
        print(f"  {describe(key)}")
    if len(keys) > SHOWN:
        print(f"  ... and {len(keys) - SHOWN} more")


def check_current(args, lupdate_options):
    stale = False
    with tempfile.TemporaryDirectory() as scratch:
        for ts in args.ts:
            copy = Path(scratch) / Path(ts).name
            shutil.copyfile(ts, copy)
            run = subprocess.run([args.lupdate, "-silent", *lupdate_options, f"@{args.sources}", "-ts", str(copy)],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                sys.exit(f"lupdate failed on {ts}:\n{run.stdout}{run.stderr}")
            have, want = messages(ts), messages(copy)
            added = want.keys() - have.keys()
            gone = have.keys() - want.keys()
            recommented = {k for k in want.keys() & have.keys() if want[k][1] != have[k][1]}
            if added:
                report(ts, "message(s) in the sources but not in the file", added)
            if gone:
                report(ts, "message(s) in the file but no longer in the sources", gone)
            if recommented:
                report(ts, "message(s) whose translator comment changed in the sources", recommented)
            stale = stale or bool(added or gone or recommented)
    if stale:
        print("The .ts files are not up to date with the sources: run "
              "`cmake --build build --target update_translations` (or `make translations`) and commit them.")
        return 1
    print(f"{len(args.ts)} .ts file(s) up to date with the sources")
    return 0


def check_complete(args):
    incomplete = False
    for ts in args.ts:
        found = messages(ts)
        for kind in ("unfinished", "missing", "obsolete", "vanished"):
            keys = [k for k, (t, _) in found.items() if t == kind]
            if keys:
                report(ts, f"{kind} message(s)", keys)
                incomplete = True
        if not found:
            print(f"{ts}: no messages at all")
            incomplete = True
    if incomplete:
        print("The translations are not complete.")
        return 1
    print(f"{len(args.ts)} .ts file(s) complete")
    return 0


def main():
    argv = sys.argv[1:]
    lupdate_options = []
    if "--" in argv:
        cut = argv.index("--")
        argv, lupdate_options = argv[:cut], argv[cut + 1:]
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=["current", "complete"])
    parser.add_argument("--lupdate")
    parser.add_argument("--sources", help="a list file as lupdate reads it: -I folders and source files")
    parser.add_argument("ts", nargs="+")
    args = parser.parse_args(argv)
    if args.mode == "current":
        if not args.lupdate or not args.sources:
            parser.error("current needs --lupdate and --sources")
        return check_current(args, lupdate_options)
    return check_complete(args)


if __name__ == "__main__":
    sys.exit(main())
