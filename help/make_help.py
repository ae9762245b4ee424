#!/usr/bin/env python3
"""Compiles the help pages into wakumo.chm.

The pages are kept in UTF-8 here and written out in code page 932
(Shift-JIS), the encoding their meta tags name and that the help viewer
reads for a Japanese (0x411) project; a character the code page lacks stops
the build with the file and line.

    make_help.py --compiler <chmcmd or hhc> --stage <folder> --output <wakumo.chm>
    make_help.py --list        (the project's files, one a line)
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PROJECT = "wakumo.hhp"
ENCODING = "cp932"


def project_files():
    """The project file, its contents and index files and every [FILES] entry."""
    files = [PROJECT]
    section = None
    with open(os.path.join(HERE, PROJECT), encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
                continue
            if not line:
                continue
            if section == "OPTIONS" and "=" in line:
                key, value = (part.strip() for part in line.split("=", 1))
                if key in ("Contents file", "Index file"):
                    files.append(value)
            elif section == "FILES":
                files.append(line)
    return files


def encoded(name):
    """The file's bytes as the compiler gets them."""
    path = os.path.join(HERE, name)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for number, line in enumerate(text.splitlines(), 1):
        try:
            line.encode(ENCODING)
        except UnicodeEncodeError as e:
            raise SystemExit(f"{path}:{number}: {line[e.start:e.end]!r} has no {ENCODING} form")
    # CR LF, as the Windows tools expect.
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode(ENCODING)


def compile_help(compiler, stage, output):
    if os.path.isdir(stage):
        shutil.rmtree(stage)
    os.makedirs(stage)
    for name in project_files():
        with open(os.path.join(stage, name), "wb") as f:
            f.write(encoded(name))
    result = subprocess.run([compiler, PROJECT], cwd=stage, capture_output=True, text=True, errors="replace")
    chm = os.path.join(stage, "wakumo.chm")
    # The workshop's compiler answers 1 for success.
    is_hhc = os.path.basename(compiler).lower().startswith("hhc")
    ok = (result.returncode == 1) if is_hhc else (result.returncode == 0)
    if not ok or not os.path.isfile(chm):
        sys.stdout.write(result.stdout)
        sys.stderr.write(result.stderr)
        raise SystemExit(f"{compiler} {PROJECT} failed (exit status {result.returncode})")
    shutil.copyfile(chm, output)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--compiler")
    parser.add_argument("--stage")
    parser.add_argument("--output")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args(argv)
    if args.list:
        print("\n".join(project_files()))
        return 0
    if not (args.compiler and args.stage and args.output):
        parser.error("--compiler, --stage and --output are needed")
    compile_help(args.compiler, args.stage, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
