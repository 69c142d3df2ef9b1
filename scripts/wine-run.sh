#!/usr/bin/env bash
# Runs a Windows program under Wine for tests: the test run's prefix and display
# (from SUTAKIBA_SESSION) and the ANSI code page asked for by SUTAKIBA_CODEPAGE
# (932 = Shift-JIS, the default; 1252 = Western). SUTAKIBA_LOCALE, when set,
# names the glibc locale that Wine takes the user locale from instead (for
# example de_DE.UTF-8: code page 1252 with "," as decimal separator).
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
if [ -n "${SUTAKIBA_LOCALE:-}" ]; then export LANG=$SUTAKIBA_LOCALE LC_ALL=$SUTAKIBA_LOCALE; fi
export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win32 WINEDLLOVERRIDES='mscoree,mshtml='
exec wine "$@"
