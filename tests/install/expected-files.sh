#!/usr/bin/env bash
# The files a package or an installed tree holds, under usr/, sorted: the
# fixed ones of expected-files.txt plus every help page and sample document
# of the source tree (so a new page needs no edit here, and a page left out
# of the install is still noticed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../..
{
  cat "$here/expected-files.txt"
  (cd "$src/help" && find . -type f | sed 's|^\./|usr/share/vocalore/help/|')
  (cd "$src/examples" && ls *.vlo | sed 's|^|usr/share/vocalore/examples/|')
} | LC_ALL=C sort
