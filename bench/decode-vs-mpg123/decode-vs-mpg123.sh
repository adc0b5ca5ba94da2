#!/usr/bin/env bash
# Decoding speed of mpadec against mpg123 (default build) on two streams made
# with sox and lame: 60 s of a music-like stereo signal at 128 kbit/s
# (MPEG-1, 44.1 kHz) and 60 s of mono at 32 kbit/s (MPEG-2, 22.05 kHz).
# Prints times-realtime of both and their ratio (median of alternating runs),
# and valgrind callgrind instruction counts of both on 20 s excerpts.
# Usage: decode-vs-mpg123.sh [MPADEC] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mpadec="${1:-$here/mpadec}"
runs="${2:-7}"
cache="${LEXORIA_BENCH_CACHE:-${TMPDIR:-/tmp}/lexoria-bench-decode}"
mkdir -p "$cache"
for tool in sox lame mpg123; do command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }; done
[ -x "$mpadec" ] || { echo "mpadec not found at $mpadec" >&2; exit 1; }

make_stream() {  # name seconds rate channels lame-options sox-signal...
  local name=$1 seconds=$2 rate=$3 channels=$4 opts=$5; shift 5
  [ -s "$cache/$name.mp3" ] && return
  sox -q -n -r "$rate" -c "$channels" -b 16 "$cache/$name.wav" synth "$seconds" "$@" 2>/dev/null
  lame --quiet $opts "$cache/$name.wav" "$cache/$name.mp3"
  rm -f "$cache/$name.wav"
}
music=(sine 220-440 sine 330 sine 554 sine 880 pinknoise vol 0.3)
make_stream stereo128 60 44100 2 "-m j -b 128" "${music[@]}"
make_stream mono32 60 22050 1 "-m m -b 32" sine 300-600 pinknoise vol 0.3
make_stream stereo128-20s 20 44100 2 "-m j -b 128" "${music[@]}"
make_stream mono32-20s 20 22050 1 "-m m -b 32" sine 300-600 pinknoise vol 0.3

seconds_of() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf '%-10s %14s %14s %8s\n' stream "mpadec x-rt" "mpg123 x-rt" ratio
for name in stereo128 mono32; do
  in="$cache/$name.mp3"
  mine=(); theirs=()
  for ((i = 0; i < runs; i++)); do
    mine+=("$(seconds_of "$mpadec" "$in" -)")
    theirs+=("$(seconds_of mpg123 -q -s "$in")")
  done
  m=$(printf '%s\n' "${mine[@]}" | median)
  t=$(printf '%s\n' "${theirs[@]}" | median)
  printf '%-10s %14.1f %14.1f %8.2f\n' "$name" "$(echo "60 / $m" | bc -l)" "$(echo "60 / $t" | bc -l)" "$(echo "$t / $m" | bc -l)"
done

if command -v valgrind >/dev/null; then
  echo
  printf '%-10s %16s %16s %8s\n' excerpt "mpadec instr" "mpg123 instr" ratio
  for name in stereo128-20s mono32-20s; do
    in="$cache/$name.mp3"
    count() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | awk '/Collected/ {print $NF}'; }
    a=$(count "$mpadec" "$in" -)
    b=$(count mpg123 -q -s "$in")
    printf '%-10s %16s %16s %8.2f\n' "$name" "$a" "$b" "$(echo "$b / $a" | bc -l)"
  done
fi
