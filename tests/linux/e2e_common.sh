# Shared by the Linux end-to-end scripts: sourced with `mode` set and the
# build folder as $1. Gives a private work folder (config, state, runtime),
# the checks the scripts are written in, and a cleanup that ends every
# process the script started, by its id.
set -uo pipefail
build="$(cd "$1" && pwd)"
# TIDEMERE_PROGRAM runs another tidemere (the Debian package's) through the
# same checks. Its real path: the program writes /proc/self/exe into the
# autostart entry, which the X11 check compares.
tidemere="$build/tidemere"
[ -n "${TIDEMERE_PROGRAM:-}" ] && tidemere="$(readlink -f "$TIDEMERE_PROGRAM")"
probe="$build/tidemere-probe"
work="$(mktemp -d /tmp/tidemere-e2e-XXXXXX)"
chmod 755 "$work"
mkdir -p "$work/config" "$work/state" "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
export HOME="$work/home"
log="$work/state/tidemere/Tidemere.log"
pids=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e($mode): FAIL: $*"
  echo "---- Tidemere.log"
  [ -f "$log" ] && cat "$log"
  echo "---- output"
  [ -f "$work/tidemere.out" ] && cat "$work/tidemere.out"
  echo "----"
  exit 1
}
pass() { echo "e2e($mode): ok: $*"; }

# Runs COMMAND... in the background and remembers its id in $started.
start() {
  "$@" &
  started=$!
  pids+=("$started")
}

# Runs a command as the user the display belongs to (see as_user.sh).
as_user() { "$@"; }
status() { as_user "$tidemere" status 2>/dev/null; }
# The value of one field of `tidemere status` ("frames", "theme", ...).
field() { status | tr ' ' '\n' | sed -n "s/^$1=//p"; }

# Waits up to SECONDS (default 10) until the shell condition holds.
wait_until() {
  local condition="$1" limit="${2:-10}" waited=0
  until eval "$condition"; do
    sleep 0.1
    waited=$((waited + 1))
    [ "$waited" -ge $((limit * 10)) ] && return 1
  done
  return 0
}

# Whether frames advance: two readings DELAY seconds apart.
frames_advance() {
  local first second
  first="$(field frames)"
  sleep "${1:-0.6}"
  second="$(field frames)"
  [ -n "$first" ] && [ -n "$second" ] && [ "$second" -gt "$first" ]
}
