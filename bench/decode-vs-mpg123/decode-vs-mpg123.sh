#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU time of mpadec against mpg123 (default build, `mpg123 -q -s`) on four
# 120 s streams: layer III 128 kbit/s joint stereo (MPEG-1, 44.1 kHz, lame),
# layer II 192 kbit/s stereo (44.1 kHz, twolame), layer I (the conformance
# vector l1-fl7 repeated to 2 minutes) and layer III 32 kbit/s mono (MPEG-2,
# 22.05 kHz, lame). CPU time is user + system of the whole process; the two
# decoders run alternately and the median of RUNS each is compared (ratio =
# mpg123 time / mpadec time, above 1 when mpadec is faster). Then valgrind
# callgrind instruction counts of both on the same streams, for figures a
# loaded machine cannot move.
# Usage: decode-vs-mpg123.sh [MPADEC] [RUNS] [STREAM...]
#   STREAM: layer3-stereo128 layer2-192 layer1 layer3-mono32 (default all);
#   LEXORIA_BENCH_CALLGRIND=0 skips the instruction counts.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# Next to mpadec in build/run/, or from the source tree.
default_mpadec="$here/mpadec"
[ -x "$default_mpadec" ] || default_mpadec="$here/../../build/run/mpadec"
mpadec="${1:-$default_mpadec}"
runs="${2:-7}"
shift $(($# > 2 ? 2 : $#))
streams=("$@")
[ ${#streams[@]} -gt 0 ] || streams=(layer3-stereo128 layer2-192 layer1 layer3-mono32)
shared="${LEXORIA_SHARED_DIR:-$here/../../../shared}"
cache="${LEXORIA_BENCH_CACHE:-${TMPDIR:-/tmp}/lexoria-bench-decode}"
mkdir -p "$cache"
for tool in sox lame twolame mpg123 bc; do command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }; done
[ -x "$mpadec" ] || { echo "mpadec not found at $mpadec" >&2; exit 1; }

seconds=120
music=(sine 220-440 sine 330 sine 554 sine 880 pinknoise vol 0.3)
make_stream() {  # file rate channels encoder sox-signal...
  local file=$1 rate=$2 channels=$3 encoder=$4; shift 4
  [ -s "$file" ] && return
  sox -q -n -r "$rate" -c "$channels" -b 16 "$file.wav" synth "$seconds" "$@" 2>/dev/null
  $encoder "$file.wav" "$file"
  rm -f "$file.wav"
}
make_layer1() {  # file: whole copies of the vector (bare frames)
  local file=$1 vector="$shared/vectors/l1-fl7.bit"
  [ -s "$file" ] && return
  [ -s "$vector" ] || { echo "conformance vector $vector not found (LEXORIA_SHARED_DIR)" >&2; exit 1; }
  # 63 frames of 384 samples at 44.1 kHz a copy.
  local copies
  copies=$(echo "($seconds * 44100 + 63 * 384 - 1) / (63 * 384)" | bc)
  : > "$file"
  for ((i = 0; i < copies; i++)); do cat "$vector" >> "$file"; done
}
stream_file() {  # name: makes the stream once, prints its path
  case "$1" in
    layer3-stereo128)
      make_stream "$cache/layer3-stereo128.mp3" 44100 2 "lame --quiet -m j -b 128" "${music[@]}" ;;
    layer2-192)
      make_stream "$cache/layer2-192.mp2" 44100 2 "twolame --quiet -m s -b 192" "${music[@]}" ;;
    layer1) make_layer1 "$cache/layer1.mp1" ;;
    layer3-mono32)
      make_stream "$cache/layer3-mono32.mp3" 22050 1 "lame --quiet -m m -b 32" sine 300-600 pinknoise vol 0.3 ;;
    *) echo "unknown stream $1" >&2; exit 1 ;;
  esac
  case "$1" in
    layer2-192) echo "$cache/$1.mp2" ;;
    layer1) echo "$cache/$1.mp1" ;;
    *) echo "$cache/$1.mp3" ;;
  esac
}

# User + system seconds of one run.
cpu_of() {
  local TIMEFORMAT='%U %S' t
  t=$({ time "$@" >/dev/null 2>/dev/null; } 2>&1)
  echo "$t" | awk '{print $1 + $2}'
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
printf '%-18s %12s %12s %8s\n' stream "mpadec cpu s" "mpg123 cpu s" ratio
for name in "${streams[@]}"; do
  in=$(stream_file "$name")
  mine=(); theirs=()
  for ((i = 0; i < runs; i++)); do
    mine+=("$(cpu_of "$mpadec" "$in" -)")
    theirs+=("$(cpu_of mpg123 -q -s "$in")")
  done
  m=$(printf '%s\n' "${mine[@]}" | median)
  t=$(printf '%s\n' "${theirs[@]}" | median)
  printf '%-18s %12.3f %12.3f %8.2f\n' "$name" "$m" "$t" "$(echo "$t / $m" | bc -l)"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

if [ "${LEXORIA_BENCH_CALLGRIND:-1}" != 0 ] && command -v valgrind >/dev/null; then
  echo
  printf '%-18s %16s %16s %8s\n' stream "mpadec instr" "mpg123 instr" ratio
  count() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | awk '/Collected/ {print $NF}'; }
  for name in "${streams[@]}"; do
    in=$(stream_file "$name")
    a=$(count "$mpadec" "$in" -)
    b=$(count mpg123 -q -s "$in")
    printf '%-18s %16s %16s %8.2f\n' "$name" "$a" "$b" "$(echo "$b / $a" | bc -l)"
  done
fi
