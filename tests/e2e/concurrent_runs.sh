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

# Each row: what stands at the lock file's name that is no lock file of velmora's. It stays as
# it is, and the run changes nothing and ends at once, without blocking on it.
in_the_way=("a file with data" "a folder")
[[ $platform == posix ]] && in_the_way+=("a FIFO")
for thing in "${in_the_way[@]}"; do
  scenario="$thing at the lock file's name"
  fresh_folder
  cp "$folder/clients.txt" "$work/before"
  case $thing in
    "a file with data") printf 'my notes\n' >"$folder/clients.txt.lock" ;;
    "a folder") mkdir "$folder/clients.txt.lock" && : >"$folder/clients.txt.lock/inside" ;;
    "a FIFO") mkfifo "$folder/clients.txt.lock" ;;
  esac
  status=0
  (cd "$folder" && timeout 60 "${program[@]}" --set adm1 admin=Serveradmin </dev/null >/dev/null \
    2>"$work/run.err") || status=$?
  [[ $status -eq 1 && $(tr -d '\r' <"$work/run.err") == "velmora: clients.txt.lock is in the way: it is not velmora's lock file, so clients.txt was not changed" ]] ||
    fail "status $status: $(cat "$work/run.err")"
  cmp -s "$folder/clients.txt" "$work/before" || fail "the file changed"
  case $thing in
    "a file with data") [[ $(cat "$folder/clients.txt.lock") == "my notes" ]] ;;
    "a folder") [[ -f $folder/clients.txt.lock/inside ]] ;;
    "a FIFO") [[ -p $folder/clients.txt.lock ]] ;;
  esac || fail "it was not kept"
done

[[ $platform == windows ]] && exit "$failed"

command -v strace >/dev/null || { echo "FAIL: strace is needed (apt-get install strace)" >&2; exit 1; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Starts a run of the operation in $folder that stays two seconds (or the microseconds given) in
# each fsync, and returns once it is inside its write, its temporary file made; $holder is its
# strace's process.
start_slowed() {
  read -r -a arguments <<<"$(command_of $1)"
  (cd "$folder" && exec strace -f -qq -o /dev/null -e inject=fsync,fdatasync:delay_enter=${2:-2000000} -- \
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
compgen -G "$folder/clients.txt.*.tmp" >/dev/null || fail "the killed run left no temporary file"
: >"$folder/clients.txt.1a2b3c4d.tmp.keep"
run set adm2
[[ $status -eq 0 && ! -s $work/run.err ]] || fail "the next run: status $status: $(cat "$work/run.err")"
holds_all "set adm2" || fail "the next run's change is not in the file"
# What the killed run left goes with the next one; a file of another name stays.
[[ $(ls -A "$folder" | tr '\n' ' ') == "clients.txt clients.txt.1a2b3c4d.tmp.keep " ]] ||
  fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"

scenario="--apply reads again a file that another program changed while it waited for it"
fresh_folder
start_slowed "set adm1"
run apply new1
wait "$holder" || fail "the slowed run failed: $(cat "$work/slowed.err")"
[[ $status -eq 0 ]] || fail "status $status: $(cat "$work/run.err")"
holds_all "set adm1" "apply new1" || fail "not both changes are in the file"

scenario="a refused roster waits for no one"
fresh_folder
start_slowed "set adm1"
printf '[{"name": "Zed", "admn": "Teamadmin"}]' >"$work/typo.json"
status=0
(cd "$folder" && "${program[@]}" --apply "$work/typo.json" </dev/null >/dev/null 2>"$work/run.err") || status=$?
[[ $status -eq 2 && $(wc -l <"$work/run.err") -eq 1 ]] && grep -q "unknown member \"admn\"" "$work/run.err" ||
  fail "status $status: $(cat "$work/run.err")"
wait "$holder"

scenario="a roster that is slow to come holds up no one"
fresh_folder
command_of apply new1 >/dev/null
(cd "$folder" && { sleep 2; cat "$work/new1.json"; } | "${program[@]}" --apply - >"$work/slow.out" 2>"$work/slow.err"
 echo $? >"$work/slow.status") &
slow=$!
sleep 0.5
run --wait=0 set adm2
[[ $status -eq 0 && ! -s $work/run.err ]] || fail "the other run: status $status: $(cat "$work/run.err")"
wait "$slow"
[[ $(cat "$work/slow.status") == 0 ]] || fail "the slow run: $(cat "$work/slow.err")"
holds_all "set adm2" "apply new1" || fail "not both changes are in the file"

scenario="a link switched to another file while a run waits: the run changes the file it then names"
fresh_folder
first=$folder
fresh_folder
second=$folder
linked=$(mktemp -d -p "$work")
ln -s "$first/clients.txt" "$linked/clients.txt"
# The run waits for a holder of the first file, and the link is switched meanwhile. A slower
# holder of the second file has read it when the first holder lets go, and replaces it later.
folder=$first
start_slowed "set adm1" 1000000
first_holder=$holder
(cd "$linked" && "${program[@]}" --set adm2 admin=Serveradmin </dev/null >"$work/linked.out" 2>"$work/linked.err"
 echo $? >"$work/linked.status") &
waiter=$!
for _ in $(seq 1 200); do
  [[ -s $work/linked.err ]] && break
  sleep 0.05
done
ln -s "$second/clients.txt" "$linked/switched" && mv -T "$linked/switched" "$linked/clients.txt"
folder=$second
start_slowed "set adm3" 3000000
wait "$first_holder" "$holder" "$waiter"
[[ $(cat "$work/linked.status") == 0 ]] || fail "status $(cat "$work/linked.status"): $(cat "$work/linked.err")"
folder=$first
holds_all "set adm1" || fail "the file the link named before holds another change than the holder's"
folder=$second
holds_all "set adm3" "set adm2" || fail "the file the link names now does not hold both changes"
[[ -L $linked/clients.txt ]] || fail "the link was replaced"

# Runs of two users, as the game's account and root through sudo meet, both under umask 077.
# Only root can start a run as another user.
if [[ $(id -u) -eq 0 ]]; then
  shared=$(mktemp -d)
  cp "${program[0]}" "$shared/velmora"
  chmod 0755 "$shared" "$shared/velmora"
  as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups "$shared/velmora")

  scenario="a burst of 20 --set, every other one of another user, under umask 077"
  fresh_folder
  chmod 0777 "$folder" && chmod 0666 "$folder/clients.txt"
  operations=()
  for i in $(seq 1 20); do
    operations+=("set adm$i")
    runner=("${program[@]}")
    ((i % 2)) && runner=("${as_nobody[@]}")
    (umask 077 && cd "$folder" && "${runner[@]}" --set "adm$i" admin=Serveradmin </dev/null \
      >"$work/out.$i" 2>"$work/err.$i"
     echo $? >"$work/status.$i") &
  done
  wait
  for i in $(seq 1 20); do
    [[ $(cat "$work/status.$i") == 0 ]] && ! grep -q -v -x "velmora: waiting for another program that is changing clients.txt" "$work/err.$i" ||
      fail "run $i exited with $(cat "$work/status.$i"): $(cat "$work/err.$i")"
  done
  holds_all "${operations[@]}" || fail "not every change is in the file"
  [[ $(ls -A "$folder") == clients.txt ]] || fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"

  scenario="a lock file of another user that this run may not open"
  fresh_folder
  chmod 0777 "$folder" && chmod 0666 "$folder/clients.txt"
  (umask 077 && : >"$folder/clients.txt.lock")
  cp "$folder/clients.txt" "$work/before"
  status=0
  (cd "$folder" && "${as_nobody[@]}" --set adm1 admin=Serveradmin </dev/null >/dev/null 2>"$work/run.err") || status=$?
  [[ $status -eq 1 && $(cat "$work/run.err") == "velmora: cannot open the lock file clients.txt.lock (Permission denied), so clients.txt was not changed" ]] ||
    fail "status $status: $(cat "$work/run.err")"
  cmp -s "$folder/clients.txt" "$work/before" && [[ -f $folder/clients.txt.lock ]] || fail "the file or the lock file changed"
  rm -rf "$shared"
else
  scenario="a lock file that this run may not open"
  fresh_folder
  : >"$folder/clients.txt.lock" && chmod 000 "$folder/clients.txt.lock"
  run set adm1
  [[ $status -eq 1 && $(cat "$work/run.err") == "velmora: cannot open the lock file clients.txt.lock (Permission denied), so clients.txt was not changed" ]] ||
    fail "status $status: $(cat "$work/run.err")"
  echo "SKIP: runs of two users need root" >&2
fi

scenario="a run with standard input closed, whose lock file takes its descriptor"
fresh_folder
status=0
(cd "$folder" && "${program[@]}" --set adm1 admin=Serveradmin <&- >/dev/null 2>"$work/run.err") || status=$?
[[ $status -eq 0 && ! -s $work/run.err ]] || fail "status $status: $(cat "$work/run.err")"
holds_all "set adm1" || fail "the change is not in the file"
[[ $(ls -A "$folder") == clients.txt ]] || fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"

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

# Faults in the calls on the lock file (strace -P counts only those), one or two at once: whatever
# the run then says, the change it makes is in the file, and a lock file it made goes with it.
# Each row: a system call on the lock and a pattern for its traced line in a run without faults,
# which fails; and a system call on the lock whose next call after that one fails as well.
lock_faults=(
  'newfstatat|, ""|newfstatat'
  'newfstatat|, ""|openat'
  'newfstatat|, ""|flock'
  'newfstatat|AT_SYMLINK_NOFOLLOW) = 0|openat'
  'newfstatat|AT_SYMLINK_NOFOLLOW) = 0|flock'
  'flock|LOCK_EX|-'
  'unlink|clients|-'
)
fresh_folder
# The lock as the run names it, and as its descriptor's path.
on_lock() { echo -P clients.txt.lock -P "$folder/clients.txt.lock"; }
(cd "$folder" && strace -f -qq -o "$work/trace" $(on_lock) -- "${program[@]}" --set adm1 admin=Serveradmin \
  </dev/null >/dev/null 2>&1)
for row in "${lock_faults[@]}"; do
  IFS='|' read -r first pattern second <<<"$row"
  scenario="$first ($pattern) on the lock file fails, then the next $second"
  read -r -a faults < <(python3 - "$work/trace" "$first" "$pattern" "$second" <<'PY'
import re, sys
lines = [l for l in open(sys.argv[1]) if re.match(r"(\d+ +)?\w+\(", l)]
name = lambda l: re.match(r"(?:\d+ +)?(\w+)\(", l).group(1)
first, pattern, second = sys.argv[2:]
at = next(i for i, l in enumerate(lines) if name(l) == first and pattern in l)
call = sum(name(l) == first for l in lines[:at + 1])
# strace takes one fault for each system call: one that follows its like is its next call.
if second == first:
    faults = ["-e", "inject=%s:error=EIO:when=%d..%d" % (first, call, call + 1)]
else:
    faults = ["-e", "inject=%s:error=EIO:when=%d" % (first, call)]
if second not in ("-", first):
    faults += ["-e", "inject=%s:error=EIO:when=%d" % (second, sum(name(l) == second for l in lines[:at]) + 1)]
print(" ".join(faults))
PY
  )
  fresh_folder
  status=0
  (cd "$folder" && strace -f -qq -o /dev/null $(on_lock) "${faults[@]}" -- "${program[@]}" \
    --set adm1 admin=Serveradmin </dev/null >/dev/null 2>"$work/run.err") || status=$?
  [[ $status -eq 0 ]] || fail "status $status: $(cat "$work/run.err")"
  holds_all "set adm1" || fail "the change is not in the file"
  [[ $(ls -A "$folder") == clients.txt ]] || fail "left in the folder: $(ls -A "$folder" | tr '\n' ' ')"
done

exit "$failed"
