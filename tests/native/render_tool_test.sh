#!/usr/bin/env bash
# End-to-end check of tidemere-render's command line: malformed options exit
# with 2 and a message, --dump writes valid JSON, the same seed the same state,
# and a file is written whole or not at all.
set -u
tool=${1:?usage: render_tool_test.sh PATH-TO-tidemere-render}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_usage_error() {
  "$tool" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq 2 ] || fail "exit $code, wanted 2: $*"
  grep -q 'tidemere-render: ' "$work/err" || fail "no message on stderr: $*"
  [ ! -s "$work/out" ] || fail "wrote to stdout: $*"
}

# The parser has unit tests; here only exit code and stream per kind of error.
expect_usage_error
expect_usage_error --size 10x10
expect_usage_error --dump - --dt 1
expect_usage_error --dump - --bogus 1
expect_usage_error --dump - --settings "$work/no-such.ini"
expect_usage_error --dump - --settings "$work"

"$tool" --dump - --seed 42 --size 800x600 --steps 20 --pointer 400,300 --click 100,200 >"$work/a.json" ||
  fail "dump to stdout failed"
# json.load is the strict parser behind python3 -m json.tool; one start of
# Python checks both validity and content.
python3 - "$work/a.json" <<'PY' || fail "stdout dump is not valid JSON or has the wrong content"
import json, sys
d = json.load(open(sys.argv[1]))
assert (d["width"], d["height"]) == (800, 600), d["width"]
assert d["populated"] is True and d["pointerKnown"] is True
assert (d["pointerX"], d["pointerY"]) == (400, 300)
assert len(d["creatures"]) == 28 and len(d["plants"]) == 9 and len(d["corals"]) == 7
assert len(d["starfish"]) == 4 and len(d["lightRays"]) == 8 and len(d["bubbles"]) >= 15
assert abs(d["elapsed"] - 20 / 60) < 1e-5
PY

"$tool" --dump "$work/b.json" --seed 42 --size 800x600 --steps 20 --pointer 400,300 --click 100,200 ||
  fail "dump to a file failed"
cmp -s "$work/a.json" "$work/b.json" || fail "same seed, different dumps"

"$tool" --dump "$work/no-dir/c.json" --seed 1 2>"$work/err"
[ $? -eq 1 ] || fail "an unwritable output should exit 1"

# A full disk fails with a message; a write cut short (here by a file size
# limit) leaves the file it was to replace as it was, and nothing beside it.
for mode in --out --dump; do
  "$tool" $mode /dev/full --size 64x48 --seed 1 2>"$work/err"
  [ $? -eq 1 ] && grep -q "tidemere-render: .*/dev/full" "$work/err" || fail "$mode /dev/full should fail with a message"
done
mkdir "$work/cut"
printf 'before' >"$work/cut/frame.png"
(trap '' XFSZ && ulimit -f 1 && exec "$tool" --out "$work/cut/frame.png" --size 400x300 --seed 1) 2>"$work/err"
[ $? -eq 1 ] || fail "a write cut short should exit 1"
[ "$(head -c 6 "$work/cut/frame.png")" = before ] || fail "a write cut short changed the file"
[ "$(ls "$work/cut")" = frame.png ] || fail "a write cut short left $(ls "$work/cut" | tr '\n' ' ')"
"$tool" --out "$work/cut/frame.png" --size 400x300 --seed 1 || fail "--out failed"
[ "$(head -c 4 "$work/cut/frame.png" | tail -c 3)" = PNG ] || fail "--out wrote no PNG"

# The golden images: one file each, all written.
mkdir "$work/golden"
"$tool" --golden "$work/golden" >/dev/null 2>&1 || fail "--golden failed"
[ "$(ls "$work/golden" | wc -l)" -eq 7 ] || fail "--golden wrote $(ls "$work/golden" | wc -l) files, wanted 7"
"$tool" --golden "$work/no-dir" >/dev/null 2>&1
[ $? -eq 1 ] || fail "--golden into a missing folder should exit 1"

[ "$failures" -eq 0 ] && echo "render tool: all checks passed"
exit $((failures > 0))
