#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every tracked source file names its licence in an SPDX-License-Identifier
line near its top: the code GPL-3.0-or-later (LICENSE says which parts are
under which licence; debian/copyright says the same for Debian).

usage: tools/spdx.py [--check]

Without --check, adds the line where it is missing (after a #! line);
with it, lists the files without one and exits 1 if there are any.
"""
from __future__ import annotations

import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]
CODE = "GPL-3.0-or-later"
# How a comment starts in each kind of file.
COMMENT = {
    ".cpp": "//", ".h": "//", ".h.in": "//",
    ".py": "#", ".sh": "#", ".cmake": "#", "CMakeLists.txt": "#",
}
# Shell scripts without an extension.
SCRIPT_FOLDERS = ("scripts/", ".ci/")
LOOK_LINES = 5


def comment_of(path: str) -> str | None:
    name = pathlib.PurePosixPath(path).name
    if name == "CMakeLists.txt":
        return "#"
    if path.startswith(SCRIPT_FOLDERS) and "." not in name:
        return "#"
    for suffix, mark in COMMENT.items():
        if name.endswith(suffix):
            return mark
    return None


def tracked() -> list[str]:
    out = subprocess.run(["git", "ls-files"], cwd=ROOT, check=True, capture_output=True, text=True).stdout
    return [p for p in out.splitlines() if comment_of(p) and (ROOT / p).is_file()]


def has_identifier(text: str) -> bool:
    return any("SPDX-License-Identifier:" in line for line in text.splitlines()[:LOOK_LINES])


def with_identifier(text: str, mark: str) -> str:
    line = f"{mark} SPDX-License-Identifier: {CODE}\n"
    if text.startswith("#!"):
        first, _, rest = text.partition("\n")
        return first + "\n" + line + rest
    return line + text


def main() -> int:
    check = "--check" in sys.argv[1:]
    missing = []
    for path in tracked():
        file = ROOT / path
        text = file.read_text(encoding="utf-8")
        if has_identifier(text):
            continue
        missing.append(path)
        if not check:
            file.write_text(with_identifier(text, comment_of(path)), encoding="utf-8")
    if check and missing:
        print("no SPDX-License-Identifier line (run tools/spdx.py):", *missing, sep="\n  ")
        return 1
    if not check:
        print(f"added the licence line to {len(missing)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main())
