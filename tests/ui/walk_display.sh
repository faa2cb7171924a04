# Sourced by the walks through the real program. Skips (exit 77) when a tool
# is missing or no display starts; otherwise gives the walk a work folder
# ($work), a virtual display of its own, settings that are never the user's,
# a list of started processes ($pids) that are killed on exit, and fail().
# KEEP=1 keeps the work folder for a look afterwards.
for tool in Xvfb xdotool xclip python3; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
xvfb_pid=""; pids=()
walk_cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null; done
  # Wait for the server to go: one still exiting removes the socket of the
  # next server that took its display number.
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null && wait "$xvfb_pid" 2> /dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap walk_cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Xvfb picks a free number and writes it to fd 3. Another server starting at
# the same moment may take the number; try again.
# -noreset: by default the server resets when its last client leaves, and
# refuses connections meanwhile, so the next program started would fail.
for _ in 1 2 3; do
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] && kill -0 "$xvfb_pid" 2> /dev/null && break
  kill "$xvfb_pid" 2> /dev/null; xvfb_pid=""; : > "$work/display"
done
if [ ! -s "$work/display" ]; then
  echo "SKIP: Xvfb could not start a display"
  exit 77
fi
export DISPLAY=":$(head -1 "$work/display")"
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER
