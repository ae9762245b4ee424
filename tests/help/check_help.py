#!/usr/bin/env python3
"""Unpacks wakumo.chm again and compares it with the help sources.

Every page, the style sheet, the contents and the index must come back byte
for byte as make_help.py wrote them (the UTF-8 sources in code page 932), and
the project's title must be in the file's system data, which gives the
viewer its caption. Exits 77 (skipped) when extract_chmLib is not installed.

    check_help.py <wakumo.chm> <work folder>
"""
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "help"))
import make_help  # noqa: E402

SKIPPED = 77


def title():
    with open(os.path.join(make_help.HERE, make_help.PROJECT), encoding="utf-8") as f:
        for line in f:
            if line.startswith("Title="):
                return line.strip()[len("Title="):]
    raise SystemExit("no Title= in the project")


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    chm, work = argv
    extract = shutil.which("extract_chmLib")
    if not extract:
        print("SKIP: extract_chmLib is not installed (Debian package libchm-bin)")
        return SKIPPED
    if not os.path.isfile(chm):
        print(f"FAIL: {chm} was not built")
        return 1
    if os.path.isdir(work):
        shutil.rmtree(work)
    result = subprocess.run([extract, chm, work], capture_output=True, text=True, errors="replace")
    if result.returncode != 0:
        print(f"FAIL: extract_chmLib exit status {result.returncode}\n{result.stdout}{result.stderr}")
        return 1

    failures = []
    files = make_help.project_files()[1:]  # the project file itself is not stored
    for name in files:
        path = os.path.join(work, name)
        if not os.path.isfile(path):
            failures.append(f"{name}: missing from the help file")
            continue
        with open(path, "rb") as f:
            got = f.read()
        want = make_help.encoded(name)
        if got != want:
            at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
            failures.append(f"{name}: {len(got)} bytes, expected {len(want)}; first difference at byte {at}: "
                            f"{got[max(0, at - 20):at + 20]!r} vs {want[max(0, at - 20):at + 20]!r}")
    with open(os.path.join(work, "#SYSTEM"), "rb") as f:
        system = f.read()
    wanted_title = title().encode(make_help.ENCODING)
    if wanted_title not in system:
        failures.append(f"the title {title()!r} ({wanted_title!r}) is not in #SYSTEM")

    for line in failures:
        print("FAIL: " + line)
    if not failures:
        print(f"{chm}: {len(files)} files as their sources, title {title()!r}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
