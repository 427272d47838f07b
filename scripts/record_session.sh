#!/usr/bin/env bash
# Records what the native program does with a session's input as that session's expected
# result: console.txt up to the final wait, warnings.txt when it warns, clients.txt when the
# run writes one, and status when it is not 0; a session of the menu names its file in
# file. Review the result before committing.
#
#   record_session.sh PROGRAM SESSION_DIR...
set -euo pipefail

platform=posix
source "$(dirname "$0")/../tests/e2e/platform.sh"

program=$(realpath "$1")
shift
for session in "$@"; do
  session=$(realpath "$session")
  work=$(mktemp -d)
  # A session of the menu names its file; the dialogue's is clients.txt.
  target=clients.txt
  arguments=()
  wait_text=$final_wait
  if [[ -f $session/file ]]; then
    target=$(head -1 "$session/file")
    arguments=("$target")
    wait_text=
  fi
  mkdir -p "$(dirname "$work/$target")"
  if [[ -f $session/existing.txt ]]; then
    cp "$session/existing.txt" "$work/$target"
  fi
  status=0
  (cd "$work" && "$program" "${arguments[@]}" <"$session/input" >"$work/.console" 2>"$work/.warnings") ||
    status=$?
  rm -f "$session/status"
  [[ $status -eq 0 ]] || echo "$status" >"$session/status"
  rm -f "$session/warnings.txt"
  if [[ -s $work/.warnings ]]; then
    cp "$work/.warnings" "$session/warnings.txt"
  fi
  output=$(cat "$work/.console"; printf x)
  output=${output%x}
  printf '%s' "${output%"$wait_text"}" >"$session/console.txt"
  rm -f "$session/clients.txt"
  if [[ -f $work/$target ]] && ! cmp -s "$work/$target" "$session/existing.txt"; then
    cp "$work/$target" "$session/clients.txt"
  fi
  rm -rf "$work"
  echo "recorded $(basename "$session")"
done
