#!/usr/bin/env bash
# The export's own road for one page, a 600 dpi A4 colour raw page (4960 x 7016) to a JPEG
# with its Exif segment, against cjpeg -quality 70 -sample 2x2 on a PPM of the same pixels:
# whole-process time (best of five) and peak memory for both.
#
#   bench/export_vs_cjpeg.sh      (builds the release preset in `build/export-release`)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/export-release}"

command -v /usr/bin/time >/dev/null || "$here/scripts/setup"
command -v cjpeg >/dev/null || "$here/scripts/setup"

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target jpegbench exportbench >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WENDRIX_ROOT="$work/root"
mkdir -p "$WENDRIX_ROOT"
"$build/bench/jpegbench" -make-page 4960 7016 3 "$work/page.ppm"
"$build/bench/exportbench" -make-raw "$work/page.ppm" "$work/page.dat"

measure() {
  local best_t="" best_m=""
  for _ in 1 2 3 4 5; do
    local start end t m
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    t=$(((end - start) / 1000000))
    m=$(cat "$work/time")
    if [ -z "$best_t" ] || [ "$t" -lt "$best_t" ]; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -lt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_t $best_m"
}

printf "%-8s %8s %9s %11s\n" road "time ms" "peak KiB" "size bytes"
read -r t m < <(measure "$build/bench/exportbench" "$work/page.dat" 4960 7016 600 "$work/export.jpg")
printf "%-8s %8s %9s %11s\n" export "$t" "$m" "$(stat -c %s "$work/export.jpg")"
read -r t m < <(measure cjpeg -quality 70 -sample 2x2 -outfile "$work/cjpeg.jpg" "$work/page.ppm")
printf "%-8s %8s %9s %11s\n" cjpeg "$t" "$m" "$(stat -c %s "$work/cjpeg.jpg")"
printf "raw page: %d KiB\n" $(($(stat -c %s "$work/page.dat") / 1024))
