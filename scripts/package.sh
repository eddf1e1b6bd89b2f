#!/usr/bin/env bash
# Makes the package a Windows user downloads:
#   build/windows/Tidemere-<version>-windows.zip
# with the stripped Tidemere.exe and Tidemere.scr and a read-me. The debug
# information stays beside the build's program (build/windows/Tidemere.exe.debug).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
version="$(sed -n 's/^#define TIDEMERE_VERSION_TEXT "\(.*\)"$/\1/p' src/core/base/version.h)"
[ -n "$version" ] || { echo "package: no version in src/core/base/version.h" >&2; exit 1; }

# The Windows build paints its icon with the native tool: both, as the README says.
cmake --preset linux >/dev/null && cmake --build --preset linux --target tidemere-render >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows --target Tidemere >/dev/null

build="$root/build/windows"
stage="$build/package"
zip="$build/Tidemere-$version-windows.zip"
rm -rf "$stage" "$zip"
mkdir -p "$stage"
i686-w64-mingw32-objcopy --only-keep-debug "$build/Tidemere.exe" "$build/Tidemere.exe.debug"
i686-w64-mingw32-strip --strip-all -o "$stage/Tidemere.exe" "$build/Tidemere.exe"
( cd "$build" && i686-w64-mingw32-objcopy --add-gnu-debuglink=Tidemere.exe.debug "$stage/Tidemere.exe" )
cp "$stage/Tidemere.exe" "$stage/Tidemere.scr"
sed "s/@VERSION@/$version/; s/\$/\r/" "$root/resources/README.txt.in" >"$stage/README.txt"
( cd "$stage" && cmake -E tar cf "$zip" --format=zip Tidemere.exe Tidemere.scr README.txt )
"$root/tests/check_program.sh" "$zip"
echo "package: $zip"
