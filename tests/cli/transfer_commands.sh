#!/usr/bin/env bash
# export, import and print of vocalore-cli: formats, round trips, messages.
set -u
cli="$1"; examples="$2"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
doc="$examples/german-english.vlo"
count=$("$cli" info "$doc" | sed -n 's/^Items: *\([0-9]*\),.*/\1/p')

# Every export has one line (or paragraph) per item; the format follows --format.
for f in rtf tsv csv; do
  "$cli" export "$doc" "$work/out.$f.txt" --format $f || fail "export $f"
done
head -c 6 "$work/out.rtf.txt" | grep -q '^{\\rtf1' || fail "rtf header"
[ "$(grep -o '\\par[\\}]' "$work/out.rtf.txt" | wc -l)" -eq "$count" ] || fail "rtf paragraphs"
[ "$(wc -l < "$work/out.tsv.txt")" -eq "$count" ] || fail "tsv lines"
[ "$(wc -l < "$work/out.csv.txt")" -eq "$count" ] || fail "csv lines"
grep -qv $'\r$' "$work/out.tsv.txt" && fail "tsv line without CR LF"

# Importing the tab-delimited export into a copy doubles it and saves it.
cp "$doc" "$work/copy.vlo"
out=$("$cli" import "$work/copy.vlo" "$work/out.tsv.txt" --format tsv --columns 1,2,3,4)
[ "$out" = "$count items imported successfully." ] || fail "import message: $out"
"$cli" info "$work/copy.vlo" | grep -q "^Items: *$((count * 2))," || fail "import did not save"
# A document merges by the exact extension ".vlo".
out=$("$cli" import "$work/copy.vlo" "$doc")
[ "$out" = "$count items imported successfully." ] || fail "merge message: $out"
# CSV with the first line skipped and only words and translations.
out=$("$cli" import "$work/copy.vlo" "$work/out.csv.txt" --format csv --columns 1,0,0,4 --first-line 2)
[ "$out" = "$((count - 1)) items imported successfully." ] || fail "csv import message: $out"

# Nothing to import: the error, status 1, and the document is left as it was.
: > "$work/empty.txt"
cp "$work/copy.vlo" "$work/before.vlo"
"$cli" import "$work/copy.vlo" "$work/empty.txt" 2> "$work/err.txt"
[ $? -eq 1 ] || fail "empty import exit status"
grep -qx 'Nothing to import.' "$work/err.txt" || fail "empty import message: $(cat "$work/err.txt")"
cmp -s "$work/copy.vlo" "$work/before.vlo" || fail "failed import changed the document"
"$cli" import "$work/copy.vlo" "$work/out.tsv.txt" --columns 0,1,0,2 2> "$work/err.txt"
grep -qx "The field 'Word/phrase' must be included in the list of fields to import." "$work/err.txt" ||
  fail "missing word column message: $(cat "$work/err.txt")"
"$cli" import "$work/copy.vlo" "$work/out.tsv.txt" --first-line 0 2> "$work/err.txt"
grep -qx 'Number must be between 1 and 32767.' "$work/err.txt" || fail "first line message"

# Printing into a PDF: the words are there, and absurd margins are refused.
if command -v pdftotext > /dev/null; then
  "$cli" print "$doc" "$work/out.pdf" --columns 3 --font-size 10 --margins 2,2,2,2 2> /dev/null ||
    fail "print"
  pdftotext "$work/out.pdf" - | grep -q 'Hund' || fail "printed PDF lacks a word"
  "$cli" print "$doc" "$work/no-title.pdf" --no-title 2> /dev/null || fail "print --no-title"
  pdftotext "$work/no-title.pdf" - | grep -q 'Basic German vocabulary' && fail "title printed with --no-title"
fi
# A print killed before it finished leaves at most a temporary file that the
# next print into the same file removes.
awk 'BEGIN { for (i = 0; i < 60000; i++) printf "Wort%d\t\t\tword%d\r\n", i, i }' > "$work/big.txt"
cp "$doc" "$work/big.vlo"
"$cli" import "$work/big.vlo" "$work/big.txt" > /dev/null || fail "big import"
"$cli" print "$work/big.vlo" "$work/killed.pdf" 2> /dev/null &
killed=$!
for _ in $(seq 100); do
  ls "$work"/killed.pdf.tmp-* > /dev/null 2>&1 && break
  sleep 0.05
done
kill -9 $killed; wait $killed 2> /dev/null
ls "$work"/killed.pdf.tmp-* > /dev/null 2>&1 || fail "the killed print had no temporary file yet"
"$cli" print "$doc" "$work/killed.pdf" 2> /dev/null || fail "print after a killed print"
ls "$work"/killed.pdf.tmp-* > /dev/null 2>&1 && fail "a killed print's temporary file stayed"
"$cli" print "$doc" "$work/x.pdf" --margins 0,0,60,0 2> "$work/err.txt"
grep -qx 'Margins exceed paper size.' "$work/err.txt" || fail "margins message: $(cat "$work/err.txt")"
"$cli" print "$doc" "$work/x.pdf" --font-size 30 2> "$work/err.txt"
grep -qx 'Number must be between 8 and 24.' "$work/err.txt" || fail "font size message"

# UTF-8 and KVTML: the formats beside the code-page ones.
"$cli" export "$doc" "$work/utf8.tsv" --format tsv-utf8 || fail "export tsv-utf8"
"$cli" export "$doc" "$work/utf8.csv" --format csv-utf8 || fail "export csv-utf8"
"$cli" export "$doc" "$work/list.kvtml" --format kvtml || fail "export kvtml"
[ "$(wc -l < "$work/utf8.tsv")" -eq "$count" ] || fail "tsv-utf8 lines"
grep -q $'Stra\xc3\x9fe' "$work/utf8.tsv" || fail "tsv-utf8 is not UTF-8"
grep -q $'Stra\xdfe' "$work/out.tsv.txt" || fail "tsv is not in the code page"
head -c 3 "$work/utf8.csv" | grep -q $'^\xef\xbb\xbf' && fail "csv-utf8 has a byte-order mark"
# Both text forms import back into the same document: the code page is told by content.
for f in utf8.tsv out.tsv.txt; do
  cp "$doc" "$work/twice.vlo"
  "$cli" import "$work/twice.vlo" "$work/$f" > /dev/null || fail "import $f"
  "$cli" dump "$work/twice.vlo" > "$work/$f.json"
done
cmp -s "$work/utf8.tsv.json" "$work/out.tsv.txt.json" || fail "UTF-8 and code-page imports differ"
# KVTML is recognised by its content, whatever the file is called.
cp "$work/list.kvtml" "$work/list.xml"
cp "$doc" "$work/k.vlo"
out=$("$cli" import "$work/k.vlo" "$work/list.xml")
[ "$out" = "$count items imported successfully." ] || fail "kvtml import message: $out"
"$cli" info "$work/k.vlo" | grep -q "^Items: *$((count * 2))," || fail "kvtml import did not save"
# A French-English document takes the German-English list by position, and says so.
cp "$examples/french-english.vlo" "$work/f.vlo"
out=$("$cli" import "$work/f.vlo" "$work/list.kvtml")
case "$out" in
  "$count items imported successfully. The file's languages did not match"*) ;;
  *) fail "unmatched kvtml message: $out" ;;
esac
# Hostile nesting: 100,000 word-type containers and 80,000 elements inside a
# text import, or are refused when cut off, and never crash the tool.
deep() { # depth, element
  awk -v n="$1" -v e="$2" 'BEGIN { for (i = 0; i < n; i++) printf "<%s>", e }'
}
{
  printf '<kvtml version="2.0"><entries><entry id="1"><translation id="0"><text>Tiefe</text>'
  printf '</translation><translation id="1"><text>depth</text></translation></entry></entries>'
  printf '<wordtypes><container><name>Noun</name>'; deep 99999 container
  printf '<name>Deep</name><entry id="1"><translation id="0"/></entry>'
  deep 100000 /container; printf '</wordtypes></kvtml>'
} > "$work/deep.kvtml"
cp "$doc" "$work/deep.vlo"
out=$("$cli" import "$work/deep.vlo" "$work/deep.kvtml")
case "$out" in
  "1 items imported successfully."*) ;;
  *) fail "deep kvtml import: $out" ;;
esac
"$cli" dump "$work/deep.vlo" | grep -q '"category": *"Noun (Deep)"' || fail "deep word type lost"
{
  printf '<kvtml version="2.0"><entries><entry id="1"><translation id="0"><text>'
  deep 80000 b
} > "$work/cut.kvtml"
cp "$work/deep.vlo" "$work/deep-before.vlo"
"$cli" import "$work/deep.vlo" "$work/cut.kvtml" 2> "$work/err.txt"
[ $? -eq 1 ] || fail "cut-off deep kvtml: exit status"
grep -q '^Invalid KVTML file: line 1: ' "$work/err.txt" || fail "cut-off deep kvtml: $(cat "$work/err.txt")"
cmp -s "$work/deep.vlo" "$work/deep-before.vlo" || fail "refused kvtml import changed the document"
# A Polish letter for an English translation refuses the file and leaves the document.
printf '\xef\xbb\xbfHund\t\t\tdog\r\nZug\t\t\tpoci\xc4\x85g\r\n' > "$work/pl.txt"
cp "$doc" "$work/r.vlo"; cp "$doc" "$work/r-before.vlo"
"$cli" import "$work/r.vlo" "$work/pl.txt" 2> "$work/err.txt" && fail "unencodable import accepted"
grep -q '^Line 2, Translations: the character "ą" (U+0105) cannot be stored in' "$work/err.txt" ||
  fail "unencodable message: $(cat "$work/err.txt")"
cmp -s "$work/r.vlo" "$work/r-before.vlo" || fail "refused import changed the document"
"$cli" export "$doc" "$work/x" --format utf8 2> /dev/null && fail "unknown export format accepted"

# A mistyped option is refused rather than ignored, by every command.
for cmd in "export $doc $work/x.txt --format tsv --bogus" "print $doc $work/x.pdf --no-titel" \
           "dump --rwa $doc" "info --raw $doc"; do
  $cli $cmd > /dev/null 2> "$work/err.txt"
  [ $? -eq 1 ] || fail "unknown option accepted: $cmd"
  grep -q '^Unknown option --' "$work/err.txt" || fail "unknown option message: $cmd"
done

[ $failures -eq 0 ] && echo "all cli transfer checks passed"
exit $((failures > 0))
