#!/usr/bin/env bash
# Builds the native tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, the linux-sanitize preset) and runs them; a sanitizer report fails
# the test it comes from. The same build holds the fuzz targets
# (scripts/fuzz.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
# clang and its sanitizer and libFuzzer runtimes come with the project's packages.
dpkg-query -W -f='${Status}\n' clang-14 libclang-rt-14-dev 2>/dev/null | grep -c 'install ok installed' |
  grep -qx 2 || "$root/scripts/setup.sh"

# Full stacks for allocations: the leak suppressions name Qt's libraries, which
# a fast unwind through libwayland-client does not reach.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:fast_unwind_on_malloc=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/sanitize/lsan.supp}"
cmake --preset linux-sanitize >/dev/null
cmake --build --preset linux-sanitize
ctest --preset linux-sanitize -j "$(nproc)"
