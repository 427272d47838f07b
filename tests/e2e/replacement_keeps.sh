#!/usr/bin/env bash
# Replacing clients.txt changes its bytes and nothing else: its mode, owner and group stay,
# a symbolic link stays a link and its target is replaced, and runs at the same time in one
# folder never mix their files or leave anything behind.
#
#   replacement_keeps.sh PROGRAM
set -uo pipefail

program=$(realpath "$1")
failed=0
# Modes are checked against fixed values, so the umask is fixed too, except where it is varied.
umask 022
fail() {
  echo "FAIL ($scenario): $*" >&2
  failed=1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
answers() { printf '1\n%s\n1\nSTEAM_0:1:7\n1\n2\n' "$1"; }
# The file a run with this name writes, made once in a folder of its own.
expected_for() {
  mkdir -p "$work/expected/$1"
  (cd "$work/expected/$1" && answers "$1" | "$program" >/dev/null 2>&1)
  echo "$work/expected/$1/clients.txt"
}
expected=$(expected_for Ann)

# Runs the program in folder $1 and checks that it succeeded, that $2 (clients.txt or the
# file it finally names) holds the new file, and that only the names in $3... are there.
run_in() {
  local folder=$1 written=$2
  shift 2
  local status=0
  (cd "$folder" && answers Ann | "$program" >/dev/null 2>"$work/stderr") || status=$?
  [[ $status -eq 0 ]] || fail "exit status $status: $(cat "$work/stderr")"
  cmp -s "$folder/$written" "$expected" || fail "$written does not hold the new file"
  local names
  names=$(cd "$folder" && ls -A | sort | tr '\n' ' ')
  [[ $names == "$(printf '%s\n' "$@" | sort | tr '\n' ' ')" ]] || fail "folder holds: $names"
}

# Set-user-ID, set-group-ID and sticky bits are the operator's too.
for mode in 600 640 664 2640 4750 1664; do
  scenario="mode $mode"
  folder=$(mktemp -d -p "$work")
  printf 'old\r\n' >"$folder/clients.txt"
  chmod "$mode" "$folder/clients.txt"
  run_in "$folder" clients.txt clients.txt
  [[ $(stat -c %a "$folder/clients.txt") == "$mode" ]] ||
    fail "mode became $(stat -c %a "$folder/clients.txt")"
done

# A new file gets the mode the operator's umask gives every new file.
for row in "022 644" "002 664" "077 600"; do
  read -r mask expected_mode <<<"$row"
  scenario="new file under umask $mask"
  folder=$(mktemp -d -p "$work")
  (umask "$mask" && run_in "$folder" clients.txt clients.txt)
  [[ $(stat -c %a "$folder/clients.txt") == "$expected_mode" ]] ||
    fail "a new file has mode $(stat -c %a "$folder/clients.txt")"
done

if [[ $(id -u) -eq 0 ]]; then
  scenario="owner and group, run as root"
  folder=$(mktemp -d -p "$work")
  printf 'old\r\n' >"$folder/clients.txt"
  chown nobody:nogroup "$folder/clients.txt"
  chmod 640 "$folder/clients.txt"
  run_in "$folder" clients.txt clients.txt
  [[ $(stat -c %U:%G:%a "$folder/clients.txt") == nobody:nogroup:640 ]] ||
    fail "became $(stat -c %U:%G:%a "$folder/clients.txt")"
fi

scenario="group of an operator who is a member of it, run as that operator"
if [[ $(id -u) -eq 0 ]] && getent group users >/dev/null; then
  # The operator may not keep root as the owner, but may keep a group it belongs to.
  folder=$(mktemp -d -p "$work")
  chmod 0755 "$work"
  cp "$program" "$work/velmora-copy" && chmod 0755 "$work/velmora-copy"
  printf 'old\r\n' >"$folder/clients.txt"
  chown root:users "$folder/clients.txt"
  chmod 664 "$folder/clients.txt"
  chown nobody:nogroup "$folder"
  (cd "$folder" && answers Ann | setpriv --reuid=nobody --regid=nogroup --groups=users \
    "$work/velmora-copy" >/dev/null 2>"$work/stderr") || fail "exit status $?: $(cat "$work/stderr")"
  cmp -s "$folder/clients.txt" "$expected" || fail "clients.txt does not hold the new file"
  [[ $(stat -c %U:%G:%a "$folder/clients.txt") == nobody:users:664 ]] ||
    fail "became $(stat -c %U:%G:%a "$folder/clients.txt")"
else
  echo "skipped ($scenario): needs root, to run as nobody in the group users"
fi

# Each layout: how clients.txt links to the server's file, and where that file is.
link_layout() {
  local folder=$1 kind=$2
  mkdir -p "$folder/server/cfg"
  case $kind in
    relative) ln -s server/cfg/admins.txt "$folder/clients.txt" ;;
    absolute) ln -s "$folder/server/cfg/admins.txt" "$folder/clients.txt" ;;
    chain)
      ln -s cfg/admins.txt "$folder/server/current"
      ln -s server/current "$folder/clients.txt"
      ;;
  esac
}
for kind in relative absolute chain dangling; do
  scenario="$kind link"
  folder=$(mktemp -d -p "$work")
  link_layout "$folder" "${kind/dangling/relative}"
  [[ $kind == dangling ]] || { printf 'old\r\n' >"$folder/server/cfg/admins.txt"; chmod 600 "$folder/server/cfg/admins.txt"; }
  link_before=$(readlink "$folder/clients.txt")
  run_in "$folder" server/cfg/admins.txt clients.txt server
  [[ -L $folder/clients.txt && $(readlink "$folder/clients.txt") == "$link_before" ]] ||
    fail "the link was not kept"
  [[ $(ls -A "$folder/server/cfg") == admins.txt ]] || fail "cfg holds: $(ls -A "$folder/server/cfg")"
  [[ $kind == dangling || $(stat -c %a "$folder/server/cfg/admins.txt") == 600 ]] ||
    fail "the target's mode was not kept"
done

scenario="twenty runs at once"
folder=$(mktemp -d -p "$work")
pids=()
for i in $(seq 1 20); do
  expected_for "admin$i" >/dev/null
  (cd "$folder" && answers "admin$i" | "$program" >/dev/null 2>>"$work/stderr") &
  pids+=($!)
done
for pid in "${pids[@]}"; do
  wait "$pid" || fail "a run failed: $(cat "$work/stderr")"
done
matches=0
for i in $(seq 1 20); do
  cmp -s "$folder/clients.txt" "$work/expected/admin$i/clients.txt" && matches=$((matches + 1))
done
[[ $matches -eq 1 ]] || fail "clients.txt is not exactly one run's file"
[[ $(ls -A "$folder") == clients.txt ]] || fail "left behind: $(ls -A "$folder")"

exit "$failed"
