#!/usr/bin/python3
"""SMTP servers on 127.0.0.1 for the application's mail tests, all in one
process, each on a free port of its own. STATE_DIR/ports lists them as
"name port" lines once all listen.

- "capture": aiosmtpd; every message is parsed with the email package and
  summarised in capture-<n>.txt (UTF-8): the envelope, the headers in order,
  the charset and the body decoded with Python's iso2022_jp codec.
- "stdlib": an independent server, the standard library's smtpd; summary in
  stdlib-<n>.txt, same form.
- scripted servers that record every byte they receive on a connection in
  <name>-<n>.dialogue and answer by a script: "plain" accepts everything,
  "multiline" answers with multi-line replies, "greet400" greets with 400,
  "greet554", "mail550", "rcpt1-550", "rcpt2-550", "data554", "body552"
  refuse at that step, "close" closes after its greeting, "slow" accepts
  everything but holds each reply back half a second, "silent" never says a
  word and writes <name>-<n>.closed once the client has closed.
Runs until it is stopped by its PID."""
import asyncio
import email
import email.policy
import os
import socket
import sys
import threading
import warnings

from aiosmtpd.controller import Controller

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    import asyncore
    import smtpd

STATE = sys.argv[1]


def summary(mail_from, rcpt_tos, data):
    message = email.message_from_bytes(data, policy=email.policy.compat32)
    lines = ["mail_from: " + mail_from]
    lines += ["rcpt: " + r for r in rcpt_tos]
    lines += ["header: %s: %s" % (k, v) for k, v in message.items()]
    lines.append("charset: %s" % message.get_content_charset())
    payload = message.get_payload(decode=True)
    text = payload.decode("iso2022_jp")
    # The standard library's server hands over its lines joined by LF.
    body = text.replace("\r\n", "\n").split("\n")
    while body and not body[-1]:
        body.pop()
    lines += ["body: " + line for line in body]
    return "\n".join(lines) + "\n"


def write_summary(prefix, counter, text):
    counter[0] += 1
    path = os.path.join(STATE, "%s-%d.txt" % (prefix, counter[0]))
    with open(path + ".tmp", "w", encoding="utf-8") as out:
        out.write(text)
    os.rename(path + ".tmp", path)


class CaptureHandler:
    def __init__(self):
        self.count = [0]

    async def handle_DATA(self, server, session, envelope):
        try:
            text = summary(envelope.mail_from, envelope.rcpt_tos, envelope.original_content)
        except Exception as error:  # the summary says what could not be read
            text = "unreadable: %r\n" % error
        write_summary("capture", self.count, text)
        return "250 OK"


class StdlibServer(smtpd.SMTPServer):
    count = [0]

    def process_message(self, peer, mail_from, rcpt_tos, data, **kwargs):
        try:
            text = summary(mail_from, rcpt_tos, data)
        except Exception as error:
            text = "unreadable: %r\n" % error
        write_summary("stdlib", self.count, text)


SCRIPTS = {
    "plain": {},
    "multiline": {"greeting": b"220-first\r\n220-second\r\n220 ready\r\n", "ok": b"250-one\r\n250 two\r\n"},
    "greet400": {"greeting": b"400 only a warning\r\n"},
    "greet554": {"greeting": b"554 no service\r\n"},
    "mail550": {"MAIL": b"550 no\r\n"},
    "rcpt1-550": {"RCPT1": b"550 no such user\r\n"},
    "rcpt2-550": {"RCPT2": b"550 no such user\r\n"},
    "data554": {"DATA": b"554 no data\r\n"},
    "body552": {"BODY": b"552 too big\r\n"},
    "close": {"close": True},
    "slow": {"delay": 0.5},
    "silent": {"silent": True},
}


class SlowWriter:
    """Holds each reply back for a while before it goes out, so that what a
    client shows between two replies can be seen."""

    def __init__(self, writer, delay):
        self.writer = writer
        self.delay = delay
        self.pending = []

    def write(self, data):
        self.pending.append(data)

    async def drain(self):
        for data in self.pending:
            await asyncio.sleep(self.delay)
            self.writer.write(data)
        self.pending.clear()
        await self.writer.drain()

    def close(self):
        self.writer.close()


class Scripted:
    def __init__(self, name):
        self.name = name
        self.script = SCRIPTS[name]
        self.count = 0

    async def serve(self, reader, writer):
        self.count += 1
        path = os.path.join(STATE, "%s-%d.dialogue" % (self.name, self.count))
        record = open(path, "wb", buffering=0)
        script = self.script
        if script.get("delay"):
            writer = SlowWriter(writer, script["delay"])
        ok = script.get("ok", b"250 OK\r\n")
        if script.get("silent"):
            while True:
                chunk = await reader.read(4096)
                if not chunk:
                    break
                record.write(chunk)
            record.close()
            open(os.path.join(STATE, "%s-%d.closed" % (self.name, self.count)), "w").close()
            writer.close()
            return
        writer.write(script.get("greeting", b"220 test server\r\n"))
        await writer.drain()
        if script.get("close"):
            writer.close()
            record.close()
            return
        rcpts = 0
        in_data = False
        body = b""
        pending = b""
        try:
            while True:
                chunk = await reader.read(4096)
                if not chunk:
                    break
                record.write(chunk)
                if in_data:
                    body += chunk
                    if body.endswith(b"\r\n.\r\n"):
                        in_data = False
                        writer.write(script.get("BODY", ok))
                    await writer.drain()
                    continue
                pending += chunk
                while b"\r\n" in pending and not in_data:
                    line, pending = pending.split(b"\r\n", 1)
                    verb = line.split(b" ")[0].split(b":")[0].upper()
                    if verb == b"RCPT":
                        rcpts += 1
                        writer.write(script.get("RCPT%d" % rcpts, ok))
                    elif verb == b"DATA":
                        if "DATA" in script:
                            writer.write(script["DATA"])
                        else:
                            writer.write(b"354 go ahead\r\n")
                            in_data = True
                            body = pending
                            pending = b""
                            if body.endswith(b"\r\n.\r\n"):
                                in_data = False
                                writer.write(script.get("BODY", ok))
                    elif verb == b"QUIT":
                        writer.write(b"221 bye\r\n")
                        await writer.drain()
                        writer.close()
                        return
                    else:
                        writer.write(script.get(verb.decode("latin-1"), ok))
                await writer.drain()
        finally:
            record.close()


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


async def main():
    ports = []
    controller = Controller(CaptureHandler(), hostname="127.0.0.1", port=free_port())
    controller.start()
    ports.append(("capture", controller.port))
    stdlib = StdlibServer(("127.0.0.1", 0), None, decode_data=False)
    ports.append(("stdlib", stdlib.socket.getsockname()[1]))
    threading.Thread(target=asyncore.loop, kwargs={"timeout": 0.2}, daemon=True).start()
    servers = []
    for name in SCRIPTS:
        server = await asyncio.start_server(Scripted(name).serve, "127.0.0.1", 0)
        servers.append(server)
        ports.append((name, server.sockets[0].getsockname()[1]))
    path = os.path.join(STATE, "ports")
    with open(path + ".tmp", "w") as out:
        out.writelines("%s %d\n" % entry for entry in ports)
    os.rename(path + ".tmp", path)
    await asyncio.Event().wait()


if __name__ == "__main__":
    asyncio.run(main())
