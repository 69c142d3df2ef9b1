#!/usr/bin/python3
"""Pseudo-terminals standing in for the devices behind the test prefix's COM
ports. Each port gets a pty; the slave's path is written to PORTS_FILE as
"COMn /dev/pts/N" lines once all exist. The peer answers every line (ended by
CR or LF) that the Windows side writes:
    ?SETTINGS   -> "SETTINGS <baud> <data bits> <N|O|E> <1|2>" CR LF, the line
                   settings the Windows side applied to the port
    ?BIG <n>    -> n bytes "0123456789" repeated, without a line end
    ?FAIL [<n>] <answer> -> "OK"; the port's n-th dial command ("ATD...")
                   from now (the next one without <n>) is answered with
                   <answer> CR LF, as a modem reports a busy line or a failed
                   call ("BUSY", "NO CARRIER", ...)
    ?CLEAR      -> "OK"; a failure asked for with ?FAIL that has not been
                   answered yet is dropped
    ?LOCK <COMm> / ?UNLOCK <COMm> -> "OK"; while locked, the pty of port
                   COMm cannot be opened (it fails as a port that is not
                   there), what is open stays open
    anything    -> "<COMn>:<line>" CR LF
Every line received is also appended to PORTS_FILE.received as "COMn <line>",
so tests can see what a program sent to a port it does not read back from.
Runs until it is stopped (by its PID)."""
import fcntl
import os
import select
import struct
import sys
import termios
import tty

SPEEDS = {getattr(termios, name): int(name[1:]) for name in dir(termios)
          if name.startswith("B") and name[1:].isdigit()}
SIZES = {termios.CS5: 5, termios.CS6: 6, termios.CS7: 7, termios.CS8: 8}
# Locks or unlocks the slave side of a pty against new opens (Linux).
TIOCSPTLCK = 0x40045431


def settings(fd):
    iflag, oflag, cflag, lflag, ispeed, ospeed, cc = termios.tcgetattr(fd)
    parity = "N"
    if cflag & termios.PARENB:
        parity = "O" if cflag & termios.PARODD else "E"
    stop = "2" if cflag & termios.CSTOPB else "1"
    return "SETTINGS %d %d %s %s" % (SPEEDS.get(ospeed, 0), SIZES[cflag & termios.CSIZE], parity, stop)


def lock(peers, name, locked):
    for master, peer in peers.items():
        if peer["name"] == name:
            fcntl.ioctl(master, TIOCSPTLCK, struct.pack("i", 1 if locked else 0))
            return b"OK\r\n"
    return b"ERROR\r\n"


def answer(peers, peer, line):
    port, slave = peer["name"], peer["slave"]
    if line.startswith("?LOCK ") or line.startswith("?UNLOCK "):
        command, _, name = line.partition(" ")
        return lock(peers, name, command == "?LOCK")
    if line == "?CLEAR":
        peer["fail"] = None
        return b"OK\r\n"
    if line.startswith("?FAIL "):
        count, _, rest = line[6:].partition(" ")
        if count.isdigit() and rest:
            peer["fail"], peer["fail_in"] = rest, int(count)
        else:
            peer["fail"], peer["fail_in"] = line[6:], 1
        return b"OK\r\n"
    if line.startswith("ATD") and peer.get("fail"):
        peer["fail_in"] -= 1
        if peer["fail_in"] <= 0:
            failure, peer["fail"] = peer["fail"], None
            return (failure + "\r\n").encode("latin-1")
    if line == "?SETTINGS":
        return (settings(slave) + "\r\n").encode()
    if line.startswith("?BIG "):
        n = int(line[5:])
        return (b"0123456789" * (n // 10 + 1))[:n]
    return ("%s:%s\r\n" % (port, line)).encode("latin-1")


def main():
    ports_file, names = sys.argv[1], sys.argv[2:]
    peers = {}
    lines = []
    for name in names:
        master, slave = os.openpty()
        tty.setraw(slave)
        # The peer keeps the slave open too, so the master never sees a
        # hang-up while the Windows side has the port closed.
        peers[master] = {"name": name, "slave": slave, "pending": b""}
        lines.append("%s %s\n" % (name, os.ttyname(slave)))
    with open(ports_file + ".tmp", "w") as out:
        out.writelines(lines)
    os.rename(ports_file + ".tmp", ports_file)
    received = open(ports_file + ".received", "a", encoding="latin-1")
    while True:
        ready, _, _ = select.select(list(peers), [], [])
        for master in ready:
            peer = peers[master]
            try:
                data = os.read(master, 4096)
            except OSError:
                continue
            peer["pending"] += data
            while True:
                cut = min([i for i in (peer["pending"].find(b"\r"), peer["pending"].find(b"\n")) if i >= 0],
                          default=-1)
                if cut < 0:
                    break
                line = peer["pending"][:cut].decode("latin-1")
                peer["pending"] = peer["pending"][cut + 1:]
                if line:
                    received.write("%s %s\n" % (peer["name"], line))
                    received.flush()
                    os.write(master, answer(peers, peer, line))


if __name__ == "__main__":
    main()
