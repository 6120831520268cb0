#!/usr/bin/env bash
# An A4 page at 300 dpi (2480 x 3508) written as a PDF the way the application writes it:
# through the PDF glue, grey and colour pages encoded by the system's own JPEG encoder.
# Against the outside tools: a colour page as DCT (cjpeg piped into img2pdf, which passes
# the DCT bytes through, and ImageMagick at the same quality), a bilevel page as Flate
# (ImageMagick -compress zip). Whole-process time, peak memory and file size. Where Debian's
# ImageMagick policy refuses to write PDF, its rows write the same encoding into a TIFF.
# (The framework alone, and deskew: bench/paginor_vs_imagemagick.sh.)
#
#   bench/pdf_vs_imagemagick.sh      (builds the release preset in build/jpeg-release)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/jpeg-release}"
quality=85  # the framework's normal mode

command -v /usr/bin/time >/dev/null || "$here/scripts/setup"
for tool in cjpeg img2pdf convert; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target jpegbench pdfbench >/dev/null
pdfbench="$build/bench/pdfbench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/jpegbench" -make-page 2480 3508 3 "$work/page.ppm"
"$build/bench/jpegbench" -make-page 2480 3508 1 "$work/page.pgm"
convert "$work/page.pgm" -threshold 50% "$work/page.pbm"

MEASURE_RUNS=5
source "$here/bench/measure.sh"

row() { printf "%-16s %-28s %9s %9s %11s\n" "$@"; }
row task tool "time ms" "peak KiB" "size bytes"
run() {  # task tool output command
  rm -f "$3"
  read -r t m < <(measure bash -c "$4")
  local size="-"
  [ -f "$3" ] && size=$(stat -c %s "$3")
  row "$1" "$2" "$t" "$m" "$size"
}
run "colour DCT" ours "$work/ours.pdf" "rm -f $work/ours.pdf; $pdfbench $work/page.ppm $work/ours.pdf"
run "colour DCT" ours-high "$work/high.pdf" "rm -f $work/high.pdf; $pdfbench -high $work/page.ppm $work/high.pdf"
run "colour DCT" "cjpeg | img2pdf" "$work/img2pdf.pdf" \
  "cjpeg -quality $quality $work/page.ppm | img2pdf --pagesize A4 -o $work/img2pdf.pdf"
# ImageMagick may write PDF only where its security policy allows it.
imout=pdf
convert -size 8x8 xc:white "$work/probe.pdf" 2>/dev/null || imout=tif
run "colour DCT" "convert -quality $quality ($imout)" "$work/im.$imout" \
  "convert $work/page.ppm -compress jpeg -quality $quality $work/im.$imout"
run "bilevel Flate" ours "$work/bw.pdf" "rm -f $work/bw.pdf; $pdfbench $work/page.pbm $work/bw.pdf"
run "bilevel Flate" "convert -compress zip ($imout)" "$work/imbw.$imout" \
  "convert $work/page.pbm -compress zip $work/imbw.$imout"
