#!/usr/bin/env bash
# Our encoder against libjpeg-turbo's cjpeg on an A4 page at 300 dpi (2480 x 3508), in colour
# and in grey, at the same quality and 2x2 sampling: whole-process time, peak memory, file
# size and PSNR against the source for both.
#
#   bench/jpeg_vs_cjpeg.sh [quality...]      (default: 70, the Save function's normal quality)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/jpeg-release}"
qualities=("${@:-70}")

command -v /usr/bin/time >/dev/null || "$here/scripts/setup"
for tool in cjpeg compare; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target jpegbench >/dev/null
bench="$build/bench/jpegbench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bench" -make-page 2480 3508 3 "$work/page.ppm"
"$bench" -make-page 2480 3508 1 "$work/page.pgm"

# Best of three runs: seconds and peak resident kilobytes of the whole process.
measure() {
  local best_t="" best_m=""
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    read -r t m <"$work/time"
    if [ -z "$best_t" ] || awk "BEGIN{exit !($t < $best_t)}"; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -lt "$best_m" ]; then best_m=$m; fi
  done
  echo "$best_t $best_m"
}

psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | awk '{print $1}'; }

printf "%-6s %-3s %-8s %9s %10s %11s %8s\n" kind q encoder "time s" "peak KiB" "size bytes" "PSNR dB"
for q in "${qualities[@]}"; do
  for kind in colour grey; do
    src="$work/page.ppm"; [ "$kind" = grey ] && src="$work/page.pgm"
    read -r t m < <(measure "$bench" -q "$q" "$src" "$work/ours.jpg")
    printf "%-6s %-3s %-8s %9s %10s %11s %8s\n" "$kind" "$q" ours "$t" "$m" "$(stat -c %s "$work/ours.jpg")" "$(psnr "$src" "$work/ours.jpg")"
    read -r t m < <(measure cjpeg -quality "$q" -sample 2x2 -outfile "$work/cjpeg.jpg" "$src")
    printf "%-6s %-3s %-8s %9s %10s %11s %8s\n" "$kind" "$q" cjpeg "$t" "$m" "$(stat -c %s "$work/cjpeg.jpg")" "$(psnr "$src" "$work/cjpeg.jpg")"
  done
done
