#!/usr/bin/env bash
# Starts or stops the SMTP servers of the mail tests (SendingSmtpPeers.py),
# recorded and stopped by PID.
#   sending-smtp-peers.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state=$2
stop() {
  [ -f "$state/pid" ] || return 0
  local pid
  pid=$(cat "$state/pid")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$state/pid"
}
case "$1" in
  start)
    stop
    rm -rf "$state"
    mkdir -p "$state"
    /usr/bin/python3 "$here/SendingSmtpPeers.py" "$state" >"$state/log" 2>&1 &
    echo $! >"$state/pid"
    for _ in $(seq 100); do [ -s "$state/ports" ] && exit 0; sleep 0.1; done
    echo "the SMTP servers did not start" >&2
    cat "$state/log" >&2
    exit 1
    ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop STATE_DIR" >&2; exit 2 ;;
esac
