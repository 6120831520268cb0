#!/usr/bin/env bash
# One PDF page written through the PDF glue against the same encoder writing a plain JPEG of
# the same pixels (jpegbench at the PDF's quality, 85), on a page of libtasn1-doc's manual
# rendered by pdftoppm: at 600 dpi in colour and at 1200 dpi in grey (A4's width). Processor time (the
# median of interleaved runs) and its ratio: of the whole process, and of the PDF writing alone
# (pdfbench holds the whole page read from its file first; jpegbench streams it), against
# jpegbench's whole process; peak memory against the raw page.
#
#   bench/pdfpage_vs_jpeg.sh      (builds the release preset in `build/release`)
#   RUNS=n: runs of each (default 5).
#   INSTRUCTIONS=1: also the instructions (valgrind's callgrind; steady on a busy machine) of the
#   PDF writing alone against jpegbench's whole process; a few minutes a page.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-5}"
manual=/usr/share/doc/libtasn1-doc/libtasn1.pdf

for tool in /usr/bin/time pdftoppm; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
[ -f "$manual" ] || "$here/scripts/setup"
(cd "$here" && cmake --preset release -B "$build" >/dev/null && cmake --build "$build" --target jpegbench pdfbench >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
pdftoppm -r 600 -f 3 -l 3 -singlefile "$manual" "$work/colour"
pdftoppm -r 1200 -f 3 -l 3 -singlefile -gray -W 9920 -H 13200 "$manual" "$work/grey"

printf "%-22s %9s %9s %11s %9s %10s %9s\n" page "pdf cpu" "x jpeg" "writing cpu" "x jpeg" "pdf peak" "x raw"
for page in "$work/colour.ppm" "$work/grey.pgm"; do
  : >"$work/pdf.runs"
  : >"$work/jpeg.runs"
  : >"$work/writing.runs"
  for _ in $(seq "$runs"); do
    rm -f "$work/page.pdf"  # the writer makes a new file and will not replace one
    measure_once "$build/bench/pdfbench" "$page" "$work/page.pdf" >>"$work/pdf.runs"
    rm -f "$work/page.pdf"
    "$build/bench/pdfbench" "$page" "$work/page.pdf" | sed -n 's/^writing: \([0-9.]*\) ms.*/\1/p' >>"$work/writing.runs"
    measure_once "$build/bench/jpegbench" -q 85 "$page" "$work/page.jpg" >>"$work/jpeg.runs"
  done
  pdf=$(awk '{print $2}' "$work/pdf.runs" | median)
  jpeg=$(awk '{print $2}' "$work/jpeg.runs" | median)
  writing=$(median <"$work/writing.runs")
  rm -f "$work/page.pdf"
  peak=$(measure_peak "$build/bench/pdfbench" "$page" "$work/page.pdf")
  raw=$(($(stat -c %s "$page") / 1024))
  printf "%-22s %9s %9s %11s %9s %10s %9s\n" "$(basename "$page") $(head -c 20 "$page" | sed -n 2p | tr ' ' x)" "$pdf" \
    "$(awk "BEGIN{printf \"%.2f\", $pdf / $jpeg}")" "$writing" "$(awk "BEGIN{printf \"%.2f\", $writing / $jpeg}")" \
    "$peak" "$(awk "BEGIN{printf \"%.2f\", $peak / $raw}")"
done
echo "cpu in ms, peak in KiB (raw page: the PNM's size); $runs runs each"
if [ "${INSTRUCTIONS:-0}" = 1 ]; then
  instructions() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 | sed -n 's/.*refs: *//p' | tr -d ,; }
  for page in "$work/colour.ppm" "$work/grey.pgm"; do
    rm -f "$work/page.pdf"
    pdf=$(instructions --toggle-collect='pdf_*' "$build/bench/pdfbench" "$page" "$work/page.pdf")
    jpeg=$(instructions "$build/bench/jpegbench" -q 85 "$page" "$work/page.jpg")
    printf "%-12s instructions: writing %s, jpegbench %s, %s x\n" "$(basename "$page")" "$pdf" "$jpeg" \
      "$(awk "BEGIN{printf \"%.2f\", $pdf / $jpeg}")"
  done
fi
