#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary DESTDIR under /usr, checks the layout,
# validates the desktop entry and the AppStream metainfo where the tools are
# installed, then starts the installed program under Xvfb from an empty
# working folder with a fresh HOME and adds a favourite with xdotool.
# The favourite must land in $HOME/.local/share/lexoria-japanese/ (folder
# 0700), and nothing may be written into the install tree, the working
# folder or the temporary folder. The working folder holds a planted
# AutoUpdate.exe, data.dat and a temp.dat link: none is run, read or
# changed. Then two starts, one through a symlinked $HOME and one by its
# real path, give one window: with no session bus, and on a private one
# (dbus-run-session) where the first copy owns the application id.
# usage: install_and_run.sh BUILD_DIR SCRATCH_DIR
# Exit 77 (skipped) when Xvfb or the X tools are missing.
set -u
if [ "${1:-}" = "--inner" ]; then inner_mode=1; shift; else inner_mode=0; fi
build=$(cd "$1" && pwd) scratch=$(realpath -m "$2")
root=$scratch/root prefix=$scratch/root/usr
work=$scratch/work home=$scratch/home tmp=$scratch/tmp
fail() { echo "FAIL: $*"; exit 1; }

# Clicks at a point of the window given in its own pixels.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

inner() {
  cd "$work" || exit 1
  "$prefix/bin/lexoria-japanese" >"$scratch/log.txt" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --name '^Lexoria_Japanese$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { kill $pid; cat "$scratch/log.txt"; fail "no window titled Lexoria_Japanese"; }
  sleep 1.5 # first paint and the update hand-over timer
  # The second line of the Basic category (the first has a slot word),
  # then the star (control 1116):
  # positions from the main window's template, in pixels.
  click 400 220
  sleep 0.3
  click 469 112
  box=""
  for _ in $(seq 1 30); do
    box=$(xdotool search --onlyvisible --name '^lexoria-japanese$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { kill $pid; cat "$scratch/log.txt"; fail "no message box after the star"; }
  xdotool key --window "$box" Return 2>/dev/null # the box goes before the key is up
  sleep 0.3
  xdotool key --window "$win" Escape 2>/dev/null # the window goes before the key is up
  for _ in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || { wait $pid; exit 0; }
    sleep 0.1
  done
  kill $pid
  fail "Escape did not end the program"
}
# Two starts with the favourites folder not made yet, the first through a
# link to $HOME: the second hands over (exit 0) and one window is shown.
two_starts() {
  local real=$scratch/home-$1 link=$scratch/home-link-$1
  rm -rf "$real" "$link"
  mkdir -p "$real"
  ln -s "$real" "$link"
  cd "$work" || exit 1
  HOME=$link "$prefix/bin/lexoria-japanese" >"$scratch/log-$1.txt" 2>&1 &
  local pid=$! win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --name '^Lexoria_Japanese$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { kill $pid; cat "$scratch/log-$1.txt"; fail "$1: no window"; }
  if [ "$1" = bus ]; then
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:example.lexoria.Japanese | grep -q 'boolean true' ||
      { kill $pid; fail "bus: the first copy does not own example.lexoria.Japanese"; }
  fi
  HOME=$real XDG_ACTIVATION_TOKEN=install-test-token timeout 20 "$prefix/bin/lexoria-japanese" \
    >"$scratch/log-$1-second.txt" 2>&1
  local rc=$?
  local count
  count=$(xdotool search --onlyvisible --name '^Lexoria_Japanese$' | wc -l)
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  [ "$rc" = 0 ] || { cat "$scratch/log-$1-second.txt"; fail "$1: the second start ended with $rc"; }
  [ "$count" = 1 ] || fail "$1: $count windows after two starts"
  echo "two starts through a symlinked HOME ($1): one window"
}

if [ "$inner_mode" = 1 ]; then
  prefix=$2 work=$3 scratch=$4
  case "${5:-}" in
    two-starts) two_starts "$6"; exit 0 ;;
  esac
  inner
fi

rm -rf "$scratch"
mkdir -p "$root" "$work" "$home" "$tmp"
# What a working folder may hold that is not the program's: none of it is
# run, read or changed.
printf '#!/bin/sh\ntouch "%s/updater-ran"\n' "$scratch" >"$work/AutoUpdate.exe"
chmod +x "$work/AutoUpdate.exe"
printf 'not a sound archive' >"$work/data.dat"
printf 'precious\n' >"$scratch/precious.txt"
ln -s "$scratch/precious.txt" "$work/temp.dat"
DESTDIR=$root cmake --install "$build" --prefix /usr >"$scratch/install.log" || { cat "$scratch/install.log"; fail "cmake --install"; }

# Layout: the three programs and nothing else in bin/.
bins=$(cd "$prefix/bin" && ls | tr '\n' ' ')
[ "$bins" = "lexoria-japanese mpadec phrasetool " ] || fail "bin/ holds: $bins"
for f in English.dat Japanese.dat MapEngSpec.data Relate.dat Readings.txt data.idx data.dat; do
  cmp -s "$build/run/$f" "$prefix/share/lexoria-japanese/$f" || fail "share/lexoria-japanese/$f differs from the run folder's"
done
expected=(
  share/applications/example.lexoria.Japanese.desktop
  share/metainfo/example.lexoria.Japanese.metainfo.xml
  share/doc/lexoria-japanese/credits.txt
  share/doc/lexoria-japanese/VOICE-LICENSE.txt
  share/man/man1/lexoria-japanese.1
  share/man/man1/mpadec.1
  share/man/man1/phrasetool.1
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/example.lexoria.Japanese.png")
done
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "missing $f"; done
# The run folder's font copies are not installed: fonts come from the system.
found=$(find "$root" -name '*.ttf' -o -name '*.otf')
[ -z "$found" ] || fail "font files installed: $found"
grep -q '<release version="[0-9.]*"' "$prefix/share/metainfo/example.lexoria.Japanese.metainfo.xml" || fail "no release in the metainfo"
echo "layout: ${#expected[@]} files and the data checked"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/example.lexoria.Japanese.desktop" || fail "desktop-file-validate"
  echo "desktop-file-validate: passed"
else
  echo "desktop-file-validate not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/example.lexoria.Japanese.metainfo.xml" || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: not run"
fi
if command -v man >/dev/null; then
  for page in lexoria-japanese mpadec phrasetool; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man page $page: $out"
  done
  echo "man pages: formatted without warnings"
fi

for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
# Everything of the install tree, to compare after the run.
manifest() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(manifest)
work_manifest() { (cd "$work" && find . -printf '%p %s %T@ %m %l\n' | sort); }
work_before=$(work_manifest)

export HOME=$home TMPDIR=$tmp
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
export XDG_RUNTIME_DIR=$scratch/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s '-screen 0 1024x768x24 -wr' "$0" --inner "$build" "$prefix" "$work" "$scratch" || exit 1

favourites=$home/.local/share/lexoria-japanese
[ -f "$favourites/favorite.dat" ] || { cat "$scratch/log.txt"; fail "no $favourites/favorite.dat"; }
size=$(stat -c %s "$favourites/favorite.dat")
[ "$size" -gt 0 ] || fail "favorite.dat is empty"
mode=$(stat -c %a "$favourites")
[ "$mode" = 700 ] || fail "favourites folder has mode $mode"
[ "$(work_manifest)" = "$work_before" ] || fail "the working folder changed: $(ls -lA "$work")"
[ ! -e "$scratch/updater-ran" ] || fail "the planted AutoUpdate.exe ran"
[ "$(cat "$scratch/precious.txt")" = precious ] || fail "the temp.dat link's target changed"
[ -z "$(ls -A "$tmp")" ] || fail "left in the temporary folder: $(ls -A "$tmp")"
[ "$(manifest)" = "$before" ] || fail "the install tree changed"
echo "installed program: favorite.dat of $size bytes in $favourites, nothing else written"

# No session bus (an address that leads nowhere), then a private one.
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/lexoria-no-bus \
  xvfb-run -a -s '-screen 0 1024x768x24 -wr' "$0" --inner "$build" "$prefix" "$work" "$scratch" two-starts nobus ||
  exit 1
if command -v dbus-run-session >/dev/null; then
  dbus-run-session -- xvfb-run -a -s '-screen 0 1024x768x24 -wr' \
    "$0" --inner "$build" "$prefix" "$work" "$scratch" two-starts bus || exit 1
else
  echo "dbus-run-session not installed: the private-bus case not run"
fi
[ "$(work_manifest)" = "$work_before" ] || fail "the working folder changed: $(ls -lA "$work")"
[ ! -e "$scratch/updater-ran" ] || fail "the planted AutoUpdate.exe ran"
