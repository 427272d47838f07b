#!/usr/bin/env bash
# The command-line options: each row gives the arguments, the exit status, and what standard
# output and standard error must hold. None of them may read input or write a file.
#
#   options.sh posix|windows PROGRAM [ARGS...]
set -uo pipefail

platform=$1
shift
source "$(dirname "$0")/platform.sh"
program=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '1\nAnn\n1\nSTEAM_0:1:7\n1\n2\n' >"$work/input"
failed=0

usage_error() {
  printf "velmora: unrecognized option '%s'\nTry 'velmora --help' for more information.\n" "$1"
}

# arguments | status | pattern for the first line of standard output | standard error
rows=(
  "--help|0|Usage: velmora \[OPTION\]|"
  "-h|0|Usage: velmora \[OPTION\]|"
  "--version|0|velmora [0-9]*\.[0-9]*\.[0-9]*|"
  "--version --help|0|velmora [0-9.]*|"
  "--bogus|2||$(usage_error --bogus)"
  "-x --help|2||$(usage_error -x)"
  "a.txt b.txt|2||velmora: velmora FILE takes one file, but 'a.txt' and 'b.txt' were given
Try 'velmora --help' for more information."
  "clients.txt --add|2||velmora: velmora FILE and --add cannot be used together
Try 'velmora --help' for more information."
  "clients.txt --json|2||velmora: option '--json' goes with --list, --groups, --check or --apply only
Try 'velmora --help' for more information."
  "--add --check|2||velmora: --add and --check cannot be used together
Try 'velmora --help' for more information."
  "--check a b|2||$(usage_error b)"
  "--checks|2||$(usage_error --checks)"
  "--check --help|0|Usage: velmora \[OPTION\]|"
  "--check=|2||velmora: option '--check=' needs a file name
Try 'velmora --help' for more information."
  "--remove|2||velmora: option '--remove' needs an admin's name
Try 'velmora --help' for more information."
  "--list --remove Bob|2||velmora: --list and --remove cannot be used together
Try 'velmora --help' for more information."
  "--lists|2||$(usage_error --lists)"
  "--add=x|2||$(usage_error --add=x)"
  "--list --dry-run|2||velmora: option '--dry-run' goes with --set, --remove or --apply only
Try 'velmora --help' for more information."
  "--remove Bob --prune|2||velmora: option '--prune' goes with --apply only
Try 'velmora --help' for more information."
  "--remove=|2||velmora: option '--remove' needs an admin's name
Try 'velmora --help' for more information."
  "--apply roster.json -x|2||$(usage_error -x)"
  "--check --wait=5|2||velmora: option '--wait' goes with the dialogue, the menu, --add, --set, --remove or --apply only
Try 'velmora --help' for more information."
  "--remove Bob --wait=86401|2||velmora: option '--wait' needs a number of seconds, such as --wait=30
Try 'velmora --help' for more information."
  "--remove Bob --wait 86400|1||velmora: cannot read clients.txt: No such file or directory"
  "--remove Bob --wait|2||velmora: option '--wait' needs a number of seconds, such as --wait=30
Try 'velmora --help' for more information."
  "--set Bob admn=Teamadmin|2||velmora: unknown field 'admn=': the fields are name=, steam=, ip=, admin= and immunity=
Try 'velmora --help' for more information."
  "--export --json|2||velmora: option '--json' goes with --list, --groups, --check or --apply only
Try 'velmora --help' for more information."
  "--groups a b|2||$(usage_error b)"
  "--set Bob admin=Teamadmin clients|1||velmora: cannot read clients: No such file or directory"
  "--set Bob|2||velmora: option '--set' needs a field to set, such as admin=Serveradmin; the fields are name=, steam=, ip=, admin= and immunity=
Try 'velmora --help' for more information."
)
# Elsewhere /? is a path, which opens the menu like any other.
if [[ $platform == windows ]]; then
  rows+=("/?|0|Usage: velmora \[OPTION\]|")
fi

for row in "${rows[@]}"; do
  IFS='|' read -r arguments status first_line _ <<<"$row"
  stderr=${row#*|*|*|}
  read -r -a args <<<"$arguments"
  mkdir "$work/run"
  # What the program leaves unread of its input is read after it by cat.
  (cd "$work/run" && { "${program[@]}" "${args[@]}" >../stdout 2>../stderr; echo $? >../status; cat >../unread; } <../input)
  console_from_stdout "$work/stdout" "$work/stdout-lf" || echo "FAIL ($arguments): line ends" >&2
  console_from_stdout "$work/stderr" "$work/stderr-lf" || echo "FAIL ($arguments): line ends" >&2
  problems=()
  [[ $(cat "$work/status") == "$status" ]] || problems+=("exit status $(cat "$work/status")")
  if [[ -n $first_line ]]; then
    head -1 "$work/stdout-lf" | grep -q -x "$first_line" || problems+=("standard output: $(head -1 "$work/stdout-lf")")
  else
    [[ ! -s $work/stdout ]] || problems+=("standard output: $(head -1 "$work/stdout-lf")")
  fi
  [[ $(cat "$work/stderr-lf") == "$stderr" ]] || problems+=("standard error: $(cat "$work/stderr-lf")")
  cmp -s "$work/unread" "$work/input" || problems+=("input was read")
  [[ -z $(ls -A "$work/run") ]] || problems+=("wrote $(ls -A "$work/run")")
  if [[ ${#problems[@]} -gt 0 ]]; then
    echo "FAIL ($arguments): $(IFS=';'; echo "${problems[*]}")" >&2
    failed=1
  fi
  rm -rf "$work/run"
done

# The version is the project's, and the help names what the program needs to be understood.
version=$("${program[@]}" --version </dev/null | tr -d '\r')
grep -q -x "velmora ${VELMORA_VERSION:-[0-9.]*}" <<<"$(head -1 <<<"$version")" || { echo "FAIL: version line" >&2; failed=1; }
grep -q "Copyright (c) 2026 the velmora developers" <<<"$version" || { echo "FAIL: copyright" >&2; failed=1; }
grep -q "MIT" <<<"$version" || { echo "FAIL: licence" >&2; failed=1; }
help=$("${program[@]}" --help </dev/null | tr -d '\r')
for needed in clients.txt "Exit status" "mode, owner and links" STEAMID "--list" "--remove NAME" \
  "--set NAME FIELD=VALUE" "--dry-run" "--wait=SECONDS" "--groups" "--export"; do
  grep -q -e "$needed" <<<"$help" || { echo "FAIL: help says nothing of $needed" >&2; failed=1; }
done

# The README names every option --help names, in its list of options and modes.
readme=$(dirname "$0")/../../README.md
options_list=$(sed -n '/^## Options and modes$/,/^### /p' "$readme")
for option in $(grep -o -e '--[a-z][a-z-]*' <<<"$help" | sort -u); do
  grep -q -e "\`$option" <<<"$options_list" || { echo "FAIL: the README's options do not name $option" >&2; failed=1; }
done

exit "$failed"
