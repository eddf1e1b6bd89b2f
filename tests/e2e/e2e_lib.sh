# Shared by the end-to-end scripts: sourced with `mode` (a name for the
# messages) and `build` (the Windows build folder) set. Gives a fresh work
# folder with a copy of Tidemere.exe, its log, the tests' INI file, and the
# checks the scripts are written in.
TIDEMERE_TESTING=1
. "$here/../../scripts/wine-env.sh"
wine_run() { "$TIDEMERE_WINE" "$@"; }
# Programs meant to meet Tidemere run in its Wine desktop: a script that runs
# it in a virtual desktop sets `desktop` to explorer's /desktop arguments.
desktop=()
run_here() { "$TIDEMERE_WINE" "${desktop[@]}" "$@"; }

work="$(mktemp -d)"
cp "$build/Tidemere.exe" "$work/"
exe="$work/Tidemere.exe"
log="$work/Tidemere.log"
ini="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Tidemere/Tidemere.ini"
standin="$build/tidemere-shell_standin.exe"
pids=()

cleanup() {
  # A check that failed may leave an instance running: ask it to exit, and
  # if anything still runs, end the Wine server (killing the loader process
  # alone leaves the Windows process alive for the next check).
  run_here "$exe" exit >/dev/null 2>&1
  run_here "$standin" close >/dev/null 2>&1
  local alive=0
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
    kill -0 "$pid" 2>/dev/null && alive=1
  done
  if [ "$alive" = 1 ]; then
    "$TIDEMERE_WINESERVER" -k >/dev/null 2>&1
    "$TIDEMERE_WINESERVER" -p 60 >/dev/null 2>&1
  fi
  rm -rf "$work"
}

fail() {
  echo "e2e($mode): FAIL: $*"
  echo "---- Tidemere.log"
  [ -f "$log" ] && tr -d '\r' <"$log"
  echo "----"
  cleanup
  exit 1
}

pass() { echo "e2e($mode): ok: $*"; }

# Waits until the log holds TEXT (up to SECONDS, default 20).
wait_for_log() {
  local text="$1" limit="${2:-20}" waited=0
  while ! grep -qF -- "$text" "$log" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -ge $((limit * 5)) ] && fail "no log line \"$text\" after ${limit}s"
  done
}

# Fails unless the log holds the given lines in this order.
expect_in_order() {
  local previous=0 line number
  for line in "$@"; do
    number="$(grep -nF -- "$line" "$log" | head -n 1 | cut -d: -f1)"
    [ -n "$number" ] || fail "missing log line \"$line\""
    [ "$number" -gt "$previous" ] || fail "log line \"$line\" is out of order"
    previous="$number"
  done
}

count_in_log() { grep -cF -- "$1" "$log" 2>/dev/null || true; }

# Waits for a background process to end and checks its exit code.
expect_exit() {
  local pid="$1" expected="$2" what="$3" waited=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -ge 150 ] && fail "$what: still running after 30s"
  done
  wait "$pid"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "$what: exit code $code, expected $expected"
}

# Where the stand-in shell sees the wallpaper window (through a file: a
# program started in a virtual desktop has no console to print to, and
# explorer returns before the program has run).
query_shell() {
  rm -f "$work/query"
  run_here "$standin" query "$work/query" >/dev/null 2>&1
  for _ in $(seq 50); do [ -s "$work/query" ] && break; sleep 0.1; done
  tr -d '\r\n' <"$work/query" 2>/dev/null
}

screen() { python3 "$here/screen.py" "$@"; }
shot() { xwd -root -silent >"$1" || fail "no screenshot"; }

# Succeeds when "R,G,B" is within TOLERANCE of R G B in every channel.
near() {
  local IFS=, tolerance="$5"
  set -- $1 "$2" "$3" "$4"
  [ $(($1 - $4)) -le "$tolerance" ] && [ $(($4 - $1)) -le "$tolerance" ] &&
    [ $(($2 - $5)) -le "$tolerance" ] && [ $(($5 - $2)) -le "$tolerance" ] &&
    [ $(($3 - $6)) -le "$tolerance" ] && [ $(($6 - $3)) -le "$tolerance" ]
}
brightness() { local IFS=,; set -- $1; echo $(($1 + $2 + $3)); }

# The frame on the screen is theme THEME's: its darkened sand (R G B) at both
# bottom corners, water lighter near the top than at 60 % of the height, and
# no black rows.
expect_scene() {
  local file="$1" what="$2" r="$3" g="$4" b="$5" width height
  read -r width height < <(screen size "$file")
  local probes rows
  read -r -a probes < <(screen probe "$file" 8 $((height - 5)) $((width - 8)) $((height - 5)))
  near "${probes[0]}" "$r" "$g" "$b" 16 || fail "$what: bottom left shows ${probes[0]}, not the sand $r,$g,$b"
  near "${probes[1]}" "$r" "$g" "$b" 16 || fail "$what: bottom right shows ${probes[1]}, not the sand $r,$g,$b"
  expect_water "$file" "$what"
}

# Water lighter near the top than at 60 % of the height, and no black rows.
expect_water() {
  local file="$1" what="$2" width height rows
  read -r width height < <(screen size "$file")
  # Whole rows, by their median: a creature passing by does not decide it.
  read -r -a rows < <(screen rowlight "$file" $((height * 15 / 100)) $((height * 60 / 100)))
  [ "${rows[0]}" -gt "${rows[1]}" ] || fail "$what: the water is not lighter at the top (rows: ${rows[*]})"
  local dark
  dark="$(screen rowdark "$file" 0 "$height" 0 "$width" 12)"
  [ "$dark" -eq 0 ] || fail "$what: $dark black rows"
}

# The highest "[diag] frame=" count in the log (0 before the first).
last_frame() {
  tr -d '\r' <"$log" 2>/dev/null | sed -n 's/.*\[diag\] frame=\([0-9]*\) .*/\1/p' | tail -n 1 | grep . || echo 0
}

# Writes the settings file: theme, total, frame-rate mode, then the twenty
# species counts.
write_ini() {
  local theme="$1" total="$2" fps="$3" i=0
  shift 3
  mkdir -p "$(dirname "$ini")"
  {
    printf '[Settings]\r\nTheme=%s\r\nTotalFish=%s\r\nFpsMode=%s\r\n[Species]\r\n' "$theme" "$total" "$fps"
    for count in "$@"; do
      printf 'Fish%d=%s\r\n' "$i" "$count"
      i=$((i + 1))
    done
  } >"$ini"
}
