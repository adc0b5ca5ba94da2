#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares the reading Open JTalk gives every phrase's spoken text (from its
trace) with the phrase's kana rendering, and lists the phrases where they
differ, so that a `say` line can be added where the synthesiser misreads.

usage: readings.py [--jobs N] [NNNN ...]
"""
from __future__ import annotations

import argparse
import concurrent.futures
import pathlib
import subprocess
import sys
import tempfile

import phrases as P
import record as R

ROOT = pathlib.Path(__file__).resolve().parents[2]
IGNORED = set("、。？！・ 　?!,.「」’")


def katakana(text: str) -> str:
    """Hiragana to katakana; everything else kept."""
    return "".join(chr(ord(ch) + 0x60) if "\u3041" <= ch <= "\u3096" else ch for ch in text)


def normal(text: str) -> str:
    text = katakana(text).replace("ヅ", "ズ").replace("ヂ", "ジ")
    return "".join(ch for ch in text if ch not in IGNORED)


def jtalk_reading(text: str, work: pathlib.Path) -> str:
    trace = work / "trace.txt"
    subprocess.run(["open_jtalk", "-x", R.DICTIONARY, "-m", str(R.VOICE), "-ow", "/dev/null",
                    "-ot", str(trace)], input=text.encode("utf-8"), check=True, capture_output=True)
    words = []
    for line in trace.read_text(encoding="utf-8").split("\n\n", 1)[0].splitlines()[1:]:
        fields = line.split(",")
        if len(fields) > 8:
            words.append(fields[8] if fields[8] != "*" else fields[0])
    return "".join(words)


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("numbers", nargs="*", type=int)
    args = ap.parse_args()
    content = P.load(ROOT)
    todo = args.numbers or sorted(content.phrases)
    with tempfile.TemporaryDirectory() as tmp:
        def job(n: int) -> tuple[int, str]:
            work = pathlib.Path(tmp) / str(n)
            work.mkdir()
            return n, jtalk_reading(content.phrases[n].spoken, work)

        differ = 0
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for n, reading in pool.map(job, todo):
                p = content.phrases[n]
                if normal(reading) != normal(p.japanese2):
                    differ += 1
                    print(f"{n:04d}\t{p.spoken}\tjtalk {normal(reading)}\tkana {normal(p.japanese2)}")
    print(f"{differ} of {len(todo)} readings differ from the kana rendering", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
