#!/usr/bin/env bash
# `cmake --install` into a temporary prefix puts exactly the expected files
# there, and the installed programs work from it (check-installed.sh).
#   install-tree.sh BUILD-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/some/prefix
cmake --install "$1" --prefix "$prefix" >/dev/null
diff -u <("$here/expected-files.sh" | sed 's|^usr/||') <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) ||
  { echo "FAIL: the installed files differ from expected-files.sh (- expected, + installed)" >&2; exit 1; }
"$here/check-installed.sh" "$prefix"
