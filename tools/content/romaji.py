# SPDX-License-Identifier: GPL-3.0-or-later
"""Whether a pronunciation spells the kana rendering it stands beside.

Both are reduced to one key: the kana spelled out letter by letter (おう as
"ou", ー as the vowel again), the romaji with each macron as its doubled
vowel; then ou and oo are one, は/わ and へ/え are one (particles are written
as spoken), and spaces, capitals and punctuation go. ん before a vowel or y
is spelled n' (kin'en, hon'yaku); in the romaji a word ending in n before a
word starting with a vowel or y reads the same, since the space divides them
as the apostrophe does. A missing macron, a wrong syllable, a dropped word or
a missing (or stray) apostrophe makes the keys differ; word division and
capitals are left to the romaji rules.
"""
from __future__ import annotations

import re

_KANA = dict(zip(
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉゔ",
    "a i u e o ka ki ku ke ko sa shi su se so ta chi tsu te to na ni nu ne no ha hi fu he ho "
    "ma mi mu me mo ya yu yo ra ri ru re ro wa o n ga gi gu ge go za ji zu ze zo da ji zu de do "
    "ba bi bu be bo pa pi pu pe po a i u e o vu".split()))
_SMALL_Y = {"ゃ": "a", "ゅ": "u", "ょ": "o"}
_SMALL_VOWEL = {"ぁ": "a", "ぃ": "i", "ぅ": "u", "ぇ": "e", "ぉ": "o"}
_MACRONS = {"ā": "aa", "ī": "ii", "ū": "uu", "ē": "ee", "ō": "oo"}


def _hiragana(text: str) -> str:
    return "".join(chr(ord(ch) - 0x60) if "ァ" <= ch <= "ヶ" else ch for ch in text)


def _starts_with_vowel_or_y(rest: str) -> bool:
    """Whether the kana after a ん starts with a vowel or y (へ included:
    the particle is spoken e)."""
    if not rest:
        return False
    first = _KANA.get(rest[0], "")
    return rest[0] == "へ" or first[:1] in ("a", "i", "u", "e", "o", "y")


def spell(kana: str) -> str:
    """The kana letter by letter in Hepburn; characters that are not kana drop out."""
    s = _hiragana(kana)
    out = []
    i = 0
    while i < len(s):
        ch, nxt = s[i], s[i + 1] if i + 1 < len(s) else ""
        if ch == "っ":
            out.append("#")
        elif ch == "ー":
            vowels = [c for c in "".join(out) if c in "aeiou"]
            out.append(vowels[-1] if vowels else "")
        elif ch in _KANA and nxt in _SMALL_Y:
            stem = _KANA[ch][:-1]
            out.append(stem + ("" if stem in ("sh", "ch", "j") else "y") + _SMALL_Y[nxt])
            i += 1
        elif ch in _KANA and nxt in _SMALL_VOWEL:
            out.append(_KANA[ch][:-1] + _SMALL_VOWEL[nxt])
            i += 1
        elif ch == "ん" and _starts_with_vowel_or_y(s[i + 1:]):
            out.append("n'")
        else:
            out.append(_KANA.get(ch, ""))
        i += 1
    text = "".join(out)
    text = re.sub(r"#(ch)", r"t\1", text)
    return re.sub(r"#(.)", r"\1\1", text).replace("#", "")


def _key(romaji: str) -> str:
    text = romaji.lower()
    for macron, double in _MACRONS.items():
        text = text.replace(macron, double)
    # A word ending in n before one starting with a vowel or y: the space
    # does what the apostrophe does inside a word.
    text = re.sub(r"n\s+(?=[aeiouy])", "n'", text)
    text = re.sub(r"[^a-z']", "", text).replace("ou", "oo")
    return text.replace("ha", "wa").replace("he", "e")


def agrees(kana: str, pron: str) -> bool:
    return _key(spell(kana)) == _key(pron)
