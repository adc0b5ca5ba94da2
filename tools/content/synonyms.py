# SPDX-License-Identifier: GPL-3.0-or-later
"""The synonym list content/synonyms.txt: groups of words a traveller may
type for the same thing, one group a line (see content/FORMAT.md)."""
from __future__ import annotations

import re

MEMBER = re.compile(r"[a-z0-9]+(?:['\-][a-z0-9]+)*(?: [a-z0-9]+(?:['\-][a-z0-9]+)*)*")
MOST_WORDS = 4


def check(text: str, problems: list[str]) -> int:
    """Problems of the list's text; returns how many groups it holds."""
    groups = 0
    seen: dict[frozenset[str], int] = {}
    for number, line in enumerate(text.splitlines(), 1):
        where = f"synonyms.txt:{number}"
        if not line.strip() or line.startswith("#"):
            continue
        members = line.split(", ")
        if len(members) < 2:
            problems.append(f"{where}: a group needs two or more members separated by \", \"")
            continue
        for m in members:
            if not MEMBER.fullmatch(m):
                problems.append(f"{where}: \"{m}\" is not lower-case words (a-z, 0-9, - and ' inside a word)")
            elif len(m.split(" ")) > MOST_WORDS:
                problems.append(f"{where}: \"{m}\" has more than {MOST_WORDS} words")
        if len(set(members)) != len(members):
            problems.append(f"{where}: a member is listed twice")
        key = frozenset(members)
        if key in seen:
            problems.append(f"{where}: the same group as line {seen[key]}")
        seen.setdefault(key, number)
        groups += 1
    return groups
