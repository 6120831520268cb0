#!/usr/bin/env bash
# Deskew (detection and correction) of A4 colour and grey pages at 300 dpi (2480 x 3508)
# against ImageMagick's -deskew 40% on the same pages in one run: pages of bench/pages.sh (a
# text page of libtasn1-doc's manual and a photograph of mate-backgrounds) turned by 2 degrees.
# Peak memory as a multiple of the raw page and of ImageMagick's, and processor time (the
# median of interleaved runs) against ImageMagick's.
#
#   bench/deskew_vs_imagemagick.sh      (builds the release preset in build/release)
#   RUNS=n: runs of each (default 3); PAGES_DIR=folder keeps the pages between runs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-3}"

for tool in /usr/bin/time convert pdftoppm; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
(cd "$here" && cmake --preset release -B "$build" >/dev/null && cmake --build "$build" --target paginorbench >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
source "$here/bench/pages.sh"
pages="${PAGES_DIR:-$work/pages}"
make_pages "$pages" 2480 3508 2 >/dev/null
for kind in ppm pgm; do
  colour=$([ $kind = ppm ] && echo "-type TrueColor" || echo "-colorspace Gray")
  convert "$pages/page2.tif" -strip $colour -background white -rotate 2 -gravity center -extent 2480x3508 "$work/text.$kind"
  convert "$pages/page1.tif" -strip $colour -background white -rotate 2 -gravity center -extent 2480x3508 "$work/photo.$kind"
done

printf "%-11s %9s %9s %7s %9s %7s %9s %9s %7s\n" page "raw KiB" "peak KiB" "x raw" "IM peak" "x IM" "cpu ms" "IM cpu" "x IM"
for page in text.ppm photo.ppm text.pgm photo.pgm; do
  : >"$work/ours.runs"
  : >"$work/im.runs"
  for _ in $(seq "$runs"); do
    measure_once "$build/bench/paginorbench" -deskew "$work/$page" | cut -d' ' -f2 >>"$work/ours.runs"
    measure_once convert "$work/$page" -deskew 40% "$work/im.$page" | cut -d' ' -f2 >>"$work/im.runs"
  done
  raw=$((2480 * 3508 * $([ "${page##*.}" = ppm ] && echo 3 || echo 1) / 1024))
  peak=$(measure_peak "$build/bench/paginorbench" -deskew "$work/$page")
  im_peak=$(measure_peak convert "$work/$page" -deskew 40% "$work/im.$page")
  cpu=$(median <"$work/ours.runs")
  im_cpu=$(median <"$work/im.runs")
  awk -v p="$page" -v r="$raw" -v m="$peak" -v im="$im_peak" -v c="$cpu" -v ic="$im_cpu" 'BEGIN {
    printf "%-11s %9d %9d %7.2f %9d %7.2f %9.0f %9.0f %7.2f\n", p, r, m, m / r, im, m / im, c, ic, c / ic }'
done
