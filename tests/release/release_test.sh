#!/usr/bin/env bash
# The release as it reaches a Windows user: scripts/release refuses bad requests before it
# builds, packs exactly the listed files, signs on request; the installer installs, upgrades
# and uninstalls under Wine, and the installed program runs against the stand-in client.
#   release_test.sh BIN_DIR   (BIN_DIR holds ryxc-demo.exe; run inside scripts/test-windows)
set -euo pipefail
bin=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
run="$root/scripts/wine-run"
export WINEPREFIX=${WINEPREFIX:-$root/build/mingw/wineprefix}
drive_c=$WINEPREFIX/drive_c
work=$(mktemp -d)
client_key='HKLM\SOFTWARE\Quorix\RYX Client'
client_dir='C:\ryx-release-test\RYX Client'

win() { "$run" winepath -w "$1" 2>/dev/null; }

cleanup() {
  for msi in "$work"/*.msi; do
    [ -f "$msi" ] && "$run" msiexec /x "$(win "$msi")" /qn >/dev/null 2>&1 || true
  done
  "$run" "$bin/ryxc-demo.exe" uninstall >/dev/null 2>&1 || true
  "$run" reg delete "$client_key" /f >/dev/null 2>&1 || true
  rm -rf "$drive_c/ryx-release-test" "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Polls a command until it succeeds or the seconds run out.
wait_until() { # SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

echo "== refusals, in a throwaway repository"
repo=$work/repo
mkdir -p "$repo/scripts"
cp "$root/scripts/release" "$repo/scripts/"
echo 'project(ryxgui VERSION 1.2.3 LANGUAGES CXX)' >"$repo/CMakeLists.txt"
git -C "$repo" init -q
git -C "$repo" add -A
git -C "$repo" -c user.name=test -c user.email=test@localhost commit -qm tree
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" \
  -subj "/CN=RYX release test" -days 1 2>/dev/null

refused() { # TEXT ARGUMENTS...: scripts/release stops, saying TEXT
  local text=$1 output
  shift
  output=$("$repo/scripts/release" "$@" 2>&1) && fail "release $* was accepted"
  grep -qF -- "$text" <<<"$output" || fail "release $*: no '$text' in: $output"
}
echo stray >"$repo/stray.txt"
echo '# edited' >>"$repo/CMakeLists.txt"
refused "?? stray.txt"
refused " M CMakeLists.txt"
refused "$work/missing.pem does not exist" --allow-dirty --sign "$work/missing.pem" "$work/cert.pem"
refused "$work cannot be read" --allow-dirty --sign "$work/key.pem" "$work"
for bad in 1.2 1.2.3.4 1.2.x 1.256.0; do
  sed -i "s/VERSION [^ ]*/VERSION $bad/" "$repo/CMakeLists.txt"
  refused "version '$bad' in CMakeLists.txt is not N.N.N" --allow-dirty
done
[ ! -e "$repo/build" ] || fail "a refused release built something"

echo "== signed release"
version=$(sed -n 's/^project(ryxgui VERSION \([^ )]*\).*/\1/p' "$root/CMakeLists.txt")
out=$root/build/release
zip=$out/ryxgui-$version-win64.zip
msi=$out/ryxgui-$version-x64.msi
"$root/scripts/release" --allow-dirty --sign "$work/key.pem" "$work/cert.pem" >"$work/log" 2>&1 ||
  fail "signed release: $(cat "$work/log")"
[ "$(unzip -Z1 "$zip" | sort | xargs)" = "LICENSE.txt README.txt ryxgui.exe" ] ||
  fail "zip holds: $(unzip -Z1 "$zip" | xargs)"
[ "$(cut -d' ' -f3 "$out/SHA256SUMS" | xargs)" = "${zip##*/} ${msi##*/}" ] &&
  (cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS: $(cat "$out/SHA256SUMS")"
unzip -q "$zip" ryxgui.exe -d "$work/signed"
for file in "$work/signed/ryxgui.exe" "$msi"; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null || fail "not signed: $file"
done

echo "== unsigned release"
"$root/scripts/release" --allow-dirty >"$work/log" 2>&1 || fail "release: $(cat "$work/log")"
grep -q "UNSIGNED" "$work/log" || fail "the unsigned release does not say so"
unzip -q "$zip" ryxgui.exe -d "$work/unsigned"
for file in "$work/unsigned/ryxgui.exe" "$msi"; do
  ! osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1 || fail "signed: $file"
done
cp "$msi" "$work/first.msi"
IFS=. read -r major minor patch <<<"$version"
next=$major.$minor.$((patch + 1))
"$root/packaging/build-msi" "$next" "$work/unsigned/ryxgui.exe" "$work/next.msi"

echo "== installer under Wine"
program="$drive_c/Program Files/RYX Client GUI/ryxgui.exe"
# Everything on drive C: but the installer's own cache and temporary files.
files() {
  (cd "$drive_c" && find . -path ./windows/Installer -prune -o -ipath '*/temp' -prune -o -print) |
    sort
}
# "VERSION PUBLISHER" of each uninstall entry of the program.
entries() {
  "$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | awk '/^HKEY/ { flush() } END { flush() }
      function flush() {
        if (name == "RYX Client GUI") print version, publisher
        name = version = publisher = ""
      }
      { value = $0; sub(/^ +[A-Za-z]+ +REG_SZ +/, "", value) }
      $1 == "DisplayName" { name = value } $1 == "DisplayVersion" { version = value }
      $1 == "Publisher" { publisher = value }'
}
client() { # the client's registry value and files
  "$run" reg query "$client_key" /v installdir 2>/dev/null | tr -d '\r' | grep installdir
  sha256sum "$drive_c/ryx-release-test/RYX Client"/*
}
main_window_shown() { xwininfo -root -tree | grep -q '"RYX Client GUI"'; }
# The all-users Run value the installer writes on request; empty when there is none.
run_value() {
  "$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v 'RYX Client GUI' \
    2>/dev/null | tr -d '\r' | sed -n 's/^ *RYX Client GUI *REG_SZ *//p'
}

"$run" "$bin/ryxc-demo.exe" install "$client_dir" >/dev/null 2>&1 || fail "stand-in client install"
files >"$work/files.before"
client >"$work/client.before"

"$run" msiexec /i "$(win "$work/first.msi")" /qn || fail "msiexec /i first.msi: $?"
cmp -s "$program" "$work/unsigned/ryxgui.exe" || fail "no program in Program Files"
[ "$(entries)" = "$version Quorix" ] || fail "uninstall entries: $(entries)"
# Wine keeps shortcuts of a per-machine install in the user's Start menu, Windows in ProgramData.
shortcut=$(cd "$drive_c" && find ProgramData users -path '*/Start Menu/Programs/RYX Client GUI.lnk')
[ -n "$shortcut" ] && [ "$(wc -l <<<"$shortcut")" = 1 ] && tr -d '\0' <"$drive_c/$shortcut" |
  grep -qF 'C:\Program Files\RYX Client GUI\ryxgui.exe' || fail "shortcut: $shortcut"
icon=$("$run" reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p')
cmp -s "$("$run" winepath -u "$icon" 2>/dev/null)" "$root/res/icons/app.ico" ||
  fail "Apps & features icon: $icon"
[ -z "$(run_value)" ] || fail "installed without STARTWITHWINDOWS, Run value: $(run_value)"
files >"$work/files.installed"

"$run" "$program" >/dev/null 2>&1 &
gui=$!
wait_until 30 main_window_shown || fail "the installed program showed no main window"
"$run" taskkill /f /im ryxgui.exe >/dev/null 2>&1 || true
wait $gui || true

"$run" msiexec /i "$(win "$work/next.msi")" /qn || fail "msiexec /i next.msi: $?"
[ "$(entries)" = "$next Quorix" ] || fail "after the upgrade, uninstall entries: $(entries)"
files | diff "$work/files.installed" - || fail "the upgrade left other files than one install"

"$run" msiexec /x "$(win "$work/next.msi")" /qn || fail "msiexec /x next.msi: $?"
[ -z "$(entries)" ] || fail "after msiexec /x, uninstall entries: $(entries)"
files | diff "$work/files.before" - || fail "msiexec /x did not leave drive C: as it was"
client | diff "$work/client.before" - || fail "msiexec /x touched the client"

# Start with Windows for every user on request, and gone again with the program.
"$run" msiexec /i "$(win "$work/first.msi")" /qn STARTWITHWINDOWS=1 ||
  fail "msiexec /i first.msi STARTWITHWINDOWS=1: $?"
[ "$(run_value)" = '"C:\Program Files\RYX Client GUI\ryxgui.exe" --tray' ] ||
  fail "STARTWITHWINDOWS=1, Run value: $(run_value)"
"$run" msiexec /x "$(win "$work/first.msi")" /qn || fail "msiexec /x first.msi: $?"
[ -z "$(run_value)" ] || fail "after msiexec /x, Run value: $(run_value)"
files | diff "$work/files.before" - || fail "msiexec /x after STARTWITHWINDOWS left files"
echo "release packages: all checks passed"
