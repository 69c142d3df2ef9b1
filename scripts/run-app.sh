#!/usr/bin/env bash
# Starts the application for a person to try, with its peers simulated: the
# modem on a pseudo-terminal mapped to COM1 of the run's Wine prefix and a
# local mail server on 127.0.0.1. Without a display (and without RUN_DISPLAY)
# it starts a private Xvfb and writes a screenshot of the main window. Every
# process it starts is stopped by its PID when the application ends.
#   run-app.sh BUILD_WIN32 BUILD_HOST
# Environment:
#   RUN_DISPLAY=:N    show the application on this existing display
#   RUN_SECONDS=N     end the application after N seconds (default: run until
#                     it is closed, or until Ctrl+C on a private display)
#   RUN_DEMO=1        start with preferences that point at the simulated peers
#                     and a small address book (replacing those of earlier runs)
#   RUN_DIR=DIR       keep the run's Wine prefix and logs in DIR instead of
#                     ~/.cache/sutakiba (the demo's test runs in a folder of its own)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
win32=$(cd "$1" && pwd)
host=$(cd "$2" && pwd)
base=${RUN_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sutakiba}
state=$base/run
prefix=$base/run-prefix
# Programs started here run in this run's prefix, never in a test session's.
unset SUTAKIBA_SESSION
title="すたきば"
mkdir -p "$state"

pids=()
cleanup() {
  local pid
  # Ending this prefix's wineserver ends the Wine processes it serves.
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

wait_for_file() {
  local _
  for _ in $(seq 100); do [ -s "$1" ] && return 0; sleep 0.1; done
  echo "$2 did not start; its output:" >&2
  cat "$3" >&2
  exit 1
}

if [ ! -f "$prefix/.ready" ]; then
  rm -rf "$prefix"
  cp -a "$("$here/wine-prefix.sh")" "$prefix"
fi
# The registry is edited while no wineserver serves the prefix.
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 || true

rm -f "$state/modem.pty" "$state/mail.port"
"$host/tools/modem-sim/sutakiba-modem-sim" --path-file "$state/modem.pty" \
  --log "$state/modem.log" >"$state/modem.out" 2>&1 &
pids+=($!)
wait_for_file "$state/modem.pty" "The simulated modem" "$state/modem.out"
"$here/wine-ports.sh" "$prefix" COM1 "$(cat "$state/modem.pty")"

"$host/tools/mail-sim/sutakiba-mail-sim" --port 0 --port-file "$state/mail.port" \
  --spool "$state/mail" >"$state/mail.out" 2>&1 &
pids+=($!)
wait_for_file "$state/mail.port" "The local mail server" "$state/mail.out"

private_display=
if [ -n "${RUN_DISPLAY:-}" ]; then
  export DISPLAY=$RUN_DISPLAY
elif [ -z "${DISPLAY:-}" ]; then
  rm -f "$state/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 &
  pids+=($!)
  wait_for_file "$state/display" "Xvfb" "$state/xvfb.log"
  export DISPLAY=:$(tr -d '[:space:]' <"$state/display")
  private_display=yes
fi
export WINEPREFIX=$prefix

# The demo: preferences for the local mail server (sending by modem keeps the
# laid-out COM1), and an address book beside a copy of the executable.
program=$win32/app/sutakiba.exe
if [ -n "${RUN_DEMO:-}" ]; then
  mkdir -p "$state/demo"
  cp "$program" "$state/demo/sutakiba.exe"
  program=$state/demo/sutakiba.exe
  appdata=$(find "$prefix/drive_c/users" -maxdepth 3 -type d -path '*/AppData/Roaming' ! -path '*/Public/*' | head -n 1)
  printf '%s\r\n' 40 40 False 0, Tone 0 64 demo@example.jp 127.0.0.1 "$(cat "$state/mail.port")" \
    09012345678 False False False | iconv -f UTF-8 -t CP932 >"$appdata/すたきば初期設定"
  printf '%s\r\n' $'山田花子\t07011112222\t00001003' $'鈴木一郎\t07033334444\t00001011' |
    iconv -f UTF-8 -t CP932 >"$state/demo/PokC電話帳"
  echo "Demo: preferences and an address book for the simulated peers are in place."
fi

cat <<INFO
Simulated modem: COM1 -> $(cat "$state/modem.pty"); the keyed messages appear in $state/modem.out
Local mail server: 127.0.0.1 port $(cat "$state/mail.port"); received mail appears in $state/mail.out
Display: $DISPLAY${private_display:+ (a private Xvfb)}
The application's and Wine's messages: $state/app.log
INFO

# Wine's own messages (no sound device here, and the like) go to a log.
"$here/wine-run.sh" "$program" >"$state/app.log" 2>&1 &
app=$!
pids+=("$app")

shot=$state/sutakiba-window.png
rm -f "$shot"
"$here/wine-run.sh" "$win32/tools/window-shot/window-shot.exe" "$title" "Z:${shot//\//\\}" 120 >/dev/null 2>&1 &
shooter=$!
pids+=("$shooter")
while kill -0 "$app" 2>/dev/null && kill -0 "$shooter" 2>/dev/null; do sleep 0.5; done
if ! kill -0 "$shooter" 2>/dev/null; then
  if wait "$shooter"; then
    echo "Screenshot of the main window: $shot"
  else
    echo "The main window did not appear within 120 s; the screen as it was: $shot" >&2
  fi
fi

started=$SECONDS
if [ -z "${RUN_SECONDS:-}" ] && [ -n "$private_display" ] && kill -0 "$app" 2>/dev/null; then
  echo "The application runs on the private display $DISPLAY; press Ctrl+C to end it."
fi
while kill -0 "$app" 2>/dev/null; do
  if [ -n "${RUN_SECONDS:-}" ] && [ $((SECONDS - started)) -ge "$RUN_SECONDS" ]; then
    echo "Ending the application after ${RUN_SECONDS} s."
    exit 0
  fi
  sleep 0.5
done
status=0
wait "$app" || status=$?
echo "The application ended with exit code $status."
exit "$status"
