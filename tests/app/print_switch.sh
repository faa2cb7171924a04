#!/usr/bin/env bash
# "vocalore /p FILE" prints on the current printer without showing its window
# and ends by itself. The current printer here is a cups-pdf queue of the
# tests' own, chosen through PRINTER; the PDF it writes is read back with
# pdftotext and must hold every word and translation, and the title.
set -u
app="$1"; cli="$2"; source="$3"
if ! queue=$("$source/scripts/print-queue" 2>&1); then
  echo "SKIP: no CUPS print queue can be used here: $queue"
  exit 77
fi
command -v pdftotext >/dev/null || { echo "SKIP: pdftotext missing"; exit 77; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# cups-pdf writes into the PDF folder of the job's owner, naming the file
# after the job title, which holds the document's name.
outdir="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" PRINTER="$queue"

# Prints $1 with /p and leaves the PDF's text in $work/$2.txt.
print_document() {
  local doc="$1" name="$2" tag
  tag=$(basename "$doc" .vlo)
  timeout 60 "$app" /p "$doc" >"$work/$name.out" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || { fail "$name: exit code $rc"; cat "$work/$name.out"; return 1; }
  local pdf=""
  for _ in $(seq 300); do
    pdf=$(ls -t "$outdir"/*"$tag"*.pdf 2>/dev/null | head -n1)
    # cups-pdf renames the finished file into place; wait until gs is done.
    [ -n "$pdf" ] && pdftotext "$pdf" "$work/$name.txt" 2>/dev/null && break
    pdf=""; sleep 0.1
  done
  [ -n "$pdf" ] || { fail "$name: no PDF from the queue $queue in $outdir"; return 1; }
  rm -f "$outdir"/*"$tag"*.pdf
}

# Every word and translation of the document appears in the text (lines
# joined, runs of blanks as one).
check_texts() {
  local doc="$1" name="$2"
  "$cli" dump "$doc" >"$work/$name.json" || { fail "$name: dump"; return; }
  python3 - "$work/$name.json" "$work/$name.txt" <<'PY' || fail "$name: texts missing"
import json, sys, re
doc = json.load(open(sys.argv[1], encoding="utf-8"))
text = re.sub(r"\s+", " ", open(sys.argv[2], encoding="utf-8").read())
missing = [t for item in doc["items"] for t in (item["word"], item["translation"])
           if re.sub(r"\s+", " ", t) not in text]
for t in missing:
    print("missing:", t)
sys.exit(1 if missing else 0)
PY
}

# The Russian sample: Cyrillic words, English translations and title.
unique="russian-english-$$-$RANDOM"
cp "$source/examples/russian-english.vlo" "$work/$unique.vlo"
if print_document "$work/$unique.vlo" russian; then
  check_texts "$work/$unique.vlo" russian
  head -n1 "$work/russian.txt" | grep -q "^Basic Russian vocabulary" ||
    fail "russian: title line is '$(head -n1 "$work/russian.txt")'"
fi

# English words with Russian translations and a Russian description: the
# description is the title, in Cyrillic.
unique="english-russian-$$-$RANDOM"
cat >"$work/en.json" <<'JSON'
{"foreignLangID": "0x0409", "nativeLangID": "0x0419", "attemptCount": 0, "successCount": 0,
 "properties": ["Английские слова для начинающих", "", "", "", "", "", "", ""],
 "items": [
  {"word": "house", "category": "сущ.", "notes": "", "translation": "дом"},
  {"word": "to read", "category": "глаг.", "notes": "", "translation": "читать, прочитать"},
  {"word": "water", "category": "", "notes": "", "translation": "вода"},
  {"word": "quickly", "category": "нареч.", "notes": "часто", "translation": "быстро"}
 ]}
JSON
"$cli" build "$work/en.json" "$work/$unique.vlo" || fail "english: build"
if print_document "$work/$unique.vlo" english; then
  check_texts "$work/$unique.vlo" english
  [ "$(head -n1 "$work/english.txt")" = "Английские слова для начинающих" ] ||
    fail "english: title line is '$(head -n1 "$work/english.txt")'"
fi

[ $failures -eq 0 ] && echo "print switch: all checks passed"
exit $((failures > 0))
