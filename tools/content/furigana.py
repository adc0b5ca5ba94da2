# SPDX-License-Identifier: GPL-3.0-or-later
"""The reading notation of content/readings.txt: the kanji-kana text with
`{kana}` after each word that holds kanji, 駅{えき}へはどう行{い}けばいいですか？.

A reading's base is the run of kanji just before its `{`; a base that needs
other characters (digits, Latin letters, kana inside a word) starts at a `｜`:
｜7時{しちじ}, ｜ＩＣ{アイシー}カード.
"""
from __future__ import annotations

import dataclasses

MARK = "\uff5c"  # ｜
EXTRA_KANJI = set("\u3005\u3006\u30f6")  # 々 〆 ヶ


def is_kanji(ch: str) -> bool:
    o = ord(ch)
    return (0x3400 <= o <= 0x4DBF or 0x4E00 <= o <= 0x9FFF or 0xF900 <= o <= 0xFAFF
            or ch in EXTRA_KANJI)


def is_kana(ch: str) -> bool:
    """Hiragana, katakana and the long-vowel mark, the letters a reading is spelled in."""
    o = ord(ch)
    return (0x3041 <= o <= 0x3096 or 0x30A1 <= o <= 0x30FA or ch in "ー") and ch != "\u30f6"


def needs_reading(ch: str) -> bool:
    """A character the kana rendering spells otherwise: kanji, digits, Latin letters."""
    return is_kanji(ch) or ch.isdigit() or (ch.isalpha() and not is_kana(ch))


@dataclasses.dataclass
class Reading:
    base: str
    kana: str


def parse(text: str) -> tuple[list[str | Reading], list[str]]:
    """Splits an annotated line into plain text and readings; problems are listed, not raised."""
    parts: list[str | Reading] = []
    problems: list[str] = []
    plain = ""
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == MARK:
            brace = text.find("{", i + 1)
            stop = min((k for k in (text.find(MARK, i + 1), text.find("}", i + 1)) if k != -1),
                       default=-1)
            if brace == -1 or (stop != -1 and stop < brace) or brace == i + 1:
                problems.append(f"'{MARK}' at {i} is not followed by a base and a reading")
                plain += text[i + 1:i + 2]
                i += 2
                continue
            if plain:
                parts.append(plain)
                plain = ""
            base = text[i + 1:brace]
            i = brace
        elif ch == "{":
            k = len(plain)
            while k > 0 and is_kanji(plain[k - 1]):
                k -= 1
            base = plain[k:]
            if not base:
                problems.append(f"reading at {i} has no kanji before it")
            if plain[:k]:
                parts.append(plain[:k])
            plain = ""
        elif ch == "}":
            problems.append(f"'}}' at {i} closes no reading")
            i += 1
            continue
        else:
            plain += ch
            i += 1
            continue
        # text[i] is the '{' of a reading of `base`.
        close = text.find("}", i)
        if close == -1:
            problems.append(f"reading at {i} is not closed")
            break
        kana = text[i + 1:close]
        if not kana or not all(is_kana(c) for c in kana):
            problems.append(f"reading '{kana}' of '{base}' is not kana")
        if "{" in base or "}" in base:
            problems.append(f"base '{base}' holds a brace")
        parts.append(Reading(base, kana))
        i = close + 1
    if plain:
        parts.append(plain)
    for p in parts:
        if isinstance(p, str) and any(is_kanji(c) for c in p):
            problems.append(f"'{p}' holds kanji without a reading")
    return parts, problems


def kanji_text(parts: list[str | Reading]) -> str:
    """The line as the kanji-kana rendering writes it."""
    return "".join(p.base if isinstance(p, Reading) else p for p in parts)


def kana_text(parts: list[str | Reading]) -> str:
    """The line with every reading in place of its base: the kana rendering."""
    return "".join(p.kana if isinstance(p, Reading) else p for p in parts)


def annotate(base: str, kana: str, before: str) -> str:
    """How one reading is written after the text `before`: a bare `{kana}`
    when the base is all kanji and no kanji precedes it unannotated."""
    if all(is_kanji(c) for c in base) and not (before and is_kanji(before[-1])):
        return f"{base}{{{kana}}}"
    return f"{MARK}{base}{{{kana}}}"


def check(annotated: str, kanji: str, kana: str) -> list[str]:
    """Problems of one phrase's reading line against its two renderings."""
    parts, problems = parse(annotated)
    if problems:
        return problems
    if kanji_text(parts) != kanji:
        problems.append(f"without readings it spells '{kanji_text(parts)}', not the kanji-kana '{kanji}'")
    if kana_text(parts) != kana:
        problems.append(f"its readings spell '{kana_text(parts)}', not the kana '{kana}'")
    return problems
