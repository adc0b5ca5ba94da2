#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drafts content/readings.txt with MeCab and UniDic: the analyser splits
each phrase's kanji-kana rendering into words and proposes their readings,
and every reading is then taken from the phrase's own kana rendering, so the
draft spells it exactly. Words where the analyser's reading did not fit are
listed for review; every line is read by hand before it is committed.

A one-off tool: the committed readings.txt is the source, checked by the
validator. It needs `apt-get install mecab unidic-mecab`.

usage: annotate.py [--out FILE] [--keep] [NNNN ...]
  --keep   keep the existing lines of the phrases not named (or, with no
           numbers, of every phrase whose line still checks)
"""
from __future__ import annotations

import argparse
import csv
import functools
import pathlib
import re
import subprocess
import sys

import furigana as F
import phrases as P

ROOT = pathlib.Path(__file__).resolve().parents[2]
UNIDIC = "/var/lib/mecab/dic/unidic"
KANA_FIELD = 20  # UniDic's "kana": the word's reading as written, not as pronounced
JOINERS = set(",，－")  # inside a number (3,300) or a Latin name (Ｗｉ－Ｆｉ)


def hiragana(text: str) -> str:
    return "".join(chr(ord(ch) - 0x60) if "\u30a1" <= ch <= "\u30f6" else ch for ch in text)



# Readings UniDic ranks below another that a phrasebook wants more often;
# they only steer where a word's reading ends, the kana rendering decides.
ALSO = {"日本": ["にほん"], "明日": ["あした"], "私": ["わたし"], "何時": ["なんじ"],
        "何": ["なに", "なん"], "開": ["あ", "ひら"], "行": ["い", "ゆ"], "入": ["はい", "い"]}
COUNTER_POS = ("助数詞", "接尾辞")


def analyse(lines: list[str]) -> list[list[tuple[str, str | None, str]]]:
    """(surface, reading in hiragana or None, part of speech) for every word of every line."""
    r = subprocess.run(["mecab", "-d", UNIDIC], input="\n".join(lines) + "\n",
                       capture_output=True, text=True, check=True)
    out: list[list[tuple[str, str | None, str]]] = [[]]
    for row in r.stdout.splitlines():
        if row == "EOS":
            out.append([])
            continue
        surface, _, feature = row.partition("\t")
        fields = next(csv.reader([feature]))
        kana = fields[KANA_FIELD] if len(fields) > KANA_FIELD and fields[KANA_FIELD] else None
        out[-1].append((surface, hiragana(kana) if kana else None, ",".join(fields[:4])))
    return out[:len(lines)]


class Run:
    """A stretch of the line: kana and punctuation kept as written, or a base
    that takes a reading, with the readings the analyser suggests for it."""

    def __init__(self, text: str, needy: bool, guesses: list[str], pos: str = ""):
        self.text, self.needy, self.guesses, self.pos = text, needy, guesses, pos

    @property
    def number(self) -> bool:
        return self.needy and not all(F.is_kanji(c) for c in self.text)


def voiced(kana: str) -> str:
    """The first kana voiced, as a word's second part often is: ひ -> び, くち -> ぐち."""
    table = str.maketrans("かきくけこさしすせそたちつてとはひふへほ", "がぎぐげござじずぜぞだぢづでどばびぶべぼ")
    return kana[:1].translate(table) + kana[1:]


def guesses_for(text: str, kana: str | None) -> list[str]:
    out = [kana] if kana else []
    out += ALSO.get(text, [])
    out += [voiced(k) for k in list(out)]
    return list(dict.fromkeys(k for k in out if k))


def runs_of(text: str, words) -> list[Run]:
    """One run per word's kanji stem; a number and its counters (3,300円,
    6時 10分) and a Latin name (Ｗｉ－Ｆｉ) are one base each."""
    runs: list[Run] = []
    pos = 0
    for surface, kana, tag in words:
        start = text.find(surface, pos)
        if start == -1:
            raise ValueError(f"analyser lost '{surface}' in '{text}'")
        if start > pos:
            runs.append(Run(text[pos:start], False, []))
        pos = start + len(surface)
        pieces = split_word(surface)
        for (piece, needy), guess in zip(pieces, align_word(pieces, kana)):
            runs.append(Run(piece, needy, guesses_for(piece, guess) if needy else [], tag))
    if pos < len(text):
        runs.append(Run(text[pos:], False, []))
    merged: list[Run] = []
    for i, run in enumerate(runs):
        last = merged[-1] if merged else None
        nxt = runs[i + 1] if i + 1 < len(runs) else None
        joins = False
        if last is not None and last.number:
            digit_next = run.text[:1].isdigit()
            latin_last = last.text[-1:].isalpha() and not F.is_kanji(last.text[-1])
            if all(c in JOINERS for c in run.text) and nxt is not None and nxt.number:
                joins = True  # 3,300 and Ｗｉ－Ｆｉ
            elif run.needy and last.text[-1] in JOINERS:
                joins = True
            elif run.needy and digit_next:
                joins = True  # 7時45分 and 4月20日 are read as one
            elif run.needy and latin_last and run.number and not digit_next:
                joins = True  # Ｓ Ｉ Ｍ
            elif run.needy and not digit_next and not latin_last and (
                    any(p in run.pos for p in COUNTER_POS) or "数詞" in run.pos):
                joins = True  # 1週間, 1万円, 6時半
        if joins:
            last.text += run.text
            last.needy = True
            last.guesses = []
        else:
            merged.append(run)
    return merged


def split_word(surface: str) -> list[tuple[str, bool]]:
    pieces: list[tuple[str, bool]] = []
    for ch in surface:
        needy = F.needs_reading(ch)
        if pieces and pieces[-1][1] == needy:
            pieces[-1] = (pieces[-1][0] + ch, needy)
        else:
            pieces.append((ch, needy))
    return pieces


def align_word(pieces: list[tuple[str, bool]], kana: str | None) -> list[str | None]:
    """The analyser's reading shared out among a word's stems: 乗り換え ->
    の, か. None where it cannot be shared out."""
    if kana is None:
        return [None] * len(pieces)
    pattern = "".join("(.+?)" if needy else re.escape(hiragana(t)) for t, needy in pieces)
    m = re.fullmatch(pattern, kana)
    if not m:
        return [None] * len(pieces)
    groups = iter(m.groups())
    return [next(groups) if needy else None for _, needy in pieces]


def kana_class(ch: str) -> str:
    """Matches ch in hiragana or in katakana."""
    h = hiragana(ch)
    k = "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3096" else c for c in ch)
    return "[" + re.escape(h) + re.escape(k) + "]" if h != k else re.escape(ch)


def fit(runs: list[Run], kana: str) -> list[str] | None:
    """Readings for the needy runs that spell `kana` with the literal runs
    in place, taking the analyser's guesses wherever they fit."""
    literal = [re.compile("".join(kana_class(c) for c in r.text)) for r in runs]

    @functools.lru_cache(maxsize=None)
    def best(i: int, at: int) -> tuple[int, tuple[str, ...]] | None:
        if i == len(runs):
            return (0, ()) if at == len(kana) else None
        run = runs[i]
        if not run.needy:
            m = literal[i].match(kana, at)
            return best(i + 1, m.end()) if m and m.end() - at == len(run.text) else None
        found = None
        for end in range(at + 1, len(kana) + 1):
            piece = kana[at:end]
            rest = best(i + 1, end)
            if rest is None:
                continue
            cost = rest[0] + (0 if hiragana(piece) in run.guesses else 1)
            if found is None or cost < found[0]:
                found = (cost, (piece,) + rest[1])
        return found

    result = best(0, 0)
    return list(result[1]) if result else None


def draft(kanji: str, kana: str, words) -> tuple[str | None, list[str]]:
    """The annotated line and the notes a reviewer should see."""
    runs = runs_of(kanji, words)
    while True:
        readings = fit(runs, kana)
        if readings is None:
            return None, ["no alignment of the kanji-kana and kana renderings"]
        # Two stems side by side whose readings both missed the analyser's
        # become one base: where neither guess fits, the split between them
        # is a guess of ours (日本語 read にほんご, split as に|ほんご).
        index = {id(r): i for i, r in enumerate(runs)}
        missed = {id(r) for r, k in zip([r for r in runs if r.needy], readings) if hiragana(k) not in r.guesses}
        bad = next((r for r in runs if id(r) in missed and index[id(r)] + 1 < len(runs)
                    and id(runs[index[id(r)] + 1]) in missed), None)
        if bad is None:
            break
        lo = index[id(bad)]
        hi = lo + 1
        runs[lo:hi + 1] = [Run("".join(r.text for r in runs[lo:hi + 1]), True, [])]
    notes = []
    out = ""
    for run, reading in zip([r for r in runs if r.needy], readings):
        if not run.guesses or hiragana(reading) not in run.guesses:
            notes.append(f"{run.text}: analyser {'/'.join(run.guesses) or '-'}, kana {reading}")
    readings_iter = iter(readings)
    for run in runs:
        out += F.annotate(run.text, next(readings_iter), out) if run.needy else run.text
    return out, notes + F.check(out, kanji, kana)


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default=str(ROOT / "content" / "readings.txt"))
    ap.add_argument("--keep", action="store_true")
    ap.add_argument("numbers", nargs="*", type=int)
    args = ap.parse_args()
    content = P.load(ROOT)
    todo = [n for n in sorted(content.phrases)
            if any(F.needs_reading(c) for c in content.phrases[n].japanese1)]
    named = set(args.numbers) if args.numbers else None
    old = content.readings if args.keep else {}

    def kept(n: int) -> bool:
        if n not in old:
            return False
        if named is not None:
            return n not in named
        p = content.phrases[n]
        return not F.check(old[n], p.japanese1, p.japanese2)

    fresh = [n for n in todo if not kept(n)]
    analysed = dict(zip(fresh, analyse([content.phrases[n].japanese1 for n in fresh])))
    lines, flagged = [], 0
    for n in todo:
        p = content.phrases[n]
        if n not in analysed:
            lines.append(f"{n:04d} | {old[n]}")
            continue
        line, notes = draft(p.japanese1, p.japanese2, analysed[n])
        if notes:
            flagged += 1
            print(f"{n:04d}\t{line or p.japanese1}\t" + "; ".join(notes))
        lines.append(f"{n:04d} | {line or p.japanese1}")
    header = ("# Readings of every word that holds kanji, for furigana: the format is\n"
              "# in FORMAT.md. Drafted by tools/content/annotate.py, read by hand.\n")
    pathlib.Path(args.out).write_text(header + "\n".join(lines) + "\n", encoding="utf-8")
    print(f"{len(lines)} lines, {len(analysed)} drafted, {flagged} flagged", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
