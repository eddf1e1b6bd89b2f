#!/usr/bin/env bash
# Runs every test: the native tests, the Windows tests under Wine and the
# end-to-end checks of Tidemere.exe under Wine and Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/setup.sh"
. "$root/scripts/wine-env.sh"

echo "== native build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux --output-on-failure

echo "== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
"$root/tests/check_program.sh" "$root/build/windows/Tidemere.exe"
if [ "$TIDEMERE_WINDOWS_PRESET" != windows ]; then
  echo "== $TIDEMERE_WINDOWS_PRESET build (this machine cannot run 32-bit processes)"
  cmake --preset "$TIDEMERE_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$TIDEMERE_WINDOWS_PRESET"
fi

echo "== Windows tests and end-to-end checks under Wine"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  "$TIDEMERE_WINESERVER" -p 60   # a persistent server: each program then starts fast
  status=0
  ctest --preset "$TIDEMERE_WINDOWS_PRESET" --output-on-failure || status=$?
  "$TIDEMERE_WINESERVER" -k || true
  exit $status
'
