#!/usr/bin/env bash
# The long LibreOffice-made RTF document opened through the host script (FileOpenRTF, then
# ExportPDF) beside LibreOffice's own headless conversion of the same file to PDF, in the
# same run. Usage: bench/rtf_open_export.sh [BUILD-FOLDER] [PARAGRAPHS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/rel}" && pwd)
paragraphs=${2:-5000}
out="$build/rtf-bench"
mkdir -p "$out"
bin="$build/bin"
[[ -x "$bin/quiln-host" ]] || bin="$root/build/bin"
convert=$(command -v convert-im6.q16 || command -v convert)
[[ -f "$out/picture.png" ]] || "$convert" -size 160x120 gradient:red-blue "png24:$out/picture.png"
"$build/bin/quiln_rtf_make_long" "$out" "$out/picture.png" "$paragraphs"
ls -l "$out/long.rtf"

export QUILN_REGISTRY_DIR="$out/registry"
"$bin/quiln-host" register "$bin/libQuiln.so" >/dev/null
printf 'FileOpenRTF "%s" 0\n' "$out/long.rtf" >"$out/open.qhs"
printf 'FileOpenRTF "%s" 0\nExportPDF "%s"\n' "$out/long.rtf" "$out/quiln.pdf" >"$out/open-export.qhs"

seconds() { local s; s=$(date +%s.%N); "$@" >/dev/null; echo "$(date +%s.%N) - $s" | bc; }
open_time=$(seconds "$bin/quiln-host" run "$out/open.qhs")
both_time=$(seconds "$bin/quiln-host" run "$out/open-export.qhs")
pages=$(pdfinfo "$out/quiln.pdf" | awk '/^Pages:/ {print $2}')
rm -f "$out/long.pdf"
lo_time=$(seconds soffice --headless --norestore -env:UserInstallation="file://$out/profile" \
            --convert-to pdf --outdir "$out" "$out/long.rtf")
lo_pages=$(pdfinfo "$out/long.pdf" | awk '/^Pages:/ {print $2}')
echo "quiln: open ${open_time}s, open and export ${both_time}s, export $(echo "$both_time - $open_time" | bc)s, $pages pages"
echo "LibreOffice: RTF to PDF ${lo_time}s, $lo_pages pages"
