#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns content/phrases/*.txt and content/related.txt into the files the
program reads: the four UTF-16LE source texts (English.txt, Pron.txt,
Japanese1.txt, Japanese2.txt), MapEngSpec.data, Relate.dat and the UTF-8
Readings.txt in content/generated/, then runs `phrasebuild all` there for English.dat and
Japanese.dat.

usage: generate.py [--phrasebuild PATH] [--out DIR]
"""
from __future__ import annotations

import argparse
import pathlib
import struct
import subprocess
import sys

import phrases as P

ROOT = pathlib.Path(__file__).resolve().parents[2]
TEMPLATE_RECORD = 178
TEMPLATE_TEXT = 176
RELATE_ROW = 104


def utf16_lines(lines: list[str]) -> bytes:
    """Byte-order mark, one line per phrase, CR LF after every line."""
    text = "\ufeff" + "".join(line + "\r\n" for line in lines)
    return text.encode("utf-16-le")


def template_file(content: P.Content) -> bytes:
    out = bytearray()
    for n in range(1, P.PHRASE_COUNT + 1):
        ph = content.phrases[n]
        text = P.template_of(content, n).encode("ascii")
        if len(text) >= TEMPLATE_TEXT:
            raise ValueError(f"template of phrase {n} is {len(text)} bytes")
        out += text.ljust(TEMPLATE_TEXT, b"\0")
        out += struct.pack("<h", ph.group_size)
    return bytes(out)


def relate_file(content: P.Content) -> bytes:
    out = bytearray(RELATE_ROW * P.PHRASE_COUNT)
    for n, targets in content.related.items():
        row = (n - 1) * RELATE_ROW
        for t in targets:
            out[row + (t - 1) // 8] |= 0x80 >> ((t - 1) % 8)
    return bytes(out)


def readings_file(content: P.Content) -> bytes:
    """`NNNN<TAB>annotated Japanese` per phrase with a reading line, in number order."""
    return "".join(f"{n:04d}\t{line}\n" for n, line in sorted(content.readings.items())).encode("utf-8")


def generated_sources(content: P.Content) -> dict[str, bytes]:
    """Every generated file except those phrasebuild and the recorder make."""
    ps = [content.phrases[n] for n in range(1, P.PHRASE_COUNT + 1)]
    return {
        "English.txt": utf16_lines([p.english for p in ps]),
        "Pron.txt": utf16_lines([p.pron for p in ps]),
        "Japanese1.txt": utf16_lines([p.japanese1 for p in ps]),
        "Japanese2.txt": utf16_lines([p.japanese2 for p in ps]),
        "MapEngSpec.data": template_file(content),
        "Relate.dat": relate_file(content),
        "Readings.txt": readings_file(content),
    }


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--phrasebuild", default=str(ROOT / "build" / "run" / "phrasebuild"))
    ap.add_argument("--out", default=str(ROOT / "content" / "generated"))
    args = ap.parse_args()
    args.phrasebuild = P.tool_path(args.phrasebuild)
    content = P.load(ROOT)
    missing = [n for n in range(1, P.PHRASE_COUNT + 1) if n not in content.phrases]
    if content.errors or missing:
        for e in content.errors:
            print(e, file=sys.stderr)
        if missing:
            print(f"{len(missing)} phrases missing, first {missing[:10]}", file=sys.stderr)
        return 1
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    for name, data in generated_sources(content).items():
        (out / name).write_bytes(data)
    r = subprocess.run([args.phrasebuild, "all"], cwd=out)
    if r.returncode != 0:
        print("phrasebuild failed", file=sys.stderr)
        return 1
    print(f"wrote {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
