#!/usr/bin/env bash
# End-to-end checks of Tidemere.exe under Wine (run inside Xvfb by the test
# script):
#   run_e2e.sh plain BUILDDIR   no shell windows: the wallpaper window has no parent,
#                               and screenshots show what it draws
#   run_e2e.sh shell BUILDDIR   a stand-in shell owns "Progman" with the icon view and
#                               an empty "WorkerW": the window attaches under Progman
#   run_e2e.sh pacing BUILDDIR  frame rates of the two modes in a small Wine desktop
set -u
mode="$1"
build="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"

rm -f "$ini"

# Pacing: in a small Wine desktop with a single creature a frame costs far
# less than a 16 ms tick, so the frame counter shows each mode's rate.
if [ "$mode" = pacing ]; then
  desktop=(explorer "/desktop=tidemere-pacing,160x120")
  # Frames per second from the first to the last "[diag] frame=" line of the
  # log, by the lines' millisecond stamps.
  frame_rate() {
    tr -d '\r' <"$log" | sed -n 's/^\[\([0-9]*\)\] \[diag\] frame=\([0-9]*\) .*/\1 \2/p' |
      awk 'NR == 1 { t0 = $1; f0 = $2 } { t = $1; f = $2 } END { if (t > t0) printf "%.1f\n", (f - f0) * 1000 / (t - t0); else print 0 }'
  }
  measure() {
    write_ini 1 5 "$1" 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0
    : >"$log"
    run_here "$exe" /debug >/dev/null 2>&1 &
    pids+=($!)
    wait_for_log "[diag] frame=100 " 60
    sleep 8
    wait_for_log "[diag] frame=200 " 30
    rate="$(frame_rate)"
    cost="$(tr -d '\r' <"$log" | grep -o 'render ms median=[0-9.]*' | tail -n 1)"
    run_here "$exe" exit >/dev/null 2>&1
    wait_for_log "[msg] WM_DESTROY received" 30
  }
  measure 0
  smooth="$rate"
  echo "e2e(pacing): FpsMode=0: $smooth frames/s ($cost)"
  measure 1
  saver="$rate"
  echo "e2e(pacing): FpsMode=1: $saver frames/s ($cost)"
  awk -v a="$smooth" -v b="$saver" 'BEGIN { exit !(b > 0 && a / b >= 3 && a / b <= 5.5) }' ||
    fail "power saver should render about a quarter as often: $smooth against $saver frames/s"
  pass "power saver renders about a quarter as often ($smooth against $saver frames/s)"
  rm -f "$ini"
  cleanup
  echo "e2e($mode): all checks passed"
  exit 0
fi

if [ "$mode" = shell ]; then
  wine_run "$standin" run "$work/shell-ready" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -f "$work/shell-ready" ] && break; sleep 0.2; done
  [ -f "$work/shell-ready" ] || fail "the stand-in shell did not start"
fi

# 1. Start-up.
wine_run "$exe" /debug >/dev/null 2>&1 &
first=$!
pids+=("$first")
wait_for_log "热键注册(Ctrl+Shift,hWnd=0x" 30
expect_in_order "原壁纸备份: " "Tidemere started, initial effect=1"
grep -qE "热键注册\(Ctrl\+Shift,hWnd=0x[0-9A-F]+\) 1=1 2=1 3=1 0=1" "$log" ||
  fail "the hot keys were not registered to the message window"
if [ "$mode" = shell ]; then
  expect_in_order "Tidemere started, initial effect=1" "桌面壁纸层 = 0x" "SetParent ret=0x" \
    "覆盖原壁纸层 0x" "壁纸窗口创建成功 hwnd=0x" "消息窗口创建 hwnd=0x" "热键注册(Ctrl+Shift,hWnd=0x"
  grep -qE "桌面壁纸层 = 0x[0-9A-F]+ \(WorkerW\)" "$log" || fail "the empty WorkerW was not found"
  state="$(query_shell)"
  [ "$state" = "wallpaper=child-of-progman workerw=covered" ] || fail "attachment: $state"
  pass "attached under Progman, over the wallpaper layer"
else
  expect_in_order "Tidemere started, initial effect=1" "错误：未找到 Progman 窗口" "SetParent ret=0x" \
    "壁纸窗口创建成功 hwnd=0x" "消息窗口创建 hwnd=0x" "热键注册(Ctrl+Shift,hWnd=0x"
  grep -qE "parent=0x0+ " "$log" || fail "the wallpaper window has a parent without Progman"
  pass "started without a shell; the window has no parent"
fi
grep -qF "presenter: GDI fallback" "$log" || fail "no line says how frames are presented"

if [ "$mode" = shell ]; then
  # Under Wine a child of another process's window never reaches the screen:
  # the diagnostic lines show that frames are drawn and presented.
  wait_for_log "[diag] frame=100 GDI+ status=0 fish=28" 90
  wait_for_log "[diag] render ms median=" 30
  pass "frames are rendered and presented under the stand-in Progman"
else
  sleep 3
  shot "$work/theme1.xwd"
  screen png "$work/theme1.xwd" "$build/e2e-theme1.png"
  expect_scene "$work/theme1.xwd" "Tropical Aquarium" 135 124 89
  pass "the screen shows the Tropical Aquarium (sand, water gradient)"
  # Creatures flee the pointer. It goes to the point the click check will
  # press now, long before: a flight from it at the click would stir the
  # boxes that check compares (a pointer left elsewhere by an earlier test
  # made it fail).
  read -r width height < <(screen size "$work/theme1.xwd")
  cx=$((width / 2)) cy=$((height * 45 / 100))
  wine_run "$build/tidemere-send_keys.exe" move "$cx" "$cy" >/dev/null 2>&1 || fail "could not move the pointer"
fi

# 2. A second start says Tidemere is already running, returns 1 and changes nothing.
wine_run "$exe" /debug >/dev/null 2>&1 &
again=$!
pids+=("$again")
rm -f "$work/box"
wine_run "$build/tidemere-drive.exe" box "$work/box" >/dev/null 2>&1 || fail "the second start showed no box"
grep -qF "Tidemere is already running." "$work/box" || fail "the second start's box says: $(cat "$work/box")"
expect_exit "$again" 1 "second start"
grep -qF "Tidemere already running, exiting" "$log" || fail "second start did not log why it ended"
kill -0 "$first" 2>/dev/null || fail "the first instance ended after the second start"
[ -f "$ini" ] && fail "the second start wrote the settings file"
[ "$(count_in_log "Tidemere started, initial effect=")" -eq 1 ] || fail "the second start started"
pass "second start said Tidemere is already running and returned 1"

# 3. Ctrl+Shift+2 switches to theme 2 and saves every setting.
wine_run "$build/tidemere-send_keys.exe" 2 >/dev/null 2>&1 || fail "could not inject Ctrl+Shift+2"
wait_for_log "切换效果 -> 2"
expect_in_order "SetEffect called: old=1 new=2" "切换效果 -> 2"
# The line is logged before the save, and Fish19 is the last key written.
for _ in $(seq 50); do grep -q "^Fish19=" "$ini" 2>/dev/null && break; sleep 0.2; done
[ -f "$ini" ] || fail "no settings file after the theme change"
settings="$(tr -d '\r' <"$ini")"
for entry in Theme=2 TotalFish=28 FpsMode=0 Fish0=2 Fish7=2 Fish8=1 Fish19=1; do
  grep -qx "$entry" <<<"$settings" || fail "settings file lacks $entry"
done
pass "Ctrl+Shift+2 switched to theme 2 and saved the settings"

if [ "$mode" = plain ]; then
  sleep 1
  shot "$work/theme2.xwd"
  screen png "$work/theme2.xwd" "$build/e2e-theme2.png"
  expect_scene "$work/theme2.xwd" "Deep Sea Aquarium" 21 17 14
  pass "within a second the screen shows the Deep Sea Aquarium"

  # A click releases a burst of bubbles there: the box above the point (the
  # bubbles rise) turns lighter, far more than the quietest of four boxes of
  # the same size elsewhere. Creatures keep out of the first (the pointer
  # rests on it) but swim through the others, and bright ones on the dark
  # water lighten a thousand pixels or more in 0.3 s.
  shot "$work/before-click.xwd"
  wine_run "$build/tidemere-send_keys.exe" click "$cx" "$cy" >/dev/null 2>&1 || fail "could not inject a click"
  # Shots over the next 1.5 s, taken first and read afterwards: on a busy
  # machine the next frame may take a while, and the bubbles soon rise away.
  for k in 1 2 3 4 5; do
    sleep 0.3
    shot "$work/after-click-$k.xwd"
  done
  wait_for_log "[pointer] 1 click(s): bubbles released" 10
  lighter() { screen brighter "$work/before-click.xwd" "$2" $(($1 - 45)) $((cy - 110)) 90 130 90; }
  burst=""
  for k in 1 2 3 4 5; do
    after="$work/after-click-$k.xwd"
    near_click="$(lighter "$cx" "$after")"
    others=()
    for x in $((width / 8)) $((width / 4)) $((width * 3 / 4)) $((width * 7 / 8)); do
      others+=("$(lighter "$x" "$after")")
    done
    elsewhere="$(printf '%s\n' "${others[@]}" | sort -n | head -n 1)"
    seen="$near_click lighter pixels there, ${others[*]} elsewhere, $((3 * k))/10 s after the click"
    if [ "$near_click" -gt 150 ] && [ "$near_click" -gt $((3 * elsewhere + 30)) ]; then
      burst="$seen"
      screen png "$after" "$build/e2e-click.png"
      break
    fi
  done
  [ -n "$burst" ] || fail "no bubbles near the click: $seen"
  pass "a click released bubbles at its point ($burst)"
fi

# 4. The exit command ends the running instance with 0.
wine_run "$exe" exit /debug >/dev/null 2>&1
code=$?
[ "$code" -eq 0 ] || fail "exit command: exit code $code, expected 0"
grep -qF "exit command: sent exit to running Tidemere" "$log" || fail "exit command did not log"
expect_exit "$first" 0 "instance closed by the exit command"
# The command posts WM_CLOSE before it logs, so the two processes' lines may come in either order.
expect_in_order "[msg] WM_CLOSE received" "[msg] WM_DESTROY received"
if [ "$mode" = shell ]; then
  state="$(query_shell)"
  [ "$state" = "wallpaper=none workerw=visible" ] || fail "after exit: $state"
  pass "the wallpaper layer is shown again after exit"
fi
pass "exit command ended the instance with 0"

# 5. With nothing running the exit command says so and returns 1.
wine_run "$exe" exit /debug >/dev/null 2>&1
code=$?
[ "$code" -eq 1 ] || fail "exit command without an instance: exit code $code, expected 1"
grep -qF "exit command: no running Tidemere found" "$log" || fail "exit command without an instance did not log"
pass "exit command without an instance returned 1"

# 6. The stored theme comes back; Ctrl+Shift+0 ends the instance with 0.
: >"$log"
wine_run "$exe" /debug >/dev/null 2>&1 &
second=$!
pids+=("$second")
wait_for_log "消息窗口创建 hwnd=0x" 30
grep -qF "Tidemere started, initial effect=2" "$log" || fail "the saved theme 2 was not loaded"
wine_run "$build/tidemere-send_keys.exe" 0 >/dev/null 2>&1 || fail "could not inject Ctrl+Shift+0"
wait_for_log "热键退出"
expect_exit "$second" 0 "instance ended by Ctrl+Shift+0"
pass "Ctrl+Shift+0 ended the instance with 0"

# 7. A command-line theme is used without touching the settings file.
before="$(md5sum "$ini")"
: >"$log"
wine_run "$exe" 3 /debug >/dev/null 2>&1 &
third=$!
pids+=("$third")
wait_for_log "消息窗口创建 hwnd=0x" 30
grep -qF "Tidemere started, initial effect=3" "$log" || fail "command-line theme 3 was not used"
wine_run "$exe" exit >/dev/null 2>&1
expect_exit "$third" 0 "instance started with theme 3"
[ "$(md5sum "$ini")" = "$before" ] || fail "the command-line theme changed the settings file"
pass "command-line theme 3 left the settings file alone"

cleanup
echo "e2e($mode): all checks passed"
