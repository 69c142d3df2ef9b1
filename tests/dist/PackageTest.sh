#!/usr/bin/env bash
# Unpacks the Windows package into a fresh Wine prefix with a Japanese locale,
# starts its sutakiba.exe, and checks that the main window appears and that
# both plug-in libraries were written with the bytes the package carries;
# neither the executable nor the plug-ins carry debug information.
#   PackageTest.sh ZIP STRIPPED_PLUGIN_DIR WINDOW_SHOT_EXE SCREENSHOT_PNG OBJDUMP
set -euo pipefail
here=$(cd "$(dirname "$0")/../../scripts" && pwd)
zip=$1 plugins=$2 shooter=$3 screenshot=$4 objdump=$5
work=$(mktemp -d)
prefix=$work/prefix
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  [ -n "${app:-}" ] && wait "$app" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
for file in sutakiba.exe README-en.txt README-ja.txt; do
  [ -s "$work/unpacked/$file" ] || { echo "the package lacks $file"; exit 1; }
done
# The package is the release build: no debug sections in the executable or in
# the plug-ins it writes out (checked against the written files below).
for binary in "$work/unpacked/sutakiba.exe" "$plugins/velmap1.dll" "$plugins/VlPlugin.dll"; do
  sections=$("$objdump" -h "$binary") || { echo "cannot read the sections of $binary"; exit 1; }
  if grep -q '\.debug_' <<<"$sections"; then
    echo "$binary carries debug information"
    exit 1
  fi
done

cp -a "$("$here/wine-prefix.sh")" "$prefix"
# The test session's display; the prefix is the fresh one.
# shellcheck disable=SC1091
. "$SUTAKIBA_SESSION/session.env"
export WINEPREFIX=$prefix LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEARCH=win32 \
  WINEDLLOVERRIDES='mscoree,mshtml='
wine "$work/unpacked/sutakiba.exe" >"$work/app.log" 2>&1 &
app=$!
if ! wine "$shooter" "すたきば" "Z:${screenshot//\//\\}" 180; then
  echo "the main window did not appear; the application said:"
  cat "$work/app.log"
  exit 1
fi
echo "main window seen; screenshot $screenshot"

for dll in velmap1.dll VlPlugin.dll; do
  written=$(find "$prefix/drive_c" -iname "$dll" -print -quit)
  [ -n "$written" ] || { echo "$dll was not written"; exit 1; }
  cmp "$written" "$plugins/$dll" || { echo "$written differs from the packaged library"; exit 1; }
  echo "$dll written as $written"
done
