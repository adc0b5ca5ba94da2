#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the random sample of phrases for a blind review (docs/content.md,
"Blind review"): COUNT distinct phrase numbers, sorted, from a seed that is
printed first so the same sample can be drawn again. Without --seed a new
seed is taken from the system's random source, so every review reads a
different sample.

Each phrase is printed as a block the reviewer judges: its number, category
and sub-category, English, Japanese (kanji and kana), kana only and romaji.

usage: sample.py [--count 80] [--seed N]
"""
from __future__ import annotations

import argparse
import pathlib
import random
import secrets
import sys

import categories as C
import phrases as P

ROOT = pathlib.Path(__file__).resolve().parents[2]


def draw(seed: int, count: int) -> list[int]:
    return sorted(random.Random(seed).sample(range(1, P.PHRASE_COUNT + 1), count))


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--count", type=int, default=80)
    ap.add_argument("--seed", type=int)
    args = ap.parse_args()
    if not 1 <= args.count <= P.PHRASE_COUNT:
        print(f"--count must be 1 to {P.PHRASE_COUNT}", file=sys.stderr)
        return 2
    seed = args.seed if args.seed is not None else secrets.randbelow(10**9)
    content = P.load(ROOT)
    if content.errors or len(content.phrases) != P.PHRASE_COUNT:
        print("content does not load; run the validator", file=sys.stderr)
        return 1
    print(f"seed {seed}, {args.count} of {P.PHRASE_COUNT} phrases")
    for n in draw(seed, args.count):
        p = content.phrases[n]
        category, sub = C.leaf_of(n)
        print(f"\n{n:04d}  {category} / {sub}")
        print(f"  English:  {p.english}")
        print(f"  Japanese: {p.japanese1}")
        print(f"  Kana:     {p.japanese2}")
        print(f"  Romaji:   {p.pron}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
