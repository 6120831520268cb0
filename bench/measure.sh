# measure_once <command> [arguments...]: one run of the whole process, printed as
# "wall-microseconds processor-milliseconds" (user plus system to the microsecond, as the
# kernel accounts them; steadier than wall time on a loaded machine). The command is spawned
# straight from a small interpreter: a /usr/bin/time in between costs more processor time
# (about 15 ms here) than a short encoder run and would blur the ratios.
# measure_peak <command> [arguments...]: the peak resident KiB of one run.
# measure <command> [arguments...]: the best of $MEASURE_RUNS (default 7) runs, printed as
# "wall-milliseconds peak-resident-KiB".
# median: the median of the numbers on standard input, one a line.
# Sourced by the bench scripts, which set $work to a scratch folder.
measure_once() {
  python3 - "$@" <<'PY'
import os, sys, time
quiet = os.open(os.devnull, os.O_WRONLY)
start = time.monotonic_ns()
child = os.posix_spawnp(sys.argv[1], sys.argv[1:], os.environ,
                        file_actions=[(os.POSIX_SPAWN_DUP2, quiet, 1), (os.POSIX_SPAWN_DUP2, quiet, 2)])
_, _, usage = os.wait4(child, 0)
print(f"{(time.monotonic_ns() - start) // 1000} {(usage.ru_utime + usage.ru_stime) * 1000:.1f}")
PY
}

# Through /usr/bin/time: a process spawned by the interpreter would report the interpreter's
# high-water mark as its own.
measure_peak() {
  /usr/bin/time -f "%M" -o "$work/peak" "$@" >/dev/null 2>&1
  cat "$work/peak"
}

measure() {
  local best_t=""
  for _ in $(seq "${MEASURE_RUNS:-7}"); do
    local t
    read -r t _ < <(measure_once "$@")
    if [ -z "$best_t" ] || [ "$t" -lt "$best_t" ]; then best_t=$t; fi
  done
  awk "BEGIN{printf \"%.1f %d\n\", $best_t / 1000, $(measure_peak "$@")}"
}

median() { sort -n | awk '{v[NR] = $1} END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m}'; }
