#!/usr/bin/env bash
# Checks an installed Vocalore under PREFIX (a temporary prefix, or /usr after
# the package is installed): the programs run from there and find their help
# pages, tips and samples; the desktop entry, metainfo, document type and
# icons pass Debian's own tools.
#   check-installed.sh PREFIX
# The window checks need Xvfb, xdotool and xprop; without them they are skipped and
# the script ends with 77 after the other checks (CTest's "skipped").
set -euo pipefail
prefix=$(cd "$1" && pwd)
data=$prefix/share/vocalore
tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # An X server still exiting would remove the socket of the next one.
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_eq() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }

echo "-- the companion tool"
cli=$prefix/bin/vocalore-cli
expect_eq "vocalore-cli --version" "$("$cli" --version)" "vocalore-cli 2.0"
expect_eq "vocalore-cli --help names the samples" "$("$cli" --help | tail -n 1)" \
  "Sample documents: $data/examples"
# A tool for scripts and servers: no window libraries behind it.
while read -r lib; do
  fail "vocalore-cli loads $lib"
done < <(ldd "$cli" | grep -Eo 'libQt6(Widgets|PrintSupport)[^ ]*' | sort -u)
samples=("$data"/examples/*.vlo)
[ -f "$data/examples/german-english.vlo" ] || fail "german-english.vlo is not installed"
for doc in "${samples[@]}"; do
  info=$("$cli" info "$doc") || { fail "vocalore-cli info $doc"; continue; }
  grep -Eq '^Items: +[1-9][0-9]*,' <<<"$info" || fail "no items in $doc: $info"
done

echo "-- the program in the terminal (no display needed)"
gui=$prefix/bin/vocalore
expect_eq "vocalore --version" "$(env -u DISPLAY -u WAYLAND_DISPLAY "$gui" --version)" "vocalore 2.0"
expect_eq "vocalore --help names the help pages" \
  "$(env -u DISPLAY -u WAYLAND_DISPLAY "$gui" --help | tail -n 1)" "Help pages: $data/help"
for f in "$data/Tips.dat" "$data/help/index.html"; do [ -s "$f" ] || fail "$f is missing"; done

echo "-- desktop entry, metainfo, document type, icons, manual pages"
desktop=$prefix/share/applications/org.vocalore.Vocalore.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=vocalore %f' "$desktop" || fail "the desktop entry does not pass the file on"
appstreamcli validate --no-net "$prefix/share/metainfo/org.vocalore.Vocalore.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate"
# The system database is already built after a package install (dpkg
# triggers); a bare prefix gets its own copy built here.
xdg=$prefix/share
if [ ! -f "$xdg/mime/mime.cache" ]; then
  xdg=$tmp/xdg
  mkdir -p "$xdg/mime" "$xdg/applications"
  cp -r "$prefix/share/mime/packages" "$xdg/mime/"
  cp "$desktop" "$xdg/applications/"
  update-mime-database "$xdg/mime" >/dev/null 2>&1
  update-desktop-database "$xdg/applications"
fi
mime() { XDG_DATA_DIRS=$xdg:/usr/share XDG_DATA_HOME=$tmp/none xdg-mime query "$@" 2>/dev/null; }
cp "$data/examples/german-english.vlo" "$tmp/no-extension"
printf 'Vocalore 1 is not a document\n' >"$tmp/notes.txt"
expect_eq "type by name" "$(mime filetype "$data/examples/german-english.vlo")" application/x-vocalore
expect_eq "type by content" "$(mime filetype "$tmp/no-extension")" application/x-vocalore
[ "$(mime filetype "$tmp/notes.txt")" != application/x-vocalore ] || fail "a text file taken for a document"
expect_eq "program for documents" "$(mime default application/x-vocalore)" org.vocalore.Vocalore.desktop
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/vocalore.png
  file -b "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png is not $size x $size"
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/vocalore.svg" || fail "the SVG icon"
for page in vocalore vocalore-cli; do
  zcat "$prefix/share/man/man1/$page.1.gz" | groff -man -ww -z || fail "manual page $page(1)"
done

echo "-- the window: tips and help found, a sample opened"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xprop >/dev/null; then
  echo "SKIP: the window checks need Xvfb, xdotool and xprop"
  [ "$failures" -eq 0 ] || exit 1
  exit 77
fi
# Xvfb picks a free number and writes it to fd 9; another server starting at
# the same moment may take the number, so try again.
# -noreset: by default the server resets when its last client leaves, and
# refuses connections meanwhile, so the next program started would fail.
for _ in 1 2 3; do
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$tmp/display" 2>>"$tmp/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  [ -s "$tmp/display" ] && kill -0 "$xvfb" 2>/dev/null && break
  kill "$xvfb" 2>/dev/null; : >"$tmp/display"
done
pids+=("$xvfb")
if [ ! -s "$tmp/display" ]; then
  fail "Xvfb could not start a display: $(tail -3 "$tmp/xvfb.log" | tr '\n' ' ')"
  exit 1
fi
export DISPLAY=:$(head -1 "$tmp/display")
# Help opens in the browser through xdg-open; this one writes down the page.
mkdir -p "$tmp/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$tmp" >"$tmp/bin/xdg-open"
chmod +x "$tmp/bin/xdg-open"
# Without a browser for HTML the program shows help in a window of its own:
# this desktop has one.
printf '#!/bin/sh\n[ "$*" = "query default text/html" ] && echo browser.desktop\n' \
  >"$tmp/bin/xdg-mime"
chmod +x "$tmp/bin/xdg-mime"
touch "$tmp/opened"
# Settings and state of its own: a recovery copy the user's own program left
# would otherwise be offered first, and the tips would never show.
start() {
  XDG_CONFIG_HOME=$tmp/config XDG_STATE_HOME=$tmp/state PATH=$tmp/bin:$PATH QT_QPA_PLATFORM=xcb "$gui" "$@" \
    >>"$tmp/gui.log" 2>&1 &
  pids+=($!)
}
# A window being destroyed while xdotool walks the tree makes it fail with
# BadWindow: ask again until the window shows or 20 seconds pass.
window() {
  local w
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}
stop() { kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true; }
opened() { # waits for the browser to be asked for $1
  for _ in $(seq 50); do grep -qxF "$1" "$tmp/opened" && return 0; sleep 0.1; done
  fail "the help page $1 was not opened (opened: $(tr '\n' ' ' <"$tmp/opened"))"
}
# A first start shows the Tip of the Day; its Details button opens the help
# topic the tip names: the tips file and the help folder were both found.
start
if w=$(window '^Tip of the Day$') && [ -n "$w" ]; then
  xdotool windowfocus --sync "$w" key alt+d
  opened "file://$data/help/editing.html#add"
else
  fail "no Tip of the Day; log: $(cat "$tmp/gui.log")"
fi
stop
# A sample opened from the installed tree; F1 shows the contents page.
start "$data/examples/german-english.vlo"
if w=$(window '^german-english\.vlo - Vocalore$') && [ -n "$w" ]; then
  xdotool windowfocus --sync "$w" key F1
  opened "file://$data/help/index.html"
  # The desktop matches the window to its menu entry by the window's class.
  wmclass=$(xprop -id "$w" WM_CLASS)
  startup=$(sed -n 's/^StartupWMClass=//p' "$desktop")
  [[ "$wmclass" == *", \"$startup\"" ]] || fail "window class $wmclass, the desktop entry expects $startup"
else
  fail "the sample did not open; log: $(cat "$tmp/gui.log")"
fi
stop

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all checks passed"
