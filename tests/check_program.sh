#!/usr/bin/env bash
# The shipped program: a 32-bit GUI executable that needs no DLL beyond the
# system's.
set -euo pipefail
exe="$1"
description="$(file -b "$exe")"
case "$description" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "check_program: $exe is not a 32-bit GUI program: $description" >&2; exit 1 ;;
esac
system_dlls='^(KERNEL32|USER32|GDI32|gdiplus|SHELL32|ADVAPI32|ole32|OLEAUT32|d3d11|dxgi|dcomp|msvcrt|COMCTL32|UxTheme|dwmapi|WTSAPI32)\.dll$'
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
echo "check_program: $(basename "$exe"): $description; imports only system DLLs; large-address-aware"
