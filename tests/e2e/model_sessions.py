#!/usr/bin/env python3
"""Holds the built program against the model (tests/model) on many sessions: a complete
ten-admin session cut off at every byte, and generated sessions of every admin count with
answers inside and outside every table, over-long words and numbers, and Windows line ends.

    model_sessions.py posix|windows PROGRAM [ARGS...]
"""
import os
import random
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "model"))
import velmora_model  # noqa: E402

CLOSING_HINT = b"\n\nLook for you clients.txt file in the same folder as the velmora"


def final_wait(platform):
    with open(os.path.join(os.path.dirname(__file__), "final_wait", platform + ".txt"), "rb") as f:
        return f.read()


def credit_frame():
    """The program's own closing lines, taken from a recorded session."""
    recorded = os.path.join(os.path.dirname(__file__), "sessions", "empty-input", "console.txt")
    with open(recorded, "rb") as f:
        return f.read().split(CLOSING_HINT, 1)[1]


def console_text(stdout, platform):
    if platform == "windows":
        if stdout.count(b"\n") != stdout.count(b"\r\n"):
            return None
        return stdout.replace(b"\r\n", b"\n")
    return stdout


def check(program, platform, data, credit, wait, existing=None):
    """Runs one session, beside an existing clients.txt when one is given; returns a list of
    what differs from the model."""
    expected_console, expected_file = velmora_model.run(data, credit)
    with tempfile.TemporaryDirectory() as work:
        if existing is not None:
            with open(os.path.join(work, "clients.txt"), "wb") as f:
                f.write(existing)
            expected_file = expected_file or existing
        result = subprocess.run(program, input=data, cwd=work, capture_output=True, timeout=60)
        problems = []
        console = console_text(result.stdout, platform)
        if console != expected_console + wait:
            problems.append("console output differs")
        path = os.path.join(work, "clients.txt")
        written = open(path, "rb").read() if os.path.exists(path) else None
        if written != expected_file:
            problems.append("clients.txt differs" if expected_file else "clients.txt written")
        if result.returncode != 0:
            problems.append(f"exit status {result.returncode}")
        # The warnings' wording is the program's own; each must be one whole warning line.
        for line in result.stderr.replace(b"\r\n", b"\n").splitlines():
            if not line.startswith(b"velmora: warning: "):
                problems.append(f"standard error: {line[:200]!r}")
        if sorted(os.listdir(work)) not in ([], ["clients.txt"]):
            problems.append(f"left behind: {os.listdir(work)}")
        return problems


def ten_admin_session():
    answers = ["10"]
    for p in range(1, 11):
        answers.append("x" * 40 if p == 4 else f"admin{p}")
        method = [1, 2, 3][p % 3]
        answers.append(str(method))
        if method == 1:
            answers.append(f"STEAM_0:{p % 2}:{p * 1111}")
        elif method == 2:
            answers.append(f"10.0.0.{p}")
        answers.append(str(p % 7))
        immune = p % 2 + 1
        answers.append(str(immune))
        if immune == 1:
            answers.append(str(p % 6))
    lines = [a.encode() + (b"\r\n" if i % 4 == 0 else b"\n") for i, a in enumerate(answers)]
    return b"".join(lines)


# Characters of every width, and bytes that form none, to land on the 31-byte edge.
CHARACTERS = ["a", "\u00e9", "\u0416", "\u20ac", "\u674e", "\U0001f600"]
ILL_FORMED = [b"\xc3", b"\xe0\x80\x80", b"\xed\xa0\x80", b"\xf4\x90\x80\x80", b"\x80", b"\xf6"]


def word_at_the_edge(rng):
    word = "a" * rng.randint(24, 31)
    word += "".join(rng.choice(CHARACTERS) for _ in range(rng.randint(0, 3)))
    return word.encode() + (rng.choice(ILL_FORMED) if rng.randrange(4) == 0 else b"")


def random_answer(rng):
    kind = rng.randrange(14)
    if kind < 5:
        return str(rng.randint(-1, 6))
    if kind < 7:
        return word_at_the_edge(rng)
    return rng.choice([
        "STEAM_0:1:%d" % rng.randrange(10**7), "%d.%d.0.1" % (rng.randrange(256), rng.randrange(256)),
        "w" * rng.randint(25, 40), str(rng.choice([2**31, 2**32 + 1, -(2**31) - 1, 10**30])),
        "12abc", "-", "+x", "two words", "\"q\"{}", "%s", "a\\\"b\\", "\\", rng.choice(["7", "1"]) * rng.randint(1, 3),
    ])


def random_session(rng):
    count = rng.choice([-1, 0, 1, 1, 2, 2, 3, 5, 6, 8, 9, 9, 10, 10, 10, 11])
    parts = [str(count)] + [random_answer(rng) for _ in range(rng.randint(0, 8 * max(count, 1)))]
    ends = [b"\n", b"\r\n", b" ", b"\t", b"\n\n"]
    data = b"".join((p if isinstance(p, bytes) else p.encode()) + rng.choice(ends) for p in parts)
    return data[: rng.randint(len(data) * 3 // 4, len(data))]


def main():
    platform, program = sys.argv[1], sys.argv[2:]
    credit, wait = credit_frame(), final_wait(platform)
    full = ten_admin_session()
    rng = random.Random(20261207)
    sessions = [(f"ten-admin session cut after {n} bytes", full[:n]) for n in range(len(full) + 1)]
    sessions += [(f"generated session {i}", random_session(rng)) for i in range(250)]
    # Every third session replaces a file, or must leave it as it was. Sessions run side by
    # side, one per core: each has its own folder.
    def run(number):
        existing = b"working file\r\n" if number % 3 == 0 else None
        return check(program, platform, sessions[number][1], credit, wait, existing)

    with ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        outcomes = list(pool.map(run, range(len(sessions))))
    failures = 0
    for (name, data), problems in zip(sessions, outcomes):
        if problems:
            failures += 1
            print(f"FAIL {name}: {'; '.join(problems)}\n  input: {data!r}", file=sys.stderr)
    print(f"{len(sessions) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
