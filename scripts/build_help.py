#!/usr/bin/env python3
"""Builds the help file from the help sources with chmcmd (Debian's fp-utils).

    build_help.py SOURCE_FOLDER OUTPUT.chm

The sources are copied to a folder beside the output first: the contents and index files
are kept as UTF-8 in the repository and handed to the compiler in Windows-1252, the code
page of the file's German language, in which the viewer reads them. After chmcmd the
context-number table is made to point inside the file (see chm_context_paths.py), and the
build fails when a context number of the project does not lead to a page of the file.
"""

import os
import shutil
import subprocess
import sys

import chm_context_paths

PROJECT = "tastomat.hhp"
SITEMAPS = (".hhc", ".hhk")


def compiled_name(project):
    """The "Compiled file" option of the project's [OPTIONS]."""
    with open(project, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.partition("=")
            if key.strip().lower() == "compiled file":
                return value.strip()
    raise SystemExit(f"{project} names no compiled file")


def stage(source, staging):
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    for name in sorted(os.listdir(source)):
        path = os.path.join(source, name)
        if not os.path.isfile(path):
            continue
        target = os.path.join(staging, name)
        if name.endswith(SITEMAPS):
            with open(path, encoding="utf-8") as f:
                text = f.read()
            with open(target, "w", encoding="cp1252", errors="xmlcharrefreplace",
                      newline="\r\n") as f:
                f.write(text)
        else:
            shutil.copyfile(path, target)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    source, output = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    staging = output + ".sources"
    stage(source, staging)
    result = subprocess.run(["chmcmd", "--no-html-scan", PROJECT], cwd=staging,
                            capture_output=True, text=True)
    built = os.path.join(staging, compiled_name(os.path.join(staging, PROJECT)))
    if result.returncode != 0 or not os.path.isfile(built):
        sys.exit(f"chmcmd failed:\n{result.stdout}{result.stderr}")
    chm_context_paths.fix(built, staging)
    os.replace(built, output)
    shutil.rmtree(staging)


if __name__ == "__main__":
    main(sys.argv)
