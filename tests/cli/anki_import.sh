#!/usr/bin/env bash
# Import of flashcard packages written by another program (the npm package
# anki-apkg-export, installed by the test setup), in both layouts, checked
# against an independent reading of their databases (Python's sqlite3).
#   anki_import.sh CLI EXAMPLES NODE_MODULES
set -u
cli="$1"; examples="$2"; modules="$3"
here=$(cd "$(dirname "$0")" && pwd)
ref="$here/anki/reference.py"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for tool in node python3 zstd; do
  command -v $tool > /dev/null || { echo "SKIP: no $tool"; exit 77; }
done
[ -d "$modules/anki-apkg-export" ] || { echo "SKIP: anki-apkg-export is not installed"; exit 77; }

for deck in german polish large; do
  NODE_PATH="$modules" node "$here/anki/make_decks.js" "$work" $deck > "$work/node.txt" 2>&1 ||
    { echo "FAIL: make_decks $deck: $(tail -c 300 "$work/node.txt")"; exit 1; }
done
python3 "$ref" newlayout "$work/german.apkg" "$work/german-new.colpkg" || fail "newlayout german"
python3 "$ref" newlayout "$work/large.apkg" "$work/large-new.bin" --subdeck Teil --count 150 ||
  fail "newlayout large"

import_check() { # DOC PKG EXTRA... : imports into a fresh copy of DOC, checks against the reference
  local doc="$1" pkg="$2"; shift 2
  local deck=()
  [ "${1:-}" = "--deck" ] && deck=(--deck "$2")
  cp "$examples/$doc" "$work/doc.vlo"
  local before; before=$("$cli" info "$work/doc.vlo" | sed -n 's/^Items: *\([0-9]*\),.*/\1/p')
  out=$("$cli" import "$work/doc.vlo" "$pkg" "$@" 2>&1) || { fail "import $pkg $*: $out"; return; }
  "$cli" dump "$work/doc.vlo" > "$work/dump.json"
  ref_out=$(python3 "$ref" check "$pkg" "$work/dump.json" --skip "$before" "${deck[@]}") ||
    fail "$pkg $*: $ref_out"
  local want; want=$(echo "$ref_out" | sed -n 's/^expected \([0-9]*\) left out \([0-9]*\)$/\1 \2/p')
  set -- $want
  local message="$1 items imported successfully."
  [ "$2" -gt 0 ] && message="$message $2 notes were left out:"
  case "$out" in "$message"*) ;; *) fail "$pkg message: $out (expected $message)";; esac
}

# The older layout, then the same deck in the current one (under a name that
# says nothing: the content tells).
import_check german-english.vlo "$work/german.apkg"
import_check german-english.vlo "$work/german-new.colpkg"
cp "$examples/german-english.vlo" "$work/g.vlo"
out=$("$cli" import "$work/g.vlo" "$work/german.apkg")
case "$out" in "15 items imported successfully. 3 notes were left out: 2 with an empty word/phrase, 1 with an empty translation.") ;;
  *) fail "german message: $out";; esac

# Texts as the reference reads them, spot-checked by hand too.
"$cli" dump "$work/g.vlo" > "$work/g.json"
python3 - "$work/g.json" <<'EOF' || fail "german texts"
import json, sys
items = {i["word"]: i for i in json.load(open(sys.argv[1], encoding="utf-8"))["items"]}
want = {"die Katze": "the cat; the puss", "das Haus": "the house; the home", "gehen": "to go",
        "schön": "beautiful & nice", "Straße": "street", "Äpfel": "apples", "die Stadt": "the town",
        "lesen": "to read", "groß": '<big> "large"', "rot": "red", "Café é é": "café",
        "laufen": "to run; to walk", "der Löffel": "the spoon", "€": "euro sign €"}
bad = [(w, items.get(w, {}).get("translation"), t) for w, t in want.items()
       if items.get(w, {}).get("translation") != t]
print(bad) if bad else None
sys.exit(1 if bad else 0)
EOF

# A large deck, all of it and one deck below the top one.
import_check german-english.vlo "$work/large.apkg"
import_check german-english.vlo "$work/large-new.bin"
import_check german-english.vlo "$work/large-new.bin" --deck "Groß::Teil"
out=$("$cli" import "$work/g.vlo" "$work/large-new.bin" --deck "Groß::Teil")
[ "$out" = "150 items imported successfully." ] || fail "subdeck message: $out"

# Fields by name and by number; a word/phrase and translations are required.
cp "$examples/german-english.vlo" "$work/f.vlo"
out=$("$cli" import "$work/f.vlo" "$work/german.apkg" --fields Back,0,Front,2)
case "$out" in "17 items imported successfully."*) ;; *) fail "--fields message: $out";; esac
"$cli" dump "$work/f.vlo" | python3 -c '
import json, sys
i = [x for x in json.load(sys.stdin)["items"] if x["word"] == "the dog"]
sys.exit(0 if i and i[0]["notes"] == "der Hund" and i[0]["translation"] == "the dog" else 1)' ||
  fail "--fields by name"
cp "$work/f.vlo" "$work/f-before.vlo"
for bad in "Front,0,0,0" "0,0,0,Back" "Front,Nope,0,Back" "Front,Back"; do
  "$cli" import "$work/f.vlo" "$work/german.apkg" --fields "$bad" 2> "$work/err.txt" &&
    fail "--fields $bad accepted"
done
"$cli" import "$work/f.vlo" "$work/german.apkg" --fields 0,0,0,2 2> "$work/err.txt"
grep -qx "The field 'Word/phrase' must be included in the list of fields to import." "$work/err.txt" ||
  fail "no word field: $(cat "$work/err.txt")"
"$cli" import "$work/f.vlo" "$work/german.apkg" --deck Nope 2> "$work/err.txt"
grep -q 'no deck "Nope"; its decks are: Deutsch' "$work/err.txt" || fail "--deck: $(cat "$work/err.txt")"
cmp -s "$work/f.vlo" "$work/f-before.vlo" || fail "a refused import changed the document"

# A letter the code page can't hold refuses the whole package (the Polish
# words before it fit code page 1250).
cp "$examples/polish-english.vlo" "$work/p.vlo"
cp "$work/p.vlo" "$work/p-before.vlo"
"$cli" import "$work/p.vlo" "$work/polish.apkg" 2> "$work/err.txt" && fail "polish translation accepted"
grep -qx 'Note 3, field "Back" (Translations): the character "ż" (U+017C) cannot be stored in English (United States) (code page 1252). Nothing was imported.' "$work/err.txt" ||
  fail "unencodable message: $(cat "$work/err.txt")"
cmp -s "$work/p.vlo" "$work/p-before.vlo" || fail "refused import changed the document"

# Broken packages: refused with a reason, nothing changed.
head -c 500 "$work/german.apkg" > "$work/cut.apkg"
python3 -c 'import zipfile,sys; zipfile.ZipFile(sys.argv[1],"w").writestr("media","{}")' "$work/nocol.apkg"
for broken in cut nocol; do
  "$cli" import "$work/p.vlo" "$work/$broken.apkg" 2> "$work/err.txt" &&
    fail "$broken accepted"
  grep -q '^Invalid Anki package: ' "$work/err.txt" || fail "$broken: $(cat "$work/err.txt")"
done
cmp -s "$work/p.vlo" "$work/p-before.vlo" || fail "a broken package changed the document"

[ $failures -eq 0 ] && echo "anki import: all passed"
exit $((failures > 0))
