#!/usr/bin/env bash
# The velmora.fleet collection, built and installed from this checkout as a user would, and the
# example playbook run for real by ansible-playbook against three hosts of an inventory that all
# use the local connection, each with its own server folder: --check --diff shows every host's
# change and moves nothing; the real run gives every file the roster; a second run changes
# nothing; an edited roster changes exactly that admin; prune takes out a local admin; backup
# keeps the old bytes; a refused roster fails every host and touches no file; groups are added,
# changed and pruned without touching the admins; roster_info reads the admins and groups
# back; and ansible-doc renders both modules, whose documented options are the ones they
# accept. Ansible keeps its own state in the folder given, under the build tree.
#
#   ansible_fleet.sh FOLDER PROGRAM VERSION
set -uo pipefail

work=$1
program=$2
version=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
example=$source_dir/examples/ansible
command -v ansible-playbook >/dev/null ||
  { echo "ansible-playbook is missing: scripts/install_packages.sh test installs it" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work"
export ANSIBLE_HOME=$work/ansible ANSIBLE_LOCAL_TEMP=$work/ansible/tmp \
  ANSIBLE_REMOTE_TEMP=$work/ansible/remote ANSIBLE_STDOUT_CALLBACK=json ANSIBLE_NOCOLOR=1 \
  ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_CONFIG=$work/ansible.cfg \
  ANSIBLE_COLLECTIONS_PATH=$work/collections
: >"$work/ansible.cfg"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# The collection, as its README says to build and install it.
ansible-galaxy collection build "$source_dir/ansible/fleet" --output-path "$work/dist" \
  >"$work/galaxy.out" 2>&1 &&
  ansible-galaxy collection install "$work/dist/velmora-fleet-$version.tar.gz" \
    -p "$work/collections" >>"$work/galaxy.out" 2>&1 ||
  { cat "$work/galaxy.out" >&2; echo "FAIL: the collection did not build and install as $version" >&2; exit 1; }
for module in roster roster_info; do
  ansible-doc "velmora.fleet.$module" >"$work/doc.out" 2>"$work/doc.err" && [[ ! -s $work/doc.err ]] &&
    grep -q "VELMORA.FLEET.${module^^}" "$work/doc.out" ||
    fail "ansible-doc velmora.fleet.$module: $(cat "$work/doc.err")"
done
/usr/bin/python3 "$source_dir/tests/e2e/module_docs.py" \
  "$work/collections/ansible_collections/velmora/fleet/plugins/modules"/*.py ||
  fail "a module's documented options are not those its ARGUMENT_SPEC accepts"

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

# Runs the playbook with the options given; prints each host's changed and failures counts.
play() {
  ansible-playbook -i "$work/inventory.ini" "$example/apply_roster.yml" -e "roster=$work/roster.json" \
    "$@" >"$work/play.json" 2>"$work/play.err"
  python3 -c 'import json, sys
stats = json.load(open(sys.argv[1]))["stats"]
for host in sorted(stats):
    print(host, stats[host]["changed"], stats[host]["failures"])' "$work/play.json" ||
    cat "$work/play.err" >&2
}

# The task's result on each host, as JSON: "HOST KEY" prints that member of it.
result() {
  python3 -c 'import json, sys
tasks = json.load(open(sys.argv[1]))["plays"][0]["tasks"]
print(json.dumps(tasks[-1]["hosts"][sys.argv[2]].get(sys.argv[3])))' "$work/play.json" "$1" "$2"
}

# Whether each host's clients.txt lists the roster's admins (and srv1 its local one too, unless
# it was pruned).
holds_roster() {
  local local_admin=${1:-Local} admins=${2:-$work/roster.json}
  for host in srv1 srv2 srv3; do
    (cd "$work/$host/cfg" && "$program" --list --json) >"$work/$host.json" || return 1
  done
  python3 - "$work" "$local_admin" "$admins" <<'PY'
import json, sys
work, local, admins = sys.argv[1:]
wanted = [{k: a.get(k) for k in ("key", "name", "steam", "ip", "admin", "immunity")}
          for a in json.load(open(admins))]
for host in ("srv1", "srv2", "srv3"):
    listed = [{k: a[k] for k in ("key", "name", "steam", "ip", "admin", "immunity")}
              for a in json.load(open("%s/%s.json" % (work, host)))]
    if host == "srv1" and local != "none":
        first, listed = listed[0], listed[1:]
        if first["key"] != local:
            sys.exit("srv1 lost its local admin")
    if sorted(listed, key=lambda a: a["key"]) != sorted(wanted, key=lambda a: a["key"]):
        sys.exit("%s holds %s" % (host, listed))
PY
}

# Each host's file: its bytes and modification time, to hold what a run must not move.
snapshot() {
  for host in srv1 srv2 srv3; do
    local file=$work/$host/cfg/clients.txt
    if [[ -e $file ]]; then
      stat -c '%Y' "$file"
      sha256sum <"$file"
    else
      echo "$host: no file"
    fi
  done
}

before=$(snapshot)
counts=$(play --check --diff)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' ]] || fail "check mode: $counts"
[[ $(snapshot) == "$before" ]] || fail "check mode moved a file"
[[ $(result srv1 added) == '["Ann", "Bob"]' && $(result srv2 changed_admins) == '["Bob"]' ]] ||
  fail "check mode: srv1 $(result srv1 added), srv2 $(result srv2 changed_admins)"
result srv2 diff | python3 -c 'import json, sys
diff = json.load(sys.stdin)["prepared"]
sys.exit(0 if "-\t\t\t\t\"Admin\"\t\"Clanmember\"\r\n+\t\t\t\t\"Admin\"\t\"Teamadmin\"\r\n" in diff else 1)' ||
  fail "check mode: srv2 shows no diff of Bob's group: $(result srv2 diff)"

counts=$(play --diff)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' ]] || fail "first run: $counts"
holds_roster || fail "the first run did not give every file the roster"
result srv3 diff | python3 -c 'import json, sys
diff = json.load(sys.stdin)
sys.exit(0 if diff["before"] == "" and "\"Ann\"" in diff["after"] else 1)' ||
  fail "first run: srv3 shows no diff: $(result srv3 diff)"
# A file that was there shows as it was, so that the diff holds only the lines that changed.
result srv2 diff | python3 -c 'import json, sys
diff = json.load(sys.stdin)
sys.exit(0 if "\"Admin\"\t\"Clanmember\"" in diff["before"] and "\"Ann\"" not in diff["before"] else 1)' ||
  fail "first run: srv2 shows a diff from an empty file: $(result srv2 diff)"

touch -d @946684800 "$work"/srv*/cfg/clients.txt
cp -p "$work/srv1/cfg/clients.txt" "$work/srv1-before"
before=$(snapshot)
counts=$(play)
[[ $counts == $'srv1 0 0\nsrv2 0 0\nsrv3 0 0' ]] || fail "second run: $counts"
[[ $(snapshot) == "$before" ]] || fail "the second run moved a file"

sed -i 's/"Teamadmin"/"Clanmember"/' "$work/roster.json"
counts=$(play -e backup=true)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' ]] || fail "third run: $counts"
holds_roster || fail "the third run did not give every file the edited roster"
diff <(tr -d '\r' <"$work/srv1-before") <(tr -d '\r' <"$work/srv1/cfg/clients.txt") >"$work/srv1.diff"
[[ $(grep -c '^[<>]' "$work/srv1.diff") -eq 2 ]] && grep -q '^>[[:space:]]*"Admin"	"Clanmember"$' "$work/srv1.diff" ||
  fail "the third run changed more than Bob's admin group: $(cat "$work/srv1.diff")"
backup=$(result srv1 backup_file | python3 -c 'import json, sys; print(json.load(sys.stdin) or "")')
[[ -n $backup && $backup == "$work/srv1/cfg/clients.txt."* ]] && cmp -s "$backup" "$work/srv1-before" ||
  fail "backup: $backup does not hold the old bytes"

counts=$(play -e prune=true)
[[ $counts == $'srv1 1 0\nsrv2 0 0\nsrv3 0 0' ]] || fail "prune: $counts"
[[ $(result srv1 removed) == '["Local"]' ]] || fail "prune removed $(result srv1 removed)"
holds_roster none || fail "prune did not leave every file the roster alone"

cp "$work/roster.json" "$work/good-roster.json"
printf '[{"name": "Eve", "ip": "10.0.0.5", "admin": "Moderator"}]' >"$work/roster.json"
before=$(snapshot)
counts=$(play)
[[ $counts == $'srv1 0 1\nsrv2 0 1\nsrv3 0 1' ]] || fail "a refused roster: $counts"
[[ $(result srv2 msg) == *'velmora: cannot use the roster on standard input: admin 1 (Eve): \"Admin\" group \"Moderator\" is defined in none of the files'* ]] ||
  fail "a refused roster: the message is $(result srv2 msg)"
[[ $(snapshot) == "$before" ]] || fail "a refused roster moved a file"

# A file velmora cannot parse fails its host with velmora's own message about that file.
cp "$work/good-roster.json" "$work/roster.json"
cp "$work/srv3/cfg/clients.txt" "$work/srv3-kept"
printf '"c" {\n "players" {\n  "Ann" "\n' >"$work/srv3/cfg/clients.txt"
counts=$(play)
[[ $counts == $'srv1 0 0\nsrv2 0 0\nsrv3 0 1' && $(result srv3 msg) == *'cannot apply the roster to '*'srv3/cfg/clients.txt: line 3: this quote is never closed'* ]] ||
  fail "a file that cannot be parsed: $counts, $(result srv3 msg)"
cp "$work/srv3-kept" "$work/srv3/cfg/clients.txt"

# Groups on the same hosts: one added everywhere and one's flags changed, previewed first; a
# roster without admins leaves them as they are, also with prune, which takes out the groups
# the roster leaves out.
printf '{"groups": [{"kind": "Admin", "name": "Moderator", "flags": "b c k"}, {"kind": "Admin", "name": "Clanmember", "flags": "a b"}]}' >"$work/roster.json"
before=$(snapshot)
counts=$(play --check --diff)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' && $(snapshot) == "$before" ]] || fail "groups in check mode: $counts"
[[ $(result srv1 groups_added) == '[{"kind": "Admin", "name": "Moderator"}]' &&
   $(result srv1 groups_changed) == '[{"kind": "Admin", "name": "Clanmember"}]' ]] ||
  fail "groups in check mode: $(result srv1 groups_added) $(result srv1 groups_changed)"
result srv3 diff | python3 -c 'import json, sys
diff = json.load(sys.stdin)["prepared"]
sys.exit(0 if "+\t\t\t\"Moderator\"\t\"b c k\"\r\n" in diff and "+\t\t\t\"Clanmember\"   \"a b\"\r\n" in diff else 1)' ||
  fail "groups in check mode: srv3 shows no diff of the groups: $(result srv3 diff)"
counts=$(play)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' ]] || fail "groups: $counts"
holds_roster none "$work/good-roster.json" || fail "a roster of groups alone changed the admins"
(cd "$work/srv1/cfg" && "$program" --groups --json) |
  python3 -c 'import json, sys
groups = [g for g in json.load(sys.stdin) if g["name"] != "No Kick Ban"]
print(json.dumps({"groups": groups}))' >"$work/roster.json"
counts=$(play -e prune=true)
[[ $counts == $'srv1 1 0\nsrv2 1 0\nsrv3 1 0' && $(result srv2 groups_removed) == '[{"kind": "Immunity", "name": "No Kick Ban"}]' ]] ||
  fail "pruning groups: $counts, $(result srv2 groups_removed)"
holds_roster none "$work/good-roster.json" || fail "pruning groups changed the admins"

# roster_info reads back what roster wrote, in the form roster takes.
cat >"$work/info.yml" <<'YAML'
- hosts: srv2
  gather_facts: false
  tasks:
    - velmora.fleet.roster_info:
        path: "{{ server_dir }}/cfg/clients.txt"
        executable: "{{ velmora }}"
YAML
ansible-playbook -i "$work/inventory.ini" "$work/info.yml" --check >"$work/play.json" 2>"$work/play.err"
python3 - "$work/play.json" "$work/good-roster.json" "$work/roster.json" <<'PY' || fail "roster_info: $(cat "$work/play.json" "$work/play.err")"
import json, sys
result = json.load(open(sys.argv[1]))["plays"][0]["tasks"][0]["hosts"]["srv2"]
keys = ("key", "name", "steam", "ip", "admin", "immunity")
listed = [{k: a[k] for k in keys} for a in result["admins"]]
wanted = [{k: a.get(k) for k in keys} for a in json.load(open(sys.argv[2]))]
groups = [{k: g[k] for k in ("kind", "name", "flags")} for g in result["groups"]]
wanted_groups = [{k: g[k] for k in ("kind", "name", "flags")} for g in json.load(open(sys.argv[3]))["groups"]]
sys.exit(0 if not result["changed"] and sorted(listed, key=str) == sorted(wanted, key=str)
         and groups == wanted_groups else 1)
PY

[[ $failed -eq 0 ]] && rm -rf "$work"
exit "$failed"
