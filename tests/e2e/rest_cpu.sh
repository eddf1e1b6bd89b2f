#!/usr/bin/env bash
# What Tidemere.exe costs while nobody can see it, against while it is seen:
#   rest_cpu.sh BUILDDIR [SECONDS]
# In a 1280x800 Wine desktop with the default aquarium: the process's CPU time
# over SECONDS (default 30) with the wallpaper visible, then over as long with
# an opaque window covering the screen. Run by hand; prints both.
set -u
mode=rest-cpu
build="$1"
seconds="${2:-30}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_lib.sh"
desktop=(explorer "/desktop=tidemere-rest,1280x800")

# User plus system time of the Tidemere.exe process, in clock ticks.
cpu_ticks() {
  local pid
  pid="$(pgrep -x Tidemere.exe | head -n 1)"
  [ -n "$pid" ] || fail "no Tidemere.exe process"
  awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

rm -f "$ini"
run_here "$exe" /debug >/dev/null 2>&1 &
pids+=($!)
wait_for_log "[diag] frame=100 " 60
hz="$(getconf CLK_TCK)"

start="$(cpu_ticks)"
sleep "$seconds"
visible=$(($(cpu_ticks) - start))

cover="$work/cover-ready"
run_here "$build/tidemere-drive.exe" cover "$cover" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -f "$cover" ] && break; sleep 0.1; done
wait_for_log "[rest] covered: frames stop" 5
start="$(cpu_ticks)"
sleep "$seconds"
covered=$(($(cpu_ticks) - start))
rm -f "$cover"

awk -v v="$visible" -v c="$covered" -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "e2e(rest-cpu): visible: %.2f s of CPU in %d s (%.1f %% of a core)\n", v / hz, s, 100 * v / hz / s
  printf "e2e(rest-cpu): covered: %.2f s of CPU in %d s (%.2f %% of a core)\n", c / hz, s, 100 * c / hz / s
}'
for line in "render ms" "copied"; do
  tr -d '\r' <"$log" | grep -F "$line" | tail -n 1 | sed 's/^/e2e(rest-cpu): /'
done
run_here "$exe" exit >/dev/null 2>&1
wait_for_log "[msg] WM_DESTROY received" 20
cleanup
