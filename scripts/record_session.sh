#!/usr/bin/env bash
# Records what the native program does with a session's input as that session's expected
# result: console.txt up to the final wait, warnings.txt when it warns, and clients.txt when
# the run writes one. Review the result before committing.
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
  if [[ -f $session/existing.txt ]]; then
    cp "$session/existing.txt" "$work/clients.txt"
  fi
  (cd "$work" && "$program" <"$session/input" >"$work/.console" 2>"$work/.warnings") || true
  rm -f "$session/warnings.txt"
  if [[ -s $work/.warnings ]]; then
    cp "$work/.warnings" "$session/warnings.txt"
  fi
  output=$(cat "$work/.console"; printf x)
  output=${output%x}
  printf '%s' "${output%"$final_wait"}" >"$session/console.txt"
  rm -f "$session/clients.txt"
  if [[ -f $work/clients.txt ]] && ! cmp -s "$work/clients.txt" "$session/existing.txt"; then
    cp "$work/clients.txt" "$session/clients.txt"
  fi
  rm -rf "$work"
  echo "recorded $(basename "$session")"
done
