#!/usr/bin/env bash
# tidemere on X11 (Xvfb + openbox, a private D-Bus session with a stand-in
# tray host, a private bus in the system bus's place with a stand-in
# power-profiles-daemon): the desktop window's properties and place, the
# picture against tidemere-render, the battery saver's pace, the tray menu,
# the hot keys, resting under a covering window (without and with a
# compositor), reduced motion from a stand-in desktop portal, the pointer and
# clicks, exit, a settings file too large to read, and two RandR monitors of
# different sizes (an aquarium on each, the pointer and a full-screen window
# in one only, one monitor resized).
# Usage: x11_e2e.sh BUILD_DIR
mode=x11
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_common.sh"

start Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display"
wait_until '[ -s "$work/display" ]' 10 || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY
start openbox --sm-disable
start dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus"
wait_until '[ -s "$work/bus" ]' 10 || fail "no D-Bus session"
export DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus")"
start "$probe" sni-watcher >"$work/watcher.out"
wait_until 'grep -q watching "$work/watcher.out"' 10 || fail "the stand-in tray host did not start"
# libdbus takes the system bus from DBUS_SYSTEM_BUS_ADDRESS: a private one,
# where logind is absent and power-profiles-daemon is our stand-in.
start dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/system-bus"
wait_until '[ -s "$work/system-bus" ]' 10 || fail "no stand-in system bus"
export DBUS_SYSTEM_BUS_ADDRESS="$(head -n 1 "$work/system-bus")"
start "$probe" power-profiles power-saver >"$work/power.out"
wait_until 'grep -q serving "$work/power.out"' 10 || fail "the stand-in power-profiles-daemon did not start"
wait_until 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' 10 || fail "openbox did not start"

# --- The fixed-step picture, the window's properties and its place.
start "$tidemere" --debug --seed 7 --steps 120 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not draw"
own="$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr -d ' ' | cut -d, -f1)"
props="$(xprop -id "$own")"
echo "$props" | grep -q '_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DESKTOP' || fail "not a desktop window: $props"
for state in _NET_WM_STATE_BELOW _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; do
  echo "$props" | grep '^_NET_WM_STATE(ATOM)' | grep -q "$state" || fail "$state missing"
done
echo "$props" | grep -q '_NET_WM_DESKTOP(CARDINAL) = 4294967295' || fail "not on every desktop"
xwininfo -id "$own" | grep -q 'Width: 1280' || fail "the window does not span the screen"
pass "a desktop window over the whole screen, below, on every desktop, in no taskbar or pager"

"$probe" grab "$work/desktop.png" || fail "no screenshot"
"$build/tidemere-render" --out "$work/render.png" --seed 7 --steps 120 --size 1280x800 || fail "tidemere-render"
score="$("$probe" compare "$work/desktop.png" "$work/render.png")" || fail "the desktop differs from tidemere-render: $score"
pass "the desktop is tidemere-render's picture ($score)"
grep -qx "tidemere: writing the log to $log" "$work/tidemere.out" || fail "--debug does not say where the log goes"

# --- The battery saver: 15 frames a second (generous slack for a busy machine), then 60 again.
wait_until '[ "$(field saver)" = 1 ]' 5 || fail "the power-saver profile was not heard: $(status)"
first="$(field frames)"
sleep 2
paced=$(($(field frames) - first))
[ "$paced" -ge 20 ] && [ "$paced" -le 40 ] || fail "with the battery saver on, $paced frames in 2 s, not about 30"
"$probe" power-profiles-set balanced && wait_until '[ "$(field saver)" = 0 ]' 5 || fail "the balanced profile was not heard"
pass "the power-saver profile paces $paced frames in 2 s; the balanced one ends that"

start "$probe" window
cover=$started
wait_until 'xprop -root _NET_CLIENT_LIST_STACKING | grep -q ","' 10 || fail "the ordinary window did not map"
xdotool windowraise "$own" windowactivate "$own" 2>/dev/null
sleep 0.5
[ "$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr -d ' ' | cut -d, -f1)" = "$own" ] ||
  fail "the aquarium rose above an ordinary window"
frames_advance || fail "a small window stopped the frames"
pass "stays below an ordinary window, which does not stop it"
kill "$cover"

# --- The tray menu through the stand-in host.
wait_until 'grep -q registered "$work/watcher.out"' 10 || fail "no tray item registered"
menu="$("$probe" sni-menu)" || fail "cannot read the tray menu"
expected="$(printf 'Tropical Aquarium\t1\nDeep Sea Aquarium\t0\nKoi Pond\t0\nCoral Reef\t0\nShipwreck\t0\nAncient Ruins\t0\n-\nSettings...\t0\nAbout Tidemere...\t0\nStart at login\t0\n-\nExit\t0')"
[ "$menu" = "$expected" ] || fail "tray menu: $menu"
"$probe" sni-click "Koi Pond" && wait_until '[ "$(field theme)" = 3 ]' 5 || fail "Koi Pond from the menu"
"$probe" sni-menu | grep -q "$(printf 'Koi Pond\t1')" || fail "the check mark did not follow the scene"
grep -q '^Theme=3' "$XDG_CONFIG_HOME/tidemere/Tidemere.ini" || fail "the scene was not saved"
"$probe" sni-click "Start at login" &&
  wait_until '[ -f "$XDG_CONFIG_HOME/autostart/tidemere.desktop" ]' 5 || fail "Start at login did not write the entry"
grep -q "^Exec=$tidemere\$" "$XDG_CONFIG_HOME/autostart/tidemere.desktop" || fail "autostart Exec"
"$probe" sni-menu | grep -q "$(printf 'Start at login\t1')" || fail "Start at login shows no check mark"
"$probe" sni-click "Start at login" &&
  wait_until '[ ! -f "$XDG_CONFIG_HOME/autostart/tidemere.desktop" ]' 5 || fail "Start at login did not delete the entry"
"$probe" sni-click "Settings..." && wait_until 'grep -q "settings window opened" "$log"' 5 || fail "Settings..."
"$probe" sni-click "About Tidemere..." && wait_until 'grep -q "About window opened" "$log"' 5 || fail "About..."
wait_until 'xdotool search --name "^Aquarium Settings$" >/dev/null && xdotool search --name "^About Tidemere$" >/dev/null' 5 ||
  fail "the settings and About windows are not on the screen"
pass "tray menu: scenes with their check mark, Start at login on and off, Settings... and About Tidemere..."

# --- Hot keys.
xdotool key ctrl+shift+2 && wait_until '[ "$(field theme)" = 2 ]' 5 || fail "Ctrl+Shift+2 did not switch the scene"
pass "Ctrl+Shift+2 switches the scene"

# --- Resting under a covering window, without and then with a compositor.
for compositor in none xcompmgr; do
  if [ "$compositor" = xcompmgr ]; then
    start xcompmgr
    comp=$started
    wait_until 'grep -q "compositor running" "$log"' 5 || fail "the compositor was not noticed"
  fi
  start "$probe" window --fullscreen
  cover=$started
  wait_until '[ "$(field rest)" = covered ]' 5 || fail "($compositor) a full-screen window did not stop the frames: $(status)"
  frames_advance && fail "($compositor) frames went on under a covering window"
  kill "$cover"
  wait_until '[ "$(field rest)" = visible ]' 5 || fail "($compositor) closing the window did not resume: $(status)"
  frames_advance || fail "($compositor) frames did not resume"
  pass "($compositor) a covering window stops the frames, its closing resumes them"
done
kill "$comp"

# --- Reduced motion from the portal: GNOME's key where the portal has no
# reduced-motion of its own, which wins once it has.
start "$probe" portal --animations off >"$work/portal.out"
wait_until '[ "$(field motion)" = 0 ]' 5 || fail "the portal's 'animations off' was not heard: $(status)"
wait_until 'grep -q "\[motion\] still frame" "$log"' 5 || fail "no still frame with animations off"
frames_advance && fail "frames went on with animations off"
"$probe" portal-set animations on && wait_until '[ "$(field motion)" = 1 ]' 5 || fail "'animations on' was not heard"
frames_advance || fail "frames did not resume with animations on"
"$probe" portal-set reduced-motion 1 && wait_until '[ "$(field motion)" = 0 ]' 5 || fail "reduced-motion 1 was not heard"
"$probe" portal-set animations on && sleep 0.3 && [ "$(field motion)" = 0 ] || fail "GNOME's key overrode the portal's own"
"$probe" portal-set reduced-motion 0 && wait_until '[ "$(field motion)" = 1 ]' 5 || fail "reduced-motion 0 was not heard"
pass "animations off from the portal: one still frame and no more; on again: frames move"

# --- Exit from the tray.
"$probe" sni-click "Exit" || fail "Exit from the menu"
wait_until '! kill -0 $program 2>/dev/null' 5 || fail "Exit did not end the program"
wait "$program"
code=$?
[ "$code" = 0 ] || fail "exit code $code"
[ ! -e "$XDG_RUNTIME_DIR/tidemere.sock" ] || fail "the socket was left behind"
pass "Exit ends the program with code 0 and leaves no socket"

# --- The pointer and clicks, in real time, with 60 creatures: parked at a
# spot, the pointer soon has few near it; creatures that do not flee stay
# about as many as were there when it came (measured: two thirds and more
# stay without flight, a tenth to a quarter with it, fewer frames or not).
{ printf '[Settings]\nTotalFish=60\n[Species]\n'; for i in $(seq 0 19); do echo "Fish$i=3"; done; } \
  >"$XDG_CONFIG_HOME/tidemere/Tidemere.ini"
start "$tidemere" --debug --seed 7 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not start again"
status | grep -q pointer= && fail "a pointer that never moved counts"
came=0
stayed=0
for spot in "400 300" "800 300" "640 450" "300 450" "950 450" "200 200" "1000 600" "150 500" "1100 250"; do
  xdotool mousemove $spot
  wait_until "status | grep -q \"pointer=${spot/ /,} \"" 5 || fail "the pointer at $spot did not reach the aquarium"
  came=$((came + $(field near)))
  sleep 2.4
  stayed=$((stayed + $(field near)))
done
[ "$came" -ge 10 ] && [ $((stayed * 2)) -le "$came" ] ||
  fail "creatures do not flee the pointer: $came near it when it came, $stayed after 2.4 s"
# Bubbles of clicks only: timed ones come and go by themselves.
before="$(field clickbubbles)"
xdotool mousemove 640 300 click 1
wait_until '[ "$(field clickbubbles)" -ge $((before + 15)) ]' 5 || fail "a click released no bubbles"
pass "creatures flee the pointer ($came near it when it came, $stayed after 2.4 s) and a click releases bubbles"
"$tidemere" exit || fail "tidemere exit"
wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"
pass "'tidemere exit' ends it"

# --- A settings file far too large to be one: not read (nor held in memory),
# the defaults instead, and never written over.
truncate -s 200M "$XDG_CONFIG_HOME/tidemere/Tidemere.ini"
start "$tidemere" --theme 2 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not start with a 200 MB settings file"
grep -q "Tidemere.ini is larger than 1 MiB: using the default settings" "$work/tidemere.out" ||
  fail "the large settings file went unmentioned"
[ "$(field fish)" = 28 ] || fail "not the default settings: $(status)"
peak="$(awk '/^VmHWM/ { print $2 }' "/proc/$program/status")"
[ "$peak" -lt 200000 ] || fail "$peak kB of memory at the peak"
"$tidemere" --theme 5 && wait_until '[ "$(field theme)" = 5 ]' 5 || fail "no scene switch with a large settings file"
[ "$(stat -c %s "$XDG_CONFIG_HOME/tidemere/Tidemere.ini")" = $((200 << 20)) ] || fail "the large settings file was written over"
grep -q "cannot save the settings to .*Tidemere.ini: File too large" "$work/tidemere.out" || fail "the refused save went unmentioned"
"$tidemere" exit && wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"
pass "a 200 MB settings file: defaults, $((peak / 1024)) MB at the peak, the file left as it was"

# --- Two RandR monitors of different sizes on a screen wider than both.
# NOTE: Xvfb takes `xrandr --setmonitor` only for monitors of no output, and
# keeps its own monitor of the whole screen until its output is turned off
# (xrandr then fails to shrink the screen, which stays as it is). Without
# -noreset the server forgets the monitors when its last client leaves.
rm -f "$XDG_CONFIG_HOME/tidemere/Tidemere.ini"
start Xvfb -displayfd 3 -screen 0 2880x900x24 -nolisten tcp -noreset 3>"$work/display2"
wait_until '[ -s "$work/display2" ]' 10 || fail "the second Xvfb did not start"
export DISPLAY=":$(cat "$work/display2")"
xrandr --setmonitor A 1280/340x720/190+0+0 none && xrandr --setmonitor B 1600/420x900/240+1280+0 none ||
  fail "xrandr --setmonitor"
xrandr --output screen --off 2>/dev/null
[ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 2" ] || fail "the monitors: $(xrandr --listmonitors)"
start openbox --sm-disable
wait_until 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' 10 || fail "openbox did not start"
: >"$log"
start "$tidemere" --debug --seed 7 --steps 120 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 30 ] 2>/dev/null' 15 || fail "tidemere did not draw over two monitors"
[ "$(field aquariums)" = 2 ] || fail "two monitors, $(field aquariums) aquariums"
grep -q "\[monitors\] aquarium 1280x720 at 0,0, scale 1.00" "$log" &&
  grep -q "\[monitors\] aquarium 1600x900 at 1280,0, scale 1.00" "$log" || fail "the aquariums' places"
"$build/tidemere-render" --out "$work/render.png" --seed 7 --steps 120 --size 2880x900 \
  --monitors 1280x720+0+0,1600x900+1280+0 || fail "tidemere-render --monitors"
shows_render() {
  "$probe" grab "$work/monitors.png" && score="$("$probe" compare "$work/monitors.png" "$work/render.png")"
}
wait_until 'xprop -root _NET_CLIENT_LIST_STACKING | grep -q "# 0x"' 5 || fail "openbox does not list the window"
waited=$(date +%s%N)
wait_until shows_render 5 ||
  fail "the desktop differs from tidemere-render's two monitors, each with its sand: $score $(xwininfo -root -tree | grep -i '"Tidemere"') $(xwininfo -name Tidemere | grep "Map State")"
waited=$((($(date +%s%N) - waited) / 1000000))
cp "$work/monitors.png" "$build/e2e-monitors-x11.png"
pass "an aquarium on each monitor, its floor at that monitor's bottom: tidemere-render's picture ($score, after $waited ms)"
"$tidemere" exit && wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"

start "$tidemere" --debug --seed 7 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not start again over two monitors"
xdotool mousemove 1800 300
wait_until 'grep -q "over the aquarium of 1600x900 at 1280,0: the others see no pointer" "$log"' 5 ||
  fail "the pointer over the second monitor did not reach its aquarium alone"
xdotool mousemove 400 300 click 1
wait_until 'grep -q "bubbles released in the aquarium at 0,0" "$log"' 5 || fail "a click on the first monitor"
grep -q "bubbles released in the aquarium at 1280,0" "$log" && fail "the click bubbled on the other monitor"
pass "the pointer and a click reach only the aquarium under them"
start "$probe" window --fullscreen
cover=$started
wait_until 'grep -q "the aquarium at 0,0: a full-screen window on its monitor: frames stop" "$log"' 5 ||
  fail "a full-screen window on the first monitor did not rest its aquarium: $(status)"
frames_advance || fail "the other monitor's aquarium stopped too"
kill "$cover"
wait_until 'grep -q "the aquarium at 0,0: frames resume" "$log"' 5 || fail "closing the full-screen window"
pass "a full-screen window on one monitor rests its aquarium; the other swims on"
# Unplugged, then plugged in again at another size: the other monitor's
# aquarium swims on throughout.
xrandr --delmonitor B || fail "xrandr --delmonitor"
wait_until 'grep -q "\[monitors\] 1 monitor(s): 1 aquarium(s) across, 0 new" "$log"' 5 ||
  fail "a monitor unplugged: $(grep monitors "$log")"
xrandr --setmonitor B 1440/380x900/240+1280+0 none || fail "xrandr --setmonitor again"
wait_until 'grep -q "\[monitors\] aquarium 1440x900 at 1280,0" "$log"' 5 || fail "the monitor plugged in: $(grep monitors "$log")"
[ "$(grep -c "\[monitors\] 2 monitor(s): 2 aquarium(s) one on each, 1 new" "$log")" = 1 ] &&
  ! grep -q "\[monitors\] 1 monitor(s): 1 aquarium(s) across, 1 new" "$log" ||
  fail "more than the new monitor's aquarium was made anew: $(grep monitors "$log")"
pass "a monitor unplugged and plugged in at another size: only its aquarium is made anew"
"$tidemere" exit && wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"
