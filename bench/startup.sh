#!/usr/bin/env bash
# Start-up of the release executable, headless, from exec to the main window's first
# complete draw (WENDRIX_QUIT_AFTER_DRAW ends it right there): median wall time and peak
# memory of several runs, once with the film-adapter check that every start of a model
# without an adapter makes, once with the check already done.
#   bench/startup.sh [runs]   (builds the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target wendrix >/dev/null
exe=build/release/bin/wendrix
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export WENDRIX_ROOT=$root WX_DISPLAY=headless WENDRIX_QUIT_AFTER_DRAW=1
WENDRIX_QUIT_AFTER_DRAW= timeout 5 "$exe" >/dev/null 2>&1 || true   # makes the preferences file
prefs=$(find "$root" -name 'DRWX5011*.pref' | head -1)

measure() {  # label, byte for "film-adapter check done"
  local times=() peak=0
  for _ in $(seq "$runs"); do
    printf "\\x$2" | dd of="$prefs" bs=1 seek=55423 conv=notrunc status=none
    local start end kb
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$root/peak" "$exe" >/dev/null 2>&1
    kb=$(tail -1 "$root/peak")
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    (( kb > peak )) && peak=$kb
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  echo "$1: median ${median} ms over $runs runs, peak memory $((peak / 1024)) MB"
}
measure "with the film-adapter check" 00
measure "without the check" 01
