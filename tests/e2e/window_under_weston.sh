#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program natively on Wayland: under weston's headless compositor
# and under Xvfb, each over the same plain green background, at each scale
# factor given; compare_outline then checks that the window's outline under
# Wayland is the one X11 shows (its shaped corners, nothing below the skin).
# usage: window_under_weston.sh RUN_DIR COMPARE SHOT_DIR MAX_SHARE SCALE...
# Leaves xvfb-SCALE.png and weston-SCALE.png in SHOT_DIR. Exit 77 (skipped)
# when weston, Qt's Wayland platform or the X tools are missing.
set -u
run_dir=$(cd "$1" && pwd) compare=$(realpath -m "$2") shot_dir=$(realpath -m "$3") max_share=$4
shift 4
scales=("$@")
for tool in weston weston-screenshooter xvfb-run xdotool import display convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
plugin=$(find /usr/lib/*/qt6/plugins/platforms /usr/lib/qt6/plugins/platforms -name 'libqwayland-generic.so' 2>/dev/null | head -n 1)
[ -n "$plugin" ] || { echo "skipped: Qt's Wayland platform (qt6-wayland) not installed"; exit 77; }
[ -x "$run_dir/Lexoria_Japanese" ] || { echo "no program in $run_dir"; exit 1; }

# Under Xvfb (XVFB_INNER set): one screenshot of the program at a scale.
if [ "${XVFB_INNER:-}" = 1 ]; then
  cd "$WORK" || exit 1
  display -window root "$WORK/green.png" 2>/dev/null
  QT_SCALE_FACTOR=$SCALE ./Lexoria_Japanese >"$WORK/xvfb-log.txt" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --onlyvisible --name '^Lexoria_Japanese$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "no window under Xvfb"; kill $pid; cat "$WORK/xvfb-log.txt"; exit 1; }
  sleep 1.5
  import -window root "$SHOT"
  kill $pid
  wait $pid 2>/dev/null
  exit 0
fi

work=$(mktemp -d)
cleanup() {
  [ -n "${weston_pid:-}" ] && kill "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shot_dir"
for f in "$run_dir"/*; do ln -s "$f" "$work/"; done
rm -f "$work/favorite.dat" "$work/temp.dat"
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export TMPDIR="$work"
width=2400 height=1800
# xvfb-run -a takes the first free display from 99 on, and two runs that
# start together can take the same one: begin elsewhere.
display_from=$((100 + $$ % 400))
convert -size "${width}x${height}" xc:'#00ff00' "$work/green.png" || exit 1

cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff00ff00
panel-position=none
locking=false
EOF
socket="lexoria-test-$$"
weston --backend=headless-backend.so --use-pixman --debug --socket="$socket" --width=$width --height=$height \
  --config="$work/weston.ini" >"$work/weston-log.txt" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.1
done
# A compositor that cannot start here says nothing about the program.
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "skipped: weston did not start"; cat "$work/weston-log.txt"; exit 77; }
sleep 1  # the background

# The newest screenshot weston writes into the current folder.
weston_shot() {
  (cd "$work" && rm -f wayland-screenshot-*.png && WAYLAND_DISPLAY=$socket weston-screenshooter >/dev/null 2>&1)
  local made
  made=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -n 1)
  [ -n "$made" ] && mv "$made" "$1"
}

status=0
for scale in "${scales[@]}"; do
  echo "== scale $scale"
  (cd "$work" && WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QT_SCALE_FACTOR=$scale \
    exec ./Lexoria_Japanese >"$work/wayland-log.txt" 2>&1) &
  pid=$!
  # The window is drawn when two screenshots a second apart show the same
  # outline (on a busy machine the first paint takes its time).
  shot="$shot_dir/weston-$scale.png"
  drawn=0
  for _ in $(seq 1 15); do
    sleep 1
    if ! kill -0 $pid 2>/dev/null; then
      echo "the program ended under weston"
      cat "$work/wayland-log.txt"
      exit 1
    fi
    weston_shot "$work/before.png" || continue
    "$compare" "$work/before.png" "$work/before.png" 0 >/dev/null || continue
    sleep 1
    weston_shot "$shot" || continue
    if "$compare" "$work/before.png" "$shot" 0 >/dev/null; then drawn=1; break; fi
  done
  [ $drawn = 1 ] || { echo "no steady window in weston's screenshots"; status=1; }
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  XVFB_INNER=1 WORK="$work" SCALE="$scale" SHOT="$shot_dir/xvfb-$scale.png" \
    xvfb-run -a -n "$display_from" -s "-screen 0 ${width}x${height}x24" "$0" "$run_dir" "$compare" "$shot_dir" "$max_share" || status=1
  "$compare" "$shot_dir/xvfb-$scale.png" "$shot_dir/weston-$scale.png" "$max_share" || status=1
done
exit $status
