#!/usr/bin/env bash
# Maps COM ports of a Wine prefix to devices (pseudo-terminals of a peer): the
# dosdevices links and the registry values under HKLM\Software\Wine\Ports.
# The prefix's wineserver must not be running: it would overwrite the registry.
#   wine-ports.sh PREFIX NAME DEVICE [NAME DEVICE...]
set -euo pipefail
prefix=$1
shift
values=
while [ $# -ge 2 ]; do
  name=$1 device=$2
  shift 2
  values+="\"$name\"=\"$device\"\n"
  rm -f "$prefix/dosdevices/${name,,}"
  ln -s "$device" "$prefix/dosdevices/${name,,}"
done
awk -v values="$values" '
  { print }
  /^\[Software\\\\Wine\\\\Ports\]/ { inPorts = 1; next }
  inPorts && /^#time=/ { printf "%s", values; inPorts = 0 }
' "$prefix/system.reg" >"$prefix/system.reg.new"
mv "$prefix/system.reg.new" "$prefix/system.reg"
