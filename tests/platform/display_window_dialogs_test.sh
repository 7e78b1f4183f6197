#!/usr/bin/env bash
# Dialogs and message boxes in the host's real window, run under tests/support/with_xvfb.sh:
# a script opens a password-protected file with no answer queued, and the test answers as
# a user does, with real X input (xdotool): the password dialog shows as a window of its
# own titled "文件口令"; the right password (and Enter) opens the file, a wrong one (and a
# click on OK) gives the message box, which Enter closes. The script's printed results say what the control did.
#
#   with_xvfb.sh display_window_dialogs_test.sh QUILN_HOST LIBQUILN
set -euo pipefail
host=$1 library=$2

for tool in xdotool xwininfo; do
  command -v $tool >/dev/null || { echo "$tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quiln-dialogs.XXXXXX")
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export QUILN_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config
"$host" register "$library" >/dev/null

# The protected file, made headless with the answers queued.
cat >make.qhs <<'SCRIPT'
InsertString "secret"
!answer ok "pw1234" "pw1234"
SetFilePassword
FileSave "locked.qln"
SCRIPT
timeout 120 "$host" run make.qhs >make.txt
grep -q '^FileSave => TRUE$' make.txt || { echo "the protected file was not made:" >&2; cat make.txt >&2; exit 1; }

cat >open.qhs <<'SCRIPT'
FileOpen "locked.qln" 0
StatisticsAscii
FileNew
FileOpen "locked.qln" 0
StatisticsAscii
!close
SCRIPT

# Waits for conditions rather than for set times, generously, for a loaded machine.
tries=600 # of 0.1 s
# The id of a window with exactly this title other than the ids given after it.
find_window() {
  local title=$1 w
  shift
  for _ in $(seq $tries); do
    kill -0 "$pid" 2>/dev/null || { echo "the host ended while waiting for \"$title\"" >&2; return 1; }
    # The top windows as the server lists them (a message box of SDL's has no class, so
    # xdotool's own search passes it by).
    for w in $(xwininfo -root -children 2>/dev/null | grep -o '^ *0x[0-9a-f]*'); do
      [[ " $* " == *" $w "* ]] && continue
      [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$title" ]] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  echo "no window \"$title\" showed" >&2
  return 1
}
wait_gone() {
  for _ in $(seq $tries); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "window $1 stayed open" >&2
  return 1
}
# Focus on the window, then the keys as the keyboard gives them (XTEST).
type_into() {
  xdotool windowfocus --sync "$1"
  [[ -z $2 ]] || xdotool type --delay 30 "$2"
  xdotool key Return
}

timeout 120 "$host" window open.qhs >out.txt 2>err.txt &
pid=$!
main=$(find_window Quiln)

# The right password.
dialog=$(find_window "文件口令" "$main")
type_into "$dialog" pw1234
wait_gone "$dialog"

# A wrong one, confirmed with the mouse: the dialog's OK button, centred at (80, 41) of its
# 160 x 58 dialog units; then the box that says so (titled with the control's name).
dialog=$(find_window "文件口令" "$main")
xdotool windowfocus --sync "$dialog"
xdotool type --delay 30 wrong
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove --window "$dialog" $((WIDTH * 80 / 160)) $((HEIGHT * 41 / 58)) click 1
wait_gone "$dialog"
box=$(find_window Quiln "$main")
type_into "$box" ""
wait_gone "$box"

status=0
wait "$pid" || status=$?
pid=
expected='FileOpen => TRUE
StatisticsAscii => 6
FileNew => TRUE
FileOpen => FALSE
StatisticsAscii => 0
!close => OK'
if [[ $status -ne 0 || -s err.txt || $(cat out.txt) != "$expected" ]]; then
  echo "the window run (status $status) printed:" >&2
  cat out.txt >&2
  echo "and said:" >&2
  cat err.txt >&2
  echo "expected:" >&2
  echo "$expected" >&2
  exit 1
fi
echo "the password dialog and the message box showed and were answered in the window"
