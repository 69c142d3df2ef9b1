#!/usr/bin/env bash
# Runs the communication loop benchmark inside a test session of its own, so
# that COM1 leads to a pseudo-terminal; the session is stopped afterwards.
#   comm-bench.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
session=$build/bench-session
trap '"$here/wine-session.sh" stop "$session"' EXIT
"$here/wine-session.sh" start "$session"
for which in serial socket; do
  SUTAKIBA_SESSION=$session "$here/wine-run.sh" "$build/bench/comm_loop_bench.exe" "$which"
done
