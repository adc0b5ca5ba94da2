#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the recordings as the player plays them: for every clip of the
archive in the current folder, where its speech starts (the first sample
above -40 dBFS, in ms from the clip's start, the decoder's first frame
included) and its loudness (EBU R 128 integrated, LUFS, by ffmpeg).

usage: clipstats.py [--cliptool PATH] [--jobs N] [--tsv FILE] [N ...]
"""
from __future__ import annotations

import argparse
import concurrent.futures
import math
import pathlib
import re
import statistics
import struct
import subprocess
import sys
import tempfile
import wave

ONSET_DBFS = -40.0


def onset_ms(wav_path: pathlib.Path) -> float:
    with wave.open(str(wav_path)) as w:
        rate, channels, width = w.getframerate(), w.getnchannels(), w.getsampwidth()
        frames = w.readframes(w.getnframes())
    assert width == 2
    samples = struct.unpack(f"<{len(frames) // 2}h", frames)
    limit = 32768 * 10 ** (ONSET_DBFS / 20)
    for i, s in enumerate(samples):
        if abs(s) > limit:
            return 1000.0 * (i // channels) / rate
    return math.inf


def loudness_lufs(wav_path: pathlib.Path) -> float:
    out = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-i", str(wav_path),
                          "-af", "ebur128", "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    found = re.findall(r"I:\s+(-?[\d.]+) LUFS", out)
    return float(found[-1]) if found else -math.inf


def clip_count(cliptool: str) -> int:
    out = subprocess.run([cliptool, "list"], capture_output=True, text=True, check=True).stdout
    return sum(1 for line in out.splitlines() if line[:1].isdigit())


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--cliptool", default="./cliptool")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--tsv", help="write one line per clip: number, onset ms, LUFS")
    ap.add_argument("clips", nargs="*", type=int)
    args = ap.parse_args()
    numbers = args.clips or list(range(1, clip_count(args.cliptool) + 1))
    with tempfile.TemporaryDirectory() as tmp:
        def measure(n: int) -> tuple[int, float, float]:
            wav = pathlib.Path(tmp) / f"{n:04d}.wav"
            subprocess.run([args.cliptool, "render", str(n), str(wav)], check=True, capture_output=True)
            result = n, onset_ms(wav), loudness_lufs(wav)
            wav.unlink()
            return result

        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            rows = list(pool.map(measure, numbers))
    if args.tsv:
        pathlib.Path(args.tsv).write_text("".join(f"{n}\t{o:.1f}\t{l:.2f}\n" for n, o, l in rows))
    onsets = [o for _, o, _ in rows]
    lufs = [l for _, _, l in rows if math.isfinite(l)]
    target = statistics.median(lufs)
    print(f"clips {len(rows)}")
    print(f"speech starts (ms): median {statistics.median(onsets):.1f}, min {min(onsets):.1f}, max {max(onsets):.1f}")
    print(f"loudness (LUFS): median {target:.2f}, min {min(lufs):.2f}, max {max(lufs):.2f}, "
          f"beyond +-1.5 LU of the median {sum(abs(l - target) > 1.5 for l in lufs)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
