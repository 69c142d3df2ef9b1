#!/usr/bin/env bash
# Runs a Windows program under Wine for tests: the test run's prefix and display
# (from SUTAKIBA_SESSION) and the ANSI code page asked for by SUTAKIBA_CODEPAGE
# (932 = Shift-JIS, the default; 1252 = Western).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "${SUTAKIBA_SESSION:-}" ] && [ -f "$SUTAKIBA_SESSION/session.env" ]; then
  # shellcheck disable=SC1091
  . "$SUTAKIBA_SESSION/session.env"
else
  WINEPREFIX=${WINEPREFIX:-$("$here/wine-prefix.sh")}
  export WINEPREFIX
fi
case "${SUTAKIBA_CODEPAGE:-932}" in
  932) export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 ;;
  1252) export LANG=C LC_ALL=C ;;
  *) echo "unknown code page ${SUTAKIBA_CODEPAGE}" >&2; exit 2 ;;
esac
export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win32 WINEDLLOVERRIDES='mscoree,mshtml='
exec wine "$@"
