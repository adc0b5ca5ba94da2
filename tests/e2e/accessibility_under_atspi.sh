#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program read through AT-SPI under Xvfb, on a private session bus
# with its own accessibility bus: atspi_check.py checks names, roles, the
# texts on show and Tab's order.
# usage: accessibility_under_atspi.sh RUN_DIR
# Exit 77 (skipped) when Xvfb, D-Bus, at-spi2-core or pyatspi is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$(cd "$1" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run xdotool dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
[ -x "$launcher" ] || { echo "skipped: at-spi2-core not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi not installed"; exit 77; }
[ -x "$run_dir/Lexoria_Japanese" ] || { echo "no program in $run_dir"; exit 1; }

if [ "${ATSPI_INNER:-}" = 1 ]; then
  cd "$WORK" || exit 1
  "$launcher" --launch-immediately >"$WORK/bus-log.txt" 2>&1 &
  bus=$!
  sleep 0.5
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ./Lexoria_Japanese >"$WORK/log.txt" 2>&1 &
  pid=$!
  sleep 2
  /usr/bin/python3 "$here/atspi_check.py"
  status=$?
  kill $pid $bus 2>/dev/null
  wait $pid 2>/dev/null
  [ $status -eq 0 ] || cat "$WORK/log.txt"
  exit $status
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in "$run_dir"/*; do ln -s "$f" "$work/"; done
rm -f "$work/favorite.dat" "$work/temp.dat"
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export TMPDIR="$work"
# xvfb-run -a takes the first free display from 99 on, and two runs that
# start together can take the same one: begin elsewhere.
ATSPI_INNER=1 WORK="$work" xvfb-run -a -n $((100 + $$ % 400)) -s '-screen 0 1024x768x24' \
  dbus-run-session -- "$0" "$run_dir"
