#!/usr/bin/env bash
# Apply on a disk that is really full: a small tmpfs mounted here becomes Wine's drive R:,
# which the test fills. Mounting needs root: where it is refused, says so and exits 77
# (ctest: skipped).
#   full_disk.sh BIN_DIR
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/mingw/wineprefix}
disk=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/r:"
cleanup() {
  rm -f "$drive"
  umount "$disk" 2>/dev/null || true
  rmdir "$disk"
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  echo "full_disk.sh: skipped: mounting a small file system is not allowed here (needs root)"
  exit 77
fi
ln -sfn "$disk" "$drive"
RYX_FULL_DISK='R:\' "$here/scripts/wine-run" "$bin/config_e2e.exe" --gtest_filter='ConfigE2E.UnreadableFiles*'
