#!/usr/bin/env bash
# Runs every test: the native tests, the Windows tests under Wine and the
# end-to-end checks of Tidemere.exe under Wine and Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
# Every Windows program of the tests runs in the tests' own Wine prefix.
export TIDEMERE_TESTING=1
"$root/scripts/setup.sh"
. "$root/scripts/wine-env.sh"

echo "== native build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
summary="$root/build/test-summary.txt"
mkdir -p "$root/build"
: >"$summary"
ctest --preset linux --output-on-failure | tee -a "$summary"

echo "== Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/scripts/sanitize.sh"
echo "== Fuzzing the raster path and the INI store, a minute each"
"$root/scripts/fuzz.sh" 60

echo "== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
"$root/tests/check_program.sh" "$root/build/windows/Tidemere.exe"
echo "== The package a Windows user downloads"
"$root/scripts/package.sh"
if [ "$TIDEMERE_WINDOWS_PRESET" != windows ]; then
  echo "== $TIDEMERE_WINDOWS_PRESET build (this machine cannot run 32-bit processes)"
  cmake --preset "$TIDEMERE_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$TIDEMERE_WINDOWS_PRESET"
fi

echo "== Windows tests and end-to-end checks under Wine"
# The GDI+ renders of the parity figures land here for the comparison below.
export TIDEMERE_PARITY_DIR="$root/build/parity"
rm -rf "$TIDEMERE_PARITY_DIR"
mkdir -p "$TIDEMERE_PARITY_DIR"
export summary
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -eo pipefail
  "$TIDEMERE_WINESERVER" -p 60   # a persistent server: each program then starts fast
  status=0
  ctest --preset "$TIDEMERE_WINDOWS_PRESET" --output-on-failure | tee -a "$summary" || status=$?
  "$TIDEMERE_WINESERVER" -k || true
  exit $status
'

echo "== Parity: the same figures through GDI+ (under Wine) and Qt"
ls "$TIDEMERE_PARITY_DIR"/*.bin >/dev/null 2>&1 || { echo "no GDI+ renders were written" >&2; exit 1; }
build/linux/tidemere-tests --gtest_filter='Parity.*' --gtest_brief=1

# One closing line over both test runs; a skipped test is neither passed nor failed.
awk '/tests passed, [0-9]+ tests failed out of/ { failed += $4; total += $NF }
     /\*\*\*Skipped/ { skipped += 1 }
     END { printf "tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$summary"
