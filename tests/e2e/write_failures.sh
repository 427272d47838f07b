#!/usr/bin/env bash
# When clients.txt cannot be written, the program must keep whatever was there, say why in
# one line on standard error, still wait for the key press, leave no temporary file and exit
# with status 1. On POSIX, a fault is also injected into each system call of the write path.
#
#   write_failures.sh posix|windows PROGRAM [ARGS...]
set -uo pipefail

platform=$1
shift
source "$(dirname "$0")/platform.sh"
program=("$@")
answers=$'1\nAnn\n1\nSTEAM_0:1:7\n1\n2\n'
failed=0
fail() {
  echo "FAIL ($scenario): $*" >&2
  failed=1
}

# Runs the program in $work with the given wrapper, then checks the outcome against
# $expected_line, a pattern for the one line on standard error.
#   attempt WRAPPER...   (the program's own command line follows the wrapper)
attempt() {
  (cd "$work" && "$@" "${program[@]}" <<<"$answers" 2>"$out/stderr" | cat >"$out/stdout")
  status=${PIPESTATUS[0]}
  [[ $status -eq 1 ]] || fail "exit status $status, expected 1"
  local lines
  lines=$(wc -l <"$out/stderr")
  [[ $lines -eq 1 ]] || fail "$lines lines on standard error, expected 1"
  grep -q -x "$expected_line" "$out/stderr" ||
    fail "unexpected standard error: $(cat "$out/stderr")"
  console_from_stdout "$out/stdout" "$out/console" || fail "console line ends are not $platform's"
  [[ $(tail -c ${#final_wait} "$out/console") == "${final_wait%$'\n'}" ]] || fail "no final wait"
  local leftovers
  leftovers=$(cd "$work" && ls -A | grep -v -x -e clients.txt || true)
  [[ -z $leftovers ]] || fail "left behind: $leftovers"
}

new_scenario() {
  scenario=$1
  expected_line='velmora: cannot write clients\.txt: ..*'
  work=$(mktemp -d)
  out=$(mktemp -d)
  printf 'working file\r\n' >"$out/previous"
}

scenario_cleanup() {
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work" "$out"
}

# The previous file must be there still, byte for byte, with the given mode.
previous_kept() {
  cmp -s "$work/clients.txt" "$out/previous" || fail "previous clients.txt changed"
  [[ -z ${1:-} || $(stat -c %a "$work/clients.txt") == "$1" ]] || fail "its mode changed"
}

new_scenario "directory in the way"
mkdir "$work/clients.txt"
cp "$out/previous" "$work/clients.txt/kept"
attempt env
cmp -s "$work/clients.txt/kept" "$out/previous" || fail "directory contents changed"
scenario_cleanup

new_scenario "full disk"
cp "$out/previous" "$work/clients.txt"
# A file-size limit fails writes the way a full disk does once SIGXFSZ is ignored.
attempt bash -c 'trap "" XFSZ; ulimit -f 1; exec "$@"' limited
previous_kept
scenario_cleanup

# Runs the program as an unprivileged user: root may write anywhere.
#   as_operator SCENARIO_SETUP...
as_operator() {
  # A copy in a world-readable place, so that an unprivileged user can start it.
  cp "${program[0]}" "$out/velmora"
  chmod 0755 "$out" "$out/velmora"
  program=("$out/velmora")
  if [[ $(id -u) -eq 0 ]]; then
    chown -R nobody:nogroup "$work"
    attempt setpriv --reuid=nobody --regid=nogroup --clear-groups
  else
    attempt env
  fi
  program=("${original_program[@]}")
}
original_program=("${program[@]}")

if [[ $platform == posix ]]; then
  new_scenario "directory without write permission"
  cp "$out/previous" "$work/clients.txt"
  chmod 0555 "$work"
  expected_line='velmora: cannot write clients\.txt: Permission denied'
  as_operator
  previous_kept
  scenario_cleanup

  new_scenario "read-only clients.txt"
  cp "$out/previous" "$work/clients.txt"
  chmod 0444 "$work/clients.txt"
  expected_line='velmora: cannot write clients\.txt: Permission denied'
  as_operator
  previous_kept 444
  scenario_cleanup
fi

if [[ $platform == windows ]]; then
  exit "$failed"
fi

# Fault injection: each system call of the write path fails in turn, with several reasons.
# LeakSanitizer cannot work under a tracer, so a sanitizer build leaves leaks to the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
command -v strace >/dev/null || { echo "FAIL: strace is needed (apt-get install strace)" >&2; exit 1; }
declare -A reason=(
  [EIO]="Input/output error" [ENOSPC]="No space left on device" [EDQUOT]="Disk quota exceeded"
  [EACCES]="Permission denied" [EROFS]="Read-only file system" [EXDEV]="Invalid cross-device link"
  [EMFILE]="Too many open files" [EBADF]="Bad file descriptor" [EINVAL]="Invalid argument"
)

# Which call of a system call, counted from the start, is the first (or the OCCURRENCE-th)
# whose traced line matches a pattern, in a run that replaces a file of mode 640.
#   call_number SYSCALL PATTERN [OCCURRENCE]
call_number() {
  local syscall=$1 pattern=$2 occurrence=${3:-1} folder trace
  folder=$(mktemp -d)
  trace=$(mktemp)
  printf 'old\r\n' >"$folder/clients.txt"
  chmod 640 "$folder/clients.txt"
  (cd "$folder" && strace -y -o "$trace" -e trace="$syscall" "${program[@]}" <<<"$answers" >/dev/null)
  grep "^$syscall(" "$trace" | grep -n -e "$pattern" | sed -n "${occurrence}p" | cut -d: -f1
  rm -rf "$folder" "$trace"
}

# One fault: the OCCURRENCE-th call (the first by default) that matches the pattern fails
# with errno; the promise must hold.
#   inject SYSCALL PATTERN ERRNO [OCCURRENCE]
inject() {
  local syscall=$1 pattern=$2 errno=$3 occurrence=${4:-1}
  new_scenario "$syscall ($pattern, call $occurrence) fails with $errno"
  local when
  when=$(call_number "$syscall" "$pattern" "$occurrence")
  [[ -n $when ]] || { fail "no $syscall call matches $pattern"; scenario_cleanup; return; }
  cp "$out/previous" "$work/clients.txt"
  chmod 640 "$work/clients.txt"
  expected_line="velmora: cannot write clients\.txt: ${reason[$errno]}"
  attempt strace -o /dev/null -e trace="$syscall" \
    -e inject="$syscall:error=$errno:when=$when" --
  previous_kept 640
  scenario_cleanup
}

# Looking up the existing file: whether it is a link, for its lock (before and after it is
# taken) and for its replacement, what it is, whether it may be written, and its mode and owner. Only "not there" may let the
# replacement go on.
for occurrence in 1 2 3 4 5; do inject newfstatat 'clients\.txt"' EIO "$occurrence"; done
inject access 'clients\.txt"' EIO
for errno in EACCES EMFILE EROFS; do inject openat '\.tmp", .*O_EXCL' "$errno"; done
for errno in EIO ENOSPC EDQUOT; do inject write '\.tmp>' "$errno"; done
for errno in EIO EROFS; do inject fchown '\.tmp>' "$errno"; done
for errno in EIO EROFS; do inject fchmod '\.tmp>' "$errno"; done
for errno in EIO ENOSPC EINVAL; do inject fsync '\.tmp>' "$errno"; done
for errno in EIO ENOSPC; do inject close '\.tmp>' "$errno"; done
for errno in EXDEV EACCES EIO; do inject rename '' "$errno"; done

new_scenario "a refused change of owner is no failure"
printf 'old\r\n' >"$work/clients.txt"
chmod 640 "$work/clients.txt"
(cd "$work" && strace -o /dev/null -e inject=fchown:error=EPERM -- "${program[@]}" <<<"$answers" \
  >/dev/null 2>"$out/stderr") || fail "exit status $?: $(cat "$out/stderr")"
[[ $(stat -c %a "$work/clients.txt") == 640 && $(wc -c <"$work/clients.txt") -gt 1000 ]] ||
  fail "the file was not replaced with its mode kept"
scenario_cleanup

# The temporary file cannot be removed after a failed rename: the first failure is the reason,
# and the line names what is left behind.
new_scenario "rename fails, then the temporary file cannot be removed"
cp "$out/previous" "$work/clients.txt"
expected_line='velmora: cannot write clients\.txt: Invalid cross-device link (the temporary file clients\.txt\.[a-z0-9]\{8\}\.tmp could not be removed)'
(cd "$work" && strace -o /dev/null -e inject=rename:error=EXDEV -e inject=unlink:error=EACCES -- \
  "${program[@]}" <<<"$answers" >/dev/null 2>"$out/stderr")
[[ $? -eq 1 ]] || fail "exit status, expected 1"
grep -q -x "$expected_line" "$out/stderr" || fail "unexpected standard error: $(cat "$out/stderr")"
previous_kept
scenario_cleanup

# Once the rename is done it cannot be undone; a folder that cannot be synced is reported.
new_scenario "the folder cannot be synced"
cp "$out/previous" "$work/clients.txt"
when=$(call_number fsync '')
(cd "$work" && strace -o /dev/null -e inject="fsync:error=EIO:when=$((when + 1))" -- \
  "${program[@]}" <<<"$answers" >/dev/null 2>"$out/stderr")
[[ $? -eq 1 ]] || fail "exit status, expected 1"
grep -q -x 'velmora: clients\.txt was replaced, but the change may not survive a power cut: Input/output error' \
  "$out/stderr" || fail "unexpected standard error: $(cat "$out/stderr")"
[[ $(ls -A "$work") == clients.txt && $(wc -c <"$work/clients.txt") -gt 1000 ]] ||
  fail "the new file is not in place alone"
scenario_cleanup

exit "$failed"
