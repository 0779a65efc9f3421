#!/usr/bin/env bash
# Runs the full-drive tests of the Wine tier on a drive it can fill: a tmpfs
# of a few pages, mounted for the run and seen by Wine as a drive letter.
# Exits 77 (skipped) where the machine does not allow the mount.
#
#   tests/e2e/full_disk.sh BUILD_DIR
set -uo pipefail
build="$(cd "${1:-build/win}" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
prefix="${LUMI_WINEPREFIX:-$PWD/wineprefix}"
size=64k

mnt="$(mktemp -d /tmp/lumivane-disk.XXXXXX)"
link=""
cleanup() {
  [ -n "$link" ] && rm -f "$link"
  mountpoint -q "$mnt" && umount "$mnt"
  rmdir "$mnt"
}
trap cleanup EXIT

if ! mount -t tmpfs -o "size=$size" tmpfs "$mnt" 2>"$mnt.err"; then
  echo "SKIP: this machine does not let the test mount a $size tmpfs to fill: $(cat "$mnt.err")"
  rm -f "$mnt.err"
  exit 77
fi
rm -f "$mnt.err"

# The prefix exists once any Wine program ran in it.
"$root/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null
for letter in t u v w x y; do
  if [ ! -e "$prefix/dosdevices/$letter:" ]; then
    link="$prefix/dosdevices/$letter:"
    break
  fi
done
[ -n "$link" ] || { echo "FAIL: no free drive letter in $prefix"; exit 1; }
ln -s "$mnt" "$link"

drive="$(basename "$link" | tr a-z A-Z)"
LUMI_FULL_DISK="$drive\\" "$root/scripts/wine-run.sh" "$build/wine_tests.exe" --gtest_filter='StoreFullDisk*'
