#!/usr/bin/env bash
# Tries the README's set-up on a fresh, minimal Debian, as a new user would (not part of CI: it
# downloads and builds everything, half an hour or more):
#
#   sudo scripts/check_fresh_debian.sh bookworm|trixie
#
# Makes a minbase root with debootstrap from the mirror apt uses here, clones this repository
# (its checked-out commit) into two users' homes there and runs, timing each step:
#   - `run` as a user without sudo: must say once what to ask an administrator for, and stop;
#   - `run` as a user with sudo: installs, builds, then says there is no display;
#   - `run` again with the sudo rights taken away: must install and compile nothing;
#   - `test`, then `package`; the package is installed with apt into a second fresh root, where
#     the installed program must show its main window under Xvfb.
# The roots stay in $KEYROOK_FRESH_DIR (default /var/tmp/keyrook-fresh) for a look afterwards;
# each run starts from new ones. The mounts live in a private mount namespace and go away
# with it.
set -euo pipefail

release=${1:?usage: check_fresh_debian.sh RELEASE (bookworm, trixie, ...)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "check_fresh_debian: needs root (debootstrap, chroot, mounts)" >&2; exit 1; }
for tool in debootstrap unshare git; do
  command -v "$tool" >/dev/null || { echo "check_fresh_debian: $tool is missing" >&2; exit 1; }
done

if [ -z "${KEYROOK_FRESH_NS:-}" ]; then
  export KEYROOK_FRESH_NS=1
  exec unshare --mount --propagation private "$0" "$@"
fi

root=${KEYROOK_FRESH_DIR:-/var/tmp/keyrook-fresh}/$release
player=$root-player  # where the package is installed
# The mirror of this machine's own release (not its security or updates suites).
mirror=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME)' |
         awk '$2 !~ /-/ && $1 !~ /security/ { print $1; exit }')
mirror=${mirror:-http://deb.debian.org/debian/}

declare -a summary=()
step() {  # step NAME EXPECTED_RC COMMAND...: runs, times and records one step
  local name=$1 expect=$2 start=$SECONDS rc=0 line; shift 2
  echo "=== $name"
  "$@" || rc=$?
  line=$(printf '%-64s %5d s  rc %d' "$name" $((SECONDS - start)) "$rc")
  [ "$rc" -eq "$expect" ] || line="$line (expected $expect) FAILED"
  summary+=("$line")
  echo "=== $line"
  [ "$rc" -eq "$expect" ]
}
report() {
  echo
  echo "Fresh Debian $release from $mirror, commit $(git -C "$here" rev-parse --short HEAD):"
  printf '  %s\n' "${summary[@]}"
}
trap report EXIT

# A minbase root in $1 with /proc, /sys, /dev, a network and apt's package lists.
make_root() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  debootstrap --variant=minbase "$release" "$dir" "$mirror" >"$dir.debootstrap.log" 2>&1 ||
    { tail -n 20 "$dir.debootstrap.log"; return 1; }
  mount -t proc proc "$dir/proc"
  mount -t sysfs sysfs "$dir/sys"
  mount --bind /dev "$dir/dev"
  mount --bind /dev/pts "$dir/dev/pts"
  mount -t tmpfs tmpfs "$dir/dev/shm"
  mount -t tmpfs tmpfs "$dir/tmp"
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
  echo "127.0.1.1 $(hostname)" >>"$dir/etc/hosts"
  chroot "$dir" apt-get update -qq
}

# In the root, as the given user, with a login's plain environment and no terminal.
as() {
  local user=$1; shift
  chroot "$root" runuser -u "$user" -- env -i HOME="/home/$user" USER="$user" LANG=C.UTF-8 \
    PATH=/usr/local/bin:/usr/bin:/bin bash -c "cd ~ && $*" </dev/null
}
# The same, keeping the output in the root's file $1 for the checks that read it.
as_logged() {
  local log=$1; shift
  as "$@" 2>&1 | tee "$root/$log"
  return "${PIPESTATUS[0]}"
}

# learner may use sudo without a password; guest may not use it at all.
add_users() {
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends sudo >/dev/null &&
  chroot "$root" useradd -m -s /bin/bash learner &&
  chroot "$root" useradd -m -s /bin/bash guest &&
  echo "learner ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/learner" &&
  chmod 440 "$root/etc/sudoers.d/learner"
}

clone_for_both() {
  local user
  for user in learner guest; do
    git clone -q "$here" "$root/home/$user/keyrook" &&
    chroot "$root" chown -R "$user:$user" "/home/$user/keyrook" || return 1
  done
}

without_sudo_is_told() {
  local rc=0
  as_logged guest.log guest "keyrook/scripts/keyrook.sh run" || rc=$?
  [ "$(grep -c "Ask an administrator" "$root/guest.log")" -eq 1 ] ||
    { echo "not told once what to ask for"; return 3; }
  return "$rc"
}

second_run_installs_nothing() {
  local rc=0
  rm -f "$root/etc/sudoers.d/learner"  # a call to sudo fails from now on
  as_logged second.log learner "keyrook/scripts/keyrook.sh run" || rc=$?
  if grep -q -e "Missing Debian packages" -e "Building CXX" "$root/second.log"; then
    echo "the second run installed or compiled something"
    return 3
  fi
  return "$rc"
}

# The package goes into a second fresh root, so that its dependencies alone must bring what
# the program needs.
install_package() {
  local deb
  deb=$(ls "$root"/home/learner/keyrook/build/package/keyrook_*.deb) || return 1
  make_root "$player" || return 1
  cp "$deb" "$player/tmp/" &&
  chroot "$player" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    "/tmp/${deb##*/}" xvfb xauth xdotool >/dev/null &&
  chroot "$player" useradd -m player
}

# The installed program, started by its menu command, must ask for the first user's name and
# then show its main window.
installed_program_starts() {
  cat >"$player/tmp/start.sh" <<'END'
keyrook & pid=$!
w=$(timeout 60 xdotool search --sync --onlyvisible --name 'ﾕｰｻﾞ名の初期登録' | head -1)
[ -n "$w" ] && xdotool windowfocus --sync "$w" && xdotool type --delay 50 player &&
  xdotool key Return && timeout 30 xdotool search --sync --onlyvisible --name '^Keyrook$' >/dev/null
rc=$?
kill "$pid"
exit "$rc"
END
  chroot "$player" runuser -u player -- env -i HOME=/home/player LANG=C.UTF-8 \
    PATH=/usr/local/bin:/usr/bin:/bin xvfb-run -a sh /tmp/start.sh </dev/null
}

step "debootstrap --variant=minbase $release" 0 make_root "$root" || exit 1
step "users learner (sudo) and guest (no sudo)" 0 add_users || exit 1
step "git clone (both users)" 0 clone_for_both || exit 1
step "keyrook.sh run (guest, no sudo: told what to ask for)" 1 without_sudo_is_told || true
step "keyrook.sh run (learner, sudo; ends with: no display)" 1 \
  as learner "keyrook/scripts/keyrook.sh run" || true
step "keyrook.sh run again (no sudo; installs, compiles nothing)" 1 second_run_installs_nothing || true
step "keyrook.sh test" 0 as learner "keyrook/scripts/keyrook.sh test" || true
step "keyrook.sh package" 0 as learner "keyrook/scripts/keyrook.sh package" || true
step "new root: apt install ./keyrook_*.deb" 0 install_package || true
step "installed keyrook shows its main window (xvfb-run)" 0 installed_program_starts || true
