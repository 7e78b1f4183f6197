#!/usr/bin/env bash
# Times a whole-process decode and re-encode of a 4000 × 3000 JPEG and PNG, and the
# decode of a run-length TGA of that size: our codecs (quiln_image_convert) beside
# ImageMagick's convert doing the same, in the same run, and prints the mean times and
# their ratio. JPEG is written at quality 75 by both; PNG at
# zlib level 6 with adaptive filtering by both (convert's -quality 65 is that).
# A 4000 × 3000 8-bit GIF is timed apart: decoded alone (to null:), and encoded from the
# same picture as an 8-bit BMP.
# usage: bench/image_codecs.sh [BUILD_DIR]   (a Release build; default build/release)
#        RUNS=N sets the number of timed runs of each command (default 10).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/release}
tool=$build/bin/quiln_image_convert
runs=${RUNS:-10}
convert=/usr/bin/convert # the real ImageMagick, not a wrapper that may stand before it on PATH
[[ -x $tool ]] || { echo "no $tool: build the quiln_image_convert target first" >&2; exit 1; }
[[ -x $convert ]] || { echo "no $convert: run scripts/setup" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "making the 4000 × 3000 pictures..."
"$convert" -size 4000x3000 -seed 1 plasma:fractal -depth 8 "$work/source.png"
"$convert" "$work/source.png" -quality 90 "$work/big.jpg"
"$convert" "$work/source.png" -quality 65 PNG24:"$work/big.png"
"$convert" "$work/source.png" -colors 256 "$work/big.gif"
"$convert" "$work/big.gif" -type palette BMP3:"$work/big8.bmp"
"$convert" "$work/source.png" -compress RLE TGA:"$work/big.tga"
ls -l "$work/big.jpg" "$work/big.png" "$work/big.gif" "$work/big.tga" | awk '{print "  " $NF ": " $5 " bytes"}'

# mean seconds of each command, interleaved run by run: "ours convert"
time_pair() {
  local ours=$1 theirs=$2
  if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 1 --runs "$runs" --export-csv "$work/times.csv" \
      -n quiln "$ours" -n convert "$theirs" >"$work/hyperfine.log" 2>&1
    awk -F, 'NR > 1 { printf "%s ", $2 } END { print "" }' "$work/times.csv"
  else
    local a=0 b=0 t0 t1 t2 i
    for ((i = 0; i < runs; ++i)); do
      t0=$(date +%s%N); $ours; t1=$(date +%s%N); $theirs; t2=$(date +%s%N)
      a=$((a + t1 - t0)); b=$((b + t2 - t1))
    done
    awk -v a="$a" -v b="$b" -v n="$runs" 'BEGIN { printf "%.6f %.6f\n", a / n / 1e9, b / n / 1e9 }'
  fi
}

report() {
  local label=$1 times
  times=$(time_pair "$2" "$3")
  awk -v label="$label" -v t="$times" 'BEGIN {
    split(t, m, " ");
    printf "%-22s: quiln %.3f s, convert %.3f s, quiln/convert %.2f\n", label, m[1], m[2], m[1] / m[2] }'
}

echo "timing $runs runs of each (whole process)..."
report "JPEG decode + encode" "$tool $work/big.jpg $work/ours.jpg" "$convert $work/big.jpg -quality 75 $work/theirs.jpg"
report "PNG decode + encode" "$tool $work/big.png $work/ours.png" "$convert $work/big.png -quality 65 $work/theirs.png"
report "GIF decode" "$tool $work/big.gif null:" "$convert $work/big.gif null:"
report "GIF encode (from BMP)" "$tool $work/big8.bmp $work/ours.gif" "$convert $work/big8.bmp $work/theirs.gif"
# Decoding alone (convert's null: output writes nothing): the run-length TGA.
report "TGA decode (RLE)" "$tool $work/big.tga null:" "$convert $work/big.tga null:"
# What our tool wrote is what it should be.
/usr/bin/identify -format '  ours.jpg: %wx%h, quality %Q, %[colorspace]\n' "$work/ours.jpg"
/usr/bin/identify -format '  ours.png: %wx%h, %[colorspace], %z-bit\n' "$work/ours.png"
/usr/bin/identify -format '  ours.gif: %wx%h, %k colours\n' "$work/ours.gif"
ls -l "$work/ours.gif" "$work/theirs.gif" | awk '{print "  " $NF ": " $5 " bytes"}'
