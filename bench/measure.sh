# measure_once <command> [arguments...]: one run of the whole process, printed as
# "wall-microseconds peak-resident-KiB processor-milliseconds" (user plus system, in 10 ms
# steps; steadier than wall time on a loaded machine).
# measure <command> [arguments...]: the best of $MEASURE_RUNS (default 7) runs, printed as
# "wall-milliseconds peak-resident-KiB".
# Sourced by the bench scripts, which set $work to a scratch folder.
measure_once() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M %U %S" -o "$work/time" "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "$(((end - start) / 1000)) $(awk '{printf "%d %d", $1, ($2 + $3) * 1000}' "$work/time")"
}

measure() {
  local best_t="" best_m=""
  for _ in $(seq "${MEASURE_RUNS:-7}"); do
    local t m
    read -r t m _ < <(measure_once "$@")
    if [ -z "$best_t" ] || [ "$t" -lt "$best_t" ]; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -lt "$best_m" ]; then best_m=$m; fi
  done
  awk "BEGIN{printf \"%.1f %d\n\", $best_t / 1000, $best_m}"
}
