#!/usr/bin/env bash
# Reads a generated clients.txt of many admins in velmora's own layout (100,000 by default, and
# a tenth of that to show how the time grows) with velmora --check and --list --json, next to
# Python's vdf.load(escaped=False) (Debian's python3-vdf) and wc -l reading the same file, and
# applies to it with --apply --prune, and its --dry-run, a roster that changes a third of the
# admins, drops a tenth and adds one, in one run: each time is the best of three, with each
# command's peak memory. Then prints the ratios, the peaks' among them.
#
#   bench/large_roster.sh [PROGRAM] [ADMINS]     (default: build/release/velmora 100000)
# Needs GNU time (Debian package "time") and python3-vdf.
set -euo pipefail

program=$(realpath "${1:-build/release/velmora}")
admins=${2:-100000}
python=/usr/bin/python3  # Debian's, which python3-vdf is installed for
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/velmora-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# A file as velmora writes it: every admin sound, with its own name and Steam account, a third
# by IP address, every group on the menu in turn.
generate() {
  "$python" - "$1" "$2" <<'PY'
import sys
count, path = int(sys.argv[1]), sys.argv[2]
admin = ["Serveradmin", "Clanmember", "Teamadmin", "Level 2 Access", "No Rcon Or Sound"]
immunity = ["Serveradmin", "Clanmember", "Teamadmin", "No Kick Ban", "NoFun"]
separator = lambda group: "\t" if group in ("Serveradmin", "Clanmember", "Teamadmin") else "  "
lines = ['"clients.txt"', "{", '\t"version"\t"1"', "", "\t// This key group lists all your client players",
         '\t"players"', "\t{"]
for n in range(count):
    name = "admin%d" % n
    lines += ["\t\t// This must be a unique client name", '\t\t"%s"' % name, "\t\t{",
              "\t\t\t// Client real name", '\t\t\t"name"\t"%s"' % name]
    if n % 3 == 2:
        lines += ["\t\t\t// IP address for client", '\t\t\t"ip"\t"10.%d.%d.%d"' % (n >> 16 & 255, n >> 8 & 255, n & 255)]
    else:
        lines += ["\t\t\t// Steam ID for client", '\t\t\t"steam"\t"STEAM_0:%d:%d"' % (n % 2, 1000000 + n)]
    lines += ["\t\t\t// These are personal access flags for a player", '\t\t\t"groups"', "\t\t\t{"]
    group = admin[n % 5]
    lines.append('\t\t\t\t"Admin"%s"%s"' % (separator(group), group))
    if n % 2 == 0:
        lines.append('\t\t\t\t"Immunity"  "%s"' % immunity[n % 5])
    lines += ["\t\t\t}", "\t\t}"]
lines += ["\t}", "\t// These are global groups of flags that can be assigned to clients", '\t"groups"', "\t{",
          '\t\t"Immunity"', "\t\t{"]
lines += ['\t\t\t"%s"\t"a b c"' % group for group in immunity]
lines += ["\t\t}", '\t\t"Admin"', "\t\t{"]
lines += ['\t\t\t"%s"\t"a b c"' % group for group in admin]
lines += ["\t\t}", "\t}", "}"]
open(path, "wb").write("\r\n".join(lines).encode())
PY
}

# The roster of a file's admins as --list --json gives it, with a third of them given another
# admin group, every tenth left out, and one admin more.
changed_roster() {
  "$program" --list --json "$1" | "$python" -c '
import json, sys
admins = json.load(sys.stdin)
roster = []
for n, admin in enumerate(admins):
    if n % 10 == 9:
        continue
    if n % 3 == 0:
        admin["admin"] = "Clanmember" if admin["admin"] == "Teamadmin" else "Teamadmin"
    roster.append(admin)
roster.append({"name": "newcomer", "ip": "10.200.0.1", "admin": "Serveradmin"})
json.dump(roster, sys.stdout)'
}

# The best of three wall times of a command, in milliseconds, and its peak memory in KiB. The
# commands that change a file change target.txt, a fresh copy of $source each time.
source=large.txt
best_ms() {
  local best=
  for _ in 1 2 3; do
    cp "$source" target.txt
    local start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    local took=$((($(date +%s%N) - start) / 1000000))
    [[ -z $best || $took -lt $best ]] && best=$took
  done
  echo "$best"
}
peak_kib() {
  cp "$source" target.txt
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1 || true
  cat "$work/peak"
}
vdf_load() { "$python" -c 'import sys, vdf; vdf.load(open(sys.argv[1], encoding="utf-8"), escaped=False)' "$1"; }

small=$((admins / 10))
generate "$admins" large.txt
generate "$small" small.txt
changed_roster large.txt >roster.json
changed_roster small.txt >small-roster.json
size_kib=$(($(stat -c %s large.txt) / 1024))
printf 'clients.txt of %d admins: %d KiB\n\n' "$admins" "$size_kib"
printf '%-28s %10s %12s\n' command best_ms peak_KiB
declare -A ms peak
for name in wc check list_json vdf apply apply_dry_run; do
  case $name in
    wc) command=(wc -l large.txt) ;;
    check) command=("$program" --check large.txt) ;;
    list_json) command=("$program" --list --json large.txt) ;;
    vdf) command=(vdf_load large.txt) ;;
    apply) command=("$program" --apply roster.json --prune target.txt) ;;
    apply_dry_run) command=("$program" --apply roster.json --prune --dry-run target.txt) ;;
  esac
  ms[$name]=$(best_ms "${command[@]}")
  if [[ $name == vdf ]]; then
    peak[$name]=$(peak_kib "$python" -c 'import sys, vdf; vdf.load(open(sys.argv[1], encoding="utf-8"), escaped=False)' large.txt)
  else
    peak[$name]=$(peak_kib "${command[@]}")
  fi
  printf '%-28s %10d %12d\n' "$name" "${ms[$name]}" "${peak[$name]}"
done
small_ms=$(best_ms "$program" --check small.txt)
printf '%-28s %10d\n' "check, $small admins" "$small_ms"
source=small.txt
small_apply_ms=$(best_ms "$program" --apply small-roster.json --prune target.txt)
printf '%-28s %10d\n\n' "apply, $small admins" "$small_apply_ms"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }'; }
printf 'vdf.load / velmora --check:        %s times (goal: at least 10)\n' "$(ratio "${ms[vdf]}" "${ms[check]}")"
printf 'vdf.load / velmora --list --json:  %s times (goal: at least 5)\n' "$(ratio "${ms[vdf]}" "${ms[list_json]}")"
printf 'peak of --check / file size:       %s (goal: at most 3)\n' "$(ratio "${peak[check]}" "$size_kib")"
printf 'peak of vdf.load / file size:      %s\n' "$(ratio "${peak[vdf]}" "$size_kib")"
printf '%d admins / %d admins, --check:   %s times (goal: at most 15)\n' "$admins" "$small" "$(ratio "${ms[check]}" "$small_ms")"
printf '%s\n' "--apply --prune / --check:             $(ratio "${ms[apply]}" "${ms[check]}") times (goal: at most 3)"
printf '%s\n' "--apply --prune --dry-run / --check:   $(ratio "${ms[apply_dry_run]}" "${ms[check]}") times (goal: at most 3)"
printf '%d admins / %d admins, --apply:   %s times (goal: at most 15)\n' "$admins" "$small" "$(ratio "${ms[apply]}" "$small_apply_ms")"
ratio2() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }'; }
printf '%s\n' "peak of --apply --prune / --check:     $(ratio2 "${peak[apply]}" "${peak[check]}") (goal: at most 1.5)"
