#!/usr/bin/env bash
# Runs a command with DISPLAY set to an Xvfb of its own, on a display number Xvfb picks
# itself, and stops the server afterwards. Fails (never skips) when Xvfb is missing:
# scripts/setup installs it.
#
#   with_xvfb.sh COMMAND [ARG ...]
set -euo pipefail

if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is missing (scripts/setup installs the xvfb package)" >&2
  exit 1
fi

state=$(mktemp -d "${TMPDIR:-/tmp}/quiln-xvfb.XXXXXX")
xvfb=
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$state"
}
trap cleanup EXIT

# Generous waits, for a loaded machine; the loop ends as soon as the number is there.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$state/display" 2>"$state/xvfb.log" &
xvfb=$!
for _ in $(seq 300); do
  [[ -s $state/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start:" >&2; cat "$state/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s $state/display ]] || { echo "Xvfb gave no display number in 30 s" >&2; exit 1; }
DISPLAY=":$(head -n1 "$state/display")" "$@"
