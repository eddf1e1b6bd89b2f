#!/usr/bin/env bash
# tidemere on sway (headless, software rendering, as an unprivileged user:
# sway refuses root, with a private D-Bus session): the surface fills the
# output with tidemere-render's picture, the tray icon waits for a tray host
# that comes later, frames stop under a full-screen window and resume after
# it, a scene switch by command (also with a read-only settings folder), a
# second output gets a second surface, the settings and About windows by
# command; two outputs of different sizes each with an aquarium of its own,
# at its own scale.
# Usage: wayland_e2e.sh BUILD_DIR
mode=wayland
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_common.sh"
. "$here/as_user.sh"
unset DISPLAY

cat >"$work/sway.conf" <<'CONF'
swaybg_command -
xwayland disable
default_border none
output HEADLESS-1 resolution 1280x800
CONF
give_to_user "$work"
start "${user[@]}" env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$work/sway.conf" >"$work/sway.out" 2>&1
wait_until 'ls "$XDG_RUNTIME_DIR" | grep -q "^wayland-[0-9]*$"' 10 || { cat "$work/sway.out"; fail "sway did not start"; }
export WAYLAND_DISPLAY="$(ls "$XDG_RUNTIME_DIR" | grep -m 1 '^wayland-[0-9]*$')"
export SWAYSOCK="$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)"
start "${user[@]}" dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus"
wait_until '[ -s "$work/bus" ]' 10 || fail "no D-Bus session"
export DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus")"

start "${user[@]}" "$tidemere" --debug --seed 7 --steps 120 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not draw"
[ "$(field surfaces)" = 1 ] || fail "one output, $(field surfaces) surfaces"
as_user grim -o HEADLESS-1 "$work/output.png" || fail "grim"
"$build/tidemere-render" --out "$work/render.png" --seed 7 --steps 120 --size 1280x800 || fail "tidemere-render"
score="$("$probe" compare "$work/output.png" "$work/render.png")" ||
  fail "the output does not show tidemere-render's picture: $score"
pass "the surface fills the output with tidemere-render's picture ($score)"

# No tray host yet: Qt's X11 tray is not tried (it would only warn on
# Wayland), the user hears how to reach the menu's commands, and the icon
# comes with a host started later.
grep -q "use 'tidemere --theme N', 'tidemere settings', 'tidemere about' and 'tidemere exit'" "$work/tidemere.out" ||
  fail "no word of the commands without a tray host"
grep -q "QObject::connect" "$work/tidemere.out" && fail "Qt warned: $(grep QObject::connect "$work/tidemere.out")"
start "${user[@]}" "$probe" sni-watcher >"$work/watcher.out"
wait_until 'grep -q registered "$work/watcher.out"' 10 || fail "no tray item registered with a host started later"
as_user "$probe" sni-menu | grep -q "^Coral Reef" || fail "the tray menu: $(as_user "$probe" sni-menu 2>&1)"
pass "without a tray host the commands are named, and the icon comes with a host started later"

start "${user[@]}" env QT_QPA_PLATFORM=wayland "$probe" window --fullscreen
cover=$started
wait_until '[ "$(field rest)" = covered ]' 10 || fail "a full-screen window did not stop the frames: $(status)"
frames_advance && fail "frames went on under a full-screen window"
kill "$cover"
wait_until '[ "$(field rest)" = visible ]' 10 || fail "closing the full-screen window did not resume: $(status)"
frames_advance || fail "frames did not resume"
pass "frames stop under a full-screen window and resume when it closes"

# The settings folder (made at start, the file not yet) read-only.
chmod a-w "$XDG_CONFIG_HOME/tidemere"
for theme in 4 5; do
  as_user "$tidemere" --theme $theme && wait_until "[ \"\$(field theme)\" = $theme ]" 5 ||
    fail "tidemere --theme $theme with a read-only settings folder"
done
chmod u+w "$XDG_CONFIG_HOME/tidemere"
said="$(grep -c "cannot save the settings to $XDG_CONFIG_HOME/tidemere/Tidemere.ini: Permission denied" "$work/tidemere.out")"
[ "$said" = 1 ] || fail "a read-only settings folder was reported $said times: $(cat "$work/tidemere.out")"
pass "'tidemere --theme N' switches the running aquarium, also with a read-only settings folder (said once)"

as_user swaymsg create_output >/dev/null || fail "swaymsg create_output"
wait_until '[ "$(field surfaces)" = 2 ]' 10 || fail "a second output got no surface: $(status)"
wait_until 'grep -q "HEADLESS-2: surface" "$log"' 5 || fail "no surface on HEADLESS-2"
frames_advance || fail "frames stopped with two outputs"
pass "a second output gets a second surface"

as_user "$tidemere" settings && wait_until 'grep -q "settings window opened" "$log"' 5 || fail "tidemere settings"
as_user "$tidemere" about && wait_until 'grep -q "About window opened" "$log"' 5 || fail "tidemere about"
pass "'tidemere settings' and 'tidemere about' open their windows"

as_user "$tidemere" exit || fail "tidemere exit"
wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"
wait "$program"
code=$?
[ "$code" = 0 ] || fail "exit code $code"
said="$(as_user "$tidemere" settings 2>&1)"
[ $? = 1 ] && [ "$said" = "tidemere: no running Tidemere found" ] || fail "tidemere settings with none running: $said"
pass "'tidemere exit' ends it with code 0; then 'tidemere settings' finds none"

# --- Two outputs of different sizes: each its own aquarium, the first
# populated first, as tidemere-render lays them over two monitors.
as_user swaymsg output HEADLESS-1 position 0 0 >/dev/null &&
  as_user swaymsg output HEADLESS-2 resolution 1600x900 position 1280 0 >/dev/null || fail "swaymsg output"
: >"$log"
start "${user[@]}" "$tidemere" --debug --seed 7 --steps 120 --theme 1 >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 30 ] 2>/dev/null' 15 || fail "tidemere did not draw on two outputs"
[ "$(field surfaces)" = 2 ] && [ "$(field aquariums)" = 2 ] || fail "two outputs: $(status)"
grep -q "HEADLESS-2: surface 1600x900 scale 1" "$log" || fail "HEADLESS-2's surface: $(grep surface "$log")"
as_user grim "$work/outputs.png" || fail "grim"
cp "$work/outputs.png" "$build/e2e-monitors-sway.png"
"$build/tidemere-render" --out "$work/render.png" --seed 7 --steps 120 --size 2880x900 \
  --monitors 1280x800+0+0,1600x900+1280+0 || fail "tidemere-render --monitors"
score="$("$probe" compare "$work/outputs.png" "$work/render.png")" ||
  fail "the outputs differ from tidemere-render's two monitors, each with its sand: $score"
pass "an aquarium on each output, its floor at that output's bottom: tidemere-render's picture ($score)"
as_user swaymsg output HEADLESS-2 scale 2 >/dev/null || fail "swaymsg output HEADLESS-2 scale 2"
wait_until 'grep -q "\[monitors\] aquarium 1600x900 at 0,0, scale 2.00" "$log"' 5 ||
  fail "HEADLESS-2 at scale 2: $(grep -E "surface|monitors" "$log")"
grep -q "\[monitors\] 1 monitor(s): 1 aquarium(s) across, 1 new" "$log" || fail "no new aquarium at scale 2"
[ "$(grep -c "aquarium 1280x800 at 0,0" "$log")" = 1 ] || fail "HEADLESS-1's aquarium was made anew"
pass "an output's scale changed: its aquarium alone is made anew, at that scale"
as_user "$tidemere" exit && wait_until '! kill -0 $program 2>/dev/null' 5 || fail "'tidemere exit' did not end it"
