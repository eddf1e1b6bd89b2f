#!/usr/bin/env bash
# Fuzzes the toolkit's raster path and the portable INI store (tests/fuzz)
# with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer, each
# target for SECONDS seconds (default 60), both at once, starting from the
# checked-in corpus in tests/fuzz/corpus. Inputs that reach new code are kept
# in build/fuzz/corpus-TARGET for the next run; an input that crashes, trips a
# sanitizer, hangs for a minute or breaks a target's own check is written to
# build/fuzz/ and fails the run.
#
#   scripts/fuzz.sh            a minute each (what the test run does)
#   scripts/fuzz.sh 1800       half an hour each
#   build/linux-sanitize/tidemere-fuzz-raster build/fuzz/crash-...   replays one input
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [seconds]" >&2; exit 2; }
# clang and its sanitizer and libFuzzer runtimes come with the project's packages.
dpkg-query -W -f='${Status}\n' clang-14 libclang-rt-14-dev 2>/dev/null | grep -c 'install ok installed' |
  grep -qx 2 || "$root/scripts/setup.sh"

cmake --preset linux-sanitize >/dev/null
cmake --build --preset linux-sanitize --target tidemere-fuzz-raster tidemere-fuzz-ini
out="$root/build/fuzz"
mkdir -p "$out"

run() {
  local target=$1 max_len=$2
  mkdir -p "$out/corpus-$target"
  "$root/build/linux-sanitize/tidemere-fuzz-$target" -max_total_time="$seconds" -timeout=60 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$out/$target-" "$out/corpus-$target" "$root/tests/fuzz/corpus/$target" \
    >"$out/$target.log" 2>&1
}
status=0
run raster 512 &
raster=$!
run ini 4096 &
ini=$!
wait $raster || status=1
wait $ini || status=1
for target in raster ini; do
  log="$out/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  corpus=$(ls "$out/corpus-$target" | wc -l)
  if grep -qE '^==[0-9]+==ERROR|runtime error|^SUMMARY|deadly signal|Test unit written' "$log"; then
    echo "fuzz $target: FAILED after ${runs:-?} inputs, see $log"
    grep -E '^==[0-9]+==ERROR|runtime error|deadly signal|Test unit written' "$log" | head -5
    status=1
  else
    echo "fuzz $target: ${runs:-?} inputs in ${seconds} s, clean; corpus $corpus inputs"
  fi
done
exit $status
