#!/usr/bin/env bash
# Runs ./check in a fresh Debian system of the given release, on a clean
# clone of this repository at its HEAD, as a new contributor on that release
# would: debootstrap makes the system in a scratch folder (from its default
# archive), the clone is checked inside a chroot, and everything is unmounted
# and removed afterwards, after a failure or Ctrl-C too.
# Not part of ./check or CI: it downloads a whole system. Run it as root.
#   scripts/check-on-debian.sh bookworm|trixie
# VEKOTRA_SCRATCH=DIR makes the scratch folder under DIR (default: /var/tmp).
set -euo pipefail

usage() { echo "usage: $0 bookworm|trixie" >&2; exit 2; }
[ $# -eq 1 ] || usage
release=$1
case "$release" in bookworm | trixie) ;; *) usage ;; esac
[ "$(id -u)" -eq 0 ] || { echo "$0: debootstrap and chroot need root" >&2; exit 2; }

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
head=$(git -C "$repo" rev-parse HEAD)
started=$(date +%s)
scratch=$(mktemp -d "${VEKOTRA_SCRATCH:-/var/tmp}/vekotra-$release.XXXXXX")
root=$scratch/root
# Mount points inside the chroot, in the order they are mounted; unmounted in
# the reverse order (each with what lies below it).
mounts=(proc sys dev dev/shm tmp)

# What is mounted at or below the chroot, deepest first.
mounts_below() {
  findmnt -rn -o TARGET | awk -v r="$root" '$0 == r || index($0, r "/") == 1' | sort -r
}

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  set +e
  # Processes the check left behind (an Xvfb, a game) keep mounts busy.
  if [ -d "$root/proc" ]; then
    for link in /proc/[0-9]*/root; do
      [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
      pid=${link#/proc/}
      kill -9 "${pid%/root}" 2>/dev/null
    done
  fi
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    mountpoint -q "$root/${mounts[i]}" && umount -R "$root/${mounts[i]}"
  done
  # Still busy: detached, so that nothing below them is reached any more.
  if [ -n "$(mounts_below)" ]; then
    mounts_below | xargs -r -n1 umount -l
    sleep 1
  fi
  # Removed only when nothing is mounted below: rm -rf through a bind mount
  # of /dev would delete the host's device files.
  if [ -n "$(mounts_below)" ]; then
    echo "check-on-debian: still mounted, $scratch left in place:" >&2
    mounts_below >&2
  else
    rm -rf --one-file-system "$scratch"
  fi
  local elapsed=$(($(date +%s) - started))
  local verdict=passed
  [ "$status" -eq 0 ] || verdict="FAILED (status $status)"
  printf 'check-on-debian: ./check on %s at %s %s in %dm%02ds\n' \
    "$release" "${head:0:12}" "$verdict" $((elapsed / 60)) $((elapsed % 60))
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if ! command -v debootstrap >/dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

echo "check-on-debian: making a $release system in $root"
debootstrap "$release" "$root"

# /sys and /dev with what is mounted below them (/dev/pts among them), as
# slaves: nothing mounted or unmounted here reaches the host's. A /dev/shm and
# a /tmp of the chroot's own: what the tests leave there goes with it.
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
cp /etc/resolv.conf "$root/etc/resolv.conf"

git clone --quiet --no-local "$repo" "$root/root/vekotra"
git -C "$root/root/vekotra" checkout --quiet --detach "$head"

echo "check-on-debian: running ./check at ${head:0:12} on $release"
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  bash -c 'cd /root/vekotra && ./check'
