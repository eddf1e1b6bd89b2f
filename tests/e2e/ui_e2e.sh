#!/usr/bin/env bash
# End-to-end checks of the tray menu's commands and the settings window,
# through Tidemere.exe under Wine:
#   ui_e2e.sh BUILDDIR
# The commands are posted to "WavescreenMsgWnd" as the menu would send them;
# the settings window is filled in and confirmed from another process.
set -u
mode=ui
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"
drive() { run_here "$build/tidemere-drive.exe" "$@" >/dev/null 2>&1; }

# Waits until the settings file holds every KEY=VALUE given (it is written key
# by key, Fish19 last).
wait_for_ini() {
  local entry waited=0
  for entry in "$@"; do
    while ! tr -d '\r' <"$ini" 2>/dev/null | grep -qx -- "$entry"; do
      sleep 0.2
      waited=$((waited + 1))
      [ "$waited" -ge 100 ] && fail "the settings file never held $entry"
    done
  done
}

rm -f "$ini"
wine_run "$exe" /debug >/dev/null 2>&1 &
first=$!
pids+=("$first")
wait_for_log "鼠标钩子安装: " 30
grep -qF "托盘图标创建: " "$log" || fail "the tray icon was not tried"

# 1. A scene that has no hot key, from the menu; it survives a restart below.
drive command 1008 || fail "no message window to send the menu command to"
wait_for_log "[tray] WM_COMMAND id=1008"
wait_for_log "切换效果 -> 4"
wait_for_ini Theme=4 TotalFish=28 Fish19=1
before="$(md5sum <"$ini")"
drive command 1008
wait_for_log "SetEffect called: old=4 new=4"
sleep 0.5
[ "$(md5sum <"$ini")" = "$before" ] || fail "choosing the active scene rewrote the settings"
pass "\"Coral Reef\" from the menu switched and saved; choosing it again changed nothing"

# 2. The settings window: new counts, OK.
drive command 1004
wait_for_log "设置对话框已打开"
drive settings 10 5 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ok || fail "no settings window to fill in"
wait_for_log "应用设置：总鱼数=10，已分配=10，20种生物数量"
wait_for_ini TotalFish=10 Fish0=5 Fish1=5 Fish2=0 Fish19=0
wait_for_log "鱼缸初始化：10 条鱼" 20
wait_for_log "fish=10" 90
pass "OK in the settings window stored, logged, saved and repopulated (the frames show 10 creatures)"

# 3. Cancel changes nothing.
drive command 1004
wait_for_log "设置对话框已打开"
before="$(md5sum <"$ini")"
applied="$(count_in_log "应用设置")"
drive settings 60 60 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 cancel
sleep 1
[ "$(md5sum <"$ini")" = "$before" ] || fail "Cancel rewrote the settings"
[ "$(count_in_log "应用设置")" = "$applied" ] || fail "Cancel applied the settings"
pass "Cancel in the settings window changed nothing"

# 4. About opens once.
drive command 1006
wait_for_log "关于对话框已打开"
drive command 1006
sleep 1
[ "$(count_in_log "关于对话框已打开")" = 1 ] || fail "a second About window opened"
pass "About opens one window"

# 5. Exit from the menu ends the program with 0 and removes the icon.
drive command 1005
expect_exit "$first" 0 "Exit from the menu"
grep -qF "托盘图标已移除" "$log" || grep -qF "托盘图标创建: 0" "$log" || fail "the tray icon was not removed"
pass "Exit from the menu ended the program with 0"

# 6. The scene chosen from the menu is back after a restart.
: >"$log"
wine_run "$exe" /debug >/dev/null 2>&1 &
second=$!
pids+=("$second")
wait_for_log "Tidemere started, initial effect=4" 30
wait_for_log "鼠标钩子安装: " 30
wine_run "$exe" exit >/dev/null 2>&1
expect_exit "$second" 0 "the restarted instance"
pass "\"Coral Reef\" survived the restart"

rm -f "$ini"
cleanup
echo "e2e($mode): all checks passed"
