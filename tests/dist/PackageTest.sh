#!/usr/bin/env bash
# Unpacks the Windows package into a fresh Wine prefix with a Japanese locale,
# starts its sutakiba.exe, and checks that the main window appears and that
# both plug-in libraries were written with the bytes the package carries.
#   PackageTest.sh ZIP STRIPPED_PLUGIN_DIR WINDOW_SHOT_EXE SCREENSHOT_PNG
set -euo pipefail
here=$(cd "$(dirname "$0")/../../scripts" && pwd)
zip=$1 plugins=$2 shooter=$3 screenshot=$4
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
