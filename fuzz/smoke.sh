#!/usr/bin/env bash
# Runs every fuzz target (fuzz/fuzz_*.cpp, built by `make fuzz`) for a short
# time from its seeds, two at a time, and fails when any of them finds a
# crash, a failed check, a leak, a time-out or the memory limit.
#
#   fuzz/smoke.sh BUILD-DIR [SECONDS]
#
# An input that fails is written to tests/data/fuzz-regressions/<name>/,
# where the test suite replays it from then on: commit it with the fix.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The seeds and the dictionary of a target: fuzz/seeds/<name> and
# fuzz/<name>.dict, else the ones named for the first word of its name.
resolve() {
  local name="$1" kind="$2" word="${1%%_*}" candidate
  for candidate in "$name" "$word"; do
    if [ "$kind" = seeds ] && [ -d "$root/fuzz/seeds/$candidate" ]; then echo "$root/fuzz/seeds/$candidate"; return; fi
    if [ "$kind" = dict ] && [ -f "$root/fuzz/$candidate.dict" ]; then echo "$root/fuzz/$candidate.dict"; return; fi
  done
}

run_one() {
  local target="$1" name="${1#fuzz_}"
  local binary="$build/fuzz/$target" log="$logs/$name.log" corpus="$logs/$name.corpus"
  local seeds dict artifacts="$root/tests/data/fuzz-regressions/$name/"
  seeds="$(resolve "$name" seeds)"
  dict="$(resolve "$name" dict)"
  if [ ! -x "$binary" ]; then
    echo "$target: not built ($binary)"
    return 1
  fi
  rm -rf "$corpus" && mkdir -p "$corpus" "$artifacts"
  local args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
              -artifact_prefix="$artifacts")
  [ -n "$dict" ] && args+=(-dict="$dict")
  "$binary" "${args[@]}" "$corpus" ${seeds:+"$seeds"} >"$log" 2>&1
  local status=$?
  local stats
  stats="$(grep -E '^Done [0-9]+ runs' "$log" | tail -1), $(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)"
  if [ $status -ne 0 ]; then
    echo "$target: FAILED (exit $status), log $log"
    grep -E 'ERROR:|SUMMARY:|Test unit written to|^==[0-9]+==|^[a-z].*(failed|changed|lost|differs|expected)' "$log" | head -20
    rmdir "$artifacts" 2>/dev/null
    return 1
  fi
  rmdir "$artifacts" 2>/dev/null
  echo "$target: ok, ${stats:-no statistics}"
}

if [ "${1:-}" = --one ]; then
  build="$2" seconds="$3" logs="$2/fuzz-smoke"
  run_one "$4"
  exit
fi

build="${1:?usage: fuzz/smoke.sh BUILD-DIR [SECONDS]}"
seconds="${2:-30}"
jobs="${FUZZ_JOBS:-2}"
build="$(cd "$build" && pwd)" || exit 1
logs="$build/fuzz-smoke"

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$root/tests/sanitizers/ubsan.supp}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/sanitizers/lsan.supp}"
mkdir -p "$logs"
targets=()
for src in "$root"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} "$0" --one "$build" "$seconds" {} >"$logs/summary" 2>&1
cat "$logs/summary"
failed=$(grep -c ': FAILED\|: not built' "$logs/summary")
passed=$(grep -c ': ok,' "$logs/summary")
echo "fuzz-smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq "${#targets[@]}" ]
