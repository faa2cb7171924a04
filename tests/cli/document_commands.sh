#!/usr/bin/env bash
# dump, info and build of vocalore-cli: round trips, the bundled samples, errors.
set -u
cli="$1"; examples="$2"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every bundled sample is exactly what its JSON source builds.
for json in "$examples"/*.json; do
  vlo="${json%.json}.vlo"
  "$cli" build "$json" "$work/sample.vlo" || fail "build $json"
  cmp -s "$vlo" "$work/sample.vlo" || fail "$vlo differs from a build of $json"
done

# Any bytes survive dump --raw and build --raw, counters and statistics included.
python3 - "$work/bytes.vlo" <<'PY'
import struct, sys
def text(b): return struct.pack('<H', len(b)) + b
image = b'Vocalore 2' + struct.pack('<HHii', 0x0407, 0x0409, 5, 3)
image += text(b'\x80\xff') + text(b'') * 7 + struct.pack('<i', 1)
image += text(b'a\tb\x00') + text(b'') + text(b'\x9d') + text(b'\x07') + struct.pack('<iii', 4, 0, -1)
open(sys.argv[1], 'wb').write(image)
PY
"$cli" dump --raw "$work/bytes.vlo" > "$work/bytes.json" || fail "dump --raw"
"$cli" build --raw "$work/bytes.json" "$work/again.vlo" || fail "build --raw"
cmp -s "$work/bytes.vlo" "$work/again.vlo" || fail "raw round trip changed bytes"
grep -q '"penaltyPoints": -1' "$work/bytes.json" || fail "learnt item not in dump"

"$cli" info "$examples/german-english.vlo" > "$work/info.txt" || fail "info"
grep -q '^Items: *57, 0 learnt' "$work/info.txt" || fail "info item count: $(cat "$work/info.txt")"

# Errors: the document's own message on stderr, exit status 1.
printf 'Vocalore 3' > "$work/bad.vlo"
"$cli" dump --raw "$work/bad.vlo" > /dev/null 2> "$work/err.txt"
[ $? -eq 1 ] || fail "bad file exit status"
grep -qx 'Invalid file format.' "$work/err.txt" || fail "bad file message: $(cat "$work/err.txt")"
echo '{"items": [' > "$work/broken.json"
"$cli" build --raw "$work/broken.json" "$work/x.vlo" 2> "$work/err.txt"
[ $? -eq 1 ] || fail "bad JSON exit status"
grep -q 'invalid JSON at offset' "$work/err.txt" || fail "bad JSON message: $(cat "$work/err.txt")"
[ -e "$work/x.vlo" ] && fail "bad JSON wrote a file"
echo '{"items": [{"word": "\u0100"}]}' > "$work/wide.json"
"$cli" build --raw "$work/wide.json" "$work/x.vlo" 2> "$work/err.txt"
grep -q 'item 1 (word)' "$work/err.txt" || fail "unencodable text message: $(cat "$work/err.txt")"

[ $failures -eq 0 ] && echo "all cli document checks passed"
exit $((failures > 0))
