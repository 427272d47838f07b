#!/usr/bin/env bash
# Runs that meet on one clients.txt: every change a run reports done is in the file. Bursts of
# runs started at once, of each mode that changes a file and of all of them mixed; on POSIX
# also a run held inside its write (its fsync delayed with strace) while others come, a holder
# killed there, a run that may not wait, and a file system that cannot lock.
#
#   concurrent_runs.sh posix|windows PROGRAM [ARGS...]
set -uo pipefail

platform=$1
shift
program=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL ($scenario): $*" >&2
  failed=1
}

# The operations of one run, numbered: "set adm3" gives adm3 the admin group Serveradmin,
# "remove adm3" takes adm3 out, "apply new3" adds new3 by a roster, "add new3" by the dialogue.
command_of() {
  local verb=$1 admin=$2
  case $verb in
    set) echo "--set $admin admin=Serveradmin" ;;
    remove) echo "--remove $admin" ;;
    apply)
      printf '[{"name": "%s", "ip": "10.1.0.%s", "admin": "Teamadmin"}]' "$admin" "${admin#new}" \
        >"$work/$admin.json"
      echo "--apply $work/$admin.json" ;;
    add)
      printf '1\n%s\n2\n10.2.0.%s\n3\n2\n' "$admin" "${admin#new}" >"$work/$admin.answers"
      echo "--add" ;;
  esac
}

# A folder whose clients.txt holds adm1 to adm30, each with an IP address and Teamadmin.
fresh_folder() {
  folder=$(mktemp -d -p "$work")
  python3 -c 'import json; print(json.dumps([{"name": "adm%d" % i, "ip": "10.0.0.%d" % i, "admin": "Teamadmin"} for i in range(1, 31)]))' \
    >"$work/base.json"
  (cd "$folder" && "${program[@]}" --apply "$work/base.json" >/dev/null 2>&1) || fail "no base file"
}

# Whether the file in $folder holds exactly what the base file and the operations give.
holds_all() {
  (cd "$folder" && "${program[@]}" --list --json) >"$work/listed.json" 2>/dev/null || return 1
  python3 - "$work/listed.json" "$@" <<'PY'
import json, sys
admins = {"adm%d" % i: "Teamadmin" for i in range(1, 31)}
for operation in sys.argv[2:]:
    verb, admin = operation.split()
    if verb == "set":
        admins[admin] = "Serveradmin"
    elif verb == "remove":
        del admins[admin]
    else:
        admins[admin] = "Teamadmin"
listed = {a["key"]: a["admin"] for a in json.load(open(sys.argv[1], encoding="utf-8"))}
missing = sorted(set(admins.items()) - set(listed.items()))
extra = sorted(set(listed.items()) - set(admins.items()))
if missing or extra:
    sys.exit("missing %s, not asked for %s" % (missing, extra))
PY
}

# Starts one run of each operation at once in $folder and waits for all of them.
burst() {
  local i=0 operation
  for operation in "$@"; do
    i=$((i + 1))
    read -r -a arguments <<<"$(command_of $operation)"
    local input=/dev/null
    [[ ${operation%% *} == add ]] && input=$work/${operation#* }.answers
    (cd "$folder" && "${program[@]}" "${arguments[@]}" <"$input" >"$work/out.$i" 2>"$work/err.$i"
     echo $? >"$work/status.$i") &
  done
  wait
  for i in $(seq 1 $#); do
    [[ $(cat "$work/status.$i") == 0 ]] ||
      fail "run $i exited with $(cat "$work/status.$i"): $(cat "$work/err.$i")"
  done
}

# Each row: a mode, and how many runs of it start at once; "mixed" runs every mode together.
bursts=("set 20" "remove 20" "apply 10" "add 8" "mixed 21")
[[ $platform == windows ]] && bursts=("set 10")
for row in "${bursts[@]}"; do
  read -r mode runs <<<"$row"
  scenario="a burst of $runs runs: $mode"
  operations=()
  for i in $(seq 1 "$runs"); do
    verb=$mode
    [[ $mode == mixed ]] && verbs=(set remove apply add) && verb=${verbs[$((i % 4))]}
    case $verb in
      set | remove) operations+=("$verb adm$i") ;;
      *) operations+=("$verb new$i") ;;
    esac
  done
  fresh_folder
  burst "${operations[@]}"
  holds_all "${operations[@]}" || fail "not every change is in the file"
  (cd "$folder" && "${program[@]}" --check >/dev/null 2>&1) || fail "--check finds problems"
  [[ $(ls -A "$folder") == clients.txt ]] || fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"
done

[[ $platform == windows ]] && exit "$failed"

command -v strace >/dev/null || { echo "FAIL: strace is needed (apt-get install strace)" >&2; exit 1; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Starts a run of the operation in $folder that stays two seconds in each fsync, and returns
# once it is inside its write, its temporary file made; $holder is its strace's process.
start_slowed() {
  read -r -a arguments <<<"$(command_of $1)"
  (cd "$folder" && exec strace -f -qq -o /dev/null -e inject=fsync,fdatasync:delay_enter=2000000 -- \
    "${program[@]}" "${arguments[@]}" </dev/null >"$work/slowed.out" 2>"$work/slowed.err") &
  holder=$!
  for _ in $(seq 1 200); do
    compgen -G "$folder/clients.txt.*.tmp" >/dev/null && return 0
    sleep 0.05
  done
  fail "the slowed run never began its write"
}

# Runs the operation in $folder with the options given first; its status in $status.
run() {
  local options=()
  while [[ $1 == --* ]]; do options+=("$1") && shift; done
  read -r -a arguments <<<"$(command_of "$@")"
  status=0
  (cd "$folder" && "${program[@]}" "${options[@]}" "${arguments[@]}" </dev/null >"$work/run.out" \
    2>"$work/run.err") || status=$?
}

scenario="a run that comes while another is inside its write waits for it"
fresh_folder
start_slowed "set adm1"
run set adm2
wait "$holder" || fail "the slowed run failed: $(cat "$work/slowed.err")"
[[ $status -eq 0 && $(cat "$work/run.err") == "velmora: waiting for another program that is changing clients.txt" ]] ||
  fail "status $status: $(cat "$work/run.err")"
holds_all "set adm1" "set adm2" || fail "not both changes are in the file"
[[ $(ls -A "$folder") == clients.txt ]] || fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"

scenario="a run that may not wait leaves the file to the one inside its write"
fresh_folder
start_slowed "set adm1"
run --wait=0 set adm2
[[ $status -eq 1 && $(cat "$work/run.err") == "velmora: clients.txt is being changed by another program (waited 0 s); nothing was changed" ]] ||
  fail "status $status: $(cat "$work/run.err")"
wait "$holder"
holds_all "set adm1" || fail "the file holds another change than the holder's"

scenario="a holder killed inside its write blocks no one"
fresh_folder
cp "$folder/clients.txt" "$work/before"
start_slowed "set adm1"
pkill -KILL -P "$holder"
{ wait "$holder"; } 2>/dev/null
cmp -s "$folder/clients.txt" "$work/before" || fail "the file is not as it was"
run set adm2
[[ $status -eq 0 && ! -s $work/run.err ]] || fail "the next run: status $status: $(cat "$work/run.err")"
holds_all "set adm2" || fail "the next run's change is not in the file"

# Each row: whether a lock file is there before (as a run that was killed leaves it), and what
# the folder then holds: a lock file this run made it takes away, one that was there stays.
for row in "none|clients.txt " "left|clients.txt clients.txt.lock "; do
  IFS='|' read -r before after <<<"$row"
  scenario="a file system that cannot lock, with a lock file before: $before"
  fresh_folder
  [[ $before == left ]] && : >"$folder/clients.txt.lock"
  status=0
  (cd "$folder" && strace -f -qq -o /dev/null -e inject=flock:error=ENOLCK -- "${program[@]}" \
    --set adm1 admin=Serveradmin </dev/null >/dev/null 2>"$work/run.err") || status=$?
  [[ $status -eq 0 && $(cat "$work/run.err") == "velmora: warning: cannot lock clients.txt (No locks available), so a program that changes it at the same time may undo this change" ]] ||
    fail "status $status: $(cat "$work/run.err")"
  holds_all "set adm1" || fail "the change is not in the file"
  [[ $(ls -A "$folder" | tr '\n' ' ') == "$after" ]] || fail "the folder holds: $(ls -A "$folder" | tr '\n' ' ')"
done

exit "$failed"
