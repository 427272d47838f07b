#!/usr/bin/env bash
# The .exe must ask Windows for address-space layout randomisation over the whole 64-bit
# range and for data execution prevention, and carry no build time.
#
#   check_pe_hardening.sh PROGRAM.exe
set -euo pipefail

headers=$(x86_64-w64-mingw32-objdump -p "$1")
failed=0
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -q -x -E "\s+$flag" <<<"$headers" || { echo "FAIL: DllCharacteristics lacks $flag" >&2; failed=1; }
done
grep -q -E '^Time/Date\s+Thu Jan  1 00:00:00 1970$' <<<"$headers" ||
  { echo "FAIL: the header carries a time: $(grep '^Time/Date' <<<"$headers")" >&2; failed=1; }
exit "$failed"
