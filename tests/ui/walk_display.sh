# Sourced by the walks through the real program. Skips (exit 77) when a tool
# is missing or no display starts; otherwise gives the walk a work folder
# ($work), a virtual display of its own, settings that are never the user's,
# a list of started processes ($pids) that are killed on exit, and fail().
# KEEP=1 keeps the work folder for a look afterwards. WALK_SERVER=Xvnc starts
# Xvnc instead of Xvfb: an X server that takes several keyboard layouts.
server="${WALK_SERVER:-Xvfb}"
tools="$server xdotool xclip python3"
[ "$server" = Xvnc ] && tools="$tools setxkbmap"
for tool in $tools; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
server_pid=""; pids=()
walk_cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null; done
  # Wait for the server to go: one still exiting removes the socket of the
  # next server that took its display number.
  [ -n "$server_pid" ] && kill "$server_pid" 2> /dev/null && wait "$server_pid" 2> /dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap walk_cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# After File > Exit: the program must end within 5 s with exit code 0. A
# clean exit is part of the walk: under the sanitizers a leak or a fault
# found at exit shows only in the exit code and the log.
exited_cleanly() { # exited_cleanly PID LOG
  for _ in $(seq 50); do kill -0 "$1" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2> /dev/null; then
    fail "the program did not end on File > Exit"
    kill "$1"
    return
  fi
  wait "$1"
  local rc=$?
  [ "$rc" -eq 0 ] || { fail "the program ended with exit code $rc"; tail -n 60 "$2"; }
}
# Prints the newest visible window titled exactly TITLE, waiting up to TRIES
# tenths of a second (100 unless given); fails when none shows.
find_window() { # find_window TITLE [TRIES]
  local id=""
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | tail -1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] && echo "$id"
}

# The server picks a free number and writes it to fd 3. Another server
# starting at the same moment may take the number; try again.
# -noreset: by default the server resets when its last client leaves, and
# refuses connections meanwhile, so the next program started would fail (and
# the layouts setxkbmap configured would be gone).
for _ in 1 2 3; do
  if [ "$server" = Xvnc ]; then
    Xvnc -displayfd 3 -geometry 1024x768 -SecurityTypes None -localhost -rfbport -1 \
      -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
  else
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
  fi
  server_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] && kill -0 "$server_pid" 2> /dev/null && break
  kill "$server_pid" 2> /dev/null; wait "$server_pid" 2> /dev/null; server_pid=""
  : > "$work/display"
done
if [ ! -s "$work/display" ]; then
  echo "SKIP: $server could not start a display"
  exit 77
fi
export DISPLAY=":$(head -1 "$work/display")"
export XDG_CONFIG_HOME="$work/config"
export XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER
