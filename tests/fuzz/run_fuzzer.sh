#!/usr/bin/env bash
# Runs the fuzzer for a bounded time from the seed corpus, keeping what it finds in a
# scratch directory so that the repository's corpus stays as committed.
#
#   run_fuzzer.sh FUZZER SECONDS SEED_DIRECTORY...
set -euo pipefail

fuzzer=$1
seconds=$2
shift 2
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="${TMPDIR:-/tmp}/velmora-fuzz-" "$found" "$@"
