#!/usr/bin/env bash
# Our encoder against libjpeg-turbo's cjpeg, in colour and in grey, at the same quality and
# 2x2 sampling: whole-process time, peak memory, file size and PSNR against the source for
# both. The runs of the encoders are interleaved and each figure is the median of the runs,
# so that load from elsewhere on the machine falls on both alike.
#
#   bench/jpeg_vs_cjpeg.sh [--image FILE] [quality...]   (default: 70, the Save function's
#                                                        normal quality)
#   --image FILE: any picture ImageMagick reads (made 8-bit RGB and grey); without it an
#                 A4 page at 300 dpi (2480 x 3508) made by jpegbench.
#   RUNS=n: runs per encoder and setting (default 7).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/jpeg-release}"
runs="${RUNS:-7}"
image=""
if [ "${1:-}" = "--image" ]; then
  image="$2"
  shift 2
fi
qualities=("${@:-70}")

command -v /usr/bin/time >/dev/null || "$here/scripts/setup"
for tool in cjpeg djpeg convert; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done

# From anywhere: the presets are read from the source tree.
(cd "$here" && cmake --preset release -B "$build" >/dev/null && cmake --build "$build" --target jpegbench >/dev/null)
bench="$build/bench/jpegbench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ -n "$image" ]; then
  convert "$image" -alpha off -colorspace sRGB -type TrueColor -depth 8 "ppm:$work/page.ppm"
  convert "$image" -alpha off -colorspace Gray -depth 8 "pgm:$work/page.pgm"
else
  "$bench" -make-page 2480 3508 3 "$work/page.ppm"
  "$bench" -make-page 2480 3508 1 "$work/page.pgm"
fi

source "$here/bench/measure.sh"
# Tried as a new user would: an empty data folder, so that the file naming's table of folder
# identities (which grows with every folder the toolbox has named) is not read on every run.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME"


# Decoded by djpeg, in dB over every sample.
psnr() {
  djpeg -outfile "$work/decoded.pnm" "$2"
  "$bench" -psnr "$1" "$work/decoded.pnm"
}

row() { printf "%-6s %-3s %-12s %8s %7s %7s %7s %9s %11s %8s\n" "$@"; }
row kind q encoder "time ms" "x cjpeg" "cpu ms" "x cjpeg" "peak KiB" "size bytes" "PSNR dB"
for q in "${qualities[@]}"; do
  for kind in colour grey; do
    src="$work/page.ppm"; [ "$kind" = grey ] && src="$work/page.pgm"
    # The application's road (point-sampled chroma), averaged chroma as cjpeg reduces it,
    # and cjpeg; one run of each in turn.
    encoders=(ours cjpeg); [ "$kind" = colour ] && encoders=(ours ours-average cjpeg)
    declare -A command=(
      [ours]="$bench -q $q $src $work/ours.jpg"
      [ours-average]="$bench -average -q $q $src $work/ours-average.jpg"
      [cjpeg]="cjpeg -quality $q -sample 2x2 -outfile $work/cjpeg.jpg $src")
    for e in "${encoders[@]}"; do : >"$work/$e.runs"; done
    for _ in $(seq "$runs"); do
      for e in "${encoders[@]}"; do
        # shellcheck disable=SC2086  # the command's words, none of which holds a space
        measure_once ${command[$e]} >>"$work/$e.runs"
      done
    done
    reference=$(cut -d' ' -f1 "$work/cjpeg.runs" | median)
    cpuReference=$(cut -d' ' -f2 "$work/cjpeg.runs" | median)
    for e in "${encoders[@]}"; do
      t=$(cut -d' ' -f1 "$work/$e.runs" | median)
      c=$(cut -d' ' -f2 "$work/$e.runs" | median)
      # shellcheck disable=SC2086
      m=$(measure_peak ${command[$e]})
      row "$kind" "$q" "$e" "$(awk "BEGIN{printf \"%.1f\", $t / 1000}")" "$(awk "BEGIN{printf \"%.2f\", $t / $reference}")" \
        "$c" "$(awk "BEGIN{printf \"%.2f\", $cpuReference ? $c / $cpuReference : 0}")" \
        "$m" "$(stat -c %s "$work/$e.jpg")" "$(psnr "$src" "$work/$e.jpg")"
    done
  done
done
