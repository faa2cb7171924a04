#!/usr/bin/env bash
# A missing build dependency stops the configure step and names the Debian
# package to install; only the explicit option leaves the X11 keyboard out.
# Each case configures the source tree afresh in a folder of its own, with
# pkg-config looking into a folder that holds every library but the missing.
set -u
source="$1"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pc_without() { # pc_without NAME MODULE...: a pkg-config folder without MODULE.pc
  local dir="$work/pc-$1" d m; shift
  mkdir -p "$dir"
  for d in $(pkg-config --variable pc_path pkg-config | tr ':' ' '); do
    [ -d "$d" ] && find "$d" -maxdepth 1 -name '*.pc' -exec ln -sf {} "$dir/" \;
  done
  for m in "$@"; do rm -f "$dir/$m.pc"; done
  echo "$dir"
}
configure() { # configure NAME [ARGS...]: output in $work/NAME.log
  local name="$1"; shift
  cmake -S "$source" -B "$work/$name" -G Ninja -DVOCALORE_TESTS=OFF -DVOCALORE_BENCH=OFF "$@" \
    >"$work/$name.log" 2>&1
}
expect_refusal() { # expect_refusal NAME PACKAGE [ARGS...]
  local name="$1" package="$2"; shift 2
  if configure "$name" "$@"; then
    fail "$name: the configure step went on without it"
  elif ! tr -s ' \n' ' ' <"$work/$name.log" | grep -q "install the Debian package $package "; then
    fail "$name: the message does not name $package"
    tail -n 20 "$work/$name.log"
  fi
}

expect_refusal no-pkg-config pkg-config -DPKG_CONFIG_EXECUTABLE="$work/none"
for missing in xkbcommon:libxkbcommon-dev xcb-xkb:libxcb-xkb-dev libzip:libzip-dev; do
  PKG_CONFIG_LIBDIR=$(pc_without "${missing%%:*}" "${missing%%:*}") \
    expect_refusal "no-${missing%%:*}" "${missing#*:}"
done
if ! PKG_CONFIG_LIBDIR=$(pc_without keyboard xkbcommon xcb-xkb) \
     configure keyboard-off -DVOCALORE_X11_KEYBOARD=OFF; then
  fail "VOCALORE_X11_KEYBOARD=OFF: the configure step failed"
  tail -n 20 "$work/keyboard-off.log"
fi
[ "$failures" -eq 0 ] && echo "ok" || exit 1
