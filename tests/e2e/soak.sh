#!/usr/bin/env bash
# A compressed life of Tidemere.exe under Wine, for leaks and crashes:
#   soak.sh MINUTES BUILDDIR
# In a 640x480 Wine desktop with the stand-in shell: a scene change by hot key
# every 2 s, clicks and pointer moves, a settings apply every 20 s, a lock and
# unlock every 30 s, a display change and back, and a restart of the shell.
# With /debug the program logs its GDI objects, USER objects, handles and
# private bytes at start and every minute; the script prints them and, over
# runs of three minutes or more, checks that they stay flat after the first
# minute. Run by hand (scripts/test.sh runs a one-minute version).
set -u
mode=soak
minutes="$1"
build="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"
desktop=(explorer "/desktop=tidemere-soak,640x480")
drive() { run_here "$build/tidemere-drive.exe" "$@" >/dev/null 2>&1; }
keys() { run_here "$build/tidemere-send_keys.exe" "$@" >/dev/null 2>&1; }
zeros18="0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"

rm -f "$ini"
run_here "$standin" run "$work/shell-ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -f "$work/shell-ready" ] && break; sleep 0.2; done
run_here "$exe" /debug >/dev/null 2>&1 &
pids+=($!)
wait_for_log "[diag] resources gdi=" 60


start=$(date +%s)
end=$((start + 60 * minutes))
tick=0
while [ "$(date +%s)" -lt "$end" ]; do
  tick=$((tick + 1))
  keys $((tick % 3 + 1))                                # a scene by hot key
  keys click $((40 + tick * 37 % 560)) $((60 + tick * 53 % 380))
  if [ $((tick % 10)) -eq 0 ]; then                     # every 20 s: settings
    drive command 1004
    sleep 0.5
    drive settings $((10 + tick % 20)) $((tick % 5)) 3 $zeros18 ok
  fi
  if [ $((tick % 15)) -eq 5 ]; then                     # every 30 s: lock and unlock
    drive session lock
    sleep 1
    drive session unlock
  fi
  if [ "$tick" -eq 40 ]; then                           # a display change, and back
    # (A Wine desktop offers the usual modes only; explorer reports no exit
    # code, so the log tells whether the change came.)
    drive display 800 600
    wait_for_log "显示器变化，窗口调整为 800x600" 10
    drive display 640 480
    wait_for_log "显示器变化，窗口调整为 640x480" 10
  fi
  if [ "$tick" -eq 70 ]; then                           # the shell restarts
    run_here "$standin" close >/dev/null 2>&1
    sleep 2
    rm -f "$work/shell-ready"
    run_here "$standin" run "$work/shell-ready" >/dev/null 2>&1 &
    pids+=($!)
  fi
  sleep 2
done
# Still drawing at the end, and the last minute's line is in.
frames="$(last_frame)"
for _ in $(seq 150); do [ "$(last_frame)" -gt "$frames" ] && break; sleep 0.2; done
[ "$(last_frame)" -gt "$frames" ] || fail "no frames at the end of the run"
for _ in $(seq 50); do
  [ "$(tr -d '\r' <"$log" | grep -c "\[diag\] resources")" -gt "$minutes" ] && break
  sleep 0.2
done

# What the run went through, as the program logged it.
echo "e2e($mode): events: scene changes $(count_in_log "切换效果 ->"), settings applied $(count_in_log "应用设置"),"\
  "locks $(count_in_log "[rest] session locked"), display changes $(count_in_log "显示器变化"),"\
  "shell re-attachments $(count_in_log "[shell] attached again"), repopulations $(count_in_log "鱼缸初始化")"

# Every resource line, with the minute it belongs to.
tr -d '\r' <"$log" | sed -n 's/.*\[diag\] resources \(.*\)/\1/p' >"$work/resources"
echo "e2e($mode): resources over $minutes minute(s), one line a minute:"
sed 's/^/    /' "$work/resources"
lines=$(wc -l <"$work/resources")
[ "$lines" -ge $((minutes + 1)) ] || fail "expected $((minutes + 1)) resource lines, found $lines"

if [ "$minutes" -ge 3 ]; then
  # Flat after the first minute: at the end, GDI and USER objects and handles
  # within a few of their value at one minute; private bytes, which the
  # one-off events of the first minutes (display change, shell restart) may
  # step up once, within 5 % of their value halfway. (A line in between may
  # catch the settings window open, with its controls.)
  awk '
    { for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[NR, kv[1]] = kv[2] + 0 } }
    END {
      n = NR; half = int((NR + 2) / 2)
      if (v[n, "gdi"] > v[2, "gdi"] + 8 || v[n, "user"] > v[2, "user"] + 8 || v[n, "handles"] > v[2, "handles"] + 16 ||
          v[n, "private"] > v[half, "private"] * 1.05) { print "grew by minute " n - 1; exit 1 }
    }' "$work/resources" || fail "resources grew after the first minute"
  pass "resources flat after the first minute"
fi

run_here "$exe" exit >/dev/null 2>&1
wait_for_log "[msg] WM_CLOSE received" 20
wait_for_log "托盘图标已移除" 20
rm -f "$ini"
pass "$minutes minute(s) of compressed life: still running until asked to exit"
cleanup
echo "e2e($mode): all checks passed"
