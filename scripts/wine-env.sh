# Sourced by the scripts that run Windows programs. Tidemere is a 32-bit
# program and is tested in a 32-bit Wine prefix where the machine can run
# 32-bit processes. Some machines cannot (their kernel refuses 32-bit ELF
# programs, so Wine's 32-bit loader never starts); there the same sources are
# built for x86-64 and run with the 64-bit loader in a 64-bit prefix.
# TIDEMERE_WINE64=1 takes the 64-bit way on any machine (to check it).
if [ "${TIDEMERE_WINE64:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export TIDEMERE_WINE_BITS=32
  export WINEARCH=win32
  export TIDEMERE_WINE=/usr/lib/wine/wine
  export TIDEMERE_WINESERVER=/usr/lib/wine/wineserver32
  export TIDEMERE_WINDOWS_PRESET=windows
else
  export TIDEMERE_WINE_BITS=64
  export WINEARCH=win64
  export TIDEMERE_WINE=/usr/lib/wine/wine64
  export TIDEMERE_WINESERVER=/usr/lib/wine/wineserver64
  export TIDEMERE_WINDOWS_PRESET=windows64
fi
# Tests (TIDEMERE_TESTING=1) keep a prefix of their own, so that a test run
# never changes the settings the run script starts with.
if [ "${TIDEMERE_TESTING:-0}" = 1 ]; then
  export WINEPREFIX="${TIDEMERE_WINEPREFIX:-$HOME/.local/share/tidemere/test-wineprefix$TIDEMERE_WINE_BITS}"
else
  export WINEPREFIX="${TIDEMERE_WINEPREFIX:-$HOME/.local/share/tidemere/wineprefix$TIDEMERE_WINE_BITS}"
fi
export WINESERVER="$TIDEMERE_WINESERVER"
export WINELOADER="$TIDEMERE_WINE"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
