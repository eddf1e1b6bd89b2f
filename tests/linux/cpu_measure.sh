#!/usr/bin/env bash
# Measures (never asserts) the CPU that tidemere takes at 1280x800 with the
# default 28 creatures: on X11 (Xvfb + openbox) and on sway (headless,
# software rendering), while visible and while a full-screen window covers it.
# Usage: cpu_measure.sh BUILD_DIR [SECONDS]
mode=cpu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_common.sh"
. "$here/as_user.sh"
seconds="${2:-20}"

# CPU seconds (user + system) the process has used so far.
cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$1/stat"; }

measure() {
  local pid="$1" what="$2" before after
  sleep 2
  before="$(cpu_seconds "$pid")"
  sleep "$seconds"
  after="$(cpu_seconds "$pid")"
  awk -v a="$before" -v b="$after" -v s="$seconds" -v w="$what" -v st="$(status)" \
    'BEGIN { printf "%-22s %5.1f%% of one core   (%s)\n", w, 100 * (b - a) / s, st }'
}

give_to_user "$work"
# X11.
start Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display"
wait_until '[ -s "$work/display" ]' 10 || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
start openbox --sm-disable
sleep 1
start "${user[@]}" "$tidemere" >"$work/tidemere.out" 2>&1
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not draw"
measure "$program" "X11 visible"
start "${user[@]}" "$probe" window --fullscreen
cover=$started
wait_until '[ "$(field rest)" = covered ]' 10 || fail "not covered"
measure "$program" "X11 covered"
kill "$cover" "$program"
wait "$program" 2>/dev/null
unset DISPLAY

# sway.
printf 'swaybg_command -\nxwayland disable\ndefault_border none\noutput HEADLESS-1 resolution 1280x800\n' >"$work/sway.conf"
start "${user[@]}" env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway.conf"
sway=$started
wait_until 'ls "$XDG_RUNTIME_DIR" | grep -q "^wayland-[0-9]*$"' 10 || fail "sway did not start"
export WAYLAND_DISPLAY="$(ls "$XDG_RUNTIME_DIR" | grep -m 1 '^wayland-[0-9]*$')"
start "${user[@]}" "$tidemere"
program=$started
wait_until '[ "$(field frames)" -gt 2 ] 2>/dev/null' 15 || fail "tidemere did not draw"
measure "$program" "sway visible"
echo "                       (sway itself: $(cpu_seconds "$sway") s so far)"
start "${user[@]}" env QT_QPA_PLATFORM=wayland "$probe" window --fullscreen
wait_until '[ "$(field rest)" = covered ]' 10 || fail "not covered"
measure "$program" "sway covered"
