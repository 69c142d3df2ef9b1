#!/usr/bin/env bash
# Starts or stops the test environment of one test run: a private copy of the
# ready Wine prefix, one Xvfb and one persistent wineserver. Every process is
# recorded by PID in the state folder and stopped by that PID.
# The COM ports COM1 to COM4 and COM10 of the prefix lead to pseudo-terminals
# of a peer process (scripts/serial-peer.py), mapped before the wineserver
# starts, so no test ever reaches a serial device of the machine.
#   wine-session.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=$1
state=$2

start() {
  stop 2>/dev/null || true
  mkdir -p "$state"
  local ready display
  ready=$("$here/wine-prefix.sh")
  rm -rf "$state/prefix"
  cp -a "$ready" "$state/prefix"
  map_serial_ports
  # Xvfb picks a free display itself and reports its number, so test runs in
  # parallel never race for one.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
  display=$(tr -d '[:space:]' <"$state/display")
  [ -n "$display" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
  printf 'export WINEPREFIX=%q\nexport DISPLAY=:%s\n' "$state/prefix" "$display" >"$state/session.env"
  WINEPREFIX=$state/prefix WINEDEBUG=-all wineserver -f -p >"$state/wineserver.log" 2>&1 &
  echo $! >"$state/wineserver.pid"
  # The first Wine process of a prefix pays for its start-up; pay it here, once.
  SUTAKIBA_SESSION=$state "$here/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
}

map_serial_ports() {
  local ports=$state/serial-ports
  rm -f "$ports" "$ports.received"
  /usr/bin/python3 "$here/serial-peer.py" "$ports" COM1 COM2 COM3 COM4 COM10 \
    >"$state/serial-peer.log" 2>&1 &
  echo $! >"$state/serial-peer.pid"
  for _ in $(seq 100); do [ -s "$ports" ] && break; sleep 0.1; done
  [ -s "$ports" ] || { echo "serial peer did not start" >&2; cat "$state/serial-peer.log" >&2; exit 1; }
  local mapping=()
  while read -r name device; do mapping+=("$name" "$device"); done <"$ports"
  "$here/wine-ports.sh" "$state/prefix" "${mapping[@]}"
}

stop_pid() {
  local file=$1 pid
  [ -f "$file" ] || return 0
  pid=$(cat "$file")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    # Only a process that outlived the request is forced: a PID that has
    # ended may already name another process.
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$file"
}

stop() {
  # Ending this prefix's wineserver ends the Wine processes it serves.
  if [ -f "$state/wineserver.pid" ]; then
    WINEPREFIX=$state/prefix wineserver -k >/dev/null 2>&1 || true
  fi
  stop_pid "$state/wineserver.pid"
  stop_pid "$state/xvfb.pid"
  stop_pid "$state/serial-peer.pid"
  rm -f "$state/session.env"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop STATE_DIR" >&2; exit 2 ;;
esac
