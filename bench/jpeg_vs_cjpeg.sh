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

# Best of seven runs of the whole process: wall milliseconds and peak resident kilobytes.
source "$here/bench/measure.sh"

psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | awk '{print $1}'; }

row() { printf "%-6s %-3s %-12s %8s %9s %11s %8s\n" "$@"; }
row kind q encoder "time ms" "peak KiB" "size bytes" "PSNR dB"
for q in "${qualities[@]}"; do
  for kind in colour grey; do
    src="$work/page.ppm"; [ "$kind" = grey ] && src="$work/page.pgm"
    # The application's road: point-sampled chroma.
    read -r t m < <(measure "$bench" -q "$q" "$src" "$work/ours.jpg")
    row "$kind" "$q" ours "$t" "$m" "$(stat -c %s "$work/ours.jpg")" "$(psnr "$src" "$work/ours.jpg")"
    if [ "$kind" = colour ]; then
      # Averaged chroma, as cjpeg reduces it.
      read -r t m < <(measure "$bench" -average -q "$q" "$src" "$work/avg.jpg")
      row "$kind" "$q" ours-average "$t" "$m" "$(stat -c %s "$work/avg.jpg")" "$(psnr "$src" "$work/avg.jpg")"
    fi
    read -r t m < <(measure cjpeg -quality "$q" -sample 2x2 -outfile "$work/cjpeg.jpg" "$src")
    row "$kind" "$q" cjpeg "$t" "$m" "$(stat -c %s "$work/cjpeg.jpg")" "$(psnr "$src" "$work/cjpeg.jpg")"
  done
done
