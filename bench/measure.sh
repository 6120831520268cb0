# measure <command> [arguments...]: the best of $MEASURE_RUNS (default 7) runs of the whole
# process, printed as "wall-milliseconds peak-resident-KiB". Sourced by the bench scripts,
# which set $work to a scratch folder.
measure() {
  local best_t="" best_m=""
  for _ in $(seq "${MEASURE_RUNS:-7}"); do
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    local t=$(((end - start) / 1000)) m
    m=$(cat "$work/time")
    if [ -z "$best_t" ] || [ "$t" -lt "$best_t" ]; then best_t=$t; fi
    if [ -z "$best_m" ] || [ "$m" -lt "$best_m" ]; then best_m=$m; fi
  done
  awk "BEGIN{printf \"%.1f %d\n\", $best_t / 1000, $best_m}"
}
