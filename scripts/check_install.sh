#!/usr/bin/env bash
# Checks of the installed program, run by ctest (scripts/keyrook.sh test):
#  1. `cmake --install` into a temporary prefix puts every file where it belongs;
#  2. desktop-file-validate and `appstreamcli validate --no-net` pass on the installed files;
#  3. with the prefix read-only, the installed program starts under Xvfb with a fresh $HOME,
#     registers a first user, writes user/user.log under $XDG_DATA_HOME/keyrook/, opens the maker
#     (its module loaded from the installed library folder), and leaves the prefix exactly as
#     it was.
#
# Read-only for real: file modes do not stop root, so when this runs as root (as in CI) the
# program is started as the unprivileged user nobody (setpriv, util-linux), for whom the cleared
# write bits do hold. Whoever runs it, the prefix's listing (names, sizes, times) is compared
# before and after, so a write into it fails the check even where nothing could stop it.
set -euo pipefail

build=${1:?usage: check_install.sh BUILD_DIR}
app_id=org.example.keyrook

fail() { echo "check_install: $*" >&2; exit 1; }
# 77: ctest reports the check as skipped (SKIP_RETURN_CODE in tests/CMakeLists.txt).
skip() { echo "check_install: skipped: $*" >&2; exit 77; }

for need in "desktop-file-validate desktop-file-utils" "appstreamcli appstream"; do
  set -- $need
  command -v "$1" >/dev/null || fail "$1 is missing (Debian package $2)"
done
# Without a virtual display or a way to drop root, the first run cannot be watched.
for need in "Xvfb xvfb" "xdotool xdotool" "setpriv util-linux"; do
  set -- $need
  command -v "$1" >/dev/null || skip "$1 is missing (Debian package $2)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/keyrook-install.XXXXXX")
chmod 755 "$work"  # nobody must reach the prefix
prefix=$work/prefix
home=$work/home
program="" xvfb=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# 1. The installed files.
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/keyrook bin/keyrook-tool share/keyrook/help.hlp \
         share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
         share/icons/hicolor/scalable/apps/keyrook.svg share/icons/hicolor/16x16/apps/keyrook.png \
         share/icons/hicolor/48x48/apps/keyrook.png share/icons/hicolor/256x256/apps/keyrook.png \
         share/man/man1/keyrook-tool.1.gz share/man/man6/keyrook.6.gz share/doc/keyrook/copyright; do
  [ -s "$prefix/$f" ] || fail "$f was not installed"
done
for m in keyrook-maker.so keyrook-graph.so; do
  compgen -G "$prefix/lib*/keyrook/$m" >/dev/null || compgen -G "$prefix/lib/*/keyrook/$m" >/dev/null ||
    fail "$m was not installed"
done
compgen -G "$prefix/share/keyrook/data/*.std" >/dev/null || fail "no problem sets installed"
compgen -G "$prefix/share/keyrook/sound/*.wav" >/dev/null || fail "no sounds installed"
"$prefix/bin/keyrook-tool" --help >/dev/null || fail "keyrook-tool --help failed"

# 2. Desktop entry and AppStream file (hints and infos are shown, errors fail).
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }

# 3. The program from a read-only prefix.
listing() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
before=$(listing)
chmod -R a-w "$prefix"
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${as_user[@]}" test -x "$prefix/bin/keyrook" || fail "$work cannot be reached by the user nobody"
  ! "${as_user[@]}" touch "$prefix/bin/probe" 2>/dev/null || fail "the prefix is writable for nobody"
fi

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
display=:$(head -1 "$work/display")
x() { DISPLAY=$display xdotool "$@"; }

data_home=$home/data-home
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$data_home" DISPLAY="$display" \
  LANG=C.UTF-8 QT_QPA_PLATFORM=xcb "$prefix/bin/keyrook" >"$work/keyrook.log" 2>&1 &
program=$!

# Waits until a visible window's title matches; prints its id.
window() {
  for _ in $(seq 100); do
    local w
    w=$(x search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$program" 2>/dev/null || { cat "$work/keyrook.log" >&2; fail "keyrook ended early"; }
    sleep 0.2
  done
  cat "$work/keyrook.log" >&2
  fail "no window '$1' appeared"
}
# Waits until a file holds exactly the given bytes.
expect_file() {
  for _ in $(seq 50); do
    [ -f "$1" ] && [ "$(od -An -c "$1")" = "$(printf "$2" | od -An -c)" ] && return 0
    sleep 0.2
  done
  fail "$1 does not hold '$2' (it holds: $(od -An -c "$1" 2>/dev/null || echo nothing))"
}

log=$data_home/keyrook/user/user.log
first=$(window 'ﾕｰｻﾞ名の初期登録')
x windowfocus --sync "$first"
x type --delay 40 taro
x key Return
expect_file "$log" 'taro\r\n'
menu=$(window '^Keyrook$')
# The maker lives in a module of its own, loaded from the installed library folder.
x windowfocus --sync "$menu"
x key ctrl+m
maker=$(window '^問題集作成ｴﾃﾞｨﾀ$')
x windowfocus --sync "$maker"
x key Escape
for _ in $(seq 50); do x search --onlyvisible --name '^問題集作成ｴﾃﾞｨﾀ$' >/dev/null 2>&1 || break; sleep 0.2; done
x search --onlyvisible --name '^問題集作成ｴﾃﾞｨﾀ$' >/dev/null 2>&1 && fail "the maker did not close on Escape"
x windowfocus --sync "$menu"
x key ctrl+e
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program" 2>/dev/null && fail "keyrook did not quit on Ctrl+E"
wait "$program" || fail "keyrook exited with status $?"
program=""
expect_file "$log" 'taro\r\ntaro\r\n'

[ "$(listing)" = "$before" ] || { diff <(echo "$before") <(listing) >&2; fail "the program wrote into its prefix"; }
echo "installed program: files, desktop entry, AppStream data and a read-only first run are fine"
