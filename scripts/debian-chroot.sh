#!/usr/bin/env bash
# Builds kelpo-widget and runs its tests on a newer Debian, in a chroot of
# it: what a contributor runs before a change that touches the build or the
# desktop host. The chroot is made once (debootstrap, about 90 s, then the
# packages the tests need, some minutes and 2.6 GB) and kept for the next run.
#
#   scripts/debian-chroot.sh [SUITE] [unit|desktop|all] [CTEST ARGUMENTS...]
#
# SUITE is trixie (Debian 13, the default) or testing. "unit" builds with the
# strict preset and runs the tests less the desktop scenarios; "desktop"
# runs the desktop scenarios too (ctest -L desktop); "all" is the whole
# suite, as scripts/test.sh. Needs root (debootstrap, mounts, chroot) and
# the debootstrap package. Further arguments go to ctest, e.g. "-R gnome" to
# run a few scenarios again after a change. KELPO_CHROOT_DIR chooses where the chroot lives
# (default /var/tmp/kelpo-chroot-SUITE).
set -euo pipefail
cd "$(dirname "$0")/.."

suite="${1:-trixie}"
scope="${2:-unit}"
shift $(($# < 2 ? $# : 2))
ctest_arguments=""
[ $# -eq 0 ] || ctest_arguments=$(printf ' %q' "$@")
case "$suite" in trixie | testing) ;; *)
  echo "debian-chroot: unknown suite '$suite' (trixie or testing)" >&2
  exit 2
  ;;
esac
case "$scope" in unit | desktop | all) ;; *)
  echo "debian-chroot: unknown scope '$scope' (unit, desktop or all)" >&2
  exit 2
  ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "debian-chroot: run as root (debootstrap, mounts and chroot need it)" >&2
  exit 2
fi
command -v debootstrap >/dev/null || {
  echo "debian-chroot: debootstrap is missing (apt-get install debootstrap)" >&2
  exit 2
}

root="${KELPO_CHROOT_DIR:-/var/tmp/kelpo-chroot-$suite}"
# The mirror this machine's apt already uses.
mirror=$(sed -n 's/^URIs: *\(\S*debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" {print $2; exit}' /etc/apt/sources.list 2>/dev/null)
[ -n "$mirror" ] || mirror="http://deb.debian.org/debian"

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "debian-chroot: making a $suite chroot in $root from $mirror" >&2
  mkdir -p "$root"
  debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
    tail -n 20 "$root.debootstrap.log" >&2
    exit 1
  }
  # testing's Release file may be past its Valid-Until date against this
  # machine's clock.
  echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99kelpo-valid-until"
  echo "$suite" >"$root/etc/kelpo-suite"
fi

# The mounts a build and the desktops need, and a private /tmp; undone on
# the way out, whatever happens.
mounted=()
private_tmp=$(mktemp -d)
unmount_all() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  rm -rf "$private_tmp"
}
trap unmount_all EXIT
bind() {
  mkdir -p "$root$2"
  mount --bind "$1" "$root$2"
  mounted+=("$root$2")
}
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
bind /sys /sys
bind /dev /dev
bind /dev/pts /dev/pts
mkdir -p "$root/dev/shm"
mount -t tmpfs shm "$root/dev/shm" && mounted+=("$root/dev/shm")
bind "$private_tmp" /tmp
chmod 1777 "$private_tmp"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# The project as committed, plus the fetched font (kept out of git).
# Outside /root, which only root may enter: one test runs the command as
# another user.
work="$root/srv/kelpo-widget"
# The build tree stays from one run to the next, and so do the sources a
# commit left alone: an index of the chroot's own copy rewrites only the
# files that changed, so that the build recompiles only what they touch.
mkdir -p "$work"
GIT_INDEX_FILE="$root/srv/kelpo-widget.index" git --work-tree="$work" read-tree --reset -u HEAD
cp -p resources/fonts/*.ttf resources/fonts/OFL.txt "$work/resources/fonts/" 2>/dev/null || true

case "$scope" in
  unit) run_tests="ctest --preset unit -j2" ;;
  desktop) run_tests="ctest --preset strict -j2 -L desktop" ;;
  all) run_tests="ctest --preset strict -j2" ;;
esac
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  /bin/bash -euo pipefail -c "
    cd /srv/kelpo-widget
    apt-get update -qq
    scripts/setup.sh tests
    cmake --preset strict >/dev/null
    cmake --build --preset strict
    $run_tests$ctest_arguments
  "
