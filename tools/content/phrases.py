# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the phrase sources under content/phrases/ and content/related.txt.

One place knows the source format (content/FORMAT.md); the generator, the
recorder and the validator all read the content through it.
"""
from __future__ import annotations

import dataclasses
import itertools
import pathlib
import re

PHRASE_COUNT = 826
SEP = " | "


@dataclasses.dataclass
class Phrase:
    number: int
    english: str
    japanese1: str
    japanese2: str
    pron: str
    file: str
    line: int
    say: str | None = None          # kana reading for the speech synthesiser
    group_head: int | None = None   # head phrase of its template group
    group_size: int = 1

    @property
    def spoken(self) -> str:
        return self.say or self.japanese1


@dataclasses.dataclass
class Group:
    first: int
    last: int
    template: str
    file: str
    line: int

    @property
    def size(self) -> int:
        return self.last - self.first + 1


@dataclasses.dataclass
class Content:
    phrases: dict[int, Phrase]
    groups: list[Group]
    sections: list[tuple[str, int, int, str, int]]  # name, first, last, file, line
    related: dict[int, list[int]]
    errors: list[str]
    readings: dict[int, str] = dataclasses.field(default_factory=dict)  # annotated lines


_PHRASE = re.compile(r"^(\d{4}) \| ")
_GROUP = re.compile(r"^group (\d{4})-(\d{4}) \| (.*)$")
_SAY = re.compile(r"^say (\d{4}) \| (.*)$")
_READING = re.compile(r"^(\d{4}) \| (\S.*)$")
_SECTION = re.compile(r"^== (.*) \((\d+)-(\d+)\)\s*$")


def content_dir(root: pathlib.Path) -> pathlib.Path:
    return root / "content"


def load(root: pathlib.Path) -> Content:
    """Parses every phrase file; format problems are collected, not raised."""
    phrases: dict[int, Phrase] = {}
    groups: list[Group] = []
    sections = []
    errors: list[str] = []
    for path in sorted((content_dir(root) / "phrases").glob("*.txt")):
        name = path.name
        for lineno, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            line = raw.rstrip()
            where = f"{name}:{lineno}"
            if not line or line.startswith("#"):
                continue
            if m := _SECTION.match(line):
                sections.append((m.group(1), int(m.group(2)), int(m.group(3)), name, lineno))
            elif m := _GROUP.match(line):
                groups.append(Group(int(m.group(1)), int(m.group(2)), m.group(3), name, lineno))
            elif m := _SAY.match(line):
                n = int(m.group(1))
                if n not in phrases:
                    errors.append(f"{where}: say for phrase {n} before the phrase")
                else:
                    phrases[n].say = m.group(2).strip()
            elif _PHRASE.match(line):
                fields = line.split(SEP)
                if len(fields) != 5:
                    errors.append(f"{where}: expected 5 fields, found {len(fields)}")
                    continue
                n = int(fields[0])
                if n in phrases:
                    errors.append(f"{where}: phrase {n} defined twice")
                phrases[n] = Phrase(n, *[f.strip() for f in fields[1:]], file=name, line=lineno)
            else:
                errors.append(f"{where}: unrecognised line: {line[:40]}")
    for g in groups:
        for n in range(g.first, g.last + 1):
            if n in phrases:
                phrases[n].group_head = g.first
                phrases[n].group_size = g.size
    related = load_related(root, errors)
    return Content(phrases, groups, sections, related, errors, load_readings(root, errors))


def load_related(root: pathlib.Path, errors: list[str]) -> dict[int, list[int]]:
    path = content_dir(root) / "related.txt"
    related: dict[int, list[int]] = {}
    if not path.exists():
        return related
    for lineno, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        head, _, rest = line.partition(":")
        try:
            related[int(head)] = [int(x) for x in rest.split()]
        except ValueError:
            errors.append(f"related.txt:{lineno}: not 'NNNN: NNNN NNNN ...'")
    return related


def load_readings(root: pathlib.Path, errors: list[str]) -> dict[int, str]:
    """content/readings.txt: `NNNN | annotated Japanese` lines."""
    path = content_dir(root) / "readings.txt"
    readings: dict[int, str] = {}
    if not path.exists():
        return readings
    for lineno, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip()
        if not line or line.startswith("#"):
            continue
        m = _READING.match(line)
        if not m:
            errors.append(f"readings.txt:{lineno}: not 'NNNN | annotated Japanese'")
            continue
        n = int(m.group(1))
        if n in readings:
            errors.append(f"readings.txt:{lineno}: phrase {n} has a second line")
        readings[n] = m.group(2)
    return readings


def reduce_slots(template: str, choose=lambda alts: alts[0]) -> str:
    """The line a template shows with one alternative chosen per slot."""
    return re.sub(r"\[([^\]]*)\]", lambda m: "[" + choose(m.group(1).split("|")) + "]", template)


def slot_alternatives(template: str) -> list[list[str]]:
    return [m.split("|") for m in re.findall(r"\[([^\]]*)\]", template)]


def template_of(content: Content, n: int) -> str:
    """What MapEngSpec.data holds for phrase n."""
    for g in content.groups:
        if g.first == n:
            return g.template
    return content.phrases[n].english


def all_choices(template: str) -> set[str]:
    """Every line the user can reach by choosing alternatives in the slots."""
    lines = set()
    for choice in itertools.product(*slot_alternatives(template)):
        picks = iter(choice)
        lines.add(reduce_slots(template, lambda _alts: next(picks)))
    return lines


def tool_path(arg: str | None) -> str | None:
    """A tool given as a path is made absolute, since the tools run in other
    directories; a bare name is left for PATH to find."""
    if arg and ("/" in arg):
        return str(pathlib.Path(arg).resolve())
    return arg
