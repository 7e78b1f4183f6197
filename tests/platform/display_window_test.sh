#!/usr/bin/env bash
# The host in a real window, run under tests/support/with_xvfb.sh: runs a script that
# types, presses keys and clicks through the screen (SDL's queue) and takes a screenshot
# from the X server, runs the same script headless, and compares: the same output lines
# and the same pixels.
# It also checks that the window mode refuses to run without a display server.
# Exact: the editor paints its own caret, which does not blink, and !clock before each
# picture lets the frame's idle updates run in both.
#
#   with_xvfb.sh display_window_test.sh QUILN_HOST LIBQUILN SCRIPT
set -euo pipefail
host=$1 library=$2 script=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/quiln-window.XXXXXX")
trap 'rm -rf "$work"' EXIT

export QUILN_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config
"$host" register "$library" >/dev/null

# Without a display server the window mode refuses and says why, rather than showing a
# window nobody can see.
refused=0
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$host" window >/dev/null 2>"$work/refusal.txt") || refused=$?
if [[ $refused -ne 1 ]] || ! grep -q "no display server" "$work/refusal.txt"; then
  echo "without a display server the window mode did not refuse (status $refused):" >&2
  cat "$work/refusal.txt" >&2
  exit 1
fi

mkdir "$work/window" "$work/headless"
status=0
(cd "$work/window" && timeout 120 "$host" window "$script" >out.txt 2>err.txt) || status=$?
(cd "$work/headless" && timeout 120 "$host" run "$script" >out.txt 2>err.txt) || status=$?
for mode in window headless; do
  if [[ -s $work/$mode/err.txt ]]; then
    echo "$mode run said:" >&2
    cat "$work/$mode/err.txt" >&2
    status=1
  fi
done
[[ $status -eq 0 ]] || { echo "a run failed (status $status)" >&2; exit 1; }

if ! diff -u "$work/headless/out.txt" "$work/window/out.txt"; then
  echo "the window run printed other results than the headless run" >&2
  exit 1
fi
if grep -v '=> OK$\|=> TRUE$\|=> [0-9]*$' "$work/window/out.txt"; then
  echo "a line of the script did not succeed" >&2
  exit 1
fi

pictures=$(cd "$work/headless" && ls -- *.png)
[[ -n $pictures ]] || { echo "the script wrote no pictures" >&2; exit 1; }
for picture in $pictures; do
  # Both files come from the same PNG writer, so equal pixels give equal bytes.
  if ! cmp -s "$work/headless/$picture" "$work/window/$picture"; then
    differ=$(compare -metric AE "$work/headless/$picture" "$work/window/$picture" null: 2>&1 || true)
    echo "$picture: the window's screenshot differs from the headless picture in $differ pixels" >&2
    exit 1
  fi
done
# Typing changed the window: the pictures before and after are not the same.
if cmp -s "$work/window/before.png" "$work/window/after.png"; then
  echo "typing left the window as it was" >&2
  exit 1
fi
echo "the window's screenshots equal the headless pictures:" $pictures
