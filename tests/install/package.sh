#!/usr/bin/env bash
# The Debian package built from the tree (as scripts/package does) holds
# exactly the expected files under /usr, and its dependencies were worked out
# from the programs' libraries.
#   package.sh BUILD-DIR [DEB]   (DEB given: check that package instead)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
deb=${2:-}
if [ -z "$deb" ]; then
  (cd "$1" && cpack -G DEB -B "$tmp" >/dev/null)
  deb=$(ls "$tmp"/*.deb)
fi
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Regular files and links; directories come with them.
dpkg-deb -c "$deb" | awk '$1 ~ /^[-l]/ { print substr($6, 3) }' | LC_ALL=C sort >"$tmp/files"
diff -u <("$here/expected-files.sh") "$tmp/files" ||
  fail "the package's files differ from expected-files.sh (- expected, + packaged)"
dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/' | grep -vx '\./' &&
  fail "files outside /usr"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 'libstdc\+\+6' libqt6core6 libqt6gui6 libqt6widgets6 'libicu[0-9]+'; do
  grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
expect() { [ "$(dpkg-deb -f "$deb" "$1")" = "$2" ] || fail "$1 is '$(dpkg-deb -f "$deb" "$1")', not '$2'"; }
expect Package vocalore
expect Version 2.0
expect Architecture "$(dpkg --print-architecture)"
expect Recommends xdg-utils
[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") as expected"
