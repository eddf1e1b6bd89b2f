#!/usr/bin/env bash
# The shipped program: a 32-bit GUI executable that needs no DLL beyond the
# system's, large-address-aware. Given the package (a .zip), checks both
# programs in it: stripped of debug information and carrying their version
# resource, beside the read-me.
set -euo pipefail
target="$1"

check_exe() {
  local exe="$1" description imports bad
  description="$(file -b "$exe")"
  case "$description" in
    "PE32 executable (GUI) Intel 80386"*) ;;
    *) echo "check_program: $exe is not a 32-bit GUI program: $description" >&2; exit 1 ;;
  esac
  local system_dlls='^(KERNEL32|USER32|GDI32|gdiplus|SHELL32|ADVAPI32|ole32|OLEAUT32|d3d11|dxgi|dcomp|msvcrt|COMCTL32|UxTheme|dwmapi|WTSAPI32)\.dll$'
  imports="$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')"
  bad="$(grep -viE "$system_dlls" <<<"$imports" || true)"
  if [ -n "$bad" ]; then
    echo "check_program: $exe imports DLLs beyond the system's: $bad" >&2
    exit 1
  fi
  # DirectComposition is looked up at run time: Windows 7 has no dcomp.dll, and
  # a program that imports it does not start there.
  if grep -qixF dcomp.dll <<<"$imports"; then
    echo "check_program: $exe imports dcomp.dll and would not start on Windows 7" >&2
    exit 1
  fi
  if ! grep -qi "large address aware" <<<"$(i686-w64-mingw32-objdump -p "$exe")"; then
    echo "check_program: $exe is not large-address-aware" >&2
    exit 1
  fi
  python3 - "$exe" <<'PY' || exit 1
import sys
data = open(sys.argv[1], 'rb').read()
for key in ('VS_VERSION_INFO', 'ProductVersion', 'FileDescription', 'LegalCopyright'):
    if key.encode('utf-16-le') not in data:
        sys.exit(f"check_program: {sys.argv[1]} has no version resource ({key})")
PY
  echo "check_program: $(basename "$exe"): $description; imports only system DLLs; large-address-aware; version resource"
}

case "$target" in
  *.zip)
    unpacked="$(mktemp -d)"
    trap 'rm -rf "$unpacked"' EXIT
    ( cd "$unpacked" && cmake -E tar xf "$target" )
    for name in Tidemere.exe Tidemere.scr README.txt; do
      [ -f "$unpacked/$name" ] || { echo "check_program: the package lacks $name" >&2; exit 1; }
    done
    for exe in "$unpacked/Tidemere.exe" "$unpacked/Tidemere.scr"; do
      check_exe "$exe"
      if i686-w64-mingw32-objdump -h "$exe" | grep -q '\.debug_'; then
        echo "check_program: $(basename "$exe") in the package carries debug sections" >&2
        exit 1
      fi
    done
    echo "check_program: $(basename "$target"): both programs stripped, with the read-me"
    ;;
  *) check_exe "$target" ;;
esac
