#!/usr/bin/env bash
# Paginor on an A4 page at 300 dpi (2480 x 3508): a colour page written as a DCT PDF against
# cjpeg and ImageMagick at the same quality (each piped into img2pdf, which passes the JPEG
# through: Debian's ImageMagick policy forbids writing PDF itself), a bilevel page as Flate
# against ImageMagick's PNG through img2pdf, and deskew (detection and correction) of a grey
# and a colour page against ImageMagick's -deskew 40%. Whole-process time, peak memory and
# file size.
#
#   bench/paginor_vs_imagemagick.sh      (builds the release preset in build/paginor-release)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/paginor-release}"
quality=85  # the normal mode's quality

for tool in /usr/bin/time cjpeg img2pdf convert; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target paginorbench jpegbench >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/jpegbench" -make-page 2480 3508 3 "$work/page.ppm"
"$build/bench/jpegbench" -make-page 2480 3508 1 "$work/page.pgm"
convert "$work/page.pgm" -threshold 60% "$work/page.pbm"
convert "$work/page.pgm" -background white -rotate 2 -gravity center -extent 2480x3508 "$work/skewed.pgm"
convert "$work/page.ppm" -background white -rotate 2 -gravity center -extent 2480x3508 "$work/skewed.ppm"

# Best of five runs of the whole process: wall milliseconds and peak resident kilobytes.
MEASURE_RUNS=5
source "$here/bench/measure.sh"

row() { printf "%-18s %-22s %8s %9s %11s\n" "$@"; }
run() {
  local task=$1 tool=$2 cmd=$3 out=$4
  read -r t m < <(measure bash -c "$cmd")
  row "$task" "$tool" "$t" "$m" "$([ -n "$out" ] && stat -c %s "$out" || echo -)"
}
row task tool "time ms" "peak KiB" "size bytes"
bench="$build/bench/paginorbench"
run "colour page, DCT" paginor "rm -f $work/a.pdf; $bench -pdf $work/page.ppm $work/a.pdf" "$work/a.pdf"
run "colour page, DCT" "cjpeg | img2pdf" "cjpeg -quality $quality $work/page.ppm | img2pdf -o $work/b.pdf" "$work/b.pdf"
run "colour page, DCT" "convert | img2pdf" "convert $work/page.ppm -quality $quality jpg:- | img2pdf -o $work/c.pdf" "$work/c.pdf"
run "bilevel page, zip" paginor "rm -f $work/d.pdf; $bench -pdf $work/page.pbm $work/d.pdf" "$work/d.pdf"
run "bilevel page, zip" "convert png | img2pdf" "convert $work/page.pbm png:- | img2pdf -o $work/e.pdf" "$work/e.pdf"
for kind in pgm ppm; do
  run "deskew $kind" paginor "$bench -deskew $work/skewed.$kind" ""
  run "deskew $kind" "convert -deskew 40%" "convert $work/skewed.$kind -deskew 40% $work/deskewed.$kind" ""
done
