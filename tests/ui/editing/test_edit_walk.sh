#!/usr/bin/env bash
# Editing in the real program on a virtual display of its own: a sample is
# opened, three items are added (one with a composed accent, two with the '@'
# sort marker), one is edited and one deleted, the list is sorted and the sort
# undone, an item is found and copied through the system clipboard into a
# second running copy; both documents are saved and checked byte for byte in
# what `vocalore-cli dump` reads back. A third copy in other languages refuses
# the item.
# Usage: test_edit_walk.sh VOCALORE VOCALORE-CLI SAMPLE.vlo
set -u
app="$1"; cli="$2"; sample="$3"
. "$(dirname "$0")/../walk_display.sh"

pause() { sleep "${1:-0.4}"; }
key() { xdotool windowfocus --sync "$target" 2> /dev/null; xdotool key --delay 60 "$@"; pause; }
type_text() { xdotool windowfocus --sync "$target" 2> /dev/null; xdotool type --delay 40 "$1"; pause 0.2; }
focus_box() { # focus_box TITLE: keys go to that dialog or message box
  target=$(find_window "$1")
  [ -n "$target" ] && pause 0.2
  [ -n "$target" ]
}
start() { # start NAME: a running copy with NAME.vlo; its window becomes the target
  "$app" "$work/$1.vlo" > "$work/$1.log" 2>&1 &
  pids+=($!)
  target=$(find_window "$1.vlo - Vocalore")
  [ -z "$target" ] && { fail "$1: the window did not appear"; cat "$work/$1.log"; return 1; }
  eval "win_$1=$target"
  pause 0.5
}
to() { eval "target=\$win_$1"; }
# Fills the four fields of the open Add or Edit dialog and presses OK; the
# accent is composed with Ctrl+: followed by the letter.
edit_item() { # edit_item WORD-BEFORE-ACCENT ACCENTED-LETTER-OR-- WORD-REST CATEGORY NOTES TRANSLATION
  key ctrl+a; type_text "$1"
  if [ "$2" != "-" ]; then key ctrl+shift+semicolon; type_text "$2"; fi
  type_text "$3"
  key Tab; key ctrl+a; type_text "$4"
  key Tab; key ctrl+a; [ -n "$5" ] && type_text "$5"
  key Tab; key ctrl+a; type_text "$6"
  key Return
}
dump() { "$cli" dump "$work/$1.vlo" > "$work/$1.dump.json" || fail "$1: dump"; }
build() { # build NAME FOREIGN-ID WORD:CATEGORY:TRANSLATION
  python3 - "$work/$1.json" "$2" "$3" <<'PY'
import json, sys
out, foreign, texts = sys.argv[1:]
word, category, translation = texts.split(":")
json.dump({"foreignLangID": int(foreign), "nativeLangID": 1033, "attemptCount": 0,
           "successCount": 0,
           "items": [{"word": word, "category": category, "notes": "", "translation": translation,
                      "sortPosition": 4, "lastTested": 0, "penaltyPoints": 0}]},
          open(out, "w"))
PY
  "$cli" build "$work/$1.json" "$work/$1.vlo" > /dev/null || fail "build $1"
}

cp "$sample" "$work/sample.vlo"
dump sample && cp "$work/sample.dump.json" "$work/before.json"
build second 1031 "das Buch:noun:book"
build french 1036 "le livre:nom:book"

if start sample; then
  # Three items after the current first one, each becoming current.
  key Insert
  focus_box Add && edit_item "die @Maus" - "" noun "fem." mouse
  to sample; key Insert
  focus_box Add && edit_item "die @M" u "hle" noun "" mill
  to sample; key Insert
  focus_box Add && edit_item "  der   Vogel " - "" noun "" bird
  # Edit the last one: its translation grows.
  to sample; key F2
  if focus_box Edit; then key Tab Tab Tab End; type_text ", fowl"; key Return; fi
  # Delete the first item, sort, and undo the sort.
  to sample; key Up Up Up; key Delete
  key F8; pause; key ctrl+z
  # Find an item and copy it.
  key ctrl+f
  if focus_box Find; then type_text "Zeitung"; key Return; key Escape; else fail "no Find dialog"; fi
  to sample; key ctrl+c
  # A copy that stops answering must fail the walk, not hang it.
  text=$(timeout 10 xclip -o -selection clipboard 2> /dev/null)
  [ "$text" = "$(printf 'die Zeitung\tnoun\tfem.; pl. Zeitungen\tnewspaper')" ] ||
    fail "the clipboard's text is '$text'"
  timeout 10 xclip -o -selection clipboard -t TARGETS 2> /dev/null | grep -qx "application/x-vocalore-vocabulary-item" ||
    fail "the clipboard offers no item of the program's own format"
fi

# The item goes into a second running copy with the same languages.
if start second; then
  key ctrl+v; key ctrl+s
fi
# A copy with other languages refuses it with the error box.
if start french; then
  key ctrl+v
  if focus_box Vocalore; then key Return; else fail "french: no 'Languages are different.' box"; fi
  to french; key ctrl+s
fi
to sample; key ctrl+s
pause 1

# What the files hold: the sample with the three new items after its first
# one, the edit, and the first item gone, in the order before the sort.
dump sample; dump second; dump french
python3 - "$work" <<'PY' || fail "the saved documents differ from the expected ones"
import json, sys, os
work = sys.argv[1]
load = lambda name: json.load(open(os.path.join(work, name)))
def item(word, category, notes, translation, position):
    return {"word": word, "category": category, "notes": notes, "translation": translation,
            "sortPosition": position, "lastTested": 0, "penaltyPoints": 0}
before, sample = load("before.json"), load("sample.dump.json")
expected = dict(before)
items = list(before["items"])
items[1:1] = [item("die Maus", "noun", "fem.", "mouse", 4),
              item("die M\u00fchle", "noun", "", "mill", 4),
              item("der Vogel", "noun", "", "bird, fowl", 0)]
del items[0]
expected["items"] = items
ok = True
if sample != expected:
    ok = False
    for k in expected:
        if k != "items" and sample.get(k) != expected[k]:
            print("sample:", k, sample.get(k), "expected", expected[k])
    for i, (a, b) in enumerate(zip(sample["items"], items)):
        if a != b:
            print("sample item", i, a, "expected", b)
    print("sample counts", len(sample["items"]), len(items))
zeitung = [i for i in before["items"] if i["word"] == "die Zeitung"][0]
second = load("second.dump.json")["items"]
if second != [item("das Buch", "noun", "", "book", 4), dict(zeitung, penaltyPoints=0, lastTested=0)]:
    ok = False
    print("second:", second)
if len(load("french.dump.json")["items"]) != 1:
    ok = False
    print("french:", load("french.dump.json")["items"])
sys.exit(0 if ok else 1)
PY

if [ "$failures" -ne 0 ]; then
  for log in "$work"/*.log; do echo "--- $log"; cat "$log"; done
  exit 1
fi
echo "edit walk: all passed"
