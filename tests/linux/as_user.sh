# Compositors refuse to run as root: as root the Wayland scripts run them, and
# everything that talks to them, as the unprivileged user "nobody" (with its
# own runtime folder, given to it); anyone else runs them as they are.
# `start "${user[@]}" COMMAND` keeps the command's own id for the cleanup.
if [ "$(id -u)" = 0 ]; then
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  give_to_user() { chown -R 65534:65534 "$@"; }
else
  user=()
  give_to_user() { :; }
fi
as_user() { "${user[@]}" "$@"; }
