#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Lists template variants whose related list is their group head's.

A variant ("[cheaper]") that shares the head's list ("[bigger]") points the
traveller at follow-ups about something else; each variant wants its own.

    python3 tools/content/copied_relations.py [--lists] [--near]

prints one line per such phrase (with --lists, its English and the list;
with --near, also the variants whose list is mostly the head's: at least
70% shared once the two phrases themselves are left out).
"""
from __future__ import annotations

import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import phrases as P  # noqa: E402


def copied(c: P.Content, near: bool = False) -> list[int]:
    out = []
    for n, p in sorted(c.phrases.items()):
        head = p.group_head
        if head is None or head == n:
            continue
        mine, heads = set(c.related.get(n, [])), set(c.related.get(head, []))
        if mine == heads:
            out.append(n)
        elif near:
            a, b = mine - {head}, heads - {n}
            if a | b and len(a & b) / len(a | b) >= 0.7:
                out.append(n)
    return out


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--lists", action="store_true", help="show English and the list")
    ap.add_argument("--near", action="store_true", help="also lists mostly the head's")
    args = ap.parse_args()
    root = pathlib.Path(__file__).resolve().parents[2]
    c = P.load(root)
    found = copied(c, args.near)
    for n in found:
        if args.lists:
            rel = " ".join(f"{r:04d}" for r in c.related.get(n, []))
            print(f"{n:04d} (head {c.phrases[n].group_head:04d}) {c.phrases[n].english}: {rel}")
        else:
            print(f"{n:04d}")
    print(f"{len(found)} variants share their head's list", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
