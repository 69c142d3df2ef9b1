#!/usr/bin/env bash
# The demo as a person uses it: `make demo`'s script starts the application
# with the simulated modem, the local mail server and a private display; a
# driver fills in the main window and presses "送信", then sends the same by
# mail. The simulated modem must show the decoded message and the mail server
# the decoded mail; when the script is stopped, everything it started ends.
#   DemoTest.sh BUILD_WIN32 BUILD_HOST DEMO_DRIVER_EXE PROJECT SCREENSHOT_PNG
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
win32=$1 host=$2 driver=$3 project=$4 screenshot=$5
work=$(mktemp -d)
state=$work/run
run=

stop_run() {
  [ -n "$run" ] || return 0
  kill "$run" 2>/dev/null || true
  wait "$run" 2>/dev/null || true
  run=
}
cleanup() {
  stop_run
  rm -rf "$work"
}
trap cleanup EXIT

show_logs() {
  local f
  for f in "$work/run.log" "$state/modem.out" "$state/mail.out"; do
    [ -f "$f" ] && { echo "== $f"; cat "$f"; }
  done
}

# wait_for SECONDS FILE TEXT: TEXT appears in FILE while the run lives.
wait_for() {
  local deadline=$((SECONDS + $1))
  while [ "$SECONDS" -lt "$deadline" ]; do
    grep -qF -- "$3" "$2" 2>/dev/null && return 0
    kill -0 "$run" 2>/dev/null || { echo "the demo ended early"; show_logs; exit 1; }
    sleep 0.5
  done
  echo "no \"$3\" in $2 within $1 s"
  show_logs
  exit 1
}

# The run's own display and prefix, never those of the test session.
env -u DISPLAY -u SUTAKIBA_SESSION RUN_DIR="$work" RUN_DEMO=1 RUN_SECONDS=600 RUN_DISPLAY= \
  "$scripts/run-app.sh" "$win32" "$host" >"$work/run.log" 2>&1 &
run=$!
wait_for 240 "$work/run.log" "Screenshot of the main window: "
cp "$state/sutakiba-window.png" "$screenshot"
display=:$(tr -d '[:space:]' <"$state/display")

drive() {
  env -u SUTAKIBA_SESSION DISPLAY="$display" WINEPREFIX="$work/run-prefix" \
    "$scripts/wine-run.sh" "$driver" "Z:${project//\//\\}" "$@"
}

# By modem: the call ends with the message the keyed digits spell.
drive modem 00001003 07011112222 "デモのメッセージ"
wait_for 180 "$state/modem.out" "message to 07011112222: デモのメッセージ"
grep -q "command: ATDT" "$state/modem.out" || { echo "no dial command logged"; show_logs; exit 1; }
# The call ends 3 s after the message with "H"; the window is idle then.
wait_for 30 "$state/modem.out" "command: ATH"
sleep 2

# By mail: the gateway of the centre's region receives the decoded text.
drive mail 00001003 07011112222 "メールのテスト"
wait_for 120 "$state/mail.out" "--- end ---"
for expected in "phs@gwchuo.example.jp" "メールのテスト"; do
  grep -qF "$expected" "$state/mail.out" || { echo "the mail lacks $expected"; show_logs; exit 1; }
done
echo "modem and mail sends decoded:"
grep -F "message to" "$state/modem.out"
sed -n '/--- message 1 ---/,/--- end ---/p' "$state/mail.out"

# Stopping the script ends what it started: the private X server and the
# local mail server go away.
port=$(cat "$state/mail.port")
stop_run
socket=/tmp/.X11-unix/X${display#:}
for _ in $(seq 40); do [ -e "$socket" ] || break; sleep 0.25; done
[ ! -e "$socket" ] || { echo "the private display $display outlived the run"; exit 1; }
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  echo "the local mail server still listens on port $port"
  exit 1
fi
echo "the run's display and mail server ended with it"
