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

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libqscintilla2-qt6-dev libgl-dev
  libmecab-dev mecab-ipadic-utf8
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm
  dpkg-dev file desktop-file-utils appstream xvfb xauth xdotool
  fonts-noto-cjk fonts-urw-base35 fonts-liberation2 qt6-translations-l10n
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Missing Debian packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Installing them needs root, but you are not root and sudo is not installed: run this script once as root (or have an administrator install these packages), then again as yourself." >&2
      exit 1
    fi
    sudo=sudo
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)"
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
    configure_and_build
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
