#!/usr/bin/env bash
# CI: builds the Debian package from the built tree, installs it with dpkg,
# checks the programs from /usr (check-installed.sh), removes it again and
# checks that nothing of it is left. Needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
if dpkg-query -W -f='${Status}' vocalore 2>/dev/null | grep -q installed; then
  echo "vocalore is installed already; remove it first (dpkg -r vocalore)" >&2
  exit 1
fi
deb=$(scripts/package | tail -n 1)
tests/install/package.sh build "$deb"
dpkg -i "$deb"
status=0
tests/install/check-installed.sh /usr || status=$?
dpkg -r vocalore
[ "$status" -eq 0 ] || { echo "FAIL: the installed package did not pass its checks" >&2; exit 1; }

left=0
while read -r f; do
  [ -e "/$f" ] && { echo "FAIL: /$f is left after dpkg -r" >&2; left=1; }
done < <(tests/install/expected-files.sh)
for d in /usr/share/vocalore /usr/share/mime/application/x-vocalore.xml; do
  [ -e "$d" ] && { echo "FAIL: $d is left after dpkg -r" >&2; left=1; }
done
grep -qs 'x-vocalore' /usr/share/applications/mimeinfo.cache /etc/mailcap &&
  { echo "FAIL: the desktop database or mailcap still names the document type" >&2; left=1; }
[ "$(dpkg-query -W -f='${db:Status-Status}' vocalore 2>/dev/null || echo not-installed)" = not-installed ] ||
  { echo "FAIL: dpkg still records vocalore" >&2; left=1; }
[ "$left" -eq 0 ] || exit 1
echo "package installed, checked from /usr and removed without a trace"
