#!/usr/bin/env bash
# Prints the path of a ready 32-bit Wine prefix, making it once per machine
# (about 20 s) in the user's cache. The folder name carries a hash of this
# script, so a change to the prefix settings makes a fresh one.
set -euo pipefail
version=$(sha256sum "$0" | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/sutakiba
ready=$cache/wine-prefix-$version
if [ -f "$ready/.ready" ]; then echo "$ready"; exit 0; fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/prefix-work.XXXXXX")
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=$work WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
{
  wineboot -i
  # A crashing test must fail, not wait for someone to answer Wine's crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\n"Debugger"=-\n' > "$work/nodebugger.reg"
  wine reg import 'Z:'"$(echo "$work/nodebugger.reg" | tr / '\\')"
  # A virtual desktop gives windows title bars and one shared window namespace.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
  wineserver -w
} >/dev/null 2>&1
cp /usr/share/wine/fonts/marlett.ttf "$work/drive_c/windows/Fonts/" 2>/dev/null || true
touch "$work/.ready"
rm -rf "$ready"
mv "$work" "$ready"
trap - EXIT
echo "$ready"
