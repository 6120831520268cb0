#!/usr/bin/env bash
# The preview's thumbnails against ImageMagick's `mogrify -thumbnail 70x70` on the same 20
# A4 pages at 300 dpi (2480 x 3508, photographs and text pages, see pages.sh): processor
# time of the whole process, the median of interleaved runs, and the ratio; previewbench's
# own figures (first thumbnail, longest wait of queued input, peak) from its median run.
#
#   bench/preview_vs_mogrify.sh      (builds the release preset in `build/release`)
#   RUNS=n: runs of each (default 5).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-5}"

for tool in /usr/bin/time mogrify pdftoppm; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
(cd "$here" && cmake --preset release -B "$build" >/dev/null && cmake --build "$build" --target previewbench >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
source "$here/bench/pages.sh"
mapfile -t pages < <(make_pages "${PAGES_DIR:-$work/pages}" 2480 3508 20)
mkdir -p "$work/thumbs"
# One thread, as the preview loads: its processor time is then its work, not waiting threads.
export MAGICK_THREAD_LIMIT=1

: >"$work/ours.runs"
: >"$work/mogrify.runs"
for _ in $(seq "$runs"); do
  measure_once "$build/bench/previewbench" "${pages[@]}" >>"$work/ours.runs"
  measure_once mogrify -path "$work/thumbs" -thumbnail 70x70 "${pages[@]}" >>"$work/mogrify.runs"
done
ours=$(awk '{print $2}' "$work/ours.runs" | median)
theirs=$(awk '{print $2}' "$work/mogrify.runs" | median)
printf "%-22s %9s %9s\n" "20 A4 pages" "cpu ms" "x mogrify"
printf "%-22s %9s %9s\n" "preview thumbnails" "$ours" "$(awk "BEGIN{printf \"%.2f\", $ours / $theirs}")"
printf "%-22s %9s %9s\n" "mogrify -thumbnail" "$theirs" 1.00
"$build/bench/previewbench" "${pages[@]}"
echo "mogrify peak: $(measure_peak mogrify -path "$work/thumbs" -thumbnail 70x70 "${pages[@]}") KiB; $runs runs each"
