#!/usr/bin/env bash
# Records what the program does with a session's input as that session's expected result:
# console.txt, and clients.txt when the run writes one. Review the result before committing.
#
#   record_session.sh PROGRAM SESSION_DIR...
set -euo pipefail

program=$(realpath "$1")
shift
for session in "$@"; do
  session=$(realpath "$session")
  work=$(mktemp -d)
  if [[ -f $session/existing.txt ]]; then
    cp "$session/existing.txt" "$work/clients.txt"
  fi
  (cd "$work" && "$program" <"$session/input" >"$work/.console" 2>/dev/null) || true
  tr -d '\r' <"$work/.console" >"$session/console.txt"
  rm -f "$session/clients.txt"
  if [[ -f $work/clients.txt ]] && ! cmp -s "$work/clients.txt" "$session/existing.txt"; then
    cp "$work/clients.txt" "$session/clients.txt"
  fi
  rm -rf "$work"
  echo "recorded $(basename "$session")"
done
