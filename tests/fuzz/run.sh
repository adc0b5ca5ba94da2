#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UBSan in
# build-fuzz/, seeds their corpora from the conformance vectors when they are
# present, and fuzzes each target for the given number of seconds (default
# 60) with a dictionary of the words the readers look for: the decoder, two
# decoders in turn, then the clip archive and player, then the five data
# files together (phrase files, templates, relations, archive index). The
# inputs in regressions/ once broke the decoder; they are read first.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target mpeg_fuzz decoders_fuzz player_fuzz datafiles_fuzz
shared="${LEXORIA_SHARED_DIR:-$root/../shared}"

fuzz() {
  local target="$1"
  local corpus="$build/corpus-$target"
  mkdir -p "$corpus"
  if [ -d "$shared/vectors" ]; then
    for f in "$shared"/vectors/*.bit "$shared"/vectors/*.mp3; do
      [ -e "$f" ] || continue
      # A control byte (options) in front, and at most 16 KiB of each stream.
      name="$corpus/$(basename "$f")"
      [ -e "$name" ] || { printf '\x80'; head -c 16384 "$f"; } > "$name"
    done
  fi
  echo "fuzzing $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/$target" -max_total_time="$seconds" -max_len=20000 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$build/" -dict="$root/tests/fuzz/mpeg.dict" "$corpus" "$root/tests/fuzz/regressions" 2>&1 | tail -n 25
  return "${PIPESTATUS[0]}"
}

fuzz mpeg_fuzz
fuzz decoders_fuzz
fuzz player_fuzz
fuzz datafiles_fuzz
