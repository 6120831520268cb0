#!/usr/bin/env bash
# Text recognition of one page (a page of libtasn1-doc's manual rendered by pdftoppm at
# 300 dpi, grey, through paginor's text layer into a PDF) on one thread, as Wendrix runs it,
# against the engine's default of one OpenMP thread per processor, in one run: the medians
# of interleaved runs of processor time (user plus system) and wall time, and their ratios.
# A run that outlasts TIMEOUT seconds is counted at its timeout (printed with ">").
#
#   bench/text_threads.sh      (builds the release preset in build/release)
#   RUNS=n: runs of each (default 3); TIMEOUT=s (default 300).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/release}"
runs="${RUNS:-3}"
limit="${TIMEOUT:-300}"
manual=/usr/share/doc/libtasn1-doc/libtasn1.pdf

for tool in pdftoppm; do command -v "$tool" >/dev/null || "$here/scripts/setup"; done
[ -f "$manual" ] || "$here/scripts/setup"
(cd "$here" && cmake --preset release -B "$build" >/dev/null && cmake --build "$build" --target paginorbench >/dev/null)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$here/bench/measure.sh"
pdftoppm -r 300 -f 3 -l 3 -singlefile -gray -W 2480 -H 3508 "$manual" "$work/page"

threads=$(nproc)
: >"$work/one.runs"
: >"$work/all.runs"
for _ in $(seq "$runs"); do
  for kind in one all; do
    rm -f "$work/page.pdf"
    n=$([ $kind = one ] && echo 1 || echo "$threads")
    OMP_THREAD_LIMIT=$n measure_once timeout "$limit" "$build/bench/paginorbench" -text "$work/page.pgm" \
      "$work/page.pdf" >>"$work/$kind.runs"
  done
done
cpu() { awk '{print $2}' "$work/$1.runs" | median; }
wall() { awk '{print $1 / 1000}' "$work/$1.runs" | median; }
mark() { awk -v w="$1" -v t="$limit" 'BEGIN {print (w >= t * 1000) ? ">" : ""}'; }
printf "%-22s %12s %12s\n" threads "cpu ms" "wall ms"
printf "%-22s %12.0f %11s%.0f\n" "1 (Wendrix)" "$(cpu one)" "$(mark "$(wall one)")" "$(wall one)"
printf "%-22s %12.0f %11s%.0f\n" "$threads (engine default)" "$(cpu all)" "$(mark "$(wall all)")" "$(wall all)"
awk -v c1="$(cpu one)" -v ca="$(cpu all)" -v w1="$(wall one)" -v wa="$(wall all)" 'BEGIN {
  printf "one thread against the default: %.2fx the processor time, %.2fx the wall time\n", c1 / ca, w1 / wa }'
