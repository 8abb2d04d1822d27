#!/usr/bin/env bash
# The program under a French (France) interface language, started from the shell (a Wine
# program cannot hand its language to a child) and closed by the test with Yes: exit code 0.
#   french_interface.sh BIN_DIR
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
run="$here/scripts/wine-run"
export WINEPREFIX=${WINEPREFIX:-$here/build/mingw/wineprefix}
key='HKLM\SOFTWARE\Quorix\RYX Client'
install_dir=$(mktemp -d)
trap 'rm -rf "$install_dir"; "$run" reg delete "$key" /f >/dev/null 2>&1 || true' EXIT
"$run" reg add "$key" /v installdir /d "Z:${install_dir//\//\\}" /f >/dev/null 2>&1
LC_ALL=fr_FR.UTF-8 "$run" "$bin/ryxgui.exe" &
RYX_FRENCH_PROGRAM_RUNNING=1 "$run" "$bin/main_window_e2e.exe" --gtest_filter='FrenchInterface.*'
wait $! # the program's exit code
