#!/usr/bin/env bash
# Starts a Windows program of this project under Wine, in a prefix of its own
# (kept in the user's cache between runs). Without a display it starts a
# private Xvfb for the run and stops it afterwards.
#   run.sh PROGRAM.exe [ARGS...]
# RUN_DIR=DIR keeps the prefix in DIR instead of ~/.cache/sutakiba.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${RUN_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sutakiba}
# Not the prefix of `make run`, which may be running beside this one.
prefix=$cache/program-prefix
mkdir -p "$cache"
# The program runs in this prefix, never in a test session's.
unset SUTAKIBA_SESSION
if [ ! -f "$prefix/.ready" ]; then
  rm -rf "$prefix"
  cp -a "$("$here/wine-prefix.sh")" "$prefix"
  # Ready only once its ports are mapped: a failed mapping is tried again.
  rm -f "$prefix/.ready"
  # Wine maps COM1 to the machine's own serial device by default, and the
  # application opens COM1 at start: here the ports lead nowhere.
  "$here/wine-ports.sh" "$prefix" COM1 /dev/null COM2 /dev/null COM3 /dev/null COM4 /dev/null
  touch "$prefix/.ready"
fi
export WINEPREFIX=$prefix
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(tr -d '[:space:]' <"$display_file")
  rm -f "$display_file"
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
