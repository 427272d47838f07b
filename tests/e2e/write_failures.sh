#!/usr/bin/env bash
# When clients.txt cannot be written, the program must keep whatever was there, say why in
# one line on standard error, still wait for the key press, leave no temporary file and exit
# with status 1.
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

# Runs the program in $work with the given wrapper, then checks the outcome.
#   attempt WRAPPER...   (the program's own command line follows the wrapper)
attempt() {
  (cd "$work" && "$@" "${program[@]}" <<<"$answers" 2>"$out/stderr" | cat >"$out/stdout")
  status=${PIPESTATUS[0]}
  [[ $status -eq 1 ]] || fail "exit status $status, expected 1"
  local lines
  lines=$(wc -l <"$out/stderr")
  [[ $lines -eq 1 ]] || fail "$lines lines on standard error, expected 1"
  grep -q -x 'velmora: cannot write clients\.txt: ..*' "$out/stderr" ||
    fail "unexpected standard error: $(cat "$out/stderr")"
  console_from_stdout "$out/stdout" "$out/console" || fail "console line ends are not $platform's"
  [[ $(tail -c ${#final_wait} "$out/console") == "${final_wait%$'\n'}" ]] || fail "no final wait"
  local leftovers
  leftovers=$(cd "$work" && ls -A | grep -v -x -e clients.txt || true)
  [[ -z $leftovers ]] || fail "left behind: $leftovers"
}

new_scenario() {
  scenario=$1
  work=$(mktemp -d)
  out=$(mktemp -d)
  printf 'working file\r\n' >"$out/previous"
}

scenario_cleanup() {
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work" "$out"
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
cmp -s "$work/clients.txt" "$out/previous" || fail "previous clients.txt changed"
scenario_cleanup

if [[ ${#program[@]} -eq 1 ]]; then
  new_scenario "directory without write permission"
  cp "$out/previous" "$work/clients.txt"
  # A copy in a world-readable place, so that an unprivileged user can start it.
  cp "${program[0]}" "$out/velmora"
  chmod 0755 "$out" "$out/velmora"
  chmod 0555 "$work"
  program=("$out/velmora")
  if [[ $(id -u) -eq 0 ]]; then
    # Root writes anywhere, so the program runs as an unprivileged user.
    attempt setpriv --reuid=nobody --regid=nogroup --clear-groups
  else
    attempt env
  fi
  program=("$@")
  cmp -s "$work/clients.txt" "$out/previous" || fail "previous clients.txt changed"
  scenario_cleanup
fi

exit "$failed"
