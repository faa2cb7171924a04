#!/usr/bin/env bash
# Keyboard switching in the real program on an X server with the layouts gb,
# de and us: in the Add dialog of a German-English document the layout follows
# the focus (de in the word field, us in the English ones), a message box and
# the main window show the layout the user started with (gb), and a Ctrl
# composition reads the key under the active layout: in the German field the
# key that is the apostrophe in English gives ä, so Ctrl+ä composes nothing,
# while German's own apostrophe (Shift+#) does. The saved item is checked.
# Usage: test_keyboard_walk.sh VOCALORE VOCALORE-CLI
set -u
app="$1"; cli="$2"
WALK_SERVER=Xvnc
. "$(dirname "$0")/../walk_display.sh"

if ! setxkbmap -layout gb,de,us 2> "$work/setxkbmap.log"; then
  echo "SKIP: setxkbmap could not configure the layouts gb,de,us"
  cat "$work/setxkbmap.log"
  exit 77
fi
xkb() { python3 "$(dirname "$0")/xkb_keys.py" "$@"; }
# Waits for the group, since the server applies a lock when it gets to it.
group() { # group NUMBER WHERE
  local seen
  seen=$(xkb wait "$1") || fail "$2: group $seen is active, expected $1"
}
# Keys from xkb_keys.py, read under the active group as a keyboard's are.
key() { xdotool windowfocus --sync "$target" 2> /dev/null; xkb keys "$@"; sleep 0.3; }
# With no window manager here, the walk gives the focus to a window that
# opens or comes back, as a window manager would.
focus() { target=$(find_window "$1") && xdotool windowfocus --sync "$target" 2> /dev/null; }
shot() { [ -n "${KEEP:-}" ] && import -window root "$work/$1.png"; }

python3 - "$work/words.json" <<'PY'
import json, sys
json.dump({"foreignLangID": 1031, "nativeLangID": 1033, "attemptCount": 0, "successCount": 0,
           "items": [{"word": "das Buch", "category": "noun", "notes": "", "translation": "book",
                      "sortPosition": 4, "lastTested": 0, "penaltyPoints": 0}]},
          open(sys.argv[1], "w"))
PY
"$cli" build "$work/words.json" "$work/words.vlo" > /dev/null || fail "build words"
# The layout the user works with when the program starts.
xkb lock 0
group 0 "before the start"

"$app" "$work/words.vlo" > "$work/words.log" 2>&1 &
app_pid=$!; pids+=("$app_pid")
if focus "words.vlo - Vocalore"; then
  main="$target"
  key Insert
  if focus Add; then
    group 1 "the German word field"
    # OK with no word: the message box shows the layout of the start.
    key Return
    if focus Vocalore; then
      group 0 "the message box"; shot box
      key Return
    else
      fail "no 'Enter a word or phrase.' box"
    fi
    focus Add
    group 1 "the word field after the message box"
    # 48 is the apostrophe key in English and Ä in German, 51 is # and
    # Shift+51 the apostrophe in German.
    key shift+i d ctrl+48 e e space shift+c a f ctrl+shift+51 e
    key Tab
    group 2 "the English part-of-speech field"
    key Tab Tab
    key c a f ctrl+48 e
    group 2 "the English translation field"; shot translation
    key shift+Tab shift+Tab shift+Tab
    group 1 "back in the word field"
    key Return
  else
    fail "no Add dialog"
  fi
  target="$main"; xdotool windowfocus --sync "$main" 2> /dev/null
  group 0 "the main window"
  key ctrl+s
  key alt+f x
  exited_cleanly "$app_pid" "$work/words.log"
else
  fail "the window did not appear"
fi

"$cli" dump "$work/words.vlo" > "$work/words.dump.json" || fail "dump"
python3 - "$work/words.dump.json" <<'PY' || fail "the saved items differ"
import json, sys
items = json.load(open(sys.argv[1]))["items"]
added = [(i["word"], i["translation"]) for i in items[1:]]
expected = [("Idee Caf\u00e9", "caf\u00e9")]
if added != expected:
    print("added (word, translation):", added, "expected", expected)
    sys.exit(1)
PY

if [ "$failures" -ne 0 ]; then
  echo "--- program log"; cat "$work/words.log"
  exit 1
fi
echo "keyboard walk: all passed"
