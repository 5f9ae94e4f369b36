#!/usr/bin/env bash
# Set-up for a fresh Debian machine (run as root, or with sudo available):
#   scripts/keyrook.sh run    install what is missing, build, start Keyrook with the sample data
#   scripts/keyrook.sh test   install what is missing, build, run every test (the installed
#                             program's checks included); then a second build of the core with
#                             clang, ASan and UBSan runs the core tests and each fuzz target for
#                             KEYROOK_FUZZ_SECONDS (30) seconds
#   scripts/keyrook.sh package  install what is missing, build, make the Debian package
# Safe to run again: installed packages are skipped and the build is incremental.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KEYROOK_BUILD_DIR:-$here/build}

# Debian packages the build, the tests and the program need, one to a line. @CLANG@ stands for
# the major version of the release's clang (14 on Debian 12, 19 on Debian 13): its runtime
# (sanitizers, libFuzzer) must match the compiler.
packages=(
  cmake
  g++
  make
  pkg-config
  qt6-base-dev
  qt6-multimedia-dev
  qt6-charts-dev
  libqt6opengl6-dev
  libqscintilla2-qt6-dev
  libgl-dev
  libmecab-dev
  mecab-ipadic-utf8
  googletest
  libgtest-dev
  libbenchmark-dev
  clang
  libclang-rt-@CLANG@-dev
  llvm
  dpkg-dev
  file
  desktop-file-utils
  appstream
  xvfb
  xauth
  xdotool
  fonts-noto-cjk
  fonts-urw-base35
  fonts-liberation2
  qt6-translations-l10n
)

# apt's own output goes here; the terminal gets one line per step.
apt_log=$build/apt.log

# The major version of the clang that is installed, or else of the one apt would install.
clang_major() {
  local deps
  if [ "$(dpkg-query -W -f='${db:Status-Abbrev}' clang 2>/dev/null)" = "ii " ]; then
    deps=$(dpkg-query -W -f='${Depends}' clang)
  else
    deps=$(apt-cache depends clang 2>/dev/null) || true
  fi
  [[ $deps =~ clang-([0-9]+) ]] && echo "${BASH_REMATCH[1]}"
}

# Every installed package, and every package that an installed one provides (a virtual package
# such as libqt6opengl6-dev on Debian 13 is there when qt6-base-dev is).
installed_names() {
  dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Provides}\n' 2>/dev/null | awk -F'|' '
    $1 ~ /^ii/ {
      print $2
      n = split($3, provided, ",")
      for (i = 1; i <= n; i++) {
        name = provided[i]; sub(/^ +/, "", name); sub(/[ :(].*/, "", name)
        if (name != "") print name
      }
    }'
}

# Fills `missing` with the listed packages that are not installed. A name that cannot be
# resolved yet (clang is neither installed nor known to apt) counts as missing, in the form
# the user can read.
find_missing() {
  local major have p
  major=$(clang_major) || true
  have=$(installed_names | sort -u)
  missing=()
  for p in "${packages[@]}"; do
    if [[ $p == *@CLANG@* ]]; then
      [ -n "$major" ] && p=${p//@CLANG@/$major} || p=${p//@CLANG@/<clang version>}
    fi
    grep -qxF -- "$p" <<<"$have" || missing+=("$p")
  done
}

# Runs one apt-get step as root, its output appended to the log; prints a single line.
apt_step() {
  local what=$1 start=$SECONDS; shift
  printf '%s ... ' "$what"
  echo "### $(date '+%F %T') apt-get $*" >>"$apt_log"
  if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o Dpkg::Use-Pty=0 "$@" \
       </dev/null >>"$apt_log" 2>&1; then
    echo "done ($((SECONDS - start)) s)"
  else
    echo "failed"
    tail -n 5 "$apt_log" | sed 's/^/  /' >&2
    echo "apt-get $1 failed; its whole output is in $apt_log" >&2
    exit 1
  fi
}

install_missing() {
  find_missing
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Missing Debian packages: ${missing[*]}"
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && { sudo -n true 2>/dev/null ||
         { [ -t 0 ] && sudo -v -p "[sudo] password for %u, to install them: "; }; }; then
      as_root=(sudo)
    else
      echo "Installing them needs root rights, which you do not have here (no sudo)." >&2
      echo "Ask an administrator to run:" >&2
      echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
      echo "then run this command again." >&2
      exit 1
    fi
  fi
  mkdir -p "$build"
  apt_step "Updating the package lists" update
  find_missing  # clang's version is known to apt now
  [ ${#missing[@]} -eq 0 ] && return 0
  if [[ ${missing[*]} == *"<clang version>"* ]]; then
    echo "apt knows no package clang here; is a Debian 12 or newer source in /etc/apt/sources.list*?" >&2
    exit 1
  fi
  apt_step "Installing ${#missing[@]} package(s)" install -y --no-install-recommends "${missing[@]}"
}

# Configures the build (tests and benchmarks included, so that `test` after `run` only adds
# their binaries) and builds the given targets, or everything.
configure_and_build() {
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$build" -j"$(nproc)" --target "$@"
  else
    cmake --build "$build" -j"$(nproc)"
  fi
}

# The core alone (no Qt) built with clang, AddressSanitizer, UndefinedBehaviorSanitizer and the
# libFuzzer targets; its tests are the core tests and one fixed-time run per fuzz target.
sanitizer_build_and_test() {
  local san="$build/sanitizers"
  cmake -S "$here" -B "$san" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKEYROOK_BUILD_UI=OFF -DKEYROOK_BUILD_BENCHMARKS=OFF -DKEYROOK_BUILD_FUZZERS=ON \
    -DKEYROOK_FUZZ_SECONDS="${KEYROOK_FUZZ_SECONDS:-30}" >/dev/null
  cmake --build "$san" -j"$(nproc)"
  (cd "$san" && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$(nproc)")
  # How far each fuzz target got.
  awk '/Testing: fuzz\./ { name = $NF } /number_of_executed_units/ { print "  " name ": " $2 " runs" }' \
    "$san/Testing/Temporary/LastTest.log"
}

case "${1:-}" in
  run)
    install_missing
    configure_and_build keyrook keyrook-tool
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "Keyrook is built in $build/bin, but there is no display to show it on." >&2
      echo "Start it inside a desktop session, or under a virtual display (xvfb-run comes with" >&2
      echo "the Debian package xvfb):" >&2
      echo "  xvfb-run -a $build/bin/keyrook" >&2
      exit 1
    fi
    cd "$build/bin" && exec ./keyrook
    ;;
  test)
    install_missing
    configure_and_build
    (cd "$build" && ctest --output-on-failure -j"$(nproc)")
    sanitizer_build_and_test
    ;;
  package)
    install_missing
    configure_and_build
    rm -f "$build"/package/keyrook_*.deb
    (cd "$build" && cpack -G DEB >/dev/null)
    ls "$build"/package/keyrook_*.deb
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
