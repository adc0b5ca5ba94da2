#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Speaks every phrase's Japanese with Open JTalk and packs the recordings
into content/generated/data.idx + data.dat with `cliptool build`.

Recordings are cached by the text they speak: content/recordings.tsv keeps,
per phrase, a hash of the spoken text, and a clip whose text is unchanged is
taken back out of the existing archive instead of being spoken again.

Pipeline per clip: open_jtalk (48 kHz mono) -> sox (silence trimmed: none
before the speech, 150 ms after it, 24 kHz) -> gain to the book's loudness
(EBU R 128, -18 LUFS, less where the peak would pass -1 dBFS) -> lame (bare
MPEG-2 layer III mono frames, 48 kbit/s, no tag, no Xing frame); the clip is
decoded and, while its peak passes -1 dBFS, encoded again that much quieter.
The speech then starts about 50 ms into the clip as played, the encoder's
and decoder's delay included, so Play sounds at once.

usage: record.py [--cliptool PATH] [--jobs N] [--force]
"""
from __future__ import annotations

import argparse
import concurrent.futures
import hashlib
import math
import os
import pathlib
import struct
import subprocess
import sys
import tempfile

import clipstats
import phrases as P

ROOT = pathlib.Path(__file__).resolve().parents[2]
GENERATED = ROOT / "content" / "generated"
MANIFEST = ROOT / "content" / "recordings.tsv"
DICTIONARY = "/var/lib/mecab/dic/open-jtalk/naist-jdic"
SHARED = pathlib.Path(os.environ.get("LEXORIA_SHARED_DIR", ROOT.parent / "shared"))
VOICE = SHARED / "voice" / "mei_normal.htsvoice"
MAX_SECONDS = 7.0
# Bump when the pipeline changes so every clip is made again.
PIPELINE = "jtalk-mei/sox-0ms-150ms-24k/r128-n18-peak-n1/lame-m-b48-t/v4"
# Silence kept before the speech: none, the encoder and decoder add about
# 45 ms of their own.
LEAD_SECONDS = 0.0
# Silence kept after it, so the voice dies away instead of stopping.
TAIL_SECONDS = 0.15
# The book's loudness as played; encoding takes about 0.45 LU off the PCM's.
LOUDNESS_LUFS = -18.0
ENCODING_LOSS_LU = 0.45
MAX_LOUDNESS_SHORTFALL_LU = 1.0
PEAK_DB = -1.0
PEAK_PASSES = 3


def text_hash(text: str) -> str:
    return hashlib.sha1((PIPELINE + "\n" + text).encode("utf-8")).hexdigest()[:16]


def read_manifest() -> dict[int, str]:
    if not MANIFEST.exists():
        return {}
    out = {}
    for line in MANIFEST.read_text(encoding="utf-8").splitlines():
        n, h, _ = line.split("\t", 2)
        out[int(n)] = h
    return out


def read_archive() -> dict[int, bytes]:
    idx, dat = GENERATED / "data.idx", GENERATED / "data.dat"
    if not idx.exists() or not dat.exists():
        return {}
    body = dat.read_bytes()
    entries = idx.read_bytes()
    clips = {}
    for k in range(len(entries) // 8):
        off, size = struct.unpack_from("<II", entries, 8 * k)
        clips[k + 1] = body[12 + off:12 + off + size]
    return clips


def speak(text: str, out_mp3: pathlib.Path, work: pathlib.Path) -> str | None:
    """Makes one clip; returns a problem description or None."""
    raw, trimmed = work / "raw.wav", work / "trimmed.wav"
    subprocess.run(["open_jtalk", "-x", DICTIONARY, "-m", str(VOICE), "-ow", str(raw)],
                   input=text.encode("utf-8"), check=True, capture_output=True)
    subprocess.run(["sox", str(raw), str(trimmed),
                    "silence", "1", "0.01", "0.2%", "reverse",
                    "silence", "1", "0.01", "0.2%", "reverse",
                    "rate", "-v", "24000", "pad", str(LEAD_SECONDS), str(TAIL_SECONDS)],
                   check=True, capture_output=True)
    seconds = float(subprocess.run(["soxi", "-D", str(trimmed)], check=True,
                                   capture_output=True, text=True).stdout)
    if seconds > MAX_SECONDS:
        # Speak a little faster rather than lose the end of the phrase.
        fast = work / "fast.wav"
        subprocess.run(["sox", str(trimmed), str(fast), "tempo", "-s",
                        f"{seconds / (MAX_SECONDS - 0.1):.3f}"], check=True, capture_output=True)
        fast.replace(trimmed)
    # One loudness for the book. A clip whose peak would pass -1 dBFS on the
    # way there stays quieter, by at most 1 LU: beyond that its few loudest
    # moments go through sox's limiter instead.
    lufs = clipstats.loudness_lufs(trimmed)
    if not math.isfinite(lufs):
        return "no loudness measured"
    wanted = LOUDNESS_LUFS + ENCODING_LOSS_LU - lufs
    headroom = PEAK_DB - wav_peak_db(trimmed)
    if wanted - headroom > MAX_LOUDNESS_SHORTFALL_LU:
        limited = work / "limited.wav"
        # Peaks taken to full scale and past it by the rest, limited there,
        # then back under -1 dBFS.
        push = headroom - PEAK_DB + (wanted - headroom - MAX_LOUDNESS_SHORTFALL_LU)
        subprocess.run(["sox", str(trimmed), str(limited), "gain", "-l", f"{push:.2f}",
                        "gain", f"{PEAK_DB - 0.1:.2f}"], check=True, capture_output=True)
        limited.replace(trimmed)
        headroom = PEAK_DB - wav_peak_db(trimmed)
        wanted = LOUDNESS_LUFS + ENCODING_LOSS_LU - clipstats.loudness_lufs(trimmed)
    gain = min(wanted, headroom)
    # Encoding moves the peak (up to 2 dB either way): decode, and while the
    # decoded peak passes -1 dBFS, encode again with the overshoot taken off.
    adjusted = work / "adjusted.wav"
    for _ in range(PEAK_PASSES):
        subprocess.run(["sox", str(trimmed), str(adjusted), "gain", f"{gain:.2f}"],
                       check=True, capture_output=True)
        encode(adjusted, out_mp3)
        over = decoded_peak_db(out_mp3, work) - PEAK_DB
        if over <= 0.05:
            return None
        gain -= over
    return f"decoded peak still {over:.2f} dB over {PEAK_DB} dBFS"


def encode(wav: pathlib.Path, out_mp3: pathlib.Path) -> None:
    subprocess.run(["lame", "--quiet", "-m", "m", "-b", "48", "--cbr", "-t",
                    str(wav), str(out_mp3)], check=True, capture_output=True)


def decoded_peak_db(mp3: pathlib.Path, work: pathlib.Path) -> float:
    """The peak of the decoded clip in dBFS."""
    decoded = work / "decoded.wav"
    subprocess.run(["lame", "--quiet", "--decode", str(mp3), str(decoded)],
                   check=True, capture_output=True)
    return wav_peak_db(decoded)


def wav_peak_db(wav: pathlib.Path) -> float:
    """The peak of a sound file in dBFS."""
    stat = subprocess.run(["sox", str(wav), "-n", "stat"], check=True,
                          capture_output=True, text=True).stderr
    values = [abs(float(line.split(":")[1])) for line in stat.splitlines()
              if line.startswith(("Maximum amplitude", "Minimum amplitude"))]
    peak = max(values)
    return 20 * math.log10(peak) if peak > 0 else -120.0


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--cliptool", default=str(ROOT / "build" / "run" / "cliptool"))
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--force", action="store_true", help="speak every phrase again")
    args = ap.parse_args()
    args.cliptool = P.tool_path(args.cliptool)
    if not VOICE.exists():
        print(f"voice not found: {VOICE}", file=sys.stderr)
        return 1
    content = P.load(ROOT)
    if content.errors or len(content.phrases) != P.PHRASE_COUNT:
        print("content does not load; run the validator", file=sys.stderr)
        return 1
    old_hash = {} if args.force else read_manifest()
    old_clip = {} if args.force else read_archive()
    with tempfile.TemporaryDirectory() as tmp:
        clips = pathlib.Path(tmp) / "clips"
        clips.mkdir()
        todo = []
        for n in range(1, P.PHRASE_COUNT + 1):
            h = text_hash(content.phrases[n].spoken)
            target = clips / f"{n:04d}.mp3"
            if old_hash.get(n) == h and old_clip.get(n):
                target.write_bytes(old_clip[n])
            else:
                todo.append(n)

        def job(n: int) -> tuple[int, str | None]:
            work = pathlib.Path(tmp) / f"w{n}"
            work.mkdir()
            return n, speak(content.phrases[n].spoken, clips / f"{n:04d}.mp3", work)

        print(f"speaking {len(todo)} of {P.PHRASE_COUNT} phrases")
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for n, problem in pool.map(job, todo):
                if problem:
                    print(f"{n:04d}: {problem}", file=sys.stderr)
        r = subprocess.run([args.cliptool, "build", str(clips)], cwd=GENERATED)
        if r.returncode != 0:
            print("cliptool build failed", file=sys.stderr)
            return 1
    MANIFEST.write_text("".join(
        f"{n}\t{text_hash(content.phrases[n].spoken)}\t{content.phrases[n].spoken}\n"
        for n in range(1, P.PHRASE_COUNT + 1)), encoding="utf-8")
    print("wrote data.idx, data.dat and recordings.tsv")
    return 0


if __name__ == "__main__":
    sys.exit(main())
