#!/usr/bin/env bash
# The real program on a virtual display, driven by keys and clicks as a user
# would: a one-item and a three-item document from Ctrl+T to every item
# learnt, one wrong answer and one hint on the way, the Statistics dialog,
# saving, and the counters the saved file then holds.
# Usage: test_walk.sh VOCALORE VOCALORE-CLI
set -u
app="$1"; cli="$2"
. "$(dirname "$0")/../walk_display.sh"

document() { # document NAME WORD:CATEGORY:TRANSLATION...
  local name="$1"; shift
  python3 - "$work/$name.json" "$@" <<'PY'
import json, sys
out, *items = sys.argv[1:]
doc = {"foreignLangID": 1031, "nativeLangID": 1033, "attemptCount": 0, "successCount": 0,
       "items": []}
for texts in items:
    word, category, translation = texts.split(":")
    doc["items"].append({"word": word, "category": category, "notes": "",
                         "translation": translation, "sortPosition": 0,
                         "lastTested": 0, "penaltyPoints": 0})
json.dump(doc, open(out, "w"))
PY
  "$cli" build "$work/$name.json" "$work/$name.vlo" > /dev/null || fail "build $name"
}

pause() { sleep "${1:-0.4}"; }
# Keys go to the window in front: the main window, or the box focus_box found.
key() { xdotool windowfocus --sync "$target" 2> /dev/null; xdotool key --delay 60 "$@"; pause; }
type_text() { xdotool windowfocus --sync "$target" 2> /dev/null; xdotool type --delay 40 "$1"; pause 0.2; }
to_main() { target="$window"; }
shown() { xdotool search --onlyvisible --name "$1" > /dev/null 2>&1; }
# The dialog or message box now open, focused so that keys reach it.
focus_box() { # focus_box TITLE
  local id
  id=$(find_window "$1" 30) || return 1
  target="$id"
  pause 0.2
}

start() { # start NAME: the program with the document from the command line
  app_log="$work/$1.log"
  "$app" "$work/$1.vlo" > "$app_log" 2>&1 &
  app_pid=$!; pids+=("$app_pid")
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^$1.vlo - Vocalore\$" 2> /dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -z "$window" ] && { fail "$1: the window did not appear"; return 1; }
  to_main
  pause 0.5
}

# The part of speech the panel shows for the question: a double-click on it
# selects it, and the selection is readable like any X selection.
category_shown() {
  printf '' | xclip -selection primary
  xdotool mousemove --window "$window" 125 117 click --repeat 2 --delay 80 1
  pause 0.3
  timeout 10 xclip -o -selection primary 2> /dev/null
}

quit() {
  key alt+f
  key x
  exited_cleanly "$app_pid" "$app_log"
  app_pid=""
}

check() { # check NAME PYTHON-CONDITION-ON-d
  "$cli" dump "$work/$1.vlo" > "$work/$1.dump.json" || { fail "$1: dump"; return; }
  python3 - "$work/$1.dump.json" "$2" <<'PY' || fail "$1: expected $2, the file holds $(cat "$work/$1.dump.json" | tr -d '\n ' | head -c 400)"
import json, sys
d = json.load(open(sys.argv[1]))
items = d["items"]
sys.exit(0 if eval(sys.argv[2]) else 1)
PY
}

# --- one item: wrong, then a hint and the rest typed, then all learnt -----
document one "der Hund:noun:dog"
if start one; then
  key ctrl+t
  type_text "cat"; key Return          # wrong
  key Return                           # Continue: the only item again
  key ctrl+h                           # hint: "d"
  type_text "og"; key Return           # right
  key Return                           # Continue: every item learnt
  if focus_box Vocalore; then key Return; else fail "one: no all-learnt message"; fi
  if focus_box Statistics; then
    # Reset and OK: testing goes on at once with the item unlearnt.
    key alt+r; key Return
  else
    fail "one: no Statistics dialog after the message"
  fi
  to_main
  shown '^Statistics$' && fail "one: Statistics still open"
  key Escape                           # stop testing
  key ctrl+s
  check one 'd["attemptCount"] == 0 and d["successCount"] == 0 and items[0]["penaltyPoints"] == 0 and items[0]["lastTested"] == 0'
  # Once more through to the end, and this time the counters stay.
  key ctrl+t
  type_text "dog"; key Return
  key Return
  focus_box Vocalore && key Return
  if focus_box Statistics; then key Escape; else fail "one: no Statistics the second time"; fi
  to_main
  key F9
  if focus_box Statistics; then key Escape; else fail "one: F9 showed no Statistics"; fi
  to_main
  key ctrl+s
  check one 'd["attemptCount"] == 1 and d["successCount"] == 1 and items[0]["penaltyPoints"] == -1 and items[0]["lastTested"] == 1'
  quit
fi

# --- three items: one wrong answer, one hint, the rest right --------------
document three "der Hund:noun:dog" "laufen:verb:run" "schnell:adjective:fast"
declare -A answer=([noun]=dog [verb]=run [adjective]=fast)
if start three; then
  key ctrl+t
  wrong_given=0; hint_given=0; questions=0
  while [ "$questions" -lt 8 ]; do
    questions=$((questions + 1))
    category=$(category_shown)
    expected="${answer[$category]:-}"
    if [ -z "$expected" ]; then
      fail "three: question $questions shows no known part of speech ('$category')"
      break
    fi
    if [ "$wrong_given" = 0 ]; then
      type_text "wrong"; wrong_given=1
    elif [ "$hint_given" = 0 ]; then
      key ctrl+h; type_text "${expected:1}"; hint_given=1
    else
      type_text "$expected"
    fi
    key Return                         # judge
    key Return                         # Continue
    if shown '^Vocalore$'; then break; fi
  done
  [ "$questions" = 4 ] || fail "three: $questions questions instead of 4"
  if focus_box Vocalore; then key Return; else fail "three: no all-learnt message"; fi
  if focus_box Statistics; then
    import -window root "${WALK_SHOTS:-$work}/statistics.png" 2> /dev/null
    key Escape
  else
    fail "three: no Statistics dialog"
  fi
  to_main
  key ctrl+s
  check three 'd["attemptCount"] == 4 and d["successCount"] == 3 and all(i["penaltyPoints"] == -1 for i in items) and sorted(i["lastTested"] for i in items)[-1] == 4'
  quit
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "walk: both documents learnt through the window; counters saved as expected"
