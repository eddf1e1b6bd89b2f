#!/usr/bin/env bash
# Where tidemere cannot be the desktop it says what is missing in one line,
# exits with code 2 and leaves nothing behind: no display at all, an X
# display nobody answers, and a Wayland compositor without the layer shell
# (weston, headless, as an unprivileged user). --version needs none of them.
# Usage: unsupported_e2e.sh BUILD_DIR
mode=unsupported
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/e2e_common.sh"
. "$here/as_user.sh"

# Runs tidemere with the given environment changes; checks code 2, one line
# that names WORDS, and an untouched work folder.
expect_refusal() {
  local words="$1" what="$2"
  shift 2
  local before after code
  before="$(find "$work/config" "$work/state" "$work/home" | sort)"
  as_user env "$@" "$tidemere" --debug >"$work/out" 2>&1
  code=$?
  after="$(find "$work/config" "$work/state" "$work/home" | sort)"
  [ "$code" = 2 ] || fail "$what: exit code $code, not 2: $(cat "$work/out")"
  [ "$(wc -l <"$work/out")" = 1 ] || fail "$what: not one line: $(cat "$work/out")"
  grep -q "$words" "$work/out" || fail "$what: the message does not say '$words': $(cat "$work/out")"
  [ "$before" = "$after" ] || fail "$what: files were left behind: $after"
  [ -z "$(ls "$XDG_RUNTIME_DIR" | grep tidemere)" ] || fail "$what: a socket was left behind"
  pass "$what: $(cat "$work/out")"
}

give_to_user "$work"
# Only the version needs no desktop at all.
version="$(sed -n 's/^#define TIDEMERE_VERSION_TEXT "\(.*\)"$/\1/p' "$here/../../src/core/base/version.h")"
said="$(as_user env -u DISPLAY -u WAYLAND_DISPLAY "$tidemere" --version 2>&1)" || fail "--version: exit code $?"
[ "$said" = "tidemere $version" ] || fail "--version says '$said', not 'tidemere $version'"
pass "--version without a display: $said"
expect_refusal "no display" "no display" -u DISPLAY -u WAYLAND_DISPLAY
expect_refusal "cannot open the X display" "an X display nobody answers" -u WAYLAND_DISPLAY DISPLAY=:4093

start "${user[@]}" weston --backend=headless-backend.so --socket=weston-headless --idle-time=0 >"$work/weston.out" 2>&1
wait_until '[ -S "$XDG_RUNTIME_DIR/weston-headless" ]' 10 || { cat "$work/weston.out"; fail "weston did not start"; }
expect_refusal "no layer shell" "weston, without the layer shell" -u DISPLAY WAYLAND_DISPLAY=weston-headless
