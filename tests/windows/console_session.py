#!/usr/bin/env python3
"""Types a recorded session's answers into velmora.exe at a real Windows console: Wine in a
pseudo-terminal, which turns the typed UTF-8 into console key events, so the program reads them
with the console's own UTF-16 reading and shows its warnings through it. clients.txt must be
byte for byte the session's, and each warning's text must appear on the screen.

    console_session.py SESSION_DIR EMULATOR PROGRAM.exe
"""
import fcntl
import os
import pty
import re
import select
import struct
import sys
import tempfile
import termios
import time

QUIET_SECONDS = 0.5
FIRST_START_SECONDS = 30


def read_until_quiet(fd, quiet, limit):
    """What the terminal shows until it has been quiet for `quiet` seconds."""
    shown, deadline = b"", time.monotonic() + limit
    while time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], quiet)
        if not ready:
            if shown:
                break
            continue
        try:
            chunk = os.read(fd, 65536)
        except OSError:
            break
        if not chunk:
            break
        shown += chunk
    return shown


def main():
    session, emulator, program = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
    answers = open(os.path.join(session, "input"), "rb").read().split(b"\n")
    expected = open(os.path.join(session, "clients.txt"), "rb").read()
    warnings = open(os.path.join(session, "warnings.txt"), "rb").read().splitlines()
    env = dict(os.environ, LANG="C.UTF-8", WINEDEBUG="-all")
    with tempfile.TemporaryDirectory() as work:
        pid, fd = pty.fork()
        if pid == 0:
            # Wide enough that no warning wraps.
            fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 400, 0, 0))
            os.chdir(work)
            os.execvpe(emulator, [emulator, program], env)
        screen = read_until_quiet(fd, QUIET_SECONDS, FIRST_START_SECONDS)
        for answer in answers:
            if answer:
                os.write(fd, answer + b"\r")
                screen += read_until_quiet(fd, QUIET_SECONDS, 10)
        # The final wait: any key ends it.
        os.write(fd, b"\r")
        screen += read_until_quiet(fd, QUIET_SECONDS, 10)
        os.waitpid(pid, 0)
        os.close(fd)
        # The console's cursor and erase sequences are no part of the text.
        text = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", screen).replace(b"\r\n", b"\n")
        problems = []
        path = os.path.join(work, "clients.txt")
        written = open(path, "rb").read() if os.path.exists(path) else None
        if written != expected:
            problems.append("clients.txt differs from the session's")
        for warning in warnings:
            if warning not in text:
                problems.append(f"not on the screen: {warning.decode()}")
    for problem in problems:
        print("FAIL:", problem, file=sys.stderr)
    if problems:
        print(text.decode("utf-8", "replace"), file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
