#!/usr/bin/env bash
# Runs one recorded session against the program in a fresh temporary directory and compares
# its console output, clients.txt and exit status byte for byte.
#
#   run_session.sh posix|windows SESSION_DIR PROGRAM [ARGS...]
#
# SESSION_DIR holds:
#   input        the bytes piped to standard input; without it, standard input is closed
#   console.txt  the expected standard output up to the final wait, with LF line ends
#   warnings.txt the expected standard error; when absent, nothing may appear there
#   clients.txt  the expected file; when absent, no file may appear, or, with
#   existing.txt an earlier clients.txt placed beforehand, which must survive unchanged
#   neighbours/  other files placed beside clients.txt, which must survive unchanged
#   file         the path of the file, one line, given as velmora's one argument to open the
#                menu on it, instead of the dialogue: the file is then placed and compared
#                there, and there is no final wait
#   status       the expected exit status, when it is not 0
#
# The platform names how the final wait looks and how console lines end: a Windows console
# program writes CR LF, which must be there on every line and is turned into LF to compare.
# The session runs twice: with standard output and error apart, and into one pipe, where the
# warnings must come after the closing lines and before the final wait.
set -euo pipefail

platform=$1
session=$(cd "$2" && pwd)
shift 2
source "$(dirname "$0")/platform.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The file the session is about: clients.txt for the dialogue, the menu's file for the menu.
target=clients.txt
arguments=()
if [[ -f $session/file ]]; then
  target=$(head -1 "$session/file")
  arguments=("$target")
  final_wait=
fi
place_files() {
  rm -f "$work/$target"
  mkdir -p "$(dirname "$work/$target")"
  if [[ -f $session/existing.txt ]]; then
    cp "$session/existing.txt" "$work/$target"
  fi
  if [[ -d $session/neighbours ]]; then
    cp -R "$session/neighbours/." "$work/"
  fi
}

# The program with the session's input, or with standard input closed.
launch() {
  if [[ -f $session/input ]]; then
    "${program[@]}" "${arguments[@]}" <"$session/input"
  else
    "${program[@]}" "${arguments[@]}" <&-
  fi
}

# Runs the program in $work; standard output goes to $1, standard error to $2, or to the same
# pipe when $2 is absent.
run() {
  local stdout=$1 stderr=${2:-}
  status=0
  if [[ -n $stderr ]]; then
    (cd "$work" && launch >"$stdout" 2>"$stderr") || status=$?
  else
    (cd "$work" && launch 2>&1 | cat >"$stdout") || status=$?
  fi
}
program=("$@")
place_files
run "$work/.stdout" "$work/.stderr"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

console_from_stdout "$work/.stdout" "$work/.console" || fail "console line ends are not $platform's"
cat "$session/console.txt" >"$work/.expected"
printf '%s' "$final_wait" >>"$work/.expected"
if ! cmp -s "$work/.console" "$work/.expected"; then
  fail "console output differs"
  diff <(cat -A "$work/.expected") <(cat -A "$work/.console") >&2 || true
fi
expected_status=0
[[ -f $session/status ]] && expected_status=$(cat "$session/status")
[[ $status -eq $expected_status ]] || fail "exit status $status, expected $expected_status"
touch "$work/.warnings"
[[ -f $session/warnings.txt ]] && cp "$session/warnings.txt" "$work/.warnings"
console_from_stdout "$work/.stderr" "$work/.stderr-lf" || fail "warning line ends are not $platform's"
if ! cmp -s "$work/.stderr-lf" "$work/.warnings"; then
  fail "standard error differs"
  diff "$work/.warnings" "$work/.stderr-lf" >&2 || true
fi

expected_file=$session/clients.txt
[[ -f $expected_file ]] || expected_file=$session/existing.txt
if [[ -f $expected_file ]]; then
  if ! cmp -s "$work/$target" "$expected_file"; then
    fail "$target differs"
    diff <(cat -A "$expected_file") <(cat -A "$work/$target") >&2 || true
  fi
elif [[ -e $work/$target ]]; then
  fail "$target was written"
fi

# The menu's warnings come with each change, among its lines, not after the closing lines.
if [[ -f $session/file ]]; then
  leftovers=$(cd "$work" && ls -A | grep -v -x -e '\..*' -e "${target%%/*}" || true)
  [[ -z $leftovers ]] || fail "left behind: $leftovers"
  exit "$failed"
fi

place_files
run "$work/.both"
console_from_stdout "$work/.both" "$work/.both-lf" || fail "line ends in one pipe are not $platform's"
{ cat "$session/console.txt" "$work/.warnings"; printf '%s' "$final_wait"; } >"$work/.expected-both"
cmp -s "$work/.both-lf" "$work/.expected-both" ||
  fail "standard output and error in one pipe are not: console, warnings, final wait"

if [[ -d $session/neighbours ]]; then
  diff -r "$session/neighbours" "$work" -x clients.txt -x '.*' >/dev/null || fail "a neighbouring file changed"
fi
leftovers=$(cd "$work" && ls -A | grep -v -x -e '\..*' -e clients.txt || true)
if [[ -d $session/neighbours ]]; then
  leftovers=$(grep -v -x -F -f <(ls -A "$session/neighbours") <<<"$leftovers" || true)
fi
[[ -z $leftovers ]] || fail "left behind: $leftovers"

exit "$failed"
