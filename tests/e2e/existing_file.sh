#!/usr/bin/env bash
# Working with an existing clients.txt: velmora --add and velmora --check, run against the
# built program in temporary folders.
#
#   existing_file.sh posix|windows PROGRAM [ARGS...]
set -uo pipefail

platform=$1
shift
source "$(dirname "$0")/platform.sh"
program=("$@")
# The model of the program's rules, written on its own: the file it expects for some answers.
model=$(dirname "$0")/../model/clients_file_for.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL ($scenario): $*" >&2
  failed=1
}

# The answers for admins FIRST to LAST (numbered), without the count.
admins() {
  local p
  for p in $(seq "$1" "$2"); do
    case $((p % 3)) in
      0) printf 'admin%d\n1\nSTEAM_0:%d:%d\n%d\n1\n%d\n' "$p" $((p % 2)) $((p * 7)) $((p % 5 + 1)) $((p % 5 + 1)) ;;
      1) printf 'admin%d\n2\n10.0.%d.1\n%d\n2\n' "$p" "$p" $((p % 5 + 1)) ;;
      2) printf 'Admin%d\n1\nSTEAM_1:1:%d\n3\n1\n4\n' "$p" "$p" ;;
    esac
  done
}

# Runs the program in folder $1 with input $2 and the options that follow; keeps the exit
# status in $status and the outputs in $1/.out and $1/.err.
run_in() {
  local folder=$1 input=$2
  shift 2
  status=0
  (cd "$folder" && "${program[@]}" "$@" <"$input" >.out 2>.err) || status=$?
}

scenario="adding to a file velmora wrote is one run with all the admins"
for pair in "1 1" "2 3" "4 6" "9 1" "1 9"; do
  read -r n k <<<"$pair"
  mkdir -p "$work/$n-$k/add" "$work/$n-$k/all"
  { echo "$n"; admins 1 "$n"; } >"$work/$n-$k/first"
  { echo "$k"; admins $((n + 1)) $((n + k)); } >"$work/$n-$k/second"
  { echo $((n + k)); admins 1 $((n + k)); } >"$work/$n-$k/together"
  run_in "$work/$n-$k/add" "$work/$n-$k/first"
  run_in "$work/$n-$k/add" "$work/$n-$k/second" --add
  [[ $status -eq 0 ]] || fail "$n + $k: exit status $status: $(cat "$work/$n-$k/add/.err")"
  cp "$work/$n-$k/add/.out" "$work/$n-$k/add-console"
  run_in "$work/$n-$k/add" "$work/$n-$k/second"
  cmp -s "$work/$n-$k/add/.out" "$work/$n-$k/add-console" ||
    fail "$n + $k: the dialogue of --add differs from a plain run's"
  run_in "$work/$n-$k/all" "$work/$n-$k/together"
  mkdir -p "$work/$n-$k/replay" && run_in "$work/$n-$k/replay" "$work/$n-$k/first" &&
    run_in "$work/$n-$k/replay" "$work/$n-$k/second" --add
  cmp -s "$work/$n-$k/replay/clients.txt" "$work/$n-$k/all/clients.txt" ||
    fail "$n + $k: not byte for byte the file of one run with $((n + k)) admins"
  python3 "$model" "$work/$n-$k/together" | cmp -s - "$work/$n-$k/replay/clients.txt" ||
    fail "$n + $k: not the model's file for $((n + k)) admins"
done

scenario="the limit of ten is per run"
mkdir "$work/twenty"
{ echo 10; admins 1 10; } >"$work/ten-a"
{ echo 10; admins 11 20; } >"$work/ten-b"
run_in "$work/twenty" "$work/ten-a"
run_in "$work/twenty" "$work/ten-b" --add
run_in "$work/twenty" /dev/null --check
[[ $status -eq 0 && $(tr -d '\r' <"$work/twenty/.out") == "clients.txt: 20 admins, 0 problems" ]] ||
  fail "status $status: $(cat "$work/twenty/.out")"

scenario="adding to a hand-made LF file keeps every old byte"
mkdir "$work/hand"
cat >"$work/hand/clients.txt" <<'HAND'
// Our server's admins: keep this file tidy!
"clients.txt"
{
    "players"    // everyone with rights
    {
        "Owner"
        {
            "steam"   "STEAM_0:0:1"
            "groups"  { "Admin" "Serveradmin" }   // all of them
        }
        // next admin goes here
    }
    "groups" { "Admin" { "Serveradmin" "abc" } }
}
HAND
cp "$work/hand/clients.txt" "$work/hand-before"
{ echo 2; admins 1 2; } >"$work/two"
run_in "$work/hand" "$work/two" --add
[[ $status -eq 0 ]] || fail "exit status $status: $(cat "$work/hand/.err")"
! grep -q $'\r' "$work/hand/clients.txt" || fail "CR LF line ends in an LF file"
# Taking out the two new entries must give back the old file.
# The new entries follow the file's indentation: four blanks a level, entries two levels in.
python3 - "$work/hand-before" "$work/hand/clients.txt" <<'PY' || fail "an old byte changed, or the indentation is not the file's"
import sys
before, after = (open(p, "rb").read() for p in sys.argv[1:])
start = after.index(b"\n        // This must be a unique client name")
end = after.index(b"\n    }\n    \"groups\"")
added = after[start:end]
sys.exit(0 if after[:start] + after[end:] == before and added.count(b"unique client name") == 2
         and b"\n\t" not in added and b"\n                \"Admin\"" in added else 1)
PY
# The hand-made file defines only one group, so the new admins' other groups are named.
[[ $(grep -c 'is not defined in the file' "$work/hand/.err") -eq 3 ]] ||
  fail "--add did not warn of the undefined groups: $(cat "$work/hand/.err")"
run_in "$work/hand" /dev/null --check
[[ $status -eq 1 && $(grep -c 'is not defined' "$work/hand/.out") -eq 3 ]] ||
  fail "--check after adding: $(cat "$work/hand/.out")"

scenario="adding where there is no file is a plain run"
mkdir "$work/none" "$work/plain"
run_in "$work/none" "$work/two" --add
run_in "$work/plain" "$work/two"
cmp -s "$work/none/clients.txt" "$work/plain/clients.txt" || fail "the file differs"
cmp -s "$work/none/.out" "$work/plain/.out" || fail "the console differs"

scenario="a file that cannot be parsed is left untouched"
for broken in $'"clients.txt"\r\n{\r\n\t"players"\r\n\t{\r\n\t\t"Bob\r\n\t}\r\n}' $'"clients.txt"\n{\n  "version" "1"\n}\n'; do
  mkdir -p "$work/broken"
  printf '%s' "$broken" >"$work/broken/clients.txt"
  cp "$work/broken/clients.txt" "$work/broken-before"
  run_in "$work/broken" "$work/two" --add
  [[ $status -eq 1 ]] || fail "exit status $status"
  cmp -s "$work/broken/clients.txt" "$work/broken-before" || fail "the file changed"
  console_from_stdout "$work/broken/.err" "$work/broken/.err-lf" || fail "line ends"
  [[ $(wc -l <"$work/broken/.err-lf") -eq 1 ]] &&
    grep -q -x 'velmora: cannot add to clients\.txt: line [0-9]*: ..*' "$work/broken/.err-lf" ||
    fail "standard error: $(cat "$work/broken/.err")"
  [[ $(ls -A "$work/broken" | grep -c -v '^\.') -eq 1 ]] || fail "left behind: $(ls -A "$work/broken")"
  rm -rf "$work/broken"
done

scenario="a byte-order mark is kept by --add"
mkdir "$work/marked"
{ printf '\xef\xbb\xbf'; cat "$work/plain/clients.txt"; } >"$work/marked/clients.txt"
{ echo 1; admins 3 3; } >"$work/third"
run_in "$work/marked" "$work/third" --add
[[ $status -eq 0 ]] || fail "exit status $status: $(cat "$work/marked/.err")"
mkdir "$work/three" && { echo 3; admins 1 3; } >"$work/all-three" && run_in "$work/three" "$work/all-three"
cmp -s "$work/marked/clients.txt" <(printf '\xef\xbb\xbf'; cat "$work/three/clients.txt") ||
  fail "not the mark followed by one run's file"

scenario="a UTF-16 file is named as such and left untouched"
mkdir "$work/wide"
for mark in '\xff\xfe' '\xfe\xff'; do
  printf "$mark"'"\0c\0"\0' >"$work/wide/clients.txt"
  cp "$work/wide/clients.txt" "$work/wide-before"
  expected="velmora: clients.txt is UTF-16 text; the server reads UTF-8: save it as UTF-8"
  run_in "$work/wide" /dev/null --check
  [[ $status -eq 2 && $(tr -d '\r' <"$work/wide/.err") == "$expected" && ! -s $work/wide/.out ]] ||
    fail "--check: status $status: $(cat "$work/wide/.err")"
  run_in "$work/wide" "$work/two" --add
  [[ $status -eq 1 && $(tr -d '\r' <"$work/wide/.err") == "$expected" ]] ||
    fail "--add: status $status: $(cat "$work/wide/.err")"
  run_in "$work/wide" /dev/null --list
  [[ $status -eq 2 && $(tr -d '\r' <"$work/wide/.err") == "$expected" ]] ||
    fail "--list: status $status: $(cat "$work/wide/.err")"
  run_in "$work/wide" /dev/null --remove c
  [[ $status -eq 1 && $(tr -d '\r' <"$work/wide/.err") == "$expected" ]] ||
    fail "--remove: status $status: $(cat "$work/wide/.err")"
  cmp -s "$work/wide/clients.txt" "$work/wide-before" || fail "the file changed"
done

scenario="a path outside every legacy code page"
mkdir -p "$work/path/Иван"
cp "$work/plain/clients.txt" "$work/path/Иван/"
run_in "$work/path" /dev/null --check Иван/clients.txt
[[ $status -eq 0 && $(tr -d '\r' <"$work/path/.out") == "Иван/clients.txt: 2 admins, 0 problems" ]] ||
  fail "status $status: $(cat "$work/path/.out" "$work/path/.err")"
run_in "$work/path" /dev/null --check Иван/absent.txt
[[ $(tr -d '\r' <"$work/path/.err") == "velmora: cannot read Иван/absent.txt: No such file or directory" ]] ||
  fail "$(cat "$work/path/.err")"

scenario="adding to a file without a single line end uses CR LF"
mkdir "$work/one-line"
printf '"clients.txt" { "players" { } "groups" { "Admin" { "Serveradmin" "a" } } }' >"$work/one-line/clients.txt"
run_in "$work/one-line" "$work/two" --add
[[ $status -eq 0 ]] || fail "exit status $status: $(cat "$work/one-line/.err")"
python3 - "$work/one-line/clients.txt" <<'PY' || fail "not CR LF: $(od -c "$work/one-line/clients.txt" | head -5)"
import sys
text = open(sys.argv[1], "rb").read()
# Admin 1 (by IP address, admin group only) takes 13 lines, admin 2 (STEAMID, both groups) 14.
sys.exit(0 if text.count(b"\n") == text.count(b"\r\n") == 13 + 14 else 1)
PY

scenario="adding does not warn again about the groups of the admins already there"
mkdir "$work/ghost"
printf '"c"\n{\n "players"\n {\n  "Old" { "steam" "STEAM_0:1:1" "groups" { "Admin" "Ghost" } }\n }\n "groups" { "Admin" { "Serveradmin" "a" } "Immunity" { "NoFun" "b" } }\n}\n' >"$work/ghost/clients.txt"
printf '1\nNew\n1\nSTEAM_0:1:2\n1\n1\n5\n' >"$work/new-admin"
run_in "$work/ghost" "$work/new-admin" --add
[[ $status -eq 0 && ! -s $work/ghost/.err ]] || fail "status $status: $(cat "$work/ghost/.err")"

if [[ $platform == posix ]]; then
  scenario="adding to a file that cannot be read leaves it as it was"
  mkdir "$work/sealed"
  cp "$work/plain/clients.txt" "$work/sealed/clients.txt"
  chmod 0200 "$work/sealed/clients.txt"
  operator=()
  if [[ $(id -u) -eq 0 ]]; then
    # Root reads every file; the operator here is an unprivileged user.
    chown -R nobody:nogroup "$work/sealed"
    chmod 0755 "$work"
    operator=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  cp "${program[0]}" "$work/velmora-copy" && chmod 0755 "$work/velmora-copy"
  status=0
  (cd "$work/sealed" && "${operator[@]}" "$work/velmora-copy" --add <"$work/two" >/dev/null 2>"$work/sealed-err") ||
    status=$?
  [[ $status -eq 1 && $(cat "$work/sealed-err") == "velmora: cannot read clients.txt: Permission denied" ]] ||
    fail "status $status: $(cat "$work/sealed-err")"
  chmod 0600 "$work/sealed/clients.txt"
  cmp -s "$work/sealed/clients.txt" "$work/plain/clients.txt" || fail "the file changed"
  [[ $(ls -A "$work/sealed") == clients.txt ]] || fail "left behind: $(ls -A "$work/sealed")"
fi

scenario="removing admin k of n is one run with the other admins"
# Answers for the admins in the list given (numbers), with their count first.
roster() { echo $#; for p in "$@"; do admins "$p" "$p"; done; }
for row in "1 1 admin1" "3 1 admin1" "3 2 Admin2" "3 3 admin3" "10 5 Admin5" "4 3 STEAM_0:1:21" "5 4 10.0.4.1"; do
  read -r n k wanted <<<"$row"
  folder=$work/remove-$n-$k
  mkdir -p "$folder"
  roster $(seq 1 "$n") >"$folder/answers"
  run_in "$folder" "$folder/answers"
  chmod 640 "$folder/clients.txt"
  run_in "$folder" /dev/null --remove "$wanted"
  [[ $status -eq 0 && ! -s $folder/.err ]] || fail "$n, $k: status $status: $(cat "$folder/.err")"
  console_from_stdout "$folder/.out" "$folder/.out-lf" || fail "$n, $k: line ends"
  [[ $(cat "$folder/.out-lf") == "removed admin $k ($(admins "$k" "$k" | head -1)) from clients.txt" ]] ||
    fail "$n, $k: said $(cat "$folder/.out")"
  if [[ $n -gt 1 ]]; then
    roster $(seq 1 "$n" | grep -v -x "$k") >"$folder/rest"
    python3 "$model" "$folder/rest" | cmp -s - "$folder/clients.txt" ||
      fail "$n, $k: not the file of one run without admin $k"
  fi
  [[ $platform == windows || $(stat -c %a "$folder/clients.txt") == 640 ]] || fail "$n, $k: the mode changed"
  [[ -z $(ls -A "$folder" | grep '\.tmp$') ]] || fail "$n, $k: left behind: $(ls -A "$folder")"
done

scenario="removing what no admin is named"
folder=$work/remove-3-1
cp "$folder/clients.txt" "$work/before-none"
run_in "$folder" /dev/null --remove Nobody
[[ $status -eq 1 && ! -s $folder/.out && $(tr -d '\r' <"$folder/.err") == 'velmora: no admin matches "Nobody" in clients.txt' ]] ||
  fail "status $status: $(cat "$folder/.err")"
cmp -s "$folder/clients.txt" "$work/before-none" || fail "the file changed"

scenario="removing when the file cannot be written"
folder=$work/remove-3-1
cp "$folder/clients.txt" "$work/before-unwritable"
# A file-size limit fails writes the way a full disk does once SIGXFSZ is ignored.
status=0
(cd "$folder" && bash -c 'trap "" XFSZ; ulimit -f 1; exec "$@"' limited "${program[@]}" --remove admin2 \
  </dev/null >.out 2>.err) || status=$?
[[ $status -eq 1 && ! -s $folder/.out ]] &&
  tr -d '\r' <"$folder/.err" | grep -q -x 'velmora: cannot write clients\.txt: ..*' ||
  fail "status $status: $(cat "$folder/.out" "$folder/.err")"
cmp -s "$folder/clients.txt" "$work/before-unwritable" || fail "the file changed"
[[ -z $(ls -A "$folder" | grep '\.tmp$') ]] || fail "left behind: $(ls -A "$folder")"

scenario="removing from a file that cannot be parsed"
mkdir "$work/remove-broken"
printf '"clients.txt"\r\n{\r\n\t"players"\r\n\t{\r\n\t\t"Bob\r\n\t}\r\n}' >"$work/remove-broken/clients.txt"
cp "$work/remove-broken/clients.txt" "$work/before-broken"
run_in "$work/remove-broken" /dev/null --remove Bob
[[ $status -eq 1 && $(tr -d '\r' <"$work/remove-broken/.err") == "velmora: cannot remove from clients.txt: line 5: this quote is never closed (column 3)" ]] ||
  fail "status $status: $(cat "$work/remove-broken/.err")"
cmp -s "$work/remove-broken/clients.txt" "$work/before-broken" || fail "the file changed"
run_in "$work/remove-broken" /dev/null --list
[[ $status -eq 2 && ! -s $work/remove-broken/.out && $(tr -d '\r' <"$work/remove-broken/.err") == "velmora: cannot list clients.txt: line 5: this quote is never closed (column 3)" ]] ||
  fail "--list: status $status: $(cat "$work/remove-broken/.err")"

scenario="--set on a file velmora wrote gives the file of one run with the changed answers"
# Each row: the admin to find, the fields, and that admin's answers after the change.
set_rows=(
  "admin1|admin=Teamadmin immunity=NoFun|admin1 2 10.0.1.1 3 1 5"
  "ADMIN2|ip=10.9.9.9 immunity=|Admin2 2 10.9.9.9 3 2"
  "STEAM_0:1:21|name=Zed steam=STEAM_0:1:22 admin=serveradmin|Zed 1 STEAM_0:1:22 1 1 4"
)
for row in "${set_rows[@]}"; do
  IFS='|' read -r wanted settings answers <<<"$row"
  folder=$work/set-$wanted
  mkdir -p "$folder"
  roster 1 2 3 4 >"$folder/answers"
  run_in "$folder" "$folder/answers"
  cp "$folder/clients.txt" "$folder/before"
  touch -d @946684800 "$folder/clients.txt"
  read -r -a fields <<<"$settings"
  run_in "$folder" /dev/null --set "$wanted" "${fields[@]}" --dry-run
  [[ $status -eq 0 && $(stat -c %Y "$folder/clients.txt") -eq 946684800 ]] &&
    cmp -s "$folder/clients.txt" "$folder/before" || fail "$wanted: --dry-run wrote: status $status"
  cp "$folder/.out" "$folder/dry"
  run_in "$folder" /dev/null --set "$wanted" "${fields[@]}"
  [[ $status -eq 0 ]] || fail "$wanted: status $status: $(cat "$folder/.err")"
  # The answers of the four admins, with the changed one's in its place.
  k=$(awk -v w="$wanted" 'BEGIN { print (w == "admin1" ? 1 : w == "ADMIN2" ? 2 : 3) }')
  { echo 4; for p in 1 2 3 4; do
      if [[ $p -eq $k ]]; then tr ' ' '\n' <<<"$answers"; else admins "$p" "$p"; fi
    done; } >"$folder/changed"
  python3 "$model" "$folder/changed" | cmp -s - "$folder/clients.txt" ||
    fail "$wanted: not the file of one run with the changed answers"
  # The diff shown, given to patch, gives the file written; the summary after it is no hunk.
  patch -s -o "$folder/patched" "$folder/before" <"$folder/dry" >/dev/null 2>&1 &&
    cmp -s "$folder/patched" "$folder/clients.txt" || fail "$wanted: patch did not give the file"
  # A dry run says what would be done; the real run, what was.
  tr -d '\r' <"$folder/dry" | grep -q -x "would change admin $k (.*) in clients\.txt: .* -> .*" ||
    fail "$wanted: dry run's summary: $(tail -1 "$folder/dry")"
  tr -d '\r' <"$folder/.out" | grep -q -x "changed admin $k (.*) in clients\.txt: .* -> .*" ||
    fail "$wanted: summary: $(cat "$folder/.out")"
done

scenario="--set refusals and no change leave the file's bytes and time as they were"
folder=$work/set-admin1
cp "$folder/clients.txt" "$work/set-before"
# arguments | status | standard error
refusals=(
  "Nobody admin=Serveradmin|1|velmora: no admin matches \"Nobody\" in clients.txt"
  "admin admin=Serveradmin|1|"
  "admin1 admin=Teamadmn|2|velmora: \"Admin\" group \"Teamadmn\" is not defined in clients.txt: its \"groups\" section defines Serveradmin, Clanmember, Teamadmin, Level 2 Access and No Rcon Or Sound"
  "admin1 immunity=Level_2|2|"
  "admin1 admin=Teamadmin immunity=NoFun|0|"
  "admin1|2|"
  "admin1 admn=Teamadmin clients.txt|2|"
  "admin1 admin=Teamadmin admin=Clanmember|2|"
  "admin1 steam=STEAM_0:0:1 ip=1.2.3.4|2|"
)
for row in "${refusals[@]}"; do
  IFS='|' read -r arguments expected message <<<"$row"
  read -r -a args <<<"$arguments"
  touch -d @946684800 "$folder/clients.txt"
  run_in "$folder" /dev/null --set "${args[@]}"
  [[ $status -eq $expected ]] || fail "$arguments: status $status: $(cat "$folder/.err")"
  [[ -z $message || $(tr -d '\r' <"$folder/.err") == "$message" ]] ||
    fail "$arguments: said $(cat "$folder/.err")"
  [[ $(stat -c %Y "$folder/clients.txt") -eq 946684800 ]] && cmp -s "$folder/clients.txt" "$work/set-before" ||
    fail "$arguments: the file was written"
  [[ -z $(ls -A "$folder" | grep '\.tmp$') ]] || fail "$arguments: left behind: $(ls -A "$folder")"
done
run_in "$folder" /dev/null --set admin1 admin=Teamadmin
[[ $(tr -d '\r' <"$folder/.out") == "admin 1 (admin1) in clients.txt is unchanged" ]] || fail "unchanged: $(cat "$folder/.out")"
# What was typed stays known for the warnings, whatever field comes after it.
run_in "$folder" /dev/null --set admin1 'steam=STEAM_0:1:\7' name=admin1 --dry-run
tr -d '\r' <"$folder/.err" | grep -q -x -F 'velmora: warning: admin 1 (admin1): the STEAMID "STEAM_0:1:\7" is written as "STEAM_0:1:/7": a value in clients.txt cannot hold " or \' ||
  fail "a typed STEAMID changed by a later field: $(cat "$folder/.err")"
# A control character in a value: a POSIX shell passes a line end in an argument as it is.
if [[ $platform == posix ]]; then
  run_in "$folder" /dev/null --set admin1 $'name=Ann\nBob'
  [[ $status -eq 2 ]] && grep -q 'control character' "$folder/.err" || fail "a line end: status $status"
  cmp -s "$folder/clients.txt" "$work/set-before" || fail "a line end: the file changed"
fi
printf '2\nBob\n2\n1.1.1.1\n1\n2\nbob\n2\n1.1.1.2\n1\n2\n' >"$work/two-bobs"
mkdir "$work/bobs" && run_in "$work/bobs" "$work/two-bobs"
run_in "$work/bobs" /dev/null --set BOB admin=Teamadmin
[[ $status -eq 1 && $(tr -d '\r' <"$work/bobs/.err") == 'velmora: "BOB" matches 2 admins: admin 1 (Bob) at line 9, admin 2 (bob) at line 22' ]] ||
  fail "two matches: status $status: $(cat "$work/bobs/.err")"
run_in "$work/bobs" /dev/null --set 1.1.1.2 name=Bob
[[ $status -eq 0 ]] && grep -q 'have the same name' "$work/bobs/.err" ||
  fail "the same name after the change is not named: $(cat "$work/bobs/.err")"

scenario="--set on hand-made files: the summary, the exit status and the bytes"
# Each row: the file, the arguments, the exit status, standard output or standard error, and
# the file after the run.
groups='"groups" { "Admin" { "Serveradmin" "a" "Teamadmin" "b" } }'
hand_set_rows=(
  "\"c\" { \"players\" { \"bob\" { \"name\" \"Bob\" \"ip\" \"1.2.3.4\" } } $groups }|bob name=Robert|0|changed admin 1 (bob) in clients.txt: key bob -> Robert, name Bob -> Robert|\"c\" { \"players\" { \"Robert\" { \"name\" \"Robert\" \"ip\" \"1.2.3.4\" } } $groups }"
  "\"c\" { \"players\" { \"Ann\" { \"ip\" \"1.2.3.4\" \"groups\" \"none\" } } $groups }|Ann admin=Teamadmin|1|velmora: cannot change admin 1 (Ann) in clients.txt: line 1: the entry is laid out in a way velmora cannot change safely|="
)
mkdir "$work/set-hand"
for row in "${hand_set_rows[@]}"; do
  IFS='|' read -r before arguments expected said after <<<"$row"
  read -r -a args <<<"$arguments"
  printf '%s' "$before" >"$work/set-hand/clients.txt"
  run_in "$work/set-hand" /dev/null --set "${args[@]}"
  [[ $status -eq $expected ]] || fail "$arguments: status $status: $(cat "$work/set-hand/.err")"
  [[ $expected -eq 0 ]] && answer=$work/set-hand/.out || answer=$work/set-hand/.err
  [[ $(tr -d '\r' <"$answer") == "$said" ]] || fail "$arguments: said $(cat "$answer")"
  [[ $after == = ]] && after=$before
  [[ $(cat "$work/set-hand/clients.txt") == "$after" ]] || fail "$arguments: $(cat "$work/set-hand/clients.txt")"
done

scenario="--remove --dry-run shows what patch makes into the file --remove writes"
folder=$work/remove-dry
mkdir "$folder"
roster 1 2 3 >"$folder/answers"
run_in "$folder" "$folder/answers"
cp "$folder/clients.txt" "$folder/before"
run_in "$folder" /dev/null --remove Admin2 --dry-run
[[ $status -eq 0 ]] && cmp -s "$folder/clients.txt" "$folder/before" || fail "status $status, or the file changed"
[[ $(tail -1 "$folder/.out" | tr -d '\r') == "would remove admin 2 (Admin2) from clients.txt" ]] ||
  fail "dry run's summary: $(tail -1 "$folder/.out")"
cp "$folder/.out" "$folder/dry"
run_in "$folder" /dev/null --remove Admin2
patch -s -o "$folder/patched" "$folder/before" <"$folder/dry" >/dev/null 2>&1 &&
  cmp -s "$folder/patched" "$folder/clients.txt" || fail "patch did not give the file"
# A hand-made file without a line end after its last line: the diff must say so.
printf '"c" { "players" { "Bob" { "ip" "1" } } }' >"$folder/clients.txt"
cp "$folder/clients.txt" "$folder/before"
run_in "$folder" /dev/null --set Bob steam=STEAM_0:0:1 --dry-run
cp "$folder/.out" "$folder/dry"
run_in "$folder" /dev/null --set Bob steam=STEAM_0:0:1
patch -s -o "$folder/patched" "$folder/before" <"$folder/dry" >/dev/null 2>&1 &&
  cmp -s "$folder/patched" "$folder/clients.txt" || fail "patch did not give a file without a last line end"

scenario="--apply: a roster listed from one file makes another the same, and a second run changes nothing"
folder=$work/apply
mkdir -p "$folder/one" "$folder/two"
roster 1 2 3 4 >"$folder/answers"
run_in "$folder/one" "$folder/answers"
run_in "$folder/one" /dev/null --list --json
cp "$folder/one/.out" "$folder/roster.json"
run_in "$folder" /dev/null --apply roster.json two/clients.txt
[[ $status -eq 0 && $(tr -d '\r' <"$folder/.out") == "two/clients.txt: 4 added, 0 changed, 0 removed" ]] ||
  fail "first run: status $status: $(cat "$folder/.out" "$folder/.err")"
cmp -s "$folder/two/clients.txt" "$folder/one/clients.txt" || fail "not the file the roster was listed from"
touch -d @946684800 "$folder/two/clients.txt"
run_in "$folder" /dev/null --apply roster.json two/clients.txt --json
[[ $status -eq 0 && $(stat -c %Y "$folder/two/clients.txt") -eq 946684800 ]] &&
  python3 -c 'import json, sys; r = json.load(open(sys.argv[1])); sys.exit(r != {"files": [{"file": "two/clients.txt", "changed": False, "added": [], "changed_admins": [], "removed": [], "error": None}]})' "$folder/.out" ||
  fail "second run: status $status: $(cat "$folder/.out")"

scenario="--apply rows: what is added, changed and removed, and the bytes it leaves"
# Each row: the file's answers (or none for a missing file), the roster as answers, flags,
# what the summary says, and the answers whose file the result must be.
apply_rows=(
  "1 2 3|1 2 3|-|unchanged|1 2 3"
  "none|2 4|-|2 added, 0 changed, 0 removed|2 4"
  "1 2 3|3 1|--prune|0 added, 0 changed, 1 removed|1 3"
  "1 2|1 2 3 4|-|2 added, 0 changed, 0 removed|1 2 3 4"
)
for row in "${apply_rows[@]}"; do
  IFS='|' read -r have want flags said result <<<"$row"
  folder=$work/apply-${have// /}-${want// /}
  mkdir -p "$folder/listed" "$folder/target"
  roster $want >"$folder/want" && run_in "$folder/listed" "$folder/want"
  run_in "$folder/listed" /dev/null --list --json && cp "$folder/listed/.out" "$folder/roster.json"
  [[ $have == none ]] || { roster $have >"$folder/have" && run_in "$folder/target" "$folder/have"; }
  [[ $flags == - ]] && flags=
  cat "$folder/target/clients.txt" >"$folder/before" 2>/dev/null || : >"$folder/before"
  run_in "$folder/target" /dev/null --apply ../roster.json $flags --dry-run
  cp "$folder/target/.out" "$folder/dry"
  # The summary says what would be done, and in JSON the answer says it is a dry run and holds
  # the same diff.
  would=$(awk -F', ' '/added/ { sub(/ added/, "", $1); sub(/ changed/, "", $2); sub(/ removed/, "", $3);
    print "would add " $1 ", change " $2 ", remove " $3; next } { print }' <<<"$said")
  [[ $(tail -1 "$folder/dry" | tr -d '\r') == "clients.txt: $would" ]] || fail "$row: dry run's summary: $(tail -1 "$folder/dry")"
  run_in "$folder/target" /dev/null --apply ../roster.json $flags --dry-run --json
  python3 - "$folder/target/.out" "$folder/dry" <<'PY' || fail "$row: --dry-run --json: $(cat "$folder/target/.out")"
import json, sys
report, shown = json.load(open(sys.argv[1])), open(sys.argv[2], "rb").read().decode()
file = report["files"][0]
sys.exit(0 if report["dry_run"] is True and shown == file["diff"] + shown.splitlines(True)[-1] else 1)
PY
  run_in "$folder/target" /dev/null --apply ../roster.json $flags
  [[ $status -eq 0 && $(tr -d '\r' <"$folder/target/.out") == "clients.txt: $said" ]] ||
    fail "$row: status $status: $(cat "$folder/target/.out" "$folder/target/.err")"
  roster $result >"$folder/result"
  python3 "$model" "$folder/result" | cmp -s - "$folder/target/clients.txt" || fail "$row: not the file of $result"
  # The dry run's diff, given to patch, gives the file the real run wrote.
  if grep -q '^@@' "$folder/dry"; then
    patch -s -o "$folder/patched" "$folder/before" <"$folder/dry" >/dev/null 2>&1
  else
    cp "$folder/before" "$folder/patched"
  fi
  cmp -s "$folder/patched" "$folder/target/clients.txt" || fail "$row: patch did not give the file"
done

scenario="--apply to a hand-made file keeps every byte outside the entries it changes"
folder=$work/apply-hand
mkdir "$folder"
cp "$work/hand-before" "$folder/clients.txt"
printf '[{"key": "OWNER", "name": null, "steam": "STEAM_0:0:2", "admin": "serveradmin"}, {"name": "Ann Lee", "ip": "10.0.0.9"}]' >"$folder/roster.json"
run_in "$folder" /dev/null --apply roster.json
[[ $status -eq 0 && $(tr -d '\r' <"$folder/.out") == "clients.txt: 1 added, 1 changed, 0 removed" ]] ||
  fail "status $status: $(cat "$folder/.out" "$folder/.err")"
python3 - "$work/hand-before" "$folder/clients.txt" <<'PY' || fail "$(cat "$folder/clients.txt")"
import sys
before, after = (open(p, "rb").read() for p in sys.argv[1:])
expected = before.replace(b'"Owner"', b'"OWNER"', 1).replace(b'"STEAM_0:0:1"', b'"STEAM_0:0:2"', 1)
start = after.index(b"\n        // This must be a unique client name")
end = after.index(b"\n    }\n    \"groups\"")
sys.exit(0 if after[:start] + after[end:] == expected and b'"name"\t"Ann Lee"' in after[start:end]
         and b"\n\t" not in after[start:end] else 1)
PY

scenario="--apply refuses an invalid roster before any file is touched"
folder=$work/apply-refused
mkdir -p "$folder/a" "$folder/b"
cp "$work/plain/clients.txt" "$folder/a/clients.txt"
touch -d @946684800 "$folder/a/clients.txt"
# Each row: the roster, and what velmora says of it after "velmora: cannot use the roster
# roster.json: ".
invalid=(
  '[{"name": "Ann",}]|parse error at line 1, column 17: syntax error while parsing object key - unexpected '"'}'"'; expected string literal'
  '{"name": "Ann"}|unknown member "name": a roster has admins and groups'
  '"Ann"|a roster is a JSON array of admins, as velmora --list --json prints it, or an object with admins and groups, as velmora --export prints it'
  '{"groups": {}}|"groups" must be an array of groups, as velmora --groups --json prints it'
  '{"groups": [1]}|group 1: a group is a JSON object'
  '{"groups": [{"kind": "Moderator", "name": "Mod", "flags": "a"}]}|group 1: the kind "Moderator" is neither Admin nor Immunity'
  '{"groups": [{"kind": "Admin", "name": "", "flags": "a"}]}|group 1: a group needs a name'
  '{"groups": [{"kind": "Admin", "name": "Mod{", "flags": "a"}]}|group 1: the name "Mod{" holds a quote, a brace, a backslash or a control character, which no group in clients.txt can hold'
  '{"groups": [{"kind": "Admin", "name": "Mod", "flags": "a\\b"}]}|group 1: the flags "a\b" holds a quote, a brace, a backslash or a control character, which no group in clients.txt can hold'
  '{"groups": [{"kind": "Admin", "name": "Mod\u0007", "flags": "a"}]}|group 1: the name "Mod\x07" holds a quote, a brace, a backslash or a control character, which no group in clients.txt can hold'
  '{"groups": [{"kind": "Admin", "name": "Mod", "flags": null}]}|group 1: "flags" must be a text'
  '{"groups": [{"kind": "admin", "name": "Mod"}]}|group 1: a group needs its flags, as a text (an empty one for none)'
  '{"groups": [{"kind": "Admin", "name": "Mod", "flags": "a", "flgs": ""}]}|group 1: unknown member "flgs": a group has kind, name and flags (line is ignored)'
  '{"groups": [{"kind": "Admin", "name": "Mod", "flags": "a"}, {"kind": "ADMIN", "name": "mod", "flags": ""}]}|group 2 has the kind and name of group 1, "Admin" "mod"'
  '{"admins": [{"name": "Ann", "admin": "Moderator"}], "groups": [{"kind": "Immunity", "name": "Moderator", "flags": ""}]}|admin 1 (Ann): "Admin" group "Moderator" is defined in none of the files'
  '[{"name": "Ann"}, {"name": 5}]|admin 2: "name" must be a text or null'
  '[{"name": "Ann", "immunty": "NoFun"}]|admin 1: unknown member "immunty": an admin has key, name, steam, ip, admin and immunity (line and account are ignored)'
  '[{"name": "Ann"}, {"key": "ANN"}]|admin 2 has the same key as admin 1, "ANN"'
  '[{"name": "Ann", "steam": "STEAM_0:0:1", "ip": "1.2.3.4"}]|admin 1: "steam" and "ip" cannot both be given: an entry holds one of them'
  '[{"name": "Ann\u001b[2J"}]|admin 1: the name "Ann\x1b[2J" holds a line end or another control character, which no value in clients.txt can hold'
  '[{"name": "Ann", "admin": "Moderator"}]|admin 1 (Ann): "Admin" group "Moderator" is defined in none of the files'
  '[{"steam": "STEAM_0:0:1"}]|admin 1: an admin needs a key or a name'
  '[{"name": null, "ip": "1.2.3.4"}]|admin 1: an admin needs a key or a name'
  '[{"name": "Ann", "steam": ["STEAM_0:0:1"]}]|admin 1: "steam" must be a text or null'
  '[1]|admin 1: an admin is a JSON object'
  '[["Ann"]]|admin 1: an admin is a JSON object'
)
for row in "${invalid[@]}"; do
  IFS='|' read -r roster_text message <<<"$row"
  printf '%s' "$roster_text" >"$folder/roster.json"
  run_in "$folder" /dev/null --apply roster.json a/clients.txt b/clients.txt
  [[ $status -eq 2 && ! -s $folder/.out && $(tr -d '\r' <"$folder/.err") == "velmora: cannot use the roster roster.json: $message" ]] ||
    fail "$roster_text: status $status: $(cat "$folder/.out" "$folder/.err")"
  [[ $(stat -c %Y "$folder/a/clients.txt") -eq 946684800 && ! -e $folder/b/clients.txt ]] ||
    fail "$roster_text: a file was touched"
done
printf '"c" { "players" { "Bob' >"$folder/b/clients.txt"
printf '[{"name": "Ann", "ip": "1.2.3.4", "admin": "Serveradmin"}]' >"$folder/roster.json"
mkdir "$folder/c"
run_in "$folder" /dev/null --apply roster.json a/clients.txt b/clients.txt c/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.out") == $'a/clients.txt: 1 added, 0 changed, 0 removed\nc/clients.txt: 1 added, 0 changed, 0 removed' ]] &&
  grep -q '^velmora: cannot apply the roster to b/clients.txt: line 1: this quote is never closed' "$folder/.err" ||
  fail "one file of three unparseable: status $status: $(cat "$folder/.out" "$folder/.err")"
cmp -s "$folder/b/clients.txt" <(printf '"c" { "players" { "Bob') || fail "the unparseable file changed"
# Alone, the file that cannot be parsed is named as one, not taken for a roster's fault.
run_in "$folder" /dev/null --apply roster.json b/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.err") == 'velmora: cannot apply the roster to b/clients.txt: line 1: this quote is never closed (column 19)' ]] ||
  fail "one file, unparseable: status $status: $(cat "$folder/.err")"
run_in "$folder" /dev/null --apply roster.json d/clients.txt --json
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.err" | grep -c .) -eq 1 ]] &&
  grep -q '^velmora: cannot write d/clients.txt' "$folder/.err" ||
  fail "a file in a folder that does not exist: status $status: $(cat "$folder/.err")"
python3 -c 'import json, sys; f = json.load(open(sys.argv[1]))["files"][0]; sys.exit(f["changed"] or not f["error"])' "$folder/.out" ||
  fail "a file that could not be written is said to be changed: $(cat "$folder/.out")"
# A plain "groups" value hides a groups block after it from the server: the change is refused.
printf '"c" { "players" { "Cy" { "ip" "1.2.3.4" "groups" "none" } } "groups" { "Admin" { "Teamadmin" "b" } } }' >"$folder/b/clients.txt"
cp "$folder/b/clients.txt" "$folder/b-before"
printf '[{"name": "Cy", "ip": "1.2.3.4", "admin": "Teamadmin"}]' >"$folder/hidden.json"
run_in "$folder" /dev/null --apply hidden.json b/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.err") == 'velmora: cannot apply the roster to b/clients.txt: the entry of "Cy" is laid out in a way velmora cannot change safely' ]] &&
  cmp -s "$folder/b/clients.txt" "$folder/b-before" ||
  fail "an entry that cannot hold the change: status $status: $(cat "$folder/.err")"
printf '"c"\n{\n "players"\n {\n  "Bob" { "ip" "1" }\n  "bob" { "ip" "2" }\n }\n}\n' >"$folder/b/clients.txt"
printf '[{"name": "Cy", "ip": "1.2.3.4"}]' >"$folder/plain.json"
run_in "$folder" /dev/null --apply plain.json b/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.err") == "velmora: cannot apply the roster to b/clients.txt: line 6: admin 2 (bob) has the same key as admin 1 (Bob) at line 5, so the roster cannot say which it means" ]] ||
  fail "two entries with one key: status $status: $(cat "$folder/.err")"

scenario="--apply of an admin with neither identifier nor admin group writes what the dialogue writes"
folder=$work/apply-bare
mkdir "$folder"
printf '[{"key": "Cy", "name": "Cy"}]' >"$folder/roster.json"
run_in "$folder" /dev/null --apply roster.json
printf '1\nCy\n3\n0\n2\n' >"$folder/answers"
python3 "$model" "$folder/answers" | cmp -s - "$folder/clients.txt" || fail "$(cat "$folder/clients.txt")"
tr -d '\r' <"$folder/.err" | grep -q -x -F 'velmora: warning: clients.txt: admin 1 (Cy): the entry has no STEAMID or IP address, so the server cannot recognise this admin' ||
  fail "no warning naming the file: $(cat "$folder/.err")"
# A changed entry is held to the rules as it then is: one that loses its address is warned of.
printf '[{"name": "Cy", "ip": "1.2.3.4"}]' >"$folder/addressed.json"
run_in "$folder" /dev/null --apply addressed.json
run_in "$folder" /dev/null --apply roster.json
tr -d '\r' <"$folder/.err" | grep -q -x -F 'velmora: warning: clients.txt: admin 1 (Cy): the entry has no STEAMID or IP address, so the server cannot recognise this admin' ||
  fail "no warning of the changed entry: $(cat "$folder/.err")"
# An admin that only a key names is named by it, also after an admin with a name.
printf '[{"name": "Ann", "ip": "10.0.0.1"}, {"key": "Bob", "ip": "10.0.0.2"}]' >"$folder/keyed.json"
run_in "$folder" /dev/null --apply keyed.json keyed.txt
run_in "$folder" /dev/null --list --json keyed.txt
python3 -c 'import json, sys; sys.exit([a["name"] for a in json.load(open(sys.argv[1]))] != ["Ann", "Bob"])' "$folder/.out" ||
  fail "an admin given by key alone has no name: $(cat "$folder/.out")"
# An admin the same run prunes shares no account with the one that takes its place.
printf '[{"name": "Old", "steam": "STEAM_0:0:5", "admin": "Serveradmin"}]' >"$folder/old.json"
printf '[{"name": "New", "steam": "STEAM_0:0:5", "admin": "Serveradmin"}]' >"$folder/new.json"
run_in "$folder" /dev/null --apply old.json pruned.txt
run_in "$folder" /dev/null --apply new.json --prune pruned.txt
[[ $status -eq 0 && ! -s $folder/.err && $(tr -d '\r' <"$folder/.out") == "pruned.txt: 1 added, 0 changed, 1 removed" ]] ||
  fail "an admin pruned in the same run is warned of: $(cat "$folder/.out" "$folder/.err")"
printf '[]' >"$folder/empty.json"
run_in "$folder" /dev/null --apply empty.json new.txt
run_in "$folder" /dev/null --check new.txt
[[ $status -eq 0 && $(tr -d '\r' <"$folder/.out") == "new.txt: 0 admins, 0 problems" ]] ||
  fail "an empty roster did not write the new file: $(cat "$folder/.out" "$folder/.err")"

scenario="--apply of groups: added, changed and taken out on several files, and --export's round trip"
folder=$work/groups
mkdir -p "$folder/one" "$folder/two" "$folder/hand"
roster 1 >"$folder/answers-one" && run_in "$folder/one" "$folder/answers-one"
roster 3 >"$folder/answers-two" && run_in "$folder/two" "$folder/answers-two"
printf '"c"\n{\n  "players"\n  {\n    "Cy" { "ip" "1.2.3.4" "groups" { "Admin" "Mod" } }\n  }\n  "groups"\n  {\n    "Admin"\n    {\n      // ours\n      "Mod" "a b"\n      "Mod" "c"\n    }\n  }\n}\n' >"$folder/hand/clients.txt"
for file in one two hand; do cp "$folder/$file/clients.txt" "$folder/$file-before"; done
# --export, given back to the same file, changes nothing, also with --prune.
run_in "$folder" /dev/null --export hand/clients.txt
cp "$folder/.out" "$folder/exported.json"
touch -d @946684800 "$folder/hand/clients.txt"
run_in "$folder" /dev/null --apply exported.json --prune hand/clients.txt
[[ $status -eq 0 && $(tr -d '\r' <"$folder/.out") == "hand/clients.txt: unchanged" && $(stat -c %Y "$folder/hand/clients.txt") -eq 946684800 ]] ||
  fail "the export's round trip: status $status: $(cat "$folder/.out" "$folder/.err")"
# A group added to every file, one changed from two lines to one.
printf '{"groups": [{"kind": "Admin", "name": "Mod", "flags": "a b c d"}, {"kind": "immunity", "name": "Vip", "flags": ""}]}' >"$folder/groups.json"
run_in "$folder" /dev/null --apply groups.json one/clients.txt two/clients.txt hand/clients.txt --dry-run
cp "$folder/.out" "$folder/dry"
run_in "$folder" /dev/null --apply groups.json one/clients.txt two/clients.txt hand/clients.txt --json
python3 - "$folder/.out" <<'PY' || fail "the JSON answer: $(cat "$folder/.out" "$folder/.err")"
import json, sys
files = json.load(open(sys.argv[1]))["files"]
mod, vip = {"kind": "Admin", "name": "Mod"}, {"kind": "Immunity", "name": "Vip"}
wanted = [([mod, vip], []), ([mod, vip], []), ([vip], [mod])]
sys.exit(any(f["groups_added"] != a or f["groups_changed"] != c or f["groups_removed"] != [] or not f["changed"]
             for f, (a, c) in zip(files, wanted)))
PY
for file in one two hand; do
  patch -s -o "$folder/patched" "$folder/$file-before" < <(awk -v f="$file/clients.txt" '/^--- / { on = $2 == f } on && !/^(would|[a-z]+\/clients.txt: )/' "$folder/dry") >/dev/null 2>&1 &&
    cmp -s "$folder/patched" "$folder/$file/clients.txt" || fail "$file: patch did not give the file"
  run_in "$folder/$file" /dev/null --check
  [[ $status -eq 0 ]] || fail "$file: --check: $(cat "$folder/$file/.out")"
done
python3 - "$folder/hand/clients.txt" <<'PY' || fail "the hand-made file: $(cat "$folder/hand/clients.txt")"
import sys
text = open(sys.argv[1], "rb").read().decode()
sys.exit(text != '"c"\n{\n  "players"\n  {\n    "Cy" { "ip" "1.2.3.4" "groups" { "Admin" "Mod" } }\n  }\n  "groups"\n  {\n    "Admin"\n    {\n      // ours\n      "Mod" "a b c d"\n    }\n    "Immunity"\n    {\n      "Vip"\t""\n    }\n  }\n}\n')
PY
# Pruning takes out the groups the roster leaves out, unless an admin still has one.
printf '{"groups": [{"kind": "Admin", "name": "Mod", "flags": "a b c d"}]}' >"$folder/mod.json"
cp "$folder/two/clients.txt" "$folder/two-kept"
run_in "$folder" /dev/null --apply mod.json --prune hand/clients.txt two/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.out") == "hand/clients.txt: 0 added, 0 changed, 0 removed; groups: 0 added, 0 changed, 1 removed" ]] &&
  tr -d '\r' <"$folder/.err" | grep -q -x -F 'velmora: cannot apply the roster to two/clients.txt: line 41: admin 1 (admin3) still has the "Admin" group "Level 2 Access", which the roster leaves out, so the group is not taken out' ||
  fail "pruning groups: status $status: $(cat "$folder/.out" "$folder/.err")"
cmp -s "$folder/two/clients.txt" "$folder/two-kept" || fail "a file with a group still in use changed"
run_in "$folder" /dev/null --groups --json hand/clients.txt
[[ $(tr -d '\r' <"$folder/.out") == '[{"kind":"Admin","name":"Mod","flags":"a b c d","line":12}]' ]] ||
  fail "the pruned file's groups: $(cat "$folder/.out")"
# The same of a group that an admin the roster changes comes to have.
printf '{"admins": [{"name": "Cy", "ip": "1.2.3.4", "admin": "Teamadmin"}], "groups": [{"kind": "Admin", "name": "Mod", "flags": "a b c d"}]}' >"$folder/moved.json"
printf '"c" { "players" { "Cy" { "ip" "1.2.3.4" "groups" { "Admin" "Mod" } } } "groups" { "Admin" { "Mod" "a b c d" "Teamadmin" "b" } } }' >"$folder/hand/clients.txt"
cp "$folder/hand/clients.txt" "$folder/hand-kept"
run_in "$folder" /dev/null --apply moved.json --prune hand/clients.txt
[[ $status -eq 1 && $(tr -d '\r' <"$folder/.err") == 'velmora: cannot apply the roster to hand/clients.txt: line 1: admin 1 (Cy) still has the "Admin" group "Teamadmin", which the roster leaves out, so the group is not taken out' ]] &&
  cmp -s "$folder/hand/clients.txt" "$folder/hand-kept" ||
  fail "a group a changed admin comes to have was taken out: status $status: $(cat "$folder/.err")"

scenario="listing a generated roster, in columns and in JSON"
folder=$work/remove-10-5
roster $(seq 1 10) >"$folder/all"
run_in "$folder" "$folder/all"
run_in "$folder" /dev/null --list
[[ $status -eq 0 && ! -s $folder/.err ]] || fail "status $status: $(cat "$folder/.err")"
tr -d '\r' <"$folder/.out" >"$work/listed.txt"
run_in "$folder" /dev/null --list --json
[[ $status -eq 0 && ! -s $folder/.err ]] || fail "--json: status $status: $(cat "$folder/.err")"
python3 - "$folder/all" "$work/listed.txt" "$folder/.out" <<'PY' || fail "$(cat "$work/listed.txt" "$folder/.out")"
import json
import re
import sys
answers, table = open(sys.argv[1]).read().split(), open(sys.argv[2]).read().splitlines()
listed = json.load(open(sys.argv[3], encoding="utf-8"))
groups = {"1": "Serveradmin", "2": "Clanmember", "3": "Teamadmin", "4": "Level 2 Access", "5": "No Rcon Or Sound"}
immunity = {"1": "Serveradmin", "2": "Clanmember", "3": "Teamadmin", "4": "No Kick Ban", "5": "NoFun"}
at, rows, expected = 1, [], []
while at < len(answers):
    name, method, identifier, group, wanted = answers[at:at + 5]
    at += 5
    kept = immunity[answers[at]] if wanted == "1" else None
    at += wanted == "1"
    rows.append([str(len(rows) + 1), name, identifier, groups[group], kept or "-"])
    steam = identifier if method == "1" else None
    account = "STEAM_0:%s:%d" % (steam[8], int(steam[10:])) if steam else None
    expected.append({"key": name, "name": name, "steam": steam,
                     "ip": identifier if method == "2" else None, "admin": groups[group],
                     "immunity": kept, "account": account})
cells = [re.split(r"  +", line) for line in table]
header = ["#", "name", "STEAMID or IP address", "admin group", "immunity group"]
lines = [entry.pop("line") for entry in listed]
sys.exit(0 if cells[0] == header and cells[1:] == rows and listed == expected
         and lines == sorted(set(lines)) else 1)
PY
run_in "$work/none" /dev/null --list absent.txt
[[ $status -eq 2 && $(tr -d '\r' <"$work/none/.err") == "velmora: cannot read absent.txt: No such file or directory" ]] ||
  fail "a missing file: status $status: $(cat "$work/none/.err")"

scenario="checking in JSON"
run_in "$folder" /dev/null --check --json
[[ $status -eq 0 ]] || fail "--check: status $status"
python3 -c 'import json, sys; report = json.load(open(sys.argv[1], encoding="utf-8")); sys.exit(report != {"file": "clients.txt", "admins": 10, "problems": []})' "$folder/.out" ||
  fail "--check: $(cat "$folder/.out")"
[[ $(tail -c 1 "$folder/.out" | od -An -tx1) == " 0a" ]] || fail "--check --json: no line end after the JSON"
printf '"c" {\n "players" {\n  "Bob" { "name" "Bob\\"\n  "ip" "1.2.3.4" }\n }\n' >"$work/flawed.txt"
run_in "$folder" /dev/null --check --json "$work/flawed.txt"
[[ $status -eq 2 ]] || fail "--check of a broken file: status $status"
python3 - "$folder/.out" <<'PY' || fail "--check of a broken file: $(cat "$folder/.out")"
import json
import sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
first, last = report["problems"][0], report["problems"][-1]
sys.exit(0 if report["admins"] is None and first["line"] == 3 and "backslash" in first["message"]
         and "column" in last and "column" not in first else 1)
PY
run_in "$folder" /dev/null --list --json "$work/absent.txt"
[[ $status -eq 2 && ! -s $folder/.out && -s $folder/.err ]] || fail "--list of a missing file: status $status"
for mode in --add "--remove Bob" ""; do
  run_in "$folder" /dev/null $mode --json
  [[ $status -eq 2 ]] || fail "--json with '$mode': status $status"
done

scenario="a file without quotes, as servers take it"
mkdir "$work/bare"
printf 'clients.txt\n{\n  players\n  {\n    Ann\n    {\n      name Ann\n      steam STEAM_0:1:1\n      groups { Admin Serveradmin }\n    }\n  }\n  groups { Admin { Serveradmin abc } Immunity { NoFun b } }\n}\n' >"$work/bare/clients.txt"
run_in "$work/bare" /dev/null --check
[[ $status -eq 0 && $(tr -d '\r' <"$work/bare/.out") == "clients.txt: 1 admin, 0 problems" ]] || fail "--check: $(cat "$work/bare/.out")"
run_in "$work/bare" /dev/null --list
[[ $(tr -d '\r' <"$work/bare/.out" | sed -n 2p) == "1  Ann   STEAM_0:1:1            Serveradmin  -" ]] || fail "--list: $(cat "$work/bare/.out")"
run_in "$work/bare" "$work/new-admin" --add
[[ $status -eq 0 && ! -s $work/bare/.err ]] || fail "--add: status $status: $(cat "$work/bare/.err")"
grep -q '^      "name"	"New"$' "$work/bare/clients.txt" || fail "--add: $(cat "$work/bare/clients.txt")"

scenario="--check exit statuses"
mkdir "$work/check"
printf '"c"\n{\n "players" { "Bob" { "groups" { } } }\n}\n' >"$work/check/flawed.txt"
printf '"c" {\n "players" {\n' >"$work/check/broken.txt"
for row in "clients.txt 0" "flawed.txt 1" "broken.txt 2" "missing.txt 2"; do
  read -r file expected <<<"$row"
  [[ $file == clients.txt ]] && cp "$work/plain/clients.txt" "$work/check/"
  run_in "$work/check" /dev/null --check "$file"
  [[ $status -eq $expected ]] || fail "$file: exit status $status, expected $expected"
done
run_in "$work/check" /dev/null --check=flawed.txt
tr -d '\r' <"$work/check/.out" >"$work/check/.out-lf"
grep -q -x 'flawed\.txt:3: admin 1 (Bob): the entry has no STEAMID or IP address, so the server cannot recognise this admin' \
  "$work/check/.out-lf" && [[ $(tail -1 "$work/check/.out-lf") == "flawed.txt: 1 admin, 2 problems" ]] ||
  fail "report: $(cat "$work/check/.out")"
[[ $(ls -A "$work/check" | grep -v '^\.' | tr '\n' ' ') == "broken.txt clients.txt flawed.txt " ]] ||
  fail "--check wrote a file"

exit "$failed"
