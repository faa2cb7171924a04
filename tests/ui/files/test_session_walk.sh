#!/usr/bin/env bash
# The end of a session in the real program on a virtual display of its own:
# SIGTERM, SIGHUP and SIGINT end it the normal way, writing a recovery copy of
# the unsaved list and the settings; the next start offers the copy and
# Recover brings the unsaved list back; a second running copy on the same
# document is told so and cancels; after SIGKILL the copy the timer wrote is
# offered; a display that goes away still leaves a recovery copy.
# Usage: test_session_walk.sh VOCALORE VOCALORE-CLI SAMPLE.vlo
set -u
app="$1"; cli="$2"; sample="$3"
. "$(dirname "$0")/../walk_display.sh"

pause() { sleep "${1:-0.4}"; }
key() { xdotool windowfocus --sync "$target" 2> /dev/null; xdotool key --delay 60 "$@"; pause; }
items() { "$cli" info "$1" | sed -n 's/^Items: *\([0-9]*\),.*/\1/p'; }
copies() { ls "$XDG_STATE_HOME"/Vocalore/*.recovery 2> /dev/null; }
# The document inside a recovery copy, as a file of its own; prints its path.
unpack() { # unpack COPY OUT.vlo
  python3 - "$1" "$2" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
magic, kind, pid, length, rest = data.split(b"\n", 4)
n = int(length)
open(sys.argv[2], "wb").write(rest[n + 1:])
print(rest[:n].decode())
PY
}
# After a modified program died: exactly one recovery copy, holding the one
# deleted item. Shows the program's log when the copy is missing.
one_copy_with_the_change() { # one_copy_with_the_change WHAT LOG
  set -- "$1" "$2" $(copies)
  if [ $# -ne 3 ]; then
    fail "$1: $(($# - 2)) recovery copies"; tail -n 20 "$2"
    return 1
  fi
  unpack "$3" "$work/copy.vlo" > /dev/null
  [ "$(items "$work/copy.vlo")" = $((count - 1)) ] || { fail "$1: the copy lacks the change"; return 1; }
}
ended() { # ended PID: waits up to 5 s for the program to end; rc is its exit code or "running"
  for _ in $(seq 50); do kill -0 "$1" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2> /dev/null; then rc=running; return; fi
  wait "$1"; rc=$?
}

doc="$work/sample.vlo"
cp "$sample" "$doc"
count=$(items "$doc")

for sig in TERM HUP INT; do
  rm -rf "$XDG_STATE_HOME" "$XDG_CONFIG_HOME"
  "$app" "$doc" > "$work/$sig.log" 2>&1 &
  pid=$!; pids+=($pid)
  target=$(find_window "sample.vlo - Vocalore") || { fail "$sig: no window"; cat "$work/$sig.log"; continue; }
  pause 0.5
  key Delete # one item fewer, unsaved
  kill -$sig $pid
  ended $pid
  [ "$rc" = 0 ] || { fail "SIG$sig: the program ended with '$rc'"; tail -n 30 "$work/$sig.log"; }
  set -- $(copies)
  if [ $# -ne 1 ]; then
    fail "SIG$sig: $# recovery copies"
  else
    path=$(unpack "$1" "$work/$sig.vlo")
    [ "$path" = "$doc" ] || fail "SIG$sig: the copy names '$path'"
    [ "$(items "$work/$sig.vlo")" = $((count - 1)) ] || fail "SIG$sig: the copy lacks the change"
    [ "$(stat -c %a "$1")" = 600 ] || fail "SIG$sig: the copy is readable by others"
  fi
  [ -s "$XDG_CONFIG_HOME/Vocalore/settings.ini" ] || fail "SIG$sig: no settings written"
  [ "$(items "$doc")" = "$count" ] || fail "SIG$sig: the document itself was changed"
done

# The next start offers the copy; Return recovers it (the default).
old=$(copies)
"$app" "$doc" > "$work/recover.log" 2>&1 &
pid=$!; pids+=($pid)
# The question stands over the empty main window, which has the same title.
question() {
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --name '^Vocalore$' 2> /dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
  done
  xdotool search --onlyvisible --name '^Vocalore$' 2> /dev/null | tail -1
}
target=$(question)
if [ "$(xdotool search --onlyvisible --name '^Vocalore$' 2> /dev/null | wc -l)" -ge 2 ]; then
  pause 1
  import -window root "$work/recover.png" 2> /dev/null
  key Return
  pause 1
  kill -TERM $pid
  ended $pid; [ "$rc" = 0 ] || fail "recovered: the program ended with '$rc'"
  set -- $(copies)
  if [ $# -ne 1 ] || [ "$1" = "$old" ]; then
    fail "recovered: expected one new copy, found: $*"
  else
    unpack "$1" "$work/recovered.vlo" > /dev/null
    [ "$(items "$work/recovered.vlo")" = $((count - 1)) ] || fail "Recover did not bring the change back"
  fi
else
  fail "no recovery question at the next start"; cat "$work/recover.log"
fi

# A second running copy on the same document is told; Escape cancels it.
rm -rf "$XDG_STATE_HOME"
"$app" "$doc" > "$work/first.log" 2>&1 &
first=$!; pids+=($first)
find_window "sample.vlo - Vocalore" > /dev/null || fail "first copy: no window"
[ -e "$work/.~lock.sample.vlo#" ] || fail "no lock beside the open document"
"$app" "$doc" > "$work/second.log" 2>&1 &
second=$!; pids+=($second)
if target=$(find_window "Vocalore"); then
  pause 0.5
  import -window root "$work/second.png" 2> /dev/null
  [ "$(xdotool search --onlyvisible --name '^sample.vlo - Vocalore$' | wc -l)" = 1 ] ||
    fail "the second copy opened the document before asking"
  key Escape
  ended $second; [ "$rc" = 1 ] || fail "the cancelled second copy ended with '$rc'"
else
  fail "the second copy did not ask"
fi
kill -TERM $first; ended $first
[ -e "$work/.~lock.sample.vlo#" ] && fail "the lock stayed after the program ended"

# SIGKILL gives the program no chance: what the timer wrote is all that is
# left, at most the interval old (one minute here), and the next start
# offers it in spite of the dead copy's lock.
rm -rf "$XDG_STATE_HOME" "$XDG_CONFIG_HOME"
mkdir -p "$XDG_CONFIG_HOME/Vocalore"
printf 'Vocalore settings 1\n\n[Software\\\\Quenwick\\\\Vocalore\\\\2.0]\nRecoveryMinutes=dword:00000001\n' \
  > "$XDG_CONFIG_HOME/Vocalore/settings.ini"
"$app" "$doc" > "$work/kill.log" 2>&1 &
pid=$!; pids+=($pid)
if target=$(find_window "sample.vlo - Vocalore"); then
  pause 0.5
  key Delete
  for _ in $(seq 180); do [ -n "$(copies)" ] && break; sleep 0.5; done
  kill -KILL $pid; wait $pid 2> /dev/null
  if one_copy_with_the_change "SIGKILL" "$work/kill.log"; then
    [ "$(items "$doc")" = "$count" ] || fail "SIGKILL: the document itself was changed"
    "$app" "$doc" > "$work/after-kill.log" 2>&1 &
    pid=$!; pids+=($pid)
    target=$(question)
    if [ "$(xdotool search --onlyvisible --name '^Vocalore$' 2> /dev/null | wc -l)" -ge 2 ]; then
      key Return
      pause 1
      kill -TERM $pid
      ended $pid; [ "$rc" = 0 ] || fail "after SIGKILL: the program ended with '$rc'"
      set -- $(copies)
      unpack "${1:-/dev/null}" "$work/kill-recovered.vlo" > /dev/null 2>&1
      [ "$(items "$work/kill-recovered.vlo" 2> /dev/null)" = $((count - 1)) ] ||
        fail "after SIGKILL: the recovered list lacks the change"
    else
      fail "after SIGKILL: no recovery question at the next start"; cat "$work/after-kill.log"
    fi
  fi
else
  fail "SIGKILL: no window"
fi
rm -rf "$XDG_CONFIG_HOME"

# The display goes away under a modified document.
"$app" "$doc" > "$work/lost.log" 2>&1 &
pid=$!; pids+=($pid)
if target=$(find_window "sample.vlo - Vocalore"); then
  pause 0.5
  key Delete
  kill "$server_pid"; wait "$server_pid" 2> /dev/null; server_pid=""
  ended $pid; [ "$rc" != running ] || fail "the program outlived its display"
  one_copy_with_the_change "lost display" "$work/lost.log"
fi

[ "$failures" -eq 0 ] && echo "session walk passed"
exit $((failures > 0))
