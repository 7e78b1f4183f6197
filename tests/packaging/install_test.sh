#!/usr/bin/env bash
# Installs the build into a temporary prefix and, using only that prefix, builds and runs
# two outside programs found through pkg-config: a C program that uses Orthon, and a C++
# host that registers the control and drives it through quiln.h. The prefix's library
# folder is made unwritable first, as under a system prefix, so the user's words must land
# under $XDG_DATA_HOME/quiln. Then the installed quiln-host, the CMake package, the desktop
# entry and the MIME type, and the desktop's way in: `quiln-host window FILE` under an Xvfb
# of the test's own, with no control registered yet.
#   install_test.sh BUILD-DIR SOURCE-DIR [EXTRA-COMPILER-FLAGS]
set -euo pipefail
build=$1
source=$2
extra=${3:-}

# The desktop's part needs a display: the test runs under an Xvfb of its own.
if [[ -z ${QUILN_INSTALL_TEST_XVFB:-} ]]; then
  exec env QUILN_INSTALL_TEST_XVFB=1 "$source/tests/support/with_xvfb.sh" "$0" "$@"
fi

work=$(mktemp -d /tmp/quiln-install-XXXXXX)
window=
cleanup() {
  [[ -n $window ]] && kill "$window" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
prefix=$work/prefix
fail() { echo "install_test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

# Only the prefix: no system pkg-config folders, nothing of the build tree.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
export PKG_CONFIG_PATH=
moduledir=$(realpath "$(pkg-config --variable=moduledir orthon)")
[[ $moduledir -ef $prefix/lib/quiln ]] || fail "orthon.pc names $moduledir"

# The versioned libraries, each with its SONAME.
for lib in Quiln Orthon; do
  [[ -f $moduledir/lib$lib.so.1.0.0 && $(readlink "$moduledir/lib$lib.so.1") == lib$lib.so.1.0.0 &&
     $(readlink "$moduledir/lib$lib.so") == lib$lib.so.1 ]] || fail "lib$lib.so is not versioned"
  grep -qF "Library soname: [lib$lib.so.1]" <<<"$(readelf -d "$moduledir/lib$lib.so.1.0.0")" ||
    fail "lib$lib.so.1.0.0 has no SONAME lib$lib.so.1"
done

cc=${CC:-cc}
cxx=${CXX:-c++}
# orthon_words loads the library itself (to unload it again): it is not linked with it.
# shellcheck disable=SC2046,SC2086
"$cc" -std=c11 -Wall -Wextra -Werror $extra $(pkg-config --cflags orthon) "$source/tests/packaging/orthon_words.c" \
  -o "$work/orthon_words" -ldl
# A program linked with Orthon finds it, through the rpath pkg-config gives, in its folder.
echo '#include <orthon.h>
int main(int argc, char** argv) { (void)argc; (void)argv;
  return LoadSpellCheck(u"") == 1 && CheckWord(u"abc1") == 0 ? 0 : 1; }' > "$work/orthon_linked.c"
# shellcheck disable=SC2046,SC2086
"$cc" -std=c11 -Wall -Wextra -Werror $extra $(pkg-config --cflags orthon) "$work/orthon_linked.c" \
  -o "$work/orthon_linked" $(pkg-config --libs orthon)
"$work/orthon_linked" || fail "a program linked with Orthon did not work"
# shellcheck disable=SC2046,SC2086
"$cxx" -std=c++17 -Wall -Wextra -Werror $extra $(pkg-config --cflags quiln) "$source/tests/packaging/embed_host.cpp" \
  -o "$work/embed_host" $(pkg-config --libs quiln)
# quiln.h compiles as C too.
echo '#include <quiln.h>
int main(void) { return QUILN_DISPID_FileNew == 1 && QUILN_FAILED(QUILN_E_FAIL) ? 0 : 1; }' > "$work/quiln_c.c"
# shellcheck disable=SC2046
"$cc" -std=c11 -Wall -Wextra -Werror $(pkg-config --cflags quiln) "$work/quiln_c.c" -o "$work/quiln_c"
"$work/quiln_c" || fail "quiln.h's ids are wrong in C"

# A library folder the user cannot write. As root, whom no mode stops, the programs run as
# the unprivileged user instead.
chmod -R a-w "$moduledir"
home=$work/home
mkdir -p "$home" "$work/registry" "$work/out"
run=()
if [[ $(id -u) == 0 ]]; then
  chown nobody "$home" "$work/registry" "$work/out"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
before=$(ls -A "$moduledir")
env HOME="$home" XDG_DATA_HOME="$home/data" "${run[@]}" \
  "$work/orthon_words" "$(pkg-config --variable=library orthon)" "$(pkg-config --variable=dictionarydir orthon)"
[[ -f $home/data/quiln/QlUser.dic ]] || fail "the added word is not under \$XDG_DATA_HOME/quiln"
[[ $(stat -c %a "$home/data/quiln") == 700 ]] || fail "\$XDG_DATA_HOME/quiln is not private"
[[ $(ls -A "$moduledir") == "$before" ]] || fail "something was written beside the library"

env HOME="$home" XDG_DATA_HOME="$home/data" "${run[@]}" \
  "$work/embed_host" "$(pkg-config --variable=library quiln)" "$work/registry" "$work/out/embedded.qln"
[[ $(ls -A "$moduledir") == "$before" ]] || fail "the control wrote beside itself"

# The installed quiln-host registers the installed library and runs a script on it.
printf 'FileNew\nInsertString "installed"\nFileSave "%s"\n' "$work/host.qln" > "$work/script.txt"
QUILN_REGISTRY_DIR=$work/host-registry "$prefix/bin/quiln-host" register "$moduledir/libQuiln.so.1" >/dev/null
ran=$(QUILN_REGISTRY_DIR=$work/host-registry "$prefix/bin/quiln-host" run "$work/script.txt")
[[ $ran == $'FileNew => TRUE\nInsertString => TRUE\nFileSave => TRUE' ]] || fail "the installed host ran: $ran"

# find_package(Quiln) from the prefix gives the imported targets.
mkdir -p "$work/cmake"
cat > "$work/cmake/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(quiln_consumer LANGUAGES NONE)
find_package(Quiln 0.1 REQUIRED)
foreach(target Quiln::Quiln Quiln::Orthon)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "no ${target}")
  endif()
endforeach()
# Whatever configuration the installed tree was built in.
get_target_property(configs Quiln::Orthon IMPORTED_CONFIGURATIONS)
list(GET configs 0 config)
get_target_property(orthon Quiln::Orthon IMPORTED_LOCATION_${config})
get_target_property(soname Quiln::Orthon IMPORTED_SONAME_${config})
get_target_property(includes Quiln::Quiln INTERFACE_INCLUDE_DIRECTORIES)
if(NOT EXISTS "${orthon}" OR NOT soname STREQUAL "libOrthon.so.1" OR NOT EXISTS "${includes}/quiln.h"
   OR NOT EXISTS "${QUILN_MODULE_DIR}/ViZavizivu.riv")
  message(FATAL_ERROR "Quiln's package points elsewhere: ${orthon} ${soname} ${includes} ${QUILN_MODULE_DIR}")
endif()
EOF
cmake -S "$work/cmake" -B "$work/cmake/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_PACKAGE_NO_SYSTEM_PACKAGE_REGISTRY=ON \
  >/dev/null || fail "find_package(Quiln) failed"

# The desktop entry, and the MIME type that recognises a saved document by its header.
desktop-file-validate "$prefix/share/applications/quiln.desktop"
grep -q '^Exec=quiln-host window --open %f$' "$prefix/share/applications/quiln.desktop" ||
  fail "the entry does not open a file"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/quiln.svg"
# (It says, on standard error, that the folder is not one the desktop searches.)
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -q '^application/x-quiln$' "$prefix/share/mime/types" || fail "no application/x-quiln in the MIME database"
# The compiled rule is ">0=", the value's length in two bytes, then the value: the first six
# bytes of a saved document.
hex() { od -An -tx1 -v | tr -d ' \n'; }
header=$(head -c 6 "$work/out/embedded.qln" | hex)
[[ $header == 5175696c6e00 ]] || fail "the saved document does not start with Quiln and a 0: $header"
grep -qF "3e303d0006$header" <<<"$(hex < "$prefix/share/mime/magic")" || fail "the MIME magic does not match a saved document"
# A message box the window shows (a refused file is reported to the user) is answered as a
# user does: Return on it. The editor's window and its boxes are all titled "Quiln"; the
# window came first, so every later one is a box.
answer_boxes() {
  local ids=() w
  for w in $(xwininfo -root -children 2>/dev/null | grep -o '^ *0x[0-9a-f]*'); do
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == Quiln ]] && ids+=("$((w))")
  done
  (( ${#ids[@]} > 1 )) || return 0
  mapfile -t ids < <(printf '%s\n' "${ids[@]}" | sort -n)
  for w in "${ids[@]:1}"; do
    xdotool windowfocus --sync "$w" 2>/dev/null && xdotool key Return 2>/dev/null || true
  done
}
# The desktop entry's command: quiln-host in its window,
# left running until it has said what its FileOpen gave, then stopped.
open_in_window() { # NAME ARGS...: output in $work/NAME.out and .err
  local name=$1
  shift
  QUILN_REGISTRY_DIR=$work/desktop-registry "$prefix/bin/quiln-host" window "$@" \
    >"$work/$name.out" 2>"$work/$name.err" &
  window=$!
  for i in $(seq 600); do
    [[ -s $work/$name.out ]] && break
    kill -0 "$window" 2>/dev/null || break
    (( i % 5 )) || answer_boxes
    sleep 0.1
  done
  kill "$window" 2>/dev/null || true
  wait "$window" 2>/dev/null || true
  window=
}
# A saved document, before any registration: the host registers the control installed
# beside it and opens the file. A file the desktop takes for ours that is a script is
# opened as a document too, and refused as one: nothing in it runs.
open_in_window document --open "$work/out/embedded.qln"
printf 'FileSave "%s"\n' "$work/ran.qln" > "$work/script.qln"
open_in_window script --open "$work/script.qln"
# Without --open, the file's header tells a document from a script.
open_in_window by-content "$work/out/embedded.qln"
[[ $(cat "$work/document.out") == "FileOpen => TRUE" ]] ||
  fail "the window did not open the document: $(cat "$work/document.out" "$work/document.err")"
grep -qF "$moduledir/libQuiln.so.1" "$work/desktop-registry/classes-root.reg" ||
  fail "the window did not register the installed control"
[[ $(cat "$work/script.out") == "FileOpen => FALSE" && ! -e $work/ran.qln ]] ||
  fail "a script given as a document was not refused: $(cat "$work/script.out" "$work/script.err")"
[[ $(cat "$work/by-content.out") == "FileOpen => TRUE" ]] ||
  fail "the window did not tell the document by its header: $(cat "$work/by-content.out" "$work/by-content.err")"
echo "install_test: ok"
