#!/usr/bin/env bash
# Layer I and II decoding speed of mpadec against mpg123 (default build):
# 60 s of a music-like stereo signal encoded with twolame at 192 kbit/s
# (layer II, 44.1 kHz), and 60 s of layer I made by repeating the frames of
# the conformance vector l1-fl7 (44.1 kHz stereo, 384 kbit/s). Prints the
# times-realtime of both decoders and their ratio (median of alternating
# runs), and valgrind callgrind instruction counts on 20 s excerpts.
# Usage: layer12.sh [MPADEC] [RUNS]   (vectors from LEXORIA_SHARED_DIR)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# Next to mpadec in build/run/, or from the source tree.
default_mpadec="$here/mpadec"
[ -x "$default_mpadec" ] || default_mpadec="$here/../../build/run/mpadec"
mpadec="${1:-$default_mpadec}"
runs="${2:-7}"
shared="${LEXORIA_SHARED_DIR:-$here/../../../shared}"
cache="${LEXORIA_BENCH_CACHE:-${TMPDIR:-/tmp}/lexoria-bench-decode}"
mkdir -p "$cache"
for tool in sox twolame mpg123 bc; do command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }; done
[ -x "$mpadec" ] || { echo "mpadec not found at $mpadec" >&2; exit 1; }
vector="$shared/vectors/l1-fl7.bit"
[ -s "$vector" ] || { echo "conformance vector $vector not found (LEXORIA_SHARED_DIR)" >&2; exit 1; }

make_layer2() {  # name seconds
  local name=$1 seconds=$2
  [ -s "$cache/$name.mp2" ] && return
  sox -q -n -r 44100 -c 2 -b 16 "$cache/$name.wav" synth "$seconds" \
    sine 220-440 sine 330 sine 554 sine 880 pinknoise vol 0.3 2>/dev/null
  twolame --quiet -m s -b 192 "$cache/$name.wav" "$cache/$name.mp2"
  rm -f "$cache/$name.wav"
}
make_layer1() {  # name seconds: whole copies of the vector (bare frames)
  local name=$1 seconds=$2
  [ -s "$cache/$name.mp1" ] && return
  # 63 frames of 384 samples at 44.1 kHz a copy.
  local copies
  copies=$(echo "($seconds * 44100 + 63 * 384 - 1) / (63 * 384)" | bc)
  : > "$cache/$name.mp1"
  for ((i = 0; i < copies; i++)); do cat "$vector" >> "$cache/$name.mp1"; done
}
make_layer2 layer2-192 60
make_layer1 layer1-384 60
make_layer2 layer2-192-20s 20
make_layer1 layer1-384-20s 20

seconds_of() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Audio seconds of a stream, from mpg123's own decoding (16-bit stereo 44.1 kHz).
audio_seconds() { echo "$(mpg123 -q -s "$1" 2>/dev/null | wc -c) / (44100 * 4)" | bc -l; }

printf '%-12s %14s %14s %8s\n' stream "mpadec x-rt" "mpg123 x-rt" ratio
for in in "$cache/layer2-192.mp2" "$cache/layer1-384.mp1"; do
  length=$(audio_seconds "$in")
  mine=(); theirs=()
  for ((i = 0; i < runs; i++)); do
    mine+=("$(seconds_of "$mpadec" "$in" -)")
    theirs+=("$(seconds_of mpg123 -q -s "$in")")
  done
  m=$(printf '%s\n' "${mine[@]}" | median)
  t=$(printf '%s\n' "${theirs[@]}" | median)
  printf '%-12s %14.1f %14.1f %8.2f\n' "$(basename "${in%.*}")" "$(echo "$length / $m" | bc -l)" \
    "$(echo "$length / $t" | bc -l)" "$(echo "$t / $m" | bc -l)"
done

if command -v valgrind >/dev/null; then
  echo
  printf '%-16s %16s %16s %8s\n' excerpt "mpadec instr" "mpg123 instr" ratio
  count() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | awk '/Collected/ {print $NF}'; }
  for in in "$cache/layer2-192-20s.mp2" "$cache/layer1-384-20s.mp1"; do
    a=$(count "$mpadec" "$in" -)
    b=$(count mpg123 -q -s "$in")
    printf '%-16s %16s %16s %8.2f\n' "$(basename "${in%.*}")" "$a" "$b" "$(echo "$b / $a" | bc -l)"
  done
fi
