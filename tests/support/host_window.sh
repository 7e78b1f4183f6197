# Sourced by the tests that run the host in a real window. start_xvfb WORK starts a private
# Xvfb on a free display number (Xvfb picks it), exports DISPLAY and sets xvfb to its
# process id, which stop_xvfb ends; waits are generous for a loaded machine.
# register_host HOST LIBRARY WORK SUPPRESSIONS registers the control in a registry of the
# test's own, with the leak suppressions the window system's libraries need.
start_xvfb() {
  local work=$1
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is missing (scripts/setup installs the xvfb package)" >&2
    return 1
  fi
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
  [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  xvfb=
}

register_host() {
  local host=$1 library=$2 work=$3 suppressions=$4
  export QUILN_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config
  # The window system's libraries keep what they allocate until the process ends.
  export LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
  "$host" register "$library" >/dev/null
}
