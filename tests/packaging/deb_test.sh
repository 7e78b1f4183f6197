#!/usr/bin/env bash
# Makes the Debian package from the install rules with CPack (from this build tree) and
# checks what it holds and what it declares it needs.
#   deb_test.sh BUILD-DIR
set -euo pipefail
build=$1
work=$(mktemp -d /tmp/quiln-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "deb_test: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
deb=$(ls "$work"/quiln_*.deb)
listing=$(dpkg-deb --contents "$deb")
contents=$(awk '{ print $6 }' <<<"$listing")
for path in \
    ./usr/lib/quiln/libQuiln.so.1.0.0 ./usr/lib/quiln/libQuiln.so.1 \
    ./usr/lib/quiln/libOrthon.so.1.0.0 ./usr/lib/quiln/libOrthon.so.1 \
    ./usr/lib/quiln/ViZavizivu.riv ./usr/lib/quiln/QlRussia.dic ./usr/lib/quiln/fonts.conf \
    ./usr/bin/quiln-host ./usr/include/quiln.h ./usr/include/orthon.h \
    ./usr/lib/pkgconfig/quiln.pc ./usr/lib/pkgconfig/orthon.pc ./usr/lib/cmake/Quiln/QuilnConfig.cmake \
    ./usr/share/applications/quiln.desktop ./usr/share/icons/hicolor/scalable/apps/quiln.svg \
    ./usr/share/mime/packages/quiln.xml; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
# The libraries' SONAME links point at the versioned files.
grep -qF './usr/lib/quiln/libQuiln.so.1 -> libQuiln.so.1.0.0' <<<"$listing" ||
  fail "libQuiln.so.1 does not point at libQuiln.so.1.0.0"
# The run-time libraries the libraries link against are declared.
depends=$(dpkg-deb --field "$deb" Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libcairo2 libfontconfig1 libfreetype6 libpng16-16 libjpeg62-turbo libuuid1; do
  grep -qxF "$lib" <<<"$names" || fail "Depends lacks $lib: $depends"
done
echo "deb_test: ok"
