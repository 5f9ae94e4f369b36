#!/usr/bin/env bash
# Screenshots of every window of two builds of the program, compared pixel for pixel:
#   scripts/compare_screens.sh BIN_A BIN_B [OUT]
# BIN_A and BIN_B are build/bin folders (the program with data/, sound/ and help.hlp beside it).
# Each window is opened from a fresh start of the program (one registered user, the sample
# sets) on a private Xvfb display (COMPARE_DISPLAY, default :96) and the whole screen is shot;
# the typing window is shot at rest, with a question shown and after a counted miss (its flash
# over). The main window's icon (every size the window system is given) is compared as well.
# Shots go to OUT (default a temporary folder, kept when they differ). Prints the number of
# differing pixels per shot; the exit status is 1 when any differs.
# Needs xvfb, xdotool, x11-utils (xprop) and imagemagick (import, compare).
set -euo pipefail

[ $# -ge 2 ] || { sed -n '2,11p' "$0" >&2; exit 2; }
a=$(cd "$1" && pwd)
b=$(cd "$2" && pwd)
out=${3:-$(mktemp -d /tmp/keyrook-screens.XXXXXX)}
display=${COMPARE_DISPLAY:-:96}
for tool in Xvfb xdotool xprop import compare; do
  command -v "$tool" >/dev/null || { echo "compare_screens.sh: $tool is needed (apt-get install xvfb xdotool x11-utils imagemagick)" >&2; exit 2; }
done
mkdir -p "$out"
export DISPLAY=$display
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
scratch=$(mktemp -d /tmp/keyrook-screens-app.XXXXXX)
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
sleep 1

# A copy of a build's program with one registered user; "measure" makes it hold one set whose
# questions are all "a", so that the typing window shows the same line at every start.
copy() {
  local bin=$1 dir=$scratch/app
  rm -rf "$dir"
  mkdir -p "$dir/user"
  cp -r "$bin/keyrook" "$bin/data" "$bin/sound" "$bin/help.hlp" "$dir/"
  # The window modules beside the program (builds before them had none).
  if compgen -G "$bin/keyrook-*.so" >/dev/null; then cp "$bin"/keyrook-*.so "$dir/"; fi
  printf 'amy\r\namy\r\n' >"$dir/user/user.log"
  if [ "${2:-}" = measure ]; then
    rm -f "$dir"/data/*.std
    local line
    line=$(printf 'a%.0s' $(seq 1 40))
    printf 'measure/keyrook#\r\n%s\r\n%s\r\n' "$line" "$line" >"$dir/data/measure.std"
  fi
  echo "$dir"
}

window() {
  local w=""
  for _ in $(seq 1 60); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.25
  done
  echo "$w"
}

# shoot BIN NAME SETS KEYS...: a fresh start, the keys to the main menu (each word one xdotool
# key call, "wait" pauses 2 s), then the screen.
shoot() {
  local bin=$1 name=$2 sets=$3 dir w
  shift 3
  dir=$(copy "$bin" "$sets")
  (cd "$dir" && exec ./keyrook >/dev/null 2>&1) &
  app=$!
  w=$(window '^Keyrook$')
  xdotool mousemove 1279 1023
  sleep 1.5
  xdotool windowfocus --sync "$w" 2>/dev/null || true
  for k in "$@"; do
    if [ "$k" = wait ]; then sleep 2; else xdotool key "$k"; sleep 0.7; fi
  done
  sleep 1.5
  import -window root "$out/$name.png"
  xprop -id "$w" _NET_WM_ICON >"$out/$name.icon" 2>&1 || true
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
}

shots=(
  "main|samples|"
  "typing|measure|ctrl+s"
  "typing-question|measure|ctrl+s F1 wait wait"
  "typing-miss|measure|ctrl+s F1 wait wait a a q wait"
  "record|samples|ctrl+r"
  "weak-keys|samples|ctrl+k"
  "calendar|samples|ctrl+d"
  "invader|samples|ctrl+v"
  "reflection|samples|ctrl+f"
  "tenkey|samples|ctrl+t"
  "user-regist|samples|ctrl+u"
  "setting|samples|ctrl+n"
  "maker|samples|ctrl+m"
  "about|samples|ctrl+a"
  "help|samples|ctrl+h"
)
differ=0
for shot in "${shots[@]}"; do
  IFS='|' read -r name sets keys <<<"$shot"
  # shellcheck disable=SC2086
  shoot "$a" "$name-a" "$sets" $keys
  # shellcheck disable=SC2086
  shoot "$b" "$name-b" "$sets" $keys
  n=$(compare -metric AE "$out/$name-a.png" "$out/$name-b.png" "$out/$name-diff.png" 2>&1 >/dev/null || true)
  echo "$name: $n pixels differ"
  [ "$n" = 0 ] || differ=1
  if [ "$name" = main ]; then
    if cmp -s "$out/main-a.icon" "$out/main-b.icon"; then echo "icon: the same"; else echo "icon: differs"; differ=1; fi
  fi
done
if [ "$differ" = 0 ]; then
  [ -n "${3:-}" ] || rm -rf "$out"
else
  echo "shots and differences in $out"
fi
exit "$differ"
