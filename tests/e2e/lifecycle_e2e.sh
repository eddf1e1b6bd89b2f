#!/usr/bin/env bash
# End-to-end checks of how Tidemere.exe lives with the system, in a small Wine
# virtual desktop with a single creature (frames are cheap, so a stop shows
# within seconds):
#   lifecycle_e2e.sh BUILDDIR
# Covering windows (opaque and translucent), lock and unlock,
# suspend and resume, a display change, the shell going away and coming back,
# and taskkill without /f.
set -u
mode=lifecycle
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"
desktop=(explorer "/desktop=tidemere-lifecycle,320x200")
drive() { run_here "$build/tidemere-drive.exe" "$@" >/dev/null 2>&1; }

# Fails unless the frame counter stands still for SECONDS.
expect_no_frames() {
  local before after
  before="$(last_frame)"
  sleep "$1"
  after="$(last_frame)"
  [ "$after" = "$before" ] || fail "$2: frames went on ($before -> $after)"
}
# Fails unless the frame counter passes another hundred within SECONDS.
expect_frames() {
  local before waited=0
  before="$(last_frame)"
  while [ "$(last_frame)" = "$before" ]; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -ge $(($1 * 5)) ] && fail "$2: no frames for ${1}s"
  done
}
# Waits (up to SECONDS) until TEXT is in the log more often than COUNT times.
wait_for_more() {
  local text="$1" count="$2" limit="$3" waited=0
  while [ "$(count_in_log "$text")" -le "$count" ]; do
    sleep 0.1
    waited=$((waited + 1))
    [ "$waited" -ge $((limit * 10)) ] && fail "no new log line \"$text\" within ${limit}s"
  done
}

write_ini 1 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
run_here "$exe" /debug >/dev/null 2>&1 &
pids+=($!)
wait_for_log "[diag] frame=100 " 60
wait_for_log "[lifecycle] notifications: session=" 5

# 1. An opaque window over the whole screen: frames stop, and resume within a
#    second of its closing.
cover="$work/cover-ready"
drive cover "$cover" &
for _ in $(seq 100); do [ -f "$cover" ] && break; sleep 0.1; done
[ -f "$cover" ] || fail "the covering window did not show"
wait_for_log "[rest] covered: frames stop" 3
expect_no_frames 4 "covered"
resumed="$(count_in_log "[rest] visible again: frames resume")"
rm -f "$cover"
wait_for_more "[rest] visible again: frames resume" "$resumed" 1
expect_frames 10 "uncovered"
pass "an opaque covering window stops frames; they resume within a second of its closing"

# 2. A translucent (layered) window over the whole screen does not.
stops="$(count_in_log "[rest] covered: frames stop")"
drive cover "$cover" layered &
for _ in $(seq 100); do [ -f "$cover" ] && break; sleep 0.1; done
[ -f "$cover" ] || fail "the translucent window did not show"
expect_frames 10 "under a translucent window"
[ "$(count_in_log "[rest] covered: frames stop")" = "$stops" ] || fail "a translucent window stopped frames"
rm -f "$cover"
sleep 0.5
pass "a translucent covering window leaves frames running"

# 3. Reduced motion is checked inside one process (tests/windows): Wine keeps
#    each process's copy of the system parameters, so a helper's change never
#    reaches Tidemere here, although the WM_SETTINGCHANGE broadcast does.

# 4. Lock and unlock (Wine does not lock sessions: the notification is sent).
resumed="$(count_in_log "[rest] visible again: frames resume")"
drive session lock || fail "no broadcast window to tell of the lock"
wait_for_log "[rest] session locked: frames stop" 3
expect_no_frames 3 "locked"
drive session unlock
wait_for_more "[rest] visible again: frames resume" "$resumed" 2
expect_frames 10 "unlocked"
pass "frames stop while the session is locked and resume after unlocking"

# 5. Suspend and resume.
resumed="$(count_in_log "[rest] visible again: frames resume")"
drive power suspend
wait_for_log "[rest] suspending: frames stop" 3
expect_no_frames 3 "suspending"
drive power resume
wait_for_log "[power] resumed" 3
wait_for_more "[rest] visible again: frames resume" "$resumed" 2
expect_frames 10 "resumed"
pass "frames stop for a suspend and resume after it"

# 6. A display change: window, back buffer and picture take the new size.
drive display 400 300 || fail "could not change the display mode"
wait_for_log "显示器变化，窗口调整为 400x300 @ (0,0)" 5
expect_frames 10 "after the display change"
sleep 1
shot "$work/display.xwd"
screen crop "$work/display.xwd" 400 300 "$work/desktop.xwd"
screen png "$work/desktop.xwd" "$build/e2e-display-change.png"
# Wine's taskbar lies over the wallpaper's bottom rows (as a shell's does):
# the water shows above it, out to the new right edge.
screen crop "$work/display.xwd" 400 270 "$work/above-taskbar.xwd"
expect_water "$work/above-taskbar.xwd" "after the display change"
read -r -a far < <(screen probe "$work/above-taskbar.xwd" 392 230)
IFS=, read -r fr _ fb <<<"${far[0]}"
[ "$fb" -gt $((fr + 30)) ] || fail "after the display change: the new right edge shows ${far[0]}, not water"
pass "after a display change the picture fills the new 400x300 screen"

# 7. The shell comes, goes away and comes back: Tidemere attaches each time,
#    with the same aquarium and its tray icon back.
icons="$(count_in_log "托盘图标创建:")"
run_here "$standin" run "$work/shell-ready" >/dev/null 2>&1 &
pids+=($!)
wait_for_log "[shell] a shell has started" 5
wait_for_log "[shell] attached again" 10
wait_for_more "托盘图标创建:" "$icons" 5
state="$(query_shell)"
[ "$state" = "wallpaper=child-of-progman workerw=covered" ] || fail "not under the stand-in's Progman: $state"
expect_frames 20 "under the stand-in shell"
attached="$(count_in_log "[shell] attached again")"
icons="$(count_in_log "托盘图标创建:")"
run_here "$standin" close >/dev/null 2>&1
wait_for_log "[shell] the wallpaper window is gone; waiting for the shell" 5
sleep 2
grep -qF "[msg] WM_DESTROY received" "$log" && ! grep -qF "[shell] the wallpaper window is gone" "$log" &&
  fail "the program ended with the shell"
rm -f "$work/shell-ready"
run_here "$standin" run "$work/shell-ready" >/dev/null 2>&1 &
pids+=($!)
wait_for_more "[shell] attached again" "$attached" 10
wait_for_more "托盘图标创建:" "$icons" 5
state="$(query_shell)"
[ "$state" = "wallpaper=child-of-progman workerw=covered" ] || fail "not under the new Progman: $state"
expect_frames 20 "under the restarted shell"
pass "the shell went away and came back: attached again, tray icon again, frames again"

# 8. taskkill without /f (as installers do): WM_CLOSE to the program's
#    top-level windows, of which only the broadcast window is left while the
#    wallpaper is Progman's child. It ends as "Exit" does.
closes="$(count_in_log "[msg] WM_CLOSE received")"
run_here taskkill /im Tidemere.exe >/dev/null 2>&1
wait_for_more "[msg] WM_CLOSE received" "$closes" 10
wait_for_log "托盘图标已移除" 10
wait_for_log "[msg] WM_DESTROY received" 10
pass "taskkill without /f ends the program as Exit does"
rm -f "$ini"
cleanup
echo "e2e($mode): all checks passed"
