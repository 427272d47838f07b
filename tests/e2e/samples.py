"""Runs every sample of the README and of the manual page's EXAMPLES against the built program,
each in a folder of its own under a temporary one, and compares what it shows with what the
sample says, so that a sample that drifts from the program fails. The samples are the one
source: this script reads them out of the documents, and holds nothing of what they show.

Each fenced block of the README, and each .EX block of the manual, carries a note just before
it, an HTML comment or a roff comment, that says what the block is:

    sample commands         "$ COMMAND" lines, each followed by what it prints (standard
                            output and error together); "$ cat NAME" followed by lines makes
                            NAME of them first, when there is no NAME yet
    sample session [CMD]    what a terminal shows of CMD (velmora by default) run at it; each
                            answer is what the block shows typed after a prompt, and is typed
                            when the program waits for one
    sample file NAME        NAME's contents once the samples before it have run
    sample creates NAME     the block, written to NAME for the samples after it
    sample not run: WHY     a block that cannot run here, named as such in the output

and may go on with lines "in: FOLDER", which samples share in the order they come, and
"setup: COMMAND", run first and shown nowhere. In what a block shows, a line of "..." (however
indented) stands for any lines, CR LF is LF, and blanks at the ends of lines do not count. A block without a note
fails the test, so that no sample goes unchecked.

    samples.py PROGRAM DOCUMENT...
"""

import os
import pty
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

ELISION = "..."


def blocks_of_markdown(path):
    """Each fenced block with the note before it: (line, note lines, block lines)."""
    lines = open(path, encoding="utf-8").read().split("\n")
    at = 0
    while at < len(lines):
        if lines[at].startswith("```"):
            end = next(i for i in range(at + 1, len(lines)) if lines[i].startswith("```"))
            note = []
            if at > 0 and lines[at - 1].endswith("-->"):
                start = max(i for i in range(at) if lines[i].startswith("<!--"))
                note = "\n".join(lines[start:at]).removeprefix("<!--").removesuffix("-->")
                note = [n.strip() for n in note.strip().split("\n")]
            yield at + 1, note, lines[at + 1:end]
            at = end
        at += 1


ROFF = [("\\-", "-"), ("\\(aq", "'"), ("\\(dq", '"'), ("\\e", "\\"), ("\\&", "")]


def blocks_of_roff(path):
    """Each .EX block of the manual, with the roff comment lines just before .RS and .EX."""
    lines = open(path, encoding="utf-8").read().split("\n")
    for at, line in enumerate(lines):
        if line != ".EX":
            continue
        end = lines.index(".EE", at)
        back = at - 1
        while back >= 0 and lines[back] in (".RS", ".PP"):
            back -= 1
        note = []
        while back >= 0 and lines[back].startswith('.\\"'):
            note.insert(0, lines[back][3:].strip())
            back -= 1
        text = []
        for raw in lines[at + 1:end]:
            if raw.startswith(".ta") or raw.startswith('.\\"'):
                continue
            for escape, plain in ROFF:
                raw = raw.replace(escape, plain)
            text.append(raw)
        yield at + 1, note, text


def matches(shown, expected):
    """Whether the shown lines are the expected ones, "..." standing for any lines."""
    shown = [line.rstrip() for line in shown]
    expected = [line.rstrip() for line in expected]
    if not expected:
        return not shown
    if expected[0].strip() == ELISION:
        return any(matches(shown[i:], expected[1:]) for i in range(len(shown) + 1))
    return bool(shown) and shown[0] == expected[0] and matches(shown[1:], expected[1:])


def trimmed(lines):
    """Lines without blank ones at their start and end."""
    while lines and not lines[0].strip():
        lines = lines[1:]
    while lines and not lines[-1].strip():
        lines = lines[:-1]
    return lines


def text_lines(data):
    return data.decode("utf-8", errors="replace").replace("\r\n", "\n").split("\n")


class Samples:
    def __init__(self, program):
        self.work = tempfile.mkdtemp(prefix="velmora-samples.")
        bin_folder = os.path.join(self.work, "bin")
        os.mkdir(bin_folder)
        os.symlink(os.path.abspath(program), os.path.join(bin_folder, "velmora"))
        self.env = dict(os.environ, PATH=bin_folder + os.pathsep + os.environ["PATH"],
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.folders = {}
        self.failures = 0
        self.counted = {"run": 0, "not run": 0}

    def folder(self, name, where):
        if name is None:
            name = "sample-%d" % len(self.folders)
        if name not in self.folders:
            self.folders[name] = os.path.join(self.work, name)
            os.mkdir(self.folders[name])
        return self.folders[name]

    def shell(self, command, folder, stdin=subprocess.DEVNULL):
        done = subprocess.run(["bash", "-c", command], cwd=folder, env=self.env, stdin=stdin,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        return text_lines(done.stdout)

    def fail(self, where, why, shown=None):
        self.failures += 1
        print("FAIL %s: %s" % (where, why), file=sys.stderr)
        if shown is not None:
            print("  it shows:\n    " + "\n    ".join(shown), file=sys.stderr)

    def run(self, where, note, block):
        kind, _, argument = note[0].removeprefix("sample").strip().partition(" ")
        if kind == "not":
            self.counted["not run"] += 1
            print("not run here %s: %s" % (where, argument.removeprefix("run:").strip()))
            return
        self.counted["run"] += 1
        options = dict(line.split(": ", 1) for line in note[1:] if ": " in line)
        folder = self.folder(options.get("in"), where)
        for line in note[1:]:
            if line.startswith("setup: "):
                self.shell(line[len("setup: "):], folder)
        if kind == "commands":
            self.commands(where, folder, block)
        elif kind == "session":
            self.session(where, folder, argument or "velmora", block)
        elif kind == "file":
            path = os.path.join(folder, argument)
            shown = text_lines(open(path, "rb").read()) if os.path.exists(path) else ["(none)"]
            if not matches(shown, block):
                self.fail(where, "%s differs" % argument, shown)
        elif kind == "creates":
            with open(os.path.join(folder, argument), "w", encoding="utf-8") as made:
                made.write("\n".join(block) + "\n")
        else:
            self.fail(where, "no such kind of sample: %s" % kind)

    def commands(self, where, folder, block):
        steps = []
        for line in block:
            if line.startswith("$ "):
                steps.append((line[2:], []))
            elif steps:
                steps[-1][1].append(line)
            else:
                self.fail(where, "output before any command: %s" % line)
        for command, expected in steps:
            command = re.sub(r"\s+#.*$", "", command)
            made = re.fullmatch(r"cat ([\w./-]+)", command)
            if made and not os.path.exists(os.path.join(folder, made.group(1))):
                with open(os.path.join(folder, made.group(1)), "w", encoding="utf-8") as new:
                    new.write("\n".join(expected) + "\n")
            shown = self.shell(command, folder)
            if not matches(trimmed(shown), trimmed(expected)):
                self.fail(where, "$ %s" % command, shown)

    def session(self, where, folder, command, block):
        expected = trimmed(block)
        screen = typed_at_terminal(command, folder, self.env, expected)
        if not matches(trimmed(screen), expected):
            self.fail(where, "the session differs", screen)


def waits_for_input(pid):
    """Whether the process waits in a read of its standard input."""
    try:
        call = open("/proc/%d/syscall" % pid).read().split()
    except OSError:
        return False
    return len(call) > 1 and call[0] == "0" and int(call[1], 16) == 0


def typed_at_terminal(command, folder, env, expected):
    """What a terminal shows of command, each answer typed as the expected screen shows it once
    the program waits for it; once the expected screen has no more, the end of input."""
    pid, terminal = pty.fork()
    if pid == 0:
        os.chdir(folder)
        os.execvpe("bash", ["bash", "-c", "exec " + command], env)
    screen = b""
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        ready, _, _ = select.select([terminal], [], [], 0.02)
        if ready:
            try:
                chunk = os.read(terminal, 4096)
            except OSError:
                break
            if not chunk:
                break
            screen += chunk
            continue
        if os.waitpid(pid, os.WNOHANG)[0] == pid:
            break
        # bash gives way to the program itself, which keeps its pid.
        if waits_for_input(pid):
            os.write(terminal, answer_to(text_lines(screen), expected))
            time.sleep(0.05)
    else:
        os.kill(pid, 9)
    try:
        os.waitpid(pid, 0)
    except ChildProcessError:
        pass
    return text_lines(screen)


def answer_to(screen, expected):
    """What the expected screen shows typed at the prompt the screen now ends with."""
    lead = 0
    while lead < len(screen) - 1 and not screen[lead].strip():
        lead += 1
    shown = screen[lead:]
    prompt = shown[-1]
    at = len(shown) - 1
    if any(line.strip() == ELISION for line in expected[:at + 1]) or at >= len(expected):
        return b"\x04"
    line = expected[at]
    if not line.startswith(prompt.rstrip()):
        return b"\x04"
    return line[len(prompt):].encode() + b"\r"


def main():
    program, *documents = sys.argv[1:]
    samples = Samples(program)
    for document in documents:
        reader = blocks_of_roff if document.endswith(".1") else blocks_of_markdown
        for line, note, block in reader(document):
            where = "%s:%d" % (os.path.basename(document), line)
            if not note or not note[0].startswith("sample"):
                samples.fail(where, "a block with no note of what sample it is")
                continue
            samples.run(where, note, block)
    print("%d samples run, %d not run here, %d failed" % (
        samples.counted["run"], samples.counted["not run"], samples.failures))
    shutil.rmtree(samples.work, ignore_errors=True)
    sys.exit(1 if samples.failures else 0)


main()
