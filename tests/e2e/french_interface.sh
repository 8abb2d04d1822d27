#!/usr/bin/env bash
# The program under a French (Canada) user interface language: started from the shell with
# the language set (a Wine program cannot hand its language to a child), then driven by
# the end-to-end test, which answers Yes to the close box; the program must end with 0.
#   french_interface.sh BIN_DIR
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/mingw/wineprefix}
install_dir=$(mktemp -d)
trap 'rm -rf "$install_dir"; "$here/scripts/wine-run" reg delete "HKLM\\SOFTWARE\\Quorix\\RYX Client" /f >/dev/null 2>&1 || true' EXIT
"$here/scripts/wine-run" reg add 'HKLM\SOFTWARE\Quorix\RYX Client' /v installdir /d "Z:${install_dir//\//\\}" /f >/dev/null 2>&1

LC_ALL=fr_CA.UTF-8 "$here/scripts/wine-run" "$bin/ryxgui.exe" &
program=$!
RYX_FRENCH_PROGRAM_RUNNING=1 "$here/scripts/wine-run" "$bin/main_window_e2e.exe" \
  --gtest_filter='FrenchInterface.*'
wait "$program"
