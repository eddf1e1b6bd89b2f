#!/usr/bin/env bash
# End-to-end checks of Tidemere.scr under plain Wine (Xvfb 1280x800):
#   /s over the whole screen, resting while locked; a small mouse move leaves it running, a large
#   one, a key and a click each end it with 0; /c:HWND opens the settings and
#   OK writes the INI file; beside a running wallpaper, which rests while the
#   screensaver covers the screen, "Tidemere exit" leaves the screensaver
#   alone and a second /s ends at once.
#   screensaver_e2e.sh BUILDDIR
set -u
mode=screensaver
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"

# A display mode an earlier check set inside a Wine desktop lives as long as
# the Wine server: start a fresh one, so that the screen is Xvfb's own.
"$TIDEMERE_WINESERVER" -k >/dev/null 2>&1
"$TIDEMERE_WINESERVER" -w >/dev/null 2>&1
"$TIDEMERE_WINESERVER" -p 60 >/dev/null 2>&1

scr="$work/Tidemere.scr"
cp "$build/Tidemere.exe" "$scr"
keys="$build/tidemere-send_keys.exe"
# The screensaver logs into the settings folder.
saver_log="$(dirname "$ini")/Tidemere.log"
rm -f "$ini" "$saver_log"
mkdir -p "$(dirname "$ini")"

# Starts "/s" and waits until its window is up; sets `saver`.
start_saver() {
  : >"$saver_log"
  wine_run "$scr" /s /debug >/dev/null 2>&1 &
  saver=$!
  pids+=("$saver")
  local waited=0
  until grep -qF "[saver] full screen" "$saver_log" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -ge 150 ] && fail "the screensaver did not start: $(tr -d '\r' <"$saver_log" 2>/dev/null)"
  done
  sleep 1
}

# 1. /s: the scene over the whole screen, and what ends it.
start_saver
shot "$work/saver.xwd"
screen png "$work/saver.xwd" "$build/e2e-screensaver.png"
expect_scene "$work/saver.xwd" "the screensaver" 135 124 89
pass "/s shows the Tropical Aquarium over the whole screen"

# It rests as the wallpaper does: a lock stops its frames, an unlock resumes them.
wine_run "$build/tidemere-drive.exe" session lock >/dev/null 2>&1 || fail "the screensaver has no broadcast window"
for _ in $(seq 50); do grep -qF "[rest] session locked: frames stop" "$saver_log" && break; sleep 0.1; done
grep -qF "[rest] session locked: frames stop" "$saver_log" || fail "the screensaver went on drawing while locked"
wine_run "$build/tidemere-drive.exe" session unlock >/dev/null 2>&1
for _ in $(seq 50); do grep -qF "[rest] visible again: frames resume" "$saver_log" && break; sleep 0.1; done
grep -qF "[rest] visible again: frames resume" "$saver_log" || fail "the screensaver did not resume after the unlock"
kill -0 "$saver" 2>/dev/null || fail "a lock ended the screensaver"
pass "the screensaver rests while the session is locked"

wine_run "$keys" move 640 400 >/dev/null 2>&1
sleep 0.5
wine_run "$keys" move 644 403 >/dev/null 2>&1
sleep 1
kill -0 "$saver" 2>/dev/null || fail "a small mouse move ended the screensaver"
wine_run "$keys" move 760 520 >/dev/null 2>&1
expect_exit "$saver" 0 "the screensaver after a large mouse move"
pass "a small move leaves it running, a large one ends it with 0"

start_saver
wine_run "$keys" key 32 >/dev/null 2>&1
expect_exit "$saver" 0 "the screensaver after a key"
start_saver
wine_run "$keys" click 300 300 >/dev/null 2>&1
expect_exit "$saver" 0 "the screensaver after a click"
pass "a key and a click each end it with 0"

# 2. /c:HWND: the settings window, owned by that window; OK saves.
rm -f "$work/owner"
wine_run "$build/tidemere-drive.exe" cover "$work/owner" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/owner" ] && break; sleep 0.1; done
owner="$(tr -d '\r\n' <"$work/owner")"
[ -n "$owner" ] || fail "no window to own the settings"
wine_run "$scr" "/c:$owner" >/dev/null 2>&1 &
configure=$!
pids+=("$configure")
sleep 2
wine_run "$build/tidemere-drive.exe" settings 10 5 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ok >/dev/null 2>&1 ||
  fail "no \"Aquarium Settings\" window to fill"
expect_exit "$configure" 0 "the settings of the screensaver"
rm -f "$work/owner"
settings="$(tr -d '\r' <"$ini" 2>/dev/null)"
for entry in TotalFish=10 Fish0=5 Fish1=5 Fish2=0; do
  grep -qx "$entry" <<<"$settings" || fail "OK did not save $entry"
done
pass "/c:HWND opens the settings; OK writes the INI file"

# 3. Beside a running wallpaper.
rm -f "$ini"
wine_run "$exe" /debug >/dev/null 2>&1 &
wallpaper=$!
pids+=("$wallpaper")
wait_for_log "[diag] frame=100 " 60
start_saver
wait_for_log "[rest] covered: frames stop" 10
pass "the wallpaper rests while the screensaver covers the screen"
wine_run "$exe" exit >/dev/null 2>&1
expect_exit "$wallpaper" 0 "the wallpaper after \"Tidemere exit\""
kill -0 "$saver" 2>/dev/null || fail "\"Tidemere exit\" ended the screensaver"
wine_run "$scr" /s /debug >/dev/null 2>&1
code=$?
[ "$code" -eq 0 ] || fail "a second /s: exit code $code"
grep -qF "[saver] already running full screen" "$saver_log" || fail "a second /s did not end at once"
kill -0 "$saver" 2>/dev/null || fail "a second /s ended the first"
pass "\"Tidemere exit\" leaves the screensaver alone; a second /s ends at once"
wine_run "$keys" key 32 >/dev/null 2>&1
expect_exit "$saver" 0 "the screensaver at the end"

rm -f "$ini" "$saver_log"
cleanup
echo "e2e($mode): all checks passed"
