#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of the content tools on small fixtures: the source parser, the
generated record layouts, the validator's group, relation and reading
checks, the reading notation and the reading drafter's alignment.

usage: python3 tools/content/test_content.py
"""
from __future__ import annotations

import pathlib
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import annotate as A  # noqa: E402
import categories as C  # noqa: E402
import furigana as F  # noqa: E402
import generate as G  # noqa: E402
import phrases as P  # noqa: E402
import readings as RD  # noqa: E402
import romaji  # noqa: E402
import sample  # noqa: E402
import synonyms as S  # noqa: E402
import validate as V  # noqa: E402


def write_content(root: pathlib.Path, phrase_text: str, related: str | None = None) -> None:
    (root / "content" / "phrases").mkdir(parents=True)
    (root / "content" / "phrases" / "01-basic.txt").write_text(phrase_text, encoding="utf-8")
    if related is not None:
        (root / "content" / "related.txt").write_text(related, encoding="utf-8")


def full_content(groups: list[P.Group] = (), related: dict[int, list[int]] | None = None) -> P.Content:
    """826 distinct phrases, optionally with template groups over them."""
    phrases = {n: P.Phrase(n, f"Phrase {n}.", "です。", "です。", "Desu.", "x.txt", n)
               for n in range(1, P.PHRASE_COUNT + 1)}
    for g in groups:
        for n in range(g.first, g.last + 1):
            phrases[n].group_head, phrases[n].group_size = g.first, g.size
    return P.Content(phrases, list(groups), [], related or {}, [])


class ParserTest(unittest.TestCase):
    def test_three_phrases_with_group_say_and_related(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = pathlib.Path(tmp)
            write_content(root, "\n".join([
                "# comment",
                "== Greetings (1-7)",
                "group 0001-0002 | Good [morning|evening].",
                "0001 | Good [morning]. | おはようございます。 | おはようございます。 | Ohayō gozaimasu.",
                "0002 | Good [evening]. | 今晩は。 | こんばんは。 | Konbanwa.",
                "say 0002 | こんばんは。",
                "",
                "0003 | Goodbye. | さようなら。 | さようなら。 | Sayōnara.",
            ]), "0001: 0002 0003  # greetings\n0002: 0001 0003\n")
            c = P.load(root)
        self.assertEqual(c.errors, [])
        self.assertEqual(sorted(c.phrases), [1, 2, 3])
        self.assertEqual(c.phrases[2].spoken, "こんばんは。")
        self.assertEqual(c.phrases[3].spoken, "さようなら。")
        self.assertEqual([(p.group_head, p.group_size) for p in c.phrases.values()],
                         [(1, 2), (1, 2), (None, 1)])
        self.assertEqual(c.related, {1: [2, 3], 2: [1, 3]})
        self.assertEqual(c.sections, [("Greetings", 1, 7, "01-basic.txt", 2)])

    def test_format_errors_are_collected_with_their_line(self):
        cases = [
            ("0001 | Hello. | こんにちは。 | こんにちは。", "01-basic.txt:1: expected 5 fields"),
            ("say 0001 | こんにちは。", "01-basic.txt:1: say for phrase 1 before the phrase"),
            ("0001 | A. | あ。 | あ。 | A.\n0001 | B. | い。 | い。 | I.", "01-basic.txt:2: phrase 1 defined twice"),
            ("Hello there", "01-basic.txt:1: unrecognised line"),
        ]
        for text, error in cases:
            with self.subTest(error=error), tempfile.TemporaryDirectory() as tmp:
                write_content(pathlib.Path(tmp), text)
                errors = P.load(pathlib.Path(tmp)).errors
                self.assertEqual(len(errors), 1, errors)
                self.assertTrue(errors[0].startswith(error), errors[0])

    def test_reading_lines(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = pathlib.Path(tmp)
            write_content(root, "0001 | Station. | 駅。 | えき。 | Eki.")
            (root / "content" / "readings.txt").write_text(
                "# readings\n\n0001 | 駅{えき}。\n0002 駅{えき}\n0001 | 駅{えき}です。\n", encoding="utf-8")
            c = P.load(root)
        self.assertEqual(c.readings, {1: "駅{えき}です。"})
        self.assertEqual([e.split(": ", 1)[0] for e in c.errors], ["readings.txt:4", "readings.txt:5"])

    def test_bad_related_line(self):
        with tempfile.TemporaryDirectory() as tmp:
            write_content(pathlib.Path(tmp), "", "0001: 0002 x3\n")
            self.assertEqual(P.load(pathlib.Path(tmp)).errors,
                             ["related.txt:1: not 'NNNN: NNNN NNNN ...'"])

    def test_template_choices(self):
        self.assertEqual(P.reduce_slots("A [b|c] d [e|f]."), "A [b] d [e].")
        self.assertEqual(P.all_choices("[a|b] [c|d]"), {"[a] [c]", "[a] [d]", "[b] [c]", "[b] [d]"})
        self.assertEqual(P.all_choices("No slots."), {"No slots."})

    def test_tool_path(self):
        self.assertEqual(P.tool_path("phrasebuild"), "phrasebuild")
        self.assertEqual(P.tool_path(None), None)
        self.assertTrue(pathlib.Path(P.tool_path("build/run/phrasebuild")).is_absolute())


class GeneratedLayoutTest(unittest.TestCase):
    def test_relate_bits_most_significant_first(self):
        c = full_content(related={1: [2, 9], 826: [1, 826 - 1]})
        data = G.relate_file(c)
        self.assertEqual(len(data), 104 * 826)
        self.assertEqual(data[0:2], b"\x40\x80")          # phrase 2: bit 6 of byte 0, phrase 9: bit 7 of byte 1
        self.assertEqual(sum(data[2:104]), 0)
        last = data[825 * 104:]
        self.assertEqual(last[0], 0x80)                   # phrase 1
        self.assertEqual(last[103], 0x80)                 # phrase 825 opens byte 103 (826 would be 0x40)
        self.assertEqual(sum(data[104:825 * 104]), 0)

    def test_template_records(self):
        c = full_content(groups=[P.Group(5, 6, "Good [a|b].", "x.txt", 1)])
        data = G.template_file(c)
        self.assertEqual(len(data), 178 * 826)

        def record(n):
            rec = data[(n - 1) * 178:n * 178]
            return rec[:176].rstrip(b"\0"), struct.unpack("<h", rec[176:])[0]

        self.assertEqual(record(5), (b"Good [a|b].", 2))  # head: the template
        self.assertEqual(record(6), (b"Phrase 6.", 2))     # member: its own English
        self.assertEqual(record(7), (b"Phrase 7.", 1))

    def test_template_too_long_is_refused(self):
        c = full_content()
        c.phrases[3].english = "x" * 176
        with self.assertRaises(ValueError):
            G.template_file(c)

    def test_readings_file(self):
        c = full_content()
        c.readings = {12: "駅{えき}", 3: "｜7時{しちじ}"}
        self.assertEqual(G.readings_file(c), "0003\t｜7時{しちじ}\n0012\t駅{えき}\n".encode("utf-8"))
        self.assertIn("Readings.txt", G.generated_sources(c))

    def test_utf16_lines(self):
        self.assertEqual(G.utf16_lines(["a", "é"]), "\ufeffa\r\né\r\n".encode("utf-16-le"))


class ValidatorTest(unittest.TestCase):
    def group_problems(self, template, english, first=1, last=2):
        c = full_content(groups=[P.Group(first, last, template, "x.txt", 1)])
        for n, text in zip(range(first, last + 1), english):
            c.phrases[n].english = text
        problems = []
        V.check_groups(c, problems)
        return [p for p in problems if "template groups" not in p]

    def test_groups(self):
        cases = [
            ("good group", "Good [a|b].", ["Good [a].", "Good [b]."], None),
            ("head is not the first choice", "Good [a|b].", ["Good [b].", "Good [a]."], "head line"),
            ("choice without a phrase", "Good [a|b|c].", ["Good [a].", "Good [b]."], "no phrase for ['Good [c].']"),
            ("phrase that is no choice", "Good [a|b].", ["Good [a].", "Good [z]."], "phrases not a choice"),
        ]
        for name, template, english, expected in cases:
            with self.subTest(name):
                problems = self.group_problems(template, english)
                if expected is None:
                    self.assertEqual(problems, [])
                else:
                    self.assertTrue(any(expected in p for p in problems), problems)

    def test_group_across_sub_categories(self):
        # 7 is the last Greeting, 8 the first Language phrase.
        problems = self.group_problems("Good [a|b].", ["Good [a].", "Good [b]."], 7, 8)
        self.assertTrue(any("crosses a sub-category" in p for p in problems), problems)

    def test_range_starting_inside_a_group(self):
        problems = self.group_problems("Good [a|b|c].", ["Good [a].", "Good [b].", "Good [c]."], 6, 8)
        self.assertTrue(any("range 102 (8-23) starts inside the group of 6" in p for p in problems), problems)

    def test_headers_and_program_tables_against_the_range_table(self):
        c = full_content()
        c.sections = [(name, first, last, "x.txt", 1)
                      for _, _, subs in C.CATEGORIES for name, first, last in subs[1:]]
        problems = []
        V.check_tables(c, problems)
        self.assertEqual(problems, [])
        c.sections[0] = ("Greetings", 1, 8, "x.txt", 1)
        V.check_tables(c, problems)
        self.assertEqual(problems, ["header '== Greetings (1-8)' is not a sub-category of the table",
                                    "sub-category Greetings (1-7) has no '==' header"])

    def test_related(self):
        related = {n: [n % 826 + 1, (n + 1) % 826 + 1] for n in range(1, 827)}
        cases = [
            ("all fine", {}, []),
            ("one related phrase", {5: [6]}, ["related: phrase 5 has 1 related phrases (2 to 8)"]),
            ("nine", {5: list(range(10, 19))}, ["related: phrase 5 has 9 related phrases (2 to 8)"]),
            ("itself", {5: [5, 6]}, ["related: phrase 5 names itself or a number outside 1-826"]),
            ("outside", {5: [6, 827]}, ["related: phrase 5 names itself or a number outside 1-826"]),
            ("missing line", {5: None}, ["related: phrase 5 has no line"]),
        ]
        for name, change, expected in cases:
            with self.subTest(name):
                rel = dict(related)
                for n, targets in change.items():
                    if targets is None:
                        del rel[n]
                    else:
                        rel[n] = targets
                problems = []
                V.check_related(full_content(related=rel), problems)
                self.assertEqual(problems, expected)

    def test_variant_with_its_heads_related_list(self):
        related = {n: [n % 826 + 1, (n + 1) % 826 + 1] for n in range(1, 827)}
        groups = [P.Group(10, 12, "Go [a|b|c].", "x.txt", 1)]
        cases = [
            ("own lists", {}, []),
            ("copied in another order", {10: [1, 2], 11: [2, 1]},
             ["related: phrase 11 has its group head 10's list"]),
            ("single phrases may share", {20: [1, 2], 21: [1, 2]}, []),
        ]
        for name, change, expected in cases:
            with self.subTest(name):
                rel = dict(related)
                rel.update(change)
                problems = []
                V.check_related(full_content(groups, rel), problems)
                self.assertEqual(problems, expected)

    def test_phrase_rules(self):
        cases = [
            ("long English", "english", "x" * 59, "English must be 1 to 58"),
            ("non-ASCII English", "english", "Café.", "English must be 1 to 58"),
            ("kanji in kana", "japanese2", "駅です。", "kana rendering holds kanji"),
            ("Latin in Japanese", "japanese1", "Tシャツです。", "Japanese holds Latin letters"),
            ("lower-case romaji", "pron", "desu.", "does not start with a capital"),
            ("Japanese too long", "japanese1", "あ" * 109, "Japanese must be 1 to 108 units"),
            ("repeated English", "english", "Phrase 3.", "English repeats phrase 3"),
            ("romaji of another word", "pron", "Masu.", "does not spell the kana rendering"),
            ("numerals without a say line", "japanese1", "7時です。", "Arabic numerals without a say line"),
        ]
        for name, field, value, expected in cases:
            with self.subTest(name):
                c = full_content()
                setattr(c.phrases[10], field, value)
                problems = []
                V.check_phrases(c, problems)
                self.assertEqual(len(problems), 1, problems)
                self.assertIn(expected, problems[0])


    def test_numerals_spoken_from_a_say_line(self):
        cases = [
            ("kana say line", "しちじです。", []),
            ("say line keeping the numeral", "7じです。", ["Arabic numerals without a say line"]),
        ]
        for name, say, expected in cases:
            with self.subTest(name):
                c = full_content()
                c.phrases[10].japanese1, c.phrases[10].say = "7時です。", say
                problems = []
                V.check_phrases(c, problems)
                self.assertEqual([e for e in expected if any(e in p for p in problems)], expected)
                self.assertEqual(len(problems), len(expected), problems)


    def test_readings(self):
        cases = [
            ("reading that spells the kana", {10: "駅{えき}です。"}, []),
            ("no line", {}, ["readings: phrase 10 holds kanji and has no line"]),
            ("wrong reading", {10: "駅{えけ}です。"},
             ["readings: phrase 10: its readings spell 'えけです。', not the kana 'えきです。'"]),
            ("other kanji", {10: "馬{えき}です。"},
             ["readings: phrase 10: without readings it spells '馬です。', not the kanji-kana '駅です。'"]),
            ("kanji left bare", {10: "駅です。"}, ["readings: phrase 10: '駅です。' holds kanji without a reading"]),
            ("line for a phrase with nothing to read", {10: "駅{えき}です。", 11: "です。"},
             ["readings: phrase 11 has nothing to read and needs no line"]),
            ("line for no phrase", {10: "駅{えき}です。", 900: "駅{えき}"}, ["readings: phrase 900 does not exist"]),
        ]
        for name, readings, expected in cases:
            with self.subTest(name):
                c = full_content()
                c.phrases[10].japanese1, c.phrases[10].japanese2 = "駅です。", "えきです。"
                c.readings = readings
                problems = []
                differ = V.check_readings(c, problems)
                self.assertEqual(problems, expected)
                self.assertEqual(differ, sum(": phrase 10: " in p for p in expected))


class SynonymsTest(unittest.TestCase):
    def test_groups_and_their_faults(self):
        cases = [
            ("# a comment\n\ntoilet, restroom, loo\ncash machine, atm\n", 2, []),
            ("wi-fi, wifi, men's room, men\n", 1, []),
            ("lonely\n", 0, ["two or more"]),
            ("toilet,restroom\n", 0, ["two or more"]),
            ("Toilet, loo\n", 1, ["lower-case"]),
            ("toilet, , loo\n", 1, ["lower-case"]),
            ("a b c d e, x\n", 1, ["more than 4 words"]),
            ("loo, loo\n", 1, ["twice"]),
            ("loo, wc\nwc, loo\n", 2, ["same group as line 1"]),
        ]
        for text, groups, faults in cases:
            problems = []
            self.assertEqual(S.check(text, problems), groups, text)
            self.assertEqual(len(problems), len(faults), (text, problems))
            for fault, problem in zip(faults, problems):
                self.assertIn(fault, problem)

    def test_the_list_in_the_content(self):
        problems = []
        text = (pathlib.Path(__file__).resolve().parents[2] / "content" / "synonyms.txt").read_text(encoding="utf-8")
        self.assertGreater(S.check(text, problems), 50)
        self.assertEqual(problems, [])


class FuriganaTest(unittest.TestCase):
    def test_renderings(self):
        cases = [
            ("駅{えき}へはどう行{い}けばいいですか？", "駅へはどう行けばいいですか？", "えきへはどういけばいいですか？"),
            ("日本{にほん}語{ご}", "日本語", "にほんご"),
            ("｜7時45分{しちじよんじゅうごふん}です。", "7時45分です。", "しちじよんじゅうごふんです。"),
            ("｜ＩＣ{アイシー}カード", "ＩＣカード", "アイシーカード"),
            ("｜お土産{おみやげ}", "お土産", "おみやげ"),
            ("人々{ひとびと}と", "人々と", "ひとびとと"),
            ("スペイン語{ご}", "スペイン語", "スペインご"),
            ("ありがとう", "ありがとう", "ありがとう"),
        ]
        for annotated, kanji, kana in cases:
            with self.subTest(annotated):
                parts, problems = F.parse(annotated)
                self.assertEqual(problems, [])
                self.assertEqual((F.kanji_text(parts), F.kana_text(parts)), (kanji, kana))
                self.assertEqual(F.check(annotated, kanji, kana), [])

    def test_malformed_lines(self):
        cases = [
            ("{えき}です", "has no kanji before it"),
            ("駅{えき", "is not closed"),
            ("駅です", "holds kanji without a reading"),
            ("駅{eki}", "is not kana"),
            ("駅{}", "is not kana"),
            ("｜駅", "is not followed by a base and a reading"),
            ("｜{えき}", "is not followed by a base and a reading"),
            ("えき}", "closes no reading"),
        ]
        for annotated, expected in cases:
            with self.subTest(annotated):
                problems = F.parse(annotated)[1]
                self.assertTrue(any(expected in p for p in problems), problems)

    def test_how_a_reading_is_written(self):
        self.assertEqual(F.annotate("駅", "えき", "この"), "駅{えき}")
        self.assertEqual(F.annotate("語", "ご", "日本{にほん}"), "語{ご}")
        self.assertEqual(F.annotate("7時", "しちじ", ""), "｜7時{しちじ}")


class DraftTest(unittest.TestCase):
    """The drafter on analyser output written by hand, as MeCab gives it."""

    def test_readings_taken_from_the_kana_rendering(self):
        noun, counter, num, verb = "名詞,普通名詞,一般,", "名詞,普通名詞,助数詞可能,", "名詞,数詞,,", "動詞,一般,,"
        particle = "助詞,格助詞,,"
        cases = [
            ("the analyser's reading where it fits, the kana's where not",
             "日本語を話せます。", "にほんごをはなせます。",
             [("日本", "にっぽん", noun), ("語", "ご", noun), ("を", "を", particle), ("話せ", "はなせ", verb),
              ("ます", "ます", particle), ("。", None, "補助記号")],
             "日本{にほん}語{ご}を話{はな}せます。"),
            ("a clock time is one base", "7時45分です。", "しちじよんじゅうごふんです。",
             [("7", "なな", num), ("時", "じ", counter), ("45", "よんご", num), ("分", "ぷん", counter),
              ("です", "です", "助動詞"), ("。", None, "補助記号")],
             "｜7時45分{しちじよんじゅうごふん}です。"),
            ("a number takes its counter, not the next word", "1週間滞在します。", "いっしゅうかんたいざいします。",
             [("1", "いち", num), ("週間", "しゅうかん", "接尾辞,名詞的,一般,"), ("滞在", "たいざい", noun),
              ("し", "し", verb), ("ます", "ます", "助動詞"), ("。", None, "補助記号")],
             "｜1週間{いっしゅうかん}滞在{たいざい}します。"),
            ("a Latin name with its joiner", "Ｗｉ－Ｆｉです。", "ワイファイです。",
             [("Ｗ", "だぶりゅー", "記号,文字,,"), ("ｉ", "あい", "記号,文字,,"), ("－", None, "名詞,普通名詞,,"),
              ("Ｆ", "えふ", "記号,文字,,"), ("ｉ", "あい", "記号,文字,,"), ("です", "です", "助動詞"),
              ("。", None, "補助記号")],
             "｜Ｗｉ－Ｆｉ{ワイファイ}です。"),
            ("okurigana inside a word", "乗り換えます", "のりかえます",
             [("乗り換え", "のりかえ", verb), ("ます", "ます", "助動詞")], "乗{の}り換{か}えます"),
            ("a stem whose guess misses, beside one whose guess fits", "小型車です", "こがたしゃです",
             [("小型", "こがた", noun), ("車", "くるま", noun), ("です", "です", "助動詞")], "小型{こがた}車{しゃ}です"),
            ("two stems whose guesses miss become one base", "東京都です", "とうきょうとです",
             [("東京", "ひがしきょう", noun), ("都", "みやこ", noun), ("です", "です", "助動詞")], "東京都{とうきょうと}です"),
        ]
        for name, kanji, kana_line, words, expected in cases:
            with self.subTest(name):
                line, notes = A.draft(kanji, kana_line, words)
                self.assertEqual(line, expected)
                self.assertEqual(F.check(line, kanji, kana_line), [])

    def test_renderings_that_do_not_align(self):
        line, notes = A.draft("駅です", "えきでした", [("駅", "えき", "名詞"), ("です", "です", "助動詞")])
        self.assertIsNone(line)
        self.assertTrue(notes)


class RomajiTest(unittest.TestCase):
    def test_pronunciation_against_kana(self):
        cases = [
            ("particles as spoken", "えきはどこですか？", "Eki wa doko desu ka?", True),
            ("へ as e", "えきへはどういけばいいですか？", "Eki e wa dō ikeba ii desu ka?", True),
            ("long vowels with macrons", "とうきょう", "Tōkyō", True),
            ("missing macrons", "とうきょう", "Tokyo", False),
            ("katakana long mark", "ラーメン", "Rāmen", True),
            ("long mark missed", "ラーメン", "Ramen", False),
            ("double consonant and tch", "まっちゃアイス", "Matcha aisu", True),
            ("small vowels in loanwords", "ティーシャツ", "Tīshatsu", True),
            ("syllabic n before a vowel", "きんえん", "Kin'en", True),
            ("apostrophe missing before a vowel", "きんえん", "Kinen", False),
            ("apostrophe missing before y", "ほけんように", "Hokenyō ni", False),
            ("apostrophe before y", "ほけんように", "Hoken'yō ni", True),
            ("stray apostrophe", "かんこく", "Kan'koku", False),
            ("n ending a word before a vowel", "ごはんをください", "Gohan o kudasai", True),
            ("n ending a word before the particle e", "にほんへいきます", "Nihon e ikimasu", True),
            ("n ending a word before wa", "こんばんは", "Konbanwa", True),
            ("verb ending in o + u", "おもうのですが", "omou no desu ga", True),
            ("ei and ii as spelled", "えいご、いいです", "Eigo, ii desu", True),
            ("another word", "すし", "Sashimi", False),
            ("a word dropped", "これをふたつください。", "Kore o kudasai.", False),
        ]
        for name, kana, pron, ok in cases:
            with self.subTest(name):
                self.assertEqual(romaji.agrees(kana, pron), ok)


class SampleTest(unittest.TestCase):
    def test_a_seed_draws_one_sample_of_distinct_phrases(self):
        first = sample.draw(2026, 80)
        self.assertEqual(first, sample.draw(2026, 80))
        self.assertEqual(len(set(first)), 80)
        self.assertEqual(first, sorted(first))
        self.assertTrue(all(1 <= n <= P.PHRASE_COUNT for n in first))
        self.assertNotEqual(first, sample.draw(2027, 80))


class ReadingTest(unittest.TestCase):
    def test_normal_ignores_script_punctuation_and_ji_zu_spelling(self):
        self.assertEqual(RD.normal("あづける、ニモツ？"), RD.normal("アズケル ニモツ"))
        self.assertNotEqual(RD.normal("つらい"), RD.normal("からい"))


if __name__ == "__main__":
    unittest.main()
