#!/usr/bin/env bash
# The desktop's clipboard and the editor in a real window, run under
# tests/support/with_xvfb.sh: text copied in the window is what another program's clipboard
# request (xclip) reads, and text xclip put there pastes into the editor.
#
#   with_xvfb.sh display_clipboard_test.sh QUILN_HOST LIBQUILN SCRIPT_FOLDER
set -euo pipefail
host=$1 library=$2 scripts=$3

command -v xclip >/dev/null || { echo "xclip is missing (scripts/setup installs it)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quiln-clipboard.XXXXXX")
editor=
cleanup() {
  [[ -n $editor ]] && kill "$editor" 2>/dev/null && wait "$editor" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export QUILN_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config
"$host" register "$library" >/dev/null

# Out: the editor copies and keeps running; xclip asks the desktop for the clipboard.
expected="桌面剪贴板 out of the editor"
mkdir "$work/copy"
(cd "$work/copy" && exec timeout 120 "$host" window "$scripts/display_clipboard_copy.qhs" >out.txt 2>err.txt) &
editor=$!
got=
for _ in $(seq 300); do
  if grep -q '^EditCopy => TRUE$' "$work/copy/out.txt" 2>/dev/null; then
    got=$(timeout 10 xclip -o -selection clipboard 2>/dev/null || true)
    [[ $got == "$expected" ]] && break
  fi
  kill -0 "$editor" 2>/dev/null || break
  sleep 0.1
done
kill "$editor" 2>/dev/null && wait "$editor" 2>/dev/null || true
editor=
if [[ $got != "$expected" ]]; then
  echo "xclip read '$got' from the desktop's clipboard, not the editor's copy" >&2
  cat "$work/copy/out.txt" "$work/copy/err.txt" >&2
  exit 1
fi

# In: xclip owns the clipboard (and serves it from the background) until the editor pastes.
incoming="从桌面来的 text from xclip"
printf '%s' "$incoming" | xclip -i -selection clipboard 2>/dev/null
mkdir "$work/paste"
(cd "$work/paste" && timeout 120 "$host" window "$scripts/display_clipboard_paste.qhs" >out.txt 2>err.txt) || {
  echo "the paste run failed:" >&2
  cat "$work/paste/out.txt" "$work/paste/err.txt" >&2
  exit 1
}
if [[ -s $work/paste/err.txt ]] || grep -v '=> OK$\|=> TRUE$' "$work/paste/out.txt"; then
  echo "a line of the paste script did not succeed:" >&2
  cat "$work/paste/err.txt" >&2
  exit 1
fi
pasted=$(iconv -f UTF-16 -t UTF-8 "$work/paste/pasted.txt")
if [[ $pasted != "$incoming" ]]; then
  echo "the editor holds '$pasted' after pasting '$incoming'" >&2
  exit 1
fi
echo "copied out: $got; pasted in: $pasted"
