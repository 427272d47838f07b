#!/usr/bin/env bash
# Runs one recorded session against the program in a fresh temporary directory and compares
# its console output, clients.txt and exit status byte for byte.
#
#   run_session.sh SESSION_DIR PROGRAM [ARGS...]
#
# SESSION_DIR holds:
#   input        the bytes piped to standard input
#   console.txt  the expected standard output (LF line ends; CR LF from a Windows console
#                program is turned into LF before comparing)
#   clients.txt  the expected file; when absent, no file may appear, or, with
#   existing.txt an earlier clients.txt placed beforehand, which must survive unchanged
set -euo pipefail

session=$(cd "$1" && pwd)
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -f $session/existing.txt ]]; then
  cp "$session/existing.txt" "$work/clients.txt"
fi

status=0
(cd "$work" && "$@" <"$session/input" >"$work/.stdout" 2>"$work/.stderr") || status=$?

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

sed 's/\r$//' "$work/.stdout" >"$work/.console"
if ! cmp -s "$work/.console" "$session/console.txt"; then
  fail "console output differs"
  diff <(cat -A "$session/console.txt") <(cat -A "$work/.console") >&2 || true
fi
[[ $status -eq 0 ]] || fail "exit status $status, expected 0"
[[ ! -s $work/.stderr ]] || fail "unexpected standard error: $(cat "$work/.stderr")"

expected_file=$session/clients.txt
[[ -f $expected_file ]] || expected_file=$session/existing.txt
if [[ -f $expected_file ]]; then
  if ! cmp -s "$work/clients.txt" "$expected_file"; then
    fail "clients.txt differs"
    diff <(cat -A "$expected_file") <(cat -A "$work/clients.txt") >&2 || true
  fi
elif [[ -e $work/clients.txt ]]; then
  fail "clients.txt was written"
fi

leftovers=$(cd "$work" && ls -A | grep -v -x -e .stdout -e .stderr -e .console -e clients.txt || true)
[[ -z $leftovers ]] || fail "left behind: $leftovers"

exit "$failed"
