#!/usr/bin/env bash
# match, sort, languages, and dump/build through the languages' code pages.
set -u
cli="$1"; examples="$2"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_match() { # expected-verdict lang flags expected given
  local out
  out=$("$cli" match --lang "$2" --flags "$3" "$4" "$5") || fail "match exit status for $4 / $5"
  [ "$out" = "$1" ] || fail "match $2 $3 '$4' '$5' gave '$out', not '$1'"
}
expect_match right 0x0409 0x3FF "to go (out), leave/depart" "go out, depart"
expect_match wrong 0x0409 0x080 "house, home" "home, house"
expect_match right 0x0409 384 "house, home" "home, house"
expect_match right 1031 1 "Äpfel" "äpfel"
expect_match wrong 1031 0x3FF "Haus" "Häus"
expect_match right 0x0419 0x001 "Дом" "дом"
expect_match right 0x0415 0x008 "książka/tom" "tom"
"$cli" match --lang 0x0407 --flags 1 "Haus" "Дом" > /dev/null 2> "$work/err.txt"
[ $? -eq 1 ] || fail "unencodable answer exit status"
grep -q 'U+0414' "$work/err.txt" || fail "unencodable answer message: $(cat "$work/err.txt")"
"$cli" match --lang 0x0407 "a" "b" > /dev/null 2>&1 && fail "match without --flags accepted"

"$cli" languages > "$work/langs.txt" || fail "languages"
grep -Eq '^0x0407 +1252 +0 +DE +German' "$work/langs.txt" || fail "German row: $(grep 0x0407 "$work/langs.txt")"
grep -Eq '^0x0415 +1250 +238 +PL ' "$work/langs.txt" || fail "Polish row"
grep -Eq '^0x0419 +1251 +204 +RU ' "$work/langs.txt" || fail "Russian row"
grep -q '^0x0401' "$work/langs.txt" && fail "Arabic is offered"
grep -q '^0x0411' "$work/langs.txt" && fail "Japanese is offered"

# A Polish-English document: UTF-8 in, code page 1250 bytes on disk, UTF-8 out.
cat > "$work/pl.json" <<'JSON'
{"foreignLangID": "0x0415", "nativeLangID": "0x0409",
 "items": [{"word": "żółw", "translation": "turtle"},
           {"word": "Zamek", "translation": "castle"},
           {"word": "ta książka", "translation": "book", "sortPosition": 3},
           {"word": "Łódź", "translation": "boat"},
           {"word": "anioł", "translation": "angel"}]}
JSON
"$cli" build "$work/pl.json" "$work/pl.vlo" || fail "build Polish"
grep -c $'\xbf\xf3\xb3w' "$work/pl.vlo" > /dev/null || fail "żółw not stored in code page 1250"
"$cli" dump "$work/pl.vlo" > "$work/pl.out.json" || fail "dump Polish"
grep -q '"word": "żółw"' "$work/pl.out.json" || fail "dump doesn't decode 1250"
"$cli" dump --raw "$work/pl.vlo" | grep -q '"word": "¿ó³w"' || fail "dump --raw isn't byte for byte"
"$cli" sort "$work/pl.vlo" "$work/sorted.vlo" || fail "sort"
"$cli" dump "$work/sorted.vlo" | grep '"word"' | sed 's/.*"word": "\(.*\)".*/\1/' | tr '\n' '|' > "$work/order.txt"
[ "$(cat "$work/order.txt")" = "anioł|ta książka|Łódź|Zamek|żółw|" ] || fail "sorted order: $(cat "$work/order.txt")"

# A character the code page can't hold is refused, naming the item and field.
echo '{"foreignLangID": 1031, "nativeLangID": 1033, "items": [{"word": "a"}, {"word": "b", "notes": "дом"}]}' > "$work/bad.json"
"$cli" build "$work/bad.json" "$work/bad.vlo" 2> "$work/err.txt"
[ $? -eq 1 ] || fail "unencodable build exit status"
grep -q 'item 2 (notes)' "$work/err.txt" || fail "unencodable build message: $(cat "$work/err.txt")"
[ -e "$work/bad.vlo" ] && fail "unencodable build wrote a file"

[ $failures -eq 0 ] && echo "all cli text checks passed"
exit $((failures > 0))
