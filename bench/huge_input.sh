#!/usr/bin/env bash
# Feeds velmora 256 MiB of white space before the first answer (blanks only, and all six
# white-space characters mixed), and a single 256 MiB word as the first name, and prints its wall time and peak memory next to `wc -l` reading the same
# input, from a file and through a pipe. Each time is the median of nine runs.
#
#   bench/huge_input.sh [PROGRAM]     (default: build/release/velmora)
# Needs GNU time (Debian package "time") for the peak memory.
set -euo pipefail

program=$(realpath "${1:-build/release/velmora}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

size=$((256 * 1024 * 1024))
{ head -c "$size" /dev/zero | tr '\0' ' '; printf '1\nAnn\n3\n2\n'; } >blanks.in
# All six white-space characters, over and over (yes ends by SIGPIPE, which is expected).
{ yes $' \t\r\v\f' | head -c "$size" || true; printf '1\nAnn\n3\n2\n'; } >mixed-white.in
{ printf '1\n'; head -c "$size" /dev/zero | tr '\0' 'w'; printf '\n3\n2\n'; } >long-word.in

milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# Prints the median wall time in milliseconds of nine runs of: command <input
median_ms() {
  local input=$1 via=$2
  shift 2
  local times=() start
  for _ in 1 2 3 4 5 6 7 8 9; do
    start=$(milliseconds)
    # The answers after the huge run are not all sound; their warnings are not measured.
    if [[ $via == pipe ]]; then
      cat "$input" | "$@" >/dev/null 2>&1
    else
      "$@" <"$input" >/dev/null 2>&1
    fi
    times+=($(($(milliseconds) - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 5p
}

peak_kib() {
  local input=$1
  shift
  /usr/bin/time -f '%M' -o "$work/peak" "$@" <"$input" >/dev/null 2>&1
  cat "$work/peak"
}

printf '%-11s %-5s %12s %12s %8s %16s %16s\n' input via velmora_ms wc_l_ms ratio velmora_peak_KiB wc_l_peak_KiB
for input in blanks.in mixed-white.in long-word.in; do
  for via in file pipe; do
    ours=$(median_ms "$input" "$via" "$program")
    theirs=$(median_ms "$input" "$via" wc -l)
    printf '%-11s %-5s %12d %12d %8s %16d %16d\n' "${input%.in}" "$via" "$ours" "$theirs" \
      "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')" \
      "$(peak_kib "$input" "$program")" "$(peak_kib "$input" wc -l)"
  done
done
