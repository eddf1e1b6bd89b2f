#!/usr/bin/env bash
# Installs what building, running and testing Tidemere needs on Debian 12:
# the native toolchain with Qt 6 and GoogleTest, clang with its sanitizer and
# libFuzzer runtimes, the mingw-w64 cross compiler, 32-bit Wine, Xvfb and Xephyr (two monitors for Wine); for
# the Linux program Wayland's client library and the display servers its
# checks run on (openbox, xcompmgr, sway, weston, with xdotool, grim and a
# D-Bus session), and dpkg-dev, whose dpkg-shlibdeps computes the Debian
# package's dependencies; then makes the 32-bit Wine prefix. Fast when all is
# already there.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(cmake ninja-build g++ python3 file qt6-base-dev libgtest-dev googletest
  clang-14 libclang-rt-14-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine32:i386 wine64 xvfb xserver-xephyr xauth x11-apps
  pkg-config libwayland-dev libxcb1-dev qt6-wayland dbus openbox xcompmgr x11-utils xdotool sway grim weston
  dpkg-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

. "$here/wine-env.sh"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: making the $TIDEMERE_WINE_BITS-bit Wine prefix at $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  xvfb-run -a "$TIDEMERE_WINE" wineboot -i >/dev/null 2>&1 || true
  "$TIDEMERE_WINESERVER" -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { echo "setup: the Wine prefix was not created" >&2; exit 1; }
fi
# Tests run under Xvfb without a window manager, where Wine waits 2 s for one
# each time it hides a managed window: the tests' windows are unmanaged.
if [ "${TIDEMERE_TESTING:-0}" = 1 ] && [ ! -f "$WINEPREFIX/.tidemere-unmanaged" ]; then
  xvfb-run -a "$TIDEMERE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$TIDEMERE_WINESERVER" -w || true
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" && touch "$WINEPREFIX/.tidemere-unmanaged"
fi
