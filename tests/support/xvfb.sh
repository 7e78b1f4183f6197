# Sourced by the test scripts that need a display: start_xvfb WORK-DIR starts an Xvfb of the
# test's own on a free display number (Xvfb picks it), exports DISPLAY and keeps the server's
# PID in $xvfb for stop_xvfb. Fails (not skips) without Xvfb, which scripts/setup installs.
xvfb=
start_xvfb() {
  local work=$1
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is missing (scripts/setup installs the xvfb package)" >&2
    return 1
  fi
  # Generous waits for a loaded machine.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 300); do
    [[ -s $work/display ]] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; return 1; }
    sleep 0.1
  done
  [[ -s $work/display ]] || { echo "Xvfb gave no display number in 30 s" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
}
stop_xvfb() {
  if [[ -n $xvfb ]]; then
    kill "$xvfb" 2>/dev/null && { wait "$xvfb" 2>/dev/null || true; }
  fi
  xvfb=
}
