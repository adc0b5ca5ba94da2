#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks every rule the program and the traveller rely on, on the content
sources and on the committed files in content/generated/:

- 826 phrases, each field within its length, English ASCII and unique, the
  pronunciation spelling the kana, Arabic numerals spoken from a say line;
- template groups of 2 to 8 inside one sub-category, every range starting at
  a group head or a single phrase, every choice naming a phrase of the group;
- 2 to 8 related phrases each, a template variant's not its head's;
- a reading line for every phrase that holds kanji, giving back the
  kanji-kana rendering without its readings and the kana rendering with them;
- the `==` sub-category headers, the program's range table and its combo
  entries all say what tools/content/categories.py says;
- the committed generated files equal what the sources produce now (and
  English.dat / Japanese.dat equal what phrasebuild makes of them);
- the synonym list: groups of two or more lower-case members, none twice;
- 826 clips of bare MPEG-2 layer III frames, at most 300 frames each, made
  from the current text, and `cliptool check` passing.

usage: validate.py [--phrasebuild PATH] [--cliptool PATH]
Prints one line per problem; exit status 1 when there is any.
"""
from __future__ import annotations

import argparse
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import categories as C
import furigana as F
import generate as G
import phrases as P
import record as R
import romaji
import synonyms as S

ROOT = pathlib.Path(__file__).resolve().parents[2]
GENERATED = ROOT / "content" / "generated"
JAPANESE_LIMIT = 108
ENGLISH_LIMIT = 58
MACRONS = set("āīūēōĀĪŪĒŌ")
DIGITS = set("0123456789０１２３４５６７８９")


is_kanji = F.is_kanji


def check_phrases(c: P.Content, problems: list[str]) -> None:
    seen: dict[str, int] = {}
    for n in range(1, P.PHRASE_COUNT + 1):
        p = c.phrases.get(n)
        if p is None:
            problems.append(f"phrase {n}: missing")
            continue
        where = f"phrase {n} ({p.file}:{p.line})"
        limit = ENGLISH_LIMIT - (1 if n == 1 else 0)
        if not p.english or not p.english.isascii() or len(p.english) > limit:
            problems.append(f"{where}: English must be 1 to {limit} ASCII characters")
        if any(ch in p.english for ch in "\t|"):
            problems.append(f"{where}: English holds a tab or a bar")
        if p.english in seen:
            problems.append(f"{where}: English repeats phrase {seen[p.english]}")
        seen[p.english] = n
        for name, text in (("Japanese", p.japanese1), ("kana", p.japanese2), ("pronunciation", p.pron)):
            units = len(text.encode("utf-16-le")) // 2
            if not text or units > JAPANESE_LIMIT:
                problems.append(f"{where}: {name} must be 1 to {JAPANESE_LIMIT} units")
        if any(is_kanji(ch) for ch in p.japanese2):
            problems.append(f"{where}: kana rendering holds kanji")
        if any(ch.isascii() and ch.isalpha() for ch in p.japanese1 + p.japanese2):
            problems.append(f"{where}: Japanese holds Latin letters")
        if not all(ch.isascii() or ch in MACRONS for ch in p.pron):
            problems.append(f"{where}: pronunciation holds characters other than ASCII and macrons")
        if p.pron and not p.pron[0].isupper() and not p.pron[0].isdigit():
            problems.append(f"{where}: pronunciation does not start with a capital")
        if not any(is_kanji(ch) for ch in p.japanese2) and not romaji.agrees(p.japanese2, p.pron):
            problems.append(f"{where}: pronunciation does not spell the kana rendering")
        # The synthesiser may read 7時 as なな or 1日 as いちにち: the spoken
        # text spells every number.
        if any(ch in DIGITS for ch in p.japanese1) and any(ch in DIGITS for ch in p.spoken):
            problems.append(f"{where}: Arabic numerals without a say line in kana")


def check_groups(c: P.Content, problems: list[str]) -> None:
    covered: dict[int, int] = {}
    for g in c.groups:
        where = f"group {g.first}-{g.last} ({g.file}:{g.line})"
        if not 2 <= g.size <= 8:
            problems.append(f"{where}: groups hold 2 to 8 phrases")
        if not g.template.isascii() or len(g.template) > 175:
            problems.append(f"{where}: template must be at most 175 ASCII characters")
        leaves = {C.leaf_of(n) for n in range(g.first, g.last + 1)}
        if len(leaves) != 1:
            problems.append(f"{where}: group crosses a sub-category")
        for n in range(g.first, g.last + 1):
            if n in covered:
                problems.append(f"{where}: phrase {n} is also in the group of {covered[n]}")
            covered[n] = g.first
        members = [c.phrases[n].english for n in range(g.first, g.last + 1) if n in c.phrases]
        head = P.reduce_slots(g.template)
        if members and head != members[0]:
            problems.append(f"{where}: head line '{head}' is not the English of phrase {g.first}")
        combos = P.all_choices(g.template)
        if combos != set(members) or len(members) != g.size:
            missing = sorted(combos - set(members))[:3]
            extra = sorted(set(members) - combos)[:3]
            problems.append(f"{where}: choices and phrases differ (no phrase for {missing}, "
                            f"phrases not a choice {extra})")
    for n, p in c.phrases.items():
        if n not in covered and P.reduce_slots(p.english) != p.english:
            problems.append(f"phrase {n}: single phrase whose template is not its English")
    for key, first, last in C.ranges():
        head = covered.get(first)
        if head is not None and head != first:
            problems.append(f"range {key} ({first}-{last}) starts inside the group of {head}")
    if len(c.groups) < 40:
        problems.append(f"only {len(c.groups)} template groups; at least 40 expected")


def check_related(c: P.Content, problems: list[str]) -> None:
    for n in range(1, P.PHRASE_COUNT + 1):
        targets = c.related.get(n)
        if targets is None:
            problems.append(f"related: phrase {n} has no line")
            continue
        if not 2 <= len(set(targets)) <= 8:
            problems.append(f"related: phrase {n} has {len(set(targets))} related phrases (2 to 8)")
        if any(not 1 <= t <= P.PHRASE_COUNT for t in targets) or n in targets:
            problems.append(f"related: phrase {n} names itself or a number outside 1-826")
        # A "[cheaper]" variant sharing the "[bigger]" head's list sends the
        # traveller to follow-ups about something else.
        head = c.phrases[n].group_head if n in c.phrases else None
        if head is not None and head != n and set(targets) == set(c.related.get(head) or ()):
            problems.append(f"related: phrase {n} has its group head {head}'s list")


def check_readings(c: P.Content, problems: list[str]) -> int:
    """Problems of content/readings.txt; returns how many lines differ from
    their phrase's renderings."""
    differ = 0
    for n, p in sorted(c.phrases.items()):
        if n not in c.readings and any(is_kanji(ch) for ch in p.japanese1):
            problems.append(f"readings: phrase {n} holds kanji and has no line")
    for n, line in sorted(c.readings.items()):
        p = c.phrases.get(n)
        if p is None:
            problems.append(f"readings: phrase {n} does not exist")
            continue
        if not any(F.needs_reading(ch) for ch in p.japanese1):
            problems.append(f"readings: phrase {n} has nothing to read and needs no line")
        found = F.check(line, p.japanese1, p.japanese2)
        differ += bool(found)
        problems.extend(f"readings: phrase {n}: {f}" for f in found)
    return differ


def check_tables(c: P.Content, problems: list[str]) -> None:
    """The sub-category headers of the sources, the range table the program
    looks phrases up in and the combo entries it shows are one table."""
    leaves = {(name, first, last) for _, _, subs in C.CATEGORIES for name, first, last in subs[1:]}
    headers = {(name, first, last) for name, first, last, _, _ in c.sections}
    for name, first, last in sorted(headers - leaves, key=lambda s: s[1]):
        problems.append(f"header '== {name} ({first}-{last})' is not a sub-category of the table")
    for name, first, last in sorted(leaves - headers, key=lambda s: s[1]):
        problems.append(f"sub-category {name} ({first}-{last}) has no '==' header")
    table = ROOT / "src" / "data" / "phraserangetable.cpp"
    if table.exists():
        rows = {tuple(int(x) for x in m) for m in re.findall(r"\{(\d+), \{(\d+), (\d+)\}\}", table.read_text())}
        if rows != set(C.ranges()):
            problems.append(f"src/data/phraserangetable.cpp differs from the table: {sorted(rows ^ set(C.ranges()))[:4]}")
    combo = ROOT / "src" / "app" / "categories.cpp"
    if combo.exists():
        source = combo.read_text()
        arrays = {m.group(1): re.findall(r'"([^"]*)"', m.group(2))
                  for m in re.finditer(r"(k\w+) = \{(.*?)\};", source, re.S)}
        for code, _, subs in C.CATEGORIES:
            m = re.search(rf"case {code}: return (k\w+);", source)
            shown = arrays.get(m.group(1)) if m else None
            if shown != [name for name, _, _ in subs]:
                problems.append(f"combo entries of {code} in src/app/categories.cpp are {shown}, "
                                f"not {[name for name, _, _ in subs]}")


def check_generated(c: P.Content, phrasebuild: str | None, problems: list[str]) -> None:
    try:
        expected = G.generated_sources(c)
    except (KeyError, ValueError) as e:
        problems.append(f"generated files cannot be made: {e}")
        return
    for name, data in expected.items():
        path = GENERATED / name
        if not path.exists() or path.read_bytes() != data:
            problems.append(f"content/generated/{name} is not what the sources make: run tools/content/generate.py")
    if not phrasebuild:
        return
    with tempfile.TemporaryDirectory() as tmp:
        for name in ("English.txt", "Pron.txt", "Japanese1.txt", "Japanese2.txt"):
            shutil.copy(GENERATED / name, tmp)
        r = subprocess.run([phrasebuild, "all"], cwd=tmp, capture_output=True, text=True)
        if r.returncode != 0:
            problems.append(f"phrasebuild all failed: {r.stderr.strip()}")
            return
        for name, size in (("English.dat", 826 * 124), ("Japanese.dat", 826 * 660)):
            made = (pathlib.Path(tmp) / name).read_bytes()
            if len(made) != size:
                problems.append(f"phrasebuild made {name} of {len(made)} bytes, not {size}")
            if not (GENERATED / name).exists() or (GENERATED / name).read_bytes() != made:
                problems.append(f"content/generated/{name} differs from what phrasebuild makes")


def check_archive(c: P.Content, cliptool: str | None, problems: list[str]) -> None:
    idx, dat = GENERATED / "data.idx", GENERATED / "data.dat"
    if not idx.exists() or not dat.exists():
        problems.append("sound archive missing: run tools/content/record.py")
        return
    body = dat.read_bytes()
    if body[:8] != b"zarquell" or struct.unpack_from("<I", body, 8)[0] != 2102:
        problems.append("data.dat header is not zarquell/2102")
    entries = idx.read_bytes()
    if len(entries) != 8 * P.PHRASE_COUNT:
        problems.append(f"data.idx holds {len(entries) // 8} clips, not {P.PHRASE_COUNT}")
    manifest = R.read_manifest()
    for k in range(len(entries) // 8):
        n = k + 1
        off, size = struct.unpack_from("<II", entries, 8 * k)
        clip = body[12 + off:12 + off + size]
        if len(clip) != size or size == 0:
            problems.append(f"clip {n}: body outside data.dat")
            continue
        # MPEG-2, layer III, no CRC, 48 kbit/s, 24 kHz: frames of 144 bytes (+1 padded).
        if clip[:2] != b"\xff\xf3" or clip[2] >> 4 != 6 or (clip[2] >> 2) & 3 != 1 or clip[3] >> 6 != 3:
            problems.append(f"clip {n}: not bare MPEG-2 layer III mono 24 kHz 48 kbit/s")
        if b"TAG" in clip[-128:-125] or clip[:3] == b"ID3" or b"Xing" in clip[:200] or b"Info" in clip[:200]:
            problems.append(f"clip {n}: holds a tag or a Xing/Info frame")
        if size > 300 * 145:
            problems.append(f"clip {n}: more than 300 frames")
        if n in c.phrases and manifest.get(n) != R.text_hash(c.phrases[n].spoken):
            problems.append(f"clip {n}: recorded from other text: run tools/content/record.py")
    if cliptool:
        r = subprocess.run([cliptool, "check"], cwd=GENERATED, capture_output=True, text=True)
        if r.returncode != 0:
            problems.append("cliptool check failed:\n" + (r.stdout + r.stderr).strip())


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--phrasebuild")
    ap.add_argument("--cliptool")
    args = ap.parse_args()
    args.phrasebuild = P.tool_path(args.phrasebuild)
    args.cliptool = P.tool_path(args.cliptool)
    c = P.load(ROOT)
    problems = list(c.errors)
    check_phrases(c, problems)
    if len(c.phrases) == P.PHRASE_COUNT:
        check_groups(c, problems)
        check_related(c, problems)
        differ = check_readings(c, problems)
        words = sum(len([x for x in F.parse(line)[0] if isinstance(x, F.Reading)]) for line in c.readings.values())
        print(f"readings: {len(c.readings)} lines, {words} words, {differ} differences")
        check_tables(c, problems)
        check_generated(c, args.phrasebuild, problems)
        check_archive(c, args.cliptool, problems)
    groups = S.check((ROOT / "content" / "synonyms.txt").read_text(encoding="utf-8"), problems)
    print(f"synonyms: {groups} groups")
    for p in problems:
        print(p)
    print(f"content: {len(c.phrases)} phrases, {len(c.groups)} groups, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
