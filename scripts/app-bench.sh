#!/usr/bin/env bash
# Runs the application's start-up benchmark inside a test session of its own
# (COM1 leads to a pseudo-terminal: the application opens it at start), with
# copies of the programs in a folder of their own; the session is stopped
# afterwards.
#   app-bench.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
session=$build/app-bench-session
work=$build/app-bench
trap '"$here/wine-session.sh" stop "$session"' EXIT
"$here/wine-session.sh" start "$session"
rm -rf "$work" && mkdir -p "$work"
cp "$build/app/sutakiba.exe" "$build/bench/bare_app_window.exe" "$work/"
windows() { echo "Z:${1//\//\\}"; }
SUTAKIBA_SESSION=$session "$here/wine-run.sh" "$build/bench/app_start_bench.exe" \
  "$(windows "$work/sutakiba.exe")" "$(windows "$work/bare_app_window.exe")" "$(windows "$source/app/sutakiba.project")"
