#!/usr/bin/env bash
# Builds Tidemere.exe and runs it under Wine with /debug in a 1280x800 Wine
# virtual desktop window. Without a display it runs under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/setup.sh"
. "$root/scripts/wine-env.sh"
# The native tidemere-render paints the program's icon for the Windows build.
cmake --preset linux >/dev/null
cmake --build --preset linux --target tidemere-render
preset="$TIDEMERE_WINDOWS_PRESET"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Tidemere

exe="$root/build/$preset/Tidemere.exe"
echo "Log file:      $root/build/$preset/Tidemere.log"
echo "Settings file: $WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Tidemere/Tidemere.ini"
echo "Hot keys: Ctrl+Shift+1/2/3 switch scenes, Ctrl+Shift+0 exits."
if [ -n "${DISPLAY:-}" ]; then
  exec "$TIDEMERE_WINE" explorer /desktop=Tidemere,1280x800 "$exe" /debug "$@"
else
  echo "(no DISPLAY: running under Xvfb)"
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$TIDEMERE_WINE" explorer /desktop=Tidemere,1280x800 "$exe" /debug "$@"
fi
