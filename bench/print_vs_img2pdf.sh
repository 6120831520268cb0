#!/usr/bin/env bash
# Printing one 600 dpi A4 colour page (4960 x 7016) to the folder printer at 100 %, against
# `cjpeg -quality 85 | img2pdf --pagesize A4` of the same pixels, in one run: pages of
# bench/pages.sh (a photograph of mate-backgrounds and a text page of libtasn1-doc's manual).
# Processor time (the median of interleaved runs) as a ratio of the outside tools', and peak
# memory as a multiple of the raw page.
#
#   bench/print_vs_img2pdf.sh      (builds the release preset in build/release)
#   RUNS=n: runs of each (default 3); PAGES_DIR=folder keeps the pages between runs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-3}"

for tool in /usr/bin/time convert pdftoppm cjpeg img2pdf; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
(cd "$here" && cmake --preset release -B "$build" >/dev/null &&
  cmake --build "$build" --target printbench wx_app_resources >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
source "$here/bench/pages.sh"
pages="${PAGES_DIR:-$work/pages}"
width=4960 height=7016
make_pages "$pages" $width $height 2 >/dev/null
outside() { cjpeg -quality 85 "$1" | img2pdf --pagesize A4 -o "$2"; }
export -f outside

printf "%-6s %9s %9s %7s %9s %9s %7s\n" page "raw KiB" "peak KiB" "x raw" "cpu ms" "tools ms" "x tools"
for i in 1 2; do
  page="$pages/page$i.tif"
  convert "$page" -depth 8 "$work/page.ppm"
  : >"$work/ours.runs"
  : >"$work/tools.runs"
  for _ in $(seq "$runs"); do
    measure_once "$build/bench/printbench" "$page" | cut -d' ' -f2 >>"$work/ours.runs"
    measure_once bash -c 'outside "$0" "$1"' "$work/page.ppm" "$work/tools.pdf" | cut -d' ' -f2 >>"$work/tools.runs"
  done
  raw=$((width * height * 3 / 1024))
  peak=$(measure_peak "$build/bench/printbench" "$page")
  cpu=$(median <"$work/ours.runs")
  tools=$(median <"$work/tools.runs")
  awk -v p="page$i" -v r="$raw" -v m="$peak" -v c="$cpu" -v t="$tools" 'BEGIN {
    printf "%-6s %9d %9d %7.2f %9.0f %9.0f %7.2f\n", p, r, m, m / r, c, t, c / t }'
done
