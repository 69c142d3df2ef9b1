#!/usr/bin/env bash
# Starts a Windows program of this project under Wine, in a prefix of its own
# (kept in the user's cache between runs). Without a display it starts a
# private Xvfb for the run and stops it afterwards.
#   run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/sutakiba
prefix=$cache/run-prefix
if [ ! -f "$prefix/.ready" ]; then
  rm -rf "$prefix"
  cp -a "$("$here/wine-prefix.sh")" "$prefix"
fi
export WINEPREFIX=$prefix
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$cache/run-display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$cache/run-display" ] && break; sleep 0.1; done
  export DISPLAY=:$(tr -d '[:space:]' <"$cache/run-display")
  echo "No display was set: running on a private Xvfb at $DISPLAY" >&2
fi
status=0
"$here/wine-run.sh" "$@" || status=$?
if [ -n "$xvfb_pid" ]; then
  # The prefix's desktop lives on the private display: end it with the display.
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
fi
echo "exit code $status" >&2
exit "$status"
