#!/usr/bin/env bash
# The export's own road for one page, a 600 dpi A4 colour raw page (4960 x 7016) to a JPEG
# with its Exif segment, against cjpeg -quality 70 -sample 2x2 on a PPM of the same pixels:
# whole-process time and processor time (the median of interleaved runs, so that load from
# elsewhere on the machine falls on both alike), peak memory, and what starting the process
# costs (the exporter on a 16 x 16 page, and the shared libraries it loads).
#
#   bench/export_vs_cjpeg.sh      (builds the release preset in `build/export-release`)
#   RUNS=n: runs of each (default 9).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/export-release}"
runs="${RUNS:-9}"

command -v /usr/bin/time >/dev/null || "$here/scripts/setup"
command -v cjpeg >/dev/null || "$here/scripts/setup"

cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target jpegbench exportbench >/dev/null
exporter="$build/bench/exportbench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WENDRIX_ROOT="$work/root"
mkdir -p "$WENDRIX_ROOT"
"$build/bench/jpegbench" -make-page 4960 7016 3 "$work/page.ppm"
"$exporter" -make-raw "$work/page.ppm" "$work/page.dat"
"$build/bench/jpegbench" -make-page 16 16 3 "$work/tiny.ppm"
"$exporter" -make-raw "$work/tiny.ppm" "$work/tiny.dat"

source "$here/bench/measure.sh"


: >"$work/export.runs"
: >"$work/cjpeg.runs"
: >"$work/start.runs"
for _ in $(seq "$runs"); do
  measure_once "$exporter" "$work/page.dat" 4960 7016 600 "$work/export.jpg" >>"$work/export.runs"
  measure_once cjpeg -quality 70 -sample 2x2 -outfile "$work/cjpeg.jpg" "$work/page.ppm" >>"$work/cjpeg.runs"
  measure_once "$exporter" "$work/tiny.dat" 16 16 600 "$work/tiny.jpg" >>"$work/start.runs"
done

# Median wall ms and median processor ms of a runs file.
figures() {
  echo "$(awk '{print $1 / 1000}' "$1" | median) $(awk '{print $2}' "$1" | median)"
}
read -r ew ec < <(figures "$work/export.runs")
read -r cw cc < <(figures "$work/cjpeg.runs")
read -r sw sc < <(figures "$work/start.runs")
em=$(measure_peak "$exporter" "$work/page.dat" 4960 7016 600 "$work/export.jpg")
cm=$(measure_peak cjpeg -quality 70 -sample 2x2 -outfile "$work/cjpeg.jpg" "$work/page.ppm")

row() { printf "%-8s %8s %7s %7s %7s %9s %11s\n" "$@"; }
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }
row road "time ms" "x cjpeg" "cpu ms" "x cjpeg" "peak KiB" "size bytes"
row export "$ew" "$(ratio "$ew" "$cw")" "$ec" "$(ratio "$ec" "$cc")" "$em" "$(stat -c %s "$work/export.jpg")"
row cjpeg "$cw" 1.00 "$cc" 1.00 "$cm" "$(stat -c %s "$work/cjpeg.jpg")"
printf "raw page: %d KiB; %d runs each\n" $(($(stat -c %s "$work/page.dat") / 1024)) "$runs"
printf "exporter on a 16 x 16 page: %s ms, %s ms processor; %d shared libraries (cjpeg: %d)\n" "$sw" "$sc" \
  "$(ldd "$exporter" | grep -c '=>')" "$(ldd "$(command -v cjpeg)" | grep -c '=>')"
