#!/usr/bin/env bash
# Runs a Windows test executable under Wine for CTest. Wine's exit code alone
# proves nothing (a 32-bit program without wine32 "passes" with 0), so the run
# must also print GoogleTest's own verdict.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TIDEMERE_TESTING=1
. "$here/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run the tests through scripts/test.sh (it starts Xvfb)" >&2
  exit 1
fi
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$TIDEMERE_WINE" "$@" >"$out" 2>&1
code=$?
tr -d '\r' <"$out"
if printf '%s\n' "$@" | grep -q -- '--gtest_list_tests'; then
  # Discovery: the listing must name at least one test.
  grep -qE '^  [A-Za-z_]' <(tr -d '\r' <"$out") || { echo "wine-run: no tests listed" >&2; exit 1; }
  exit $code
fi
if ! tr -d '\r' <"$out" | grep -qE '^\[  PASSED  \] [0-9]+ tests?'; then
  echo "wine-run: no GoogleTest verdict printed (exit code $code)" >&2
  exit 1
fi
if tr -d '\r' <"$out" | grep -qE '^\[  FAILED  \]'; then exit 1; fi
exit $code
