#!/usr/bin/env bash
# The print layout's thumbnails against ImageMagick's `mogrify -thumbnail 70x70` on the same
# ten 2362 x 2362 colour pages (photographs and text pages, see pages.sh): the processor time
# layoutbench spends loading every thumbnail (import and colour match), the median of
# interleaved runs, against mogrify's whole process; then a row of 10 and of 50 pages for the
# peak memory each added page costs.
#
#   bench/layout_vs_mogrify.sh      (builds the release preset in `build/release`)
#   RUNS=n: runs of each (default 5).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-5}"

for tool in /usr/bin/time mogrify pdftoppm; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
(cd "$here" && cmake --preset release -B "$build" >/dev/null &&
  cmake --build "$build" --target layoutbench >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
source "$here/bench/pages.sh"
mapfile -t pages < <(make_pages "${PAGES_DIR:-$work/pages}" 2362 2362 50)
mkdir -p "$work/thumbs"
# One thread, as the preview loads: its processor time is then its work, not waiting threads.
export MAGICK_THREAD_LIMIT=1
bench() { (cd "$build" && bench/layoutbench "$@"); }

: >"$work/ours.runs"
: >"$work/mogrify.runs"
for _ in $(seq "$runs"); do
  bench "${pages[@]:0:10}" | sed -n 's/.*processor \([0-9]*\) ms.*/\1/p' >>"$work/ours.runs"
  measure_once mogrify -path "$work/thumbs" -thumbnail 70x70 "${pages[@]:0:10}" | awk '{print $2}' >>"$work/mogrify.runs"
done
ours=$(median <"$work/ours.runs")
theirs=$(median <"$work/mogrify.runs")
printf "%-24s %9s %9s\n" "10 pages 2362 x 2362" "cpu ms" "x mogrify"
printf "%-24s %9s %9s\n" "layout thumbnails" "$ours" "$(awk "BEGIN{printf \"%.2f\", $ours / $theirs}")"
printf "%-24s %9s %9s\n" "mogrify -thumbnail" "$theirs" 1.00
for n in 10 50; do
  echo "== $n pages"
  bench "${pages[@]:0:$n}" | tee "$work/row$n"
done
peak() { sed -n 's/^thumbnails:.*; peak \([0-9]*\) MiB.*/\1/p' "$1"; }
echo "each page added past 10: $(awk "BEGIN{printf \"%.2f\", ($(peak "$work/row50") - $(peak "$work/row10")) / 40}") MiB of peak"
echo "$runs runs each"
