#!/usr/bin/env bash
# The example playbook run for real by ansible-playbook against three hosts of an inventory
# that all use the local connection, each with its own server folder: the first run changes
# every file to hold the roster, the second changes nothing, and after one admin is edited in
# the roster the third changes exactly that admin in each file. Ansible keeps its own state
# in the folder given, under the build tree.
#
#   ansible_fleet.sh FOLDER PROGRAM
set -uo pipefail

work=$1
program=$2
example=$(cd "$(dirname "$0")/../../examples/ansible" && pwd)
command -v ansible-playbook >/dev/null ||
  { echo "ansible-playbook is missing: scripts/install_packages.sh test installs it" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work"
export ANSIBLE_HOME=$work/ansible ANSIBLE_LOCAL_TEMP=$work/ansible/tmp \
  ANSIBLE_REMOTE_TEMP=$work/ansible/remote ANSIBLE_STDOUT_CALLBACK=json ANSIBLE_NOCOLOR=1 \
  ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_CONFIG=$work/ansible.cfg
: >"$work/ansible.cfg"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

{
  echo "[game_servers]"
  for host in srv1 srv2 srv3; do
    mkdir -p "$work/$host/cfg"
    echo "$host ansible_connection=local ansible_python_interpreter=/usr/bin/python3 server_dir=$work/$host velmora=$program"
  done
} >"$work/inventory.ini"
# srv1 has a local admin of its own, srv2 an older entry for Bob, srv3 no clients.txt yet.
(cd "$work/srv1/cfg" && printf '1\nLocal\n2\n10.0.0.1\n3\n2\n' | "$program" >/dev/null 2>&1)
(cd "$work/srv2/cfg" && printf '1\nBob\n2\n10.0.0.2\n2\n2\n' | "$program" >/dev/null 2>&1)
cat >"$work/roster.json" <<'JSON'
[{"key": "Ann", "name": "Ann", "steam": "STEAM_0:1:1", "admin": "Serveradmin", "immunity": "NoFun"},
 {"key": "Bob", "name": "Bob", "ip": "10.0.0.2", "admin": "Teamadmin", "immunity": null}]
JSON

# Runs the playbook; prints each host's changed and failures counts.
play() {
  ansible-playbook -i "$work/inventory.ini" "$example/apply_roster.yml" -e "roster=$work/roster.json" \
    >"$work/play.json" 2>"$work/play.err"
  python3 -c 'import json, sys
stats = json.load(open(sys.argv[1]))["stats"]
for host in sorted(stats):
    print(host, stats[host]["changed"], stats[host]["failures"])' "$work/play.json" ||
    cat "$work/play.err" >&2
}

# Whether each host's clients.txt lists the roster's admins (and srv1 its local one too).
holds_roster() {
  for host in srv1 srv2 srv3; do
    (cd "$work/$host/cfg" && "$program" --list --json) >"$work/$host.json" || return 1
  done
  python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
wanted = [{k: a.get(k) for k in ("key", "name", "steam", "ip", "admin", "immunity")}
          for a in json.load(open(work + "/roster.json"))]
for host in ("srv1", "srv2", "srv3"):
    listed = [{k: a[k] for k in ("key", "name", "steam", "ip", "admin", "immunity")}
              for a in json.load(open("%s/%s.json" % (work, host)))]
    if host == "srv1":
        local, listed = listed[0], listed[1:]
        if local["key"] != "Local":
            sys.exit("srv1 lost its local admin")
    if sorted(listed, key=lambda a: a["key"]) != sorted(wanted, key=lambda a: a["key"]):
        sys.exit("%s holds %s" % (host, listed))
PY
}

counts=$(play)
[[ $counts == $'srv1 2 0\nsrv2 2 0\nsrv3 2 0' ]] || fail "first run: $counts"
holds_roster || fail "the first run did not give every file the roster"

touch -d @946684800 "$work"/srv*/cfg/clients.txt
cp -p "$work/srv1/cfg/clients.txt" "$work/srv1-before"
counts=$(play)
[[ $counts == $'srv1 0 0\nsrv2 0 0\nsrv3 0 0' ]] || fail "second run: $counts"
for host in srv1 srv2 srv3; do
  [[ $(stat -c %Y "$work/$host/cfg/clients.txt") -eq 946684800 ]] || fail "the second run rewrote $host"
done
cmp -s "$work/srv1/cfg/clients.txt" "$work/srv1-before" || fail "the second run changed srv1"

sed -i 's/"Teamadmin"/"Clanmember"/' "$work/roster.json"
counts=$(play)
[[ $counts == $'srv1 2 0\nsrv2 2 0\nsrv3 2 0' ]] || fail "third run: $counts"
holds_roster || fail "the third run did not give every file the edited roster"
diff <(tr -d '\r' <"$work/srv1-before") <(tr -d '\r' <"$work/srv1/cfg/clients.txt") >"$work/srv1.diff"
[[ $(grep -c '^[<>]' "$work/srv1.diff") -eq 2 ]] && grep -q '^>[[:space:]]*"Admin"	"Clanmember"$' "$work/srv1.diff" ||
  fail "the third run changed more than Bob's admin group: $(cat "$work/srv1.diff")"

[[ $failed -eq 0 ]] && rm -rf "$work"
exit "$failed"
