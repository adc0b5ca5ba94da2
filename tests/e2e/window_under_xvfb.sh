#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program from a copy of the run folder under Xvfb, checks
# that one shaped window titled "Lexoria_Japanese" appears, that a second
# start hands over to it (still one window) and that an AutoUpdate.exe in the
# working folder is not run (the run folder's updater sits beside the
# program), takes a screenshot, and ends the program with Escape.
# usage: window_under_xvfb.sh RUN_DIR SCREENSHOT [SCALE MEASURE [MIN_DETAIL]]
# With SCALE the program runs at that scale factor on a larger screen, and
# MEASURE (measure_window) checks the window's size, shape and detail in the
# screenshot. Exit 77 (skipped) when Xvfb or the X tools are missing.
set -u
if [ "${1:-}" = "--inner" ]; then inner_mode=1; shift; else inner_mode=0; fi
run_dir=$(cd "$1" && pwd) shot=$(realpath -m "$2")
scale=${3:-} measure=${4:+$(realpath -m "$4")} min_detail=${5:--1}
for tool in xvfb-run xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
inner() {
  cd "$work" || exit 1
  if [ -n "$scale" ]; then export QT_SCALE_FACTOR=$scale; fi
  ./Lexoria_Japanese >"$work/log.txt" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --name '^Lexoria_Japanese$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  if [ -z "$win" ]; then echo "no window titled Lexoria_Japanese"; kill $pid; cat "$work/log.txt"; exit 1; fi
  count=$(xdotool search --onlyvisible --name '^Lexoria_Japanese$' | wc -l)
  [ "$count" -eq 1 ] || { echo "expected one window, found $count"; kill $pid; exit 1; }
  timeout 20 ./Lexoria_Japanese >"$work/log-second.txt" 2>&1
  rc=$?
  [ "$rc" -eq 0 ] || { echo "the second start ended with $rc"; cat "$work/log-second.txt"; kill $pid; exit 1; }
  count=$(xdotool search --onlyvisible --name '^Lexoria_Japanese$' | wc -l)
  [ "$count" -eq 1 ] || { echo "two starts: $count windows"; kill $pid; exit 1; }
  sleep 1.5   # first paint and the update hand-over timer
  [ ! -e "$work/updater-ran" ] || { echo "the AutoUpdate.exe in the working folder ran"; kill $pid; exit 1; }
  xwininfo -id "$win" | grep -E 'Width|Height'
  if xwininfo -shape -id "$win" | grep -q "No window shape"; then echo "window is not shaped"; kill $pid; exit 1; fi
  import -window root "$shot"
  if [ -n "$measure" ]; then
    geometry=$(xwininfo -id "$win")
    field() { echo "$geometry" | sed -n "s/^ *$1: *\(-\?[0-9]*\).*/\1/p"; }
    if ! "$measure" "$shot" "$(field 'Absolute upper-left X')" "$(field 'Absolute upper-left Y')" \
      "$(field Width)" "$(field Height)" "$scale" "$min_detail"; then
      kill $pid; exit 1
    fi
  fi
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
  xdotool key --window "$win" Escape
  for _ in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || { wait $pid; echo "ended with Escape"; exit 0; }
    sleep 0.1
  done
  echo "Escape did not end the program"; kill $pid; exit 1
}
if [ "$inner_mode" = 1 ]; then work=$6; inner; fi

[ -x "$run_dir/Lexoria_Japanese" ] || { echo "no program in $run_dir"; exit 1; }


work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Links, not copies: the program only reads these; favorite.dat is made fresh here.
for f in "$run_dir"/*; do ln -s "$f" "$work/"; done
rm -f "$work/favorite.dat" "$work/temp.dat" "$work/AutoUpdate.exe"
printf '#!/bin/sh\ntouch "%s/updater-ran"\n' "$work" >"$work/AutoUpdate.exe"
chmod +x "$work/AutoUpdate.exe"
export XDG_RUNTIME_DIR="$work/xdg"; mkdir -m 700 "$XDG_RUNTIME_DIR"
export TMPDIR="$work"

screen=1024x768x24
[ -n "$scale" ] && screen=2400x1800x24
xvfb-run -a -s "-screen 0 $screen -wr" "$0" --inner "$run_dir" "$shot" "$scale" "${measure:-}" "$min_detail" "$work"
