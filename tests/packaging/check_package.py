#!/usr/bin/env python3
"""Checks the .deb that cpack built, unpacked with dpkg -x into a scratch root: its files, its control data,
its desktop entry and software-centre metadata, its manual pages, and what lintian says of it."""

import argparse
import gzip
import io
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import xml.etree.ElementTree as ET

TOOLS = {
    "dpkg-deb": "dpkg",
    "lintian": "lintian",
    "appstreamcli": "appstream",
    "desktop-file-validate": "desktop-file-utils",
    "man": "man-db",
    "xmllint": "libxml2-utils",
    "update-mime-database": "shared-mime-info",
    "update-desktop-database": "desktop-file-utils",
    "gio": "libglib2.0-bin",
    "/usr/share/bash-completion/bash_completion": "bash-completion",
    "hardening-check": "devscripts",
}

ARGS = None


def run(argv, env=None):
    return subprocess.run(argv, capture_output=True, text=True, env=env, timeout=300)


def control_fields(deb):
    """The control data as a dictionary; continuation lines stay in their field, joined by newlines."""
    fields, name = {}, None
    for line in run(["dpkg-deb", "-f", deb]).stdout.splitlines():
        if line.startswith(" ") and name:
            fields[name] += "\n" + line
        else:
            name, _, value = line.partition(":")
            fields[name] = value.strip()
    return fields


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        debs = sorted(f for f in os.listdir(ARGS.deb_dir) if f.endswith(".deb"))
        if len(debs) != 1:
            raise AssertionError(f"expected one .deb in {ARGS.deb_dir}, found {debs}")
        cls.deb = os.path.join(ARGS.deb_dir, debs[0])
        cls.scratch = tempfile.TemporaryDirectory(prefix="tulvane-deb-")
        cls.root = cls.scratch.name
        r = run(["dpkg", "-x", cls.deb, cls.root])
        if r.returncode != 0:
            raise AssertionError("dpkg -x failed: " + r.stderr)
        cls.control = control_fields(cls.deb)
        cls.app_id = ARGS.app_id
        cls.man_pages = [f"usr/share/man/man1/{p}.1.gz" for p in ("tulvane", "tulvane-trace")]

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def path(self, relative):
        return os.path.join(self.root, relative)

    def test_holds_the_programs_help_desktop_files_and_documentation(self):
        help_dir = os.path.join(ARGS.source, "help")
        expected = {
            "usr/bin/tulvane",
            "usr/bin/tulvane-trace",
            f"usr/share/applications/{self.app_id}.desktop",
            f"usr/share/metainfo/{self.app_id}.metainfo.xml",
            "usr/share/icons/hicolor/scalable/apps/tulvane.svg",
            "usr/share/icons/hicolor/64x64/apps/tulvane.png",
            "usr/share/doc/tulvane/copyright",
            "usr/share/doc/tulvane/changelog.gz",
            "usr/share/tulvane/examples.tv0",
            "usr/share/mime/packages/tulvane.xml",
            "usr/share/bash-completion/completions/tulvane",
            "usr/share/lintian/overrides/tulvane",
            "usr/share/bash-completion/completions/tulvane-trace",
            *self.man_pages,
        }
        for folder, _, files in os.walk(help_dir):
            for f in files:
                expected.add("usr/share/tulvane/help/" + os.path.relpath(os.path.join(folder, f), help_dir))
        found = set()
        for folder, _, files in os.walk(self.root):
            found.update(os.path.relpath(os.path.join(folder, f), self.root) for f in files)
        self.assertEqual(sorted(found - expected), [], "files in the package that should not be there")
        self.assertEqual(sorted(expected - found), [], "files missing from the package")
        for exe in ("usr/bin/tulvane", "usr/bin/tulvane-trace"):
            self.assertTrue(os.access(self.path(exe), os.X_OK), f"{exe} is not executable")

    def test_control_data_names_version_section_maintainer_and_description(self):
        c = self.control
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertEqual(c.get("Package"), "tulvane")
        self.assertEqual(c.get("Version"), ARGS.version)
        self.assertEqual(c.get("Architecture"), arch)
        self.assertEqual(os.path.basename(self.deb), f"tulvane_{ARGS.version}_{arch}.deb")
        self.assertEqual(c.get("Section"), "science")
        self.assertRegex(c.get("Maintainer", ""), r"^[^<>@]+ <[^<>@\s]+@[^<>@\s]+\.[a-z]+>$")
        summary, _, extended = c.get("Description", "").partition("\n")
        self.assertTrue(summary, "no short description")
        self.assertGreaterEqual(len(extended.splitlines()), 3, "the extended description is missing")

    def test_depends_names_the_qt_libraries_found_in_the_binaries(self):
        depends = {}
        for item in self.control.get("Depends", "").split(","):
            m = re.match(r"\s*([a-z0-9.+-]+)\s*(?:\((.*)\))?", item)
            self.assertTrue(m, f"unreadable dependency {item!r}")
            depends[m.group(1)] = m.group(2)
        # The scan of the binaries' libraries gives each a lower version bound; a written list would not.
        for lib in ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libjpeg62-turbo"):
            with self.subTest(lib=lib):
                self.assertIn(lib, depends)
                self.assertRegex(depends[lib] or "", r"^>= ")
        self.assertIn("qt6-qpa-plugins", depends, "without a platform plugin the program cannot open a window")

    def test_recommends_qts_own_catalogues(self):
        recommends = [item.split("(")[0].strip() for item in self.control.get("Recommends", "").split(",")]
        self.assertIn("qt6-translations-l10n", recommends, "without them Qt's buttons and dialogs stay English")

    def test_compressed_files_hold_no_name_or_time_and_use_the_best_compression(self):
        for relative in [*self.man_pages, "usr/share/doc/tulvane/changelog.gz"]:
            with self.subTest(file=relative), open(self.path(relative), "rb") as f:
                header = f.read(10)
                self.assertEqual(header[:3], b"\x1f\x8b\x08", "not a gzip file")
                self.assertEqual(header[3] & 0x08, 0, "the header holds a file name")
                self.assertEqual(header[4:8], b"\0\0\0\0", "the header holds a time stamp")
                self.assertEqual(header[8], 2, "not compressed with -9")

    def test_every_time_stamp_is_the_source_date(self):
        # The package_build test sets SOURCE_DATE_EPOCH as make package does and compares two cpack runs; here
        # no time of the build itself is left in the archive headers, so that builds at other times and in
        # other clones give the same bytes.
        with open(self.deb, "rb") as f:
            data = f.read()
        self.assertEqual(data[:8], b"!<arch>\n")
        offset, members = 8, {}
        while offset < len(data):
            header = data[offset:offset + 60]
            name, mtime, size = header[:16].decode().strip(), int(header[16:28]), int(header[48:58])
            members[name] = data[offset + 60:offset + 60 + size]
            with self.subTest(member=name):
                self.assertEqual(mtime, ARGS.epoch)
            offset += 60 + size + size % 2
        for name in ("control.tar.gz", "data.tar.gz"):
            with tarfile.open(fileobj=io.BytesIO(members[name])) as tar:
                late = [(m.name, m.mtime) for m in tar.getmembers() if m.mtime != ARGS.epoch]
            self.assertEqual(late, [], name)

    def test_lintian_reports_no_errors_or_warnings(self):
        r = run(["lintian", "--fail-on", "error,warning", "--no-tag-display-limit", self.deb])
        self.assertEqual(r.returncode, 0, "lintian:\n" + r.stdout + r.stderr)

    def test_lintian_infos_show_the_hardening_and_the_help_override(self):
        r = run(["lintian", "--display-info", "--no-tag-display-limit", self.deb])
        for tag in ("hardening-no-bindnow", "hardening-no-fortify-functions",
                    "package-contains-documentation-outside-usr-share-doc"):
            with self.subTest(tag=tag):
                self.assertNotIn(tag, r.stdout)

    def test_programs_are_hardened(self):
        # --nocfprotection: on Debian 12 no program can pass the control-flow check, not even an empty one,
        # because the C start-up files (crt1.o, crti.o) carry no IBT/SHSTK property, so the linker drops the
        # marks every other object has. The code is still built with -fcf-protection and the step for CET.
        for program in ("tulvane", "tulvane-trace"):
            with self.subTest(program=program):
                r = run(["hardening-check", "--nocfprotection", self.path(f"usr/bin/{program}")])
                self.assertEqual(r.returncode, 0, r.stdout + r.stderr)

    def test_metainfo_validates_without_errors_or_warnings(self):
        r = run(["appstreamcli", "validate", "--pedantic", "--no-net",
                 self.path(f"usr/share/metainfo/{self.app_id}.metainfo.xml")])
        # Only the notes on the id itself remain: it is the desktop entry's name as well, and stays as it is.
        problems = [line for line in r.stdout.splitlines() if re.match(r"^[EWIP]: ", line)
                    and not re.search(r" cid-(contains-uppercase-letter|maybe-not-rdns) ", line)]
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertEqual(problems, [], r.stdout)

    def test_metainfo_names_the_desktop_entry_the_programs_and_this_release(self):
        component = ET.parse(self.path(f"usr/share/metainfo/{self.app_id}.metainfo.xml")).getroot()
        self.assertEqual(component.findtext("id"), self.app_id)
        launchable = component.findtext("launchable[@type='desktop-id']")
        self.assertTrue(os.path.isfile(self.path(f"usr/share/applications/{launchable}")), launchable)
        for binary in component.findall("provides/binary"):
            self.assertTrue(os.path.isfile(self.path(f"usr/bin/{binary.text}")), binary.text)
        release = component.find("releases/release")
        self.assertEqual(release.get("version"), ARGS.version)
        with gzip.open(self.path("usr/share/doc/tulvane/changelog.gz"), "rt") as f:
            changelog = f.read()
        self.assertRegex(changelog.splitlines()[0], rf"^tulvane \({re.escape(ARGS.version)}\) ")
        date = re.search(r"^ -- .*>  (.*)$", changelog, re.M).group(1)
        r = run(["date", "-u", "-d", date, "+%Y-%m-%d"])
        self.assertEqual(release.get("date"), r.stdout.strip(), "the release and the changelog give other dates")
        provided = {e.tag: [] for e in component.find("provides")}
        for e in component.find("provides"):
            provided[e.tag].append(e.text)
        mime = ET.parse(self.path("usr/share/mime/packages/tulvane.xml")).getroot()
        ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
        self.assertEqual(provided.get("mediatype"), [t.get("type") for t in mime.iter(ns + "mime-type")])
        self.assertEqual(sorted(c.text for c in component.findall("supports/control")), ["keyboard", "pointing"])
        length = component.find("requires/display_length")
        self.assertEqual((length.get("compare"), length.text), ("ge", "768"))

    def test_desktop_entry_validates_and_starts_the_packaged_program_under_science(self):
        entry_path = self.path(f"usr/share/applications/{self.app_id}.desktop")
        r = run(["desktop-file-validate", entry_path])
        self.assertEqual((r.returncode, r.stdout + r.stderr), (0, ""))
        with open(entry_path) as f:
            entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
        self.assertIn("Science", entry["Categories"].split(";"))
        self.assertEqual(entry["Exec"], "tulvane %f")
        self.assertIn("application/x-tulvane-settings", entry["MimeType"].split(";"))
        self.assertTrue(os.path.isfile(self.path(f"usr/bin/{entry['Exec'].split()[0]}")))
        self.assertTrue(os.path.isfile(self.path(f"usr/share/icons/hicolor/scalable/apps/{entry['Icon']}.svg")))

    def test_settings_files_are_a_type_the_desktop_opens_with_the_program(self):
        mime_xml = self.path("usr/share/mime/packages/tulvane.xml")
        r = run(["xmllint", "--noout", mime_xml])
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        with tempfile.TemporaryDirectory(prefix="tulvane-mime-") as data:
            # An installed-like data folder holding the package's type and entry, and nothing else.
            shutil.copytree(self.path("usr/share/mime/packages"), os.path.join(data, "mime/packages"))
            shutil.copytree(self.path("usr/share/applications"), os.path.join(data, "applications"))
            r = run(["update-mime-database", "-V", os.path.join(data, "mime")])
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertNotRegex(r.stderr, r"(?i)warning|error", r.stderr)
            r = run(["update-desktop-database", os.path.join(data, "applications")])
            self.assertEqual((r.returncode, r.stderr), (0, ""))
            env = dict(os.environ, XDG_DATA_DIRS=data, XDG_DATA_HOME=os.path.join(data, "home"),
                       XDG_CONFIG_HOME=os.path.join(data, "config"), XDG_CONFIG_DIRS=os.path.join(data, "config"))
            for name in ("orbits.tv0", "ORBITS.TV0"):
                with self.subTest(name=name):
                    record = os.path.join(data, name)
                    with open(record, "wb") as f:
                        f.write(bytes(293))
                    r = run(["gio", "info", "-a", "standard::content-type", record], env=env)
                    self.assertIn("standard::content-type: application/x-tulvane-settings", r.stdout, r.stderr)
            # The default application is what a double-click in the file manager starts; an entry counts only
            # when its program is on the PATH, as it is once installed.
            env = dict(env, LC_ALL="C.UTF-8", PATH=self.path("usr/bin") + os.pathsep + os.environ["PATH"])
            r = run(["gio", "mime", "application/x-tulvane-settings"], env=env)
            self.assertIn(f"Default application for “application/x-tulvane-settings”: {self.app_id}.desktop",
                          r.stdout, r.stderr)

    def test_bash_completes_options_and_settings_files(self):
        # Completes a command line as bash does at a Tab after it: the words so far, the last one the word
        # being completed.
        script = """
source /usr/share/bash-completion/bash_completion
source "$1"
COMP_LINE="$2"; COMP_POINT=${#COMP_LINE}
read -ra COMP_WORDS <<<"$COMP_LINE"
[[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
"$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \\([^ ]*\\) .*/\\1/')"
printf '%s\\n' "${COMPREPLY[@]}"
"""
        cases = [
            ("tulvane --r", ["--record"]),
            ("tulvane --", ["--help", "--record", "--version"]),
            ("tulvane ", ["B.TV0", "a.tv0", "sub"]),
            ("tulvane a.tv0 --record ", []),
            ("tulvane-trace --", ["--help", "--orbit", "--points", "--version"]),
            ("tulvane-trace ", ["B.TV0", "a.tv0", "sub"]),
            ("tulvane-trace --points 5 --orbit ", ["B.TV0", "a.tv0", "sub"]),
            ("tulvane-trace --points ", []),
            ("tulvane-trace a.tv0 ", []),
        ]
        with tempfile.TemporaryDirectory(prefix="tulvane-completion-") as folder:
            for name in ("a.tv0", "B.TV0", "notes.txt"):
                open(os.path.join(folder, name), "w").close()
            os.mkdir(os.path.join(folder, "sub"))
            for line, expected in cases:
                program = line.split()[0]
                completion = self.path(f"usr/share/bash-completion/completions/{program}")
                with self.subTest(line=line):
                    r = subprocess.run(["bash", "-c", script, "bash", completion, line], capture_output=True,
                                       text=True, cwd=folder, timeout=60)
                    self.assertEqual(r.stderr, "")
                    self.assertEqual(sorted(w for w in r.stdout.splitlines() if w), expected)

    def test_manual_pages_render_without_warnings(self):
        env = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80", MANPAGER="cat", PAGER="cat")
        sections = ("NAME", "SYNOPSIS", "DESCRIPTION", "FILES", "ENVIRONMENT", "EXIT STATUS", "EXAMPLES")
        for page in self.man_pages:
            with self.subTest(page=page):
                r = run(["man", "--warnings", "-l", self.path(page)], env=env)
                self.assertEqual((r.returncode, r.stderr), (0, ""))
                headings = [line for line in r.stdout.splitlines() if re.match(r"^[A-Z][A-Z ]+$", line)]
                for section in sections:
                    self.assertIn(section, headings)
                program = os.path.basename(page).split(".")[0]
                self.assertIn(f"{program} {ARGS.version}", r.stdout.splitlines()[-1])

    def test_help_and_version_print_without_a_display(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY") and not k.startswith("QT_")}
        # In English, whatever the caller's language.
        env.update(LANGUAGE="", LC_ALL="C.UTF-8")
        for program in ("tulvane", "tulvane-trace"):
            exe = self.path(f"usr/bin/{program}")
            with self.subTest(program=program):
                r = run([exe, "--version"], env=env)
                self.assertEqual((r.returncode, r.stdout, r.stderr), (0, f"{program} {ARGS.version}\n", ""))
                r = run([exe, "--help"], env=env)
                self.assertEqual((r.returncode, r.stderr), (0, ""))
                self.assertTrue(r.stdout.startswith(f"Usage: {program} "), r.stdout)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--deb-dir", required=True, help="folder holding the one .deb to check")
    parser.add_argument("--source", required=True, help="the source tree, for the help pages")
    parser.add_argument("--version", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--epoch", required=True, type=int, help="the SOURCE_DATE_EPOCH the package was built with")
    ARGS, rest = parser.parse_known_args()
    missing = sorted({pkg for tool, pkg in TOOLS.items() if shutil.which(tool) is None and not os.path.exists(tool)})
    if missing:
        print(
            f"The packaging tests need the Debian packages {', '.join(missing)}: "
            "run scripts/install-deps.sh (make test does).",
            file=sys.stderr,
        )
        return 1
    result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
