#!/usr/bin/env bash
# Times a scripted ten-admin run that replaces an existing clients.txt, for each program
# given, with hyperfine (Debian package "hyperfine"): mean, standard deviation and range
# over many runs, in a temporary folder (BENCH_DIR, by default TMPDIR or /tmp).
#
#   bench/ten_admin_run.sh [PROGRAM...]     (default: build/release/velmora)
set -euo pipefail

programs=()
for program in "${@:-build/release/velmora}"; do
  programs+=("$(realpath "$program")")
done
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/velmora-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

{
  echo 10
  for p in $(seq 1 10); do
    printf 'admin%d\n1\nSTEAM_0:1:%d\n%d\n1\n%d\n' "$p" "$((p * 1111))" "$((p % 5 + 1))" "$((p % 5 + 1))"
  done
} >answers
printf 'old\r\n' >clients.txt

commands=()
for program in "${programs[@]}"; do
  commands+=("'$program' <answers >/dev/null")
done
hyperfine --warmup 20 --runs 500 --style basic "${commands[@]}"
