# Shared by the README's commands: long steps print a short progress and keep their whole
# output in a log file, whose end is shown only when the step fails.

# step_progress LABEL: reads ninja's "[done/total] ..." lines on standard input and prints
# one line each time another tenth of the build is done.
step_progress() {
  awk -v label="$1" '
    match($0, /^\[[0-9]+\/[0-9]+\]/) {
      split(substr($0, 2, RLENGTH - 2), n, "/")
      if (n[2] > 0) {
        pct = int(n[1] * 100 / n[2] / 10) * 10
        if (pct > shown) { printf "%s: %3d%% (%d of %d steps)\n", label, pct, n[1], n[2]; shown = pct; fflush() }
      }
    }'
}

# build_quietly LABEL LOG cmake-build-args...: the build with a progress line per tenth.
build_quietly() {
  local label=$1 log=$2
  shift 2
  mkdir -p "$(dirname "$log")"
  echo "$label: building (full log: $log)"
  set +e
  cmake --build "$@" 2>&1 | tee "$log" | step_progress "$label"
  local status=${PIPESTATUS[0]}
  set -e
  if [[ $status -ne 0 ]]; then
    echo "$label: the build failed; its last lines:"
    grep -E 'error|Error|FAILED' "$log" | head -n 40 || true
    tail -n 40 "$log"
    return "$status"
  fi
}
