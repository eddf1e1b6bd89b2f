#!/usr/bin/env bash
# The Debian package of tidemere, made by the package-deb target into a
# scratch folder: its control fields (name, version from version.h, amd64,
# the computed Depends), exactly the program, its menu entry and its icons
# under /usr, and the program it holds, unpacked, through the X11 check.
# Usage: deb_check.sh BUILD_DIR
mode=deb
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_common.sh"
root="$(cd "$here/../.." && pwd)"

version="$(sed -n 's/^#define TIDEMERE_VERSION_TEXT "\(.*\)"$/\1/p' "$root/src/core/base/version.h")"
[ -n "$version" ] || fail "no version in src/core/base/version.h"
TIDEMERE_PACKAGE_DIR="$work/package" cmake --build "$build" --target package-deb >"$work/package.out" 2>&1 ||
  fail "the package-deb target: $(cat "$work/package.out")"
deb="$work/package/tidemere_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/package")"
pass "package-deb made $(basename "$deb")"

dpkg-deb -I "$deb" control >"$work/control" || fail "dpkg-deb -I"
control() { sed -n "s/^$1: //p" "$work/control"; }
[ "$(control Package)" = tidemere ] || fail "Package: $(control Package)"
[ "$(control Version)" = "$version" ] || fail "Version: $(control Version), not $version"
[ "$(control Architecture)" = amd64 ] || fail "Architecture: $(control Architecture)"
depends="$(control Depends)"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6network6 \
  libwayland-client0 libwayland-cursor0 libxcb1 libstdc++6 libc6; do
  echo ", $depends," | grep -q ", $library[ ,]" || fail "Depends names no $library: $depends"
done
control Recommends | grep -qw qt6-wayland || fail "qt6-wayland is not recommended: $(control Recommends)"
for field in Maintainer Homepage Section Description; do
  [ -n "$(control "$field")" ] || fail "no $field field"
done
pass "tidemere $version amd64, Depends: $depends"

expected="usr/bin/tidemere
usr/share/applications/tidemere.desktop"
for size in 16 22 24 32 48 64 128 256; do
  expected="$expected
usr/share/icons/hicolor/${size}x${size}/apps/tidemere.png"
done
dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb -c"
files="$(grep -v '^d' "$work/contents" | awk '{print $NF}' | sed 's|^\./||' | sort)"
[ "$files" = "$(echo "$expected" | sort)" ] || fail "the package holds: $files"
grep -q '^-rwxr-xr-x root/root .* \./usr/bin/tidemere$' "$work/contents" ||
  fail "usr/bin/tidemere: $(grep usr/bin/tidemere "$work/contents")"
pass "holds usr/bin/tidemere, its menu entry and the hicolor icons 16..256, nothing else"

dpkg -x "$deb" "$work/root" || fail "dpkg -x"
program="$work/root/usr/bin/tidemere"
[ -x "$program" ] || fail "no program in the unpacked package"
TIDEMERE_PROGRAM="$program" "$here/x11_e2e.sh" "$build" || fail "the packaged program fails the X11 check"
pass "the packaged program passes the X11 check"
