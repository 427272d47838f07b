#!/usr/bin/env bash
# The .exe must carry the version information that Windows shows in its Properties.
#
#   check_version_resource.sh PROGRAM.exe VERSION
set -euo pipefail

program=$1
version=$2
headers=$(x86_64-w64-mingw32-objdump -p "$program")
if ! grep -q -E 'Entry 2 [0-9a-f]*[1-9a-f][0-9a-f]* [0-9a-f]+ Resource Directory' <<<"$headers"; then
  echo "FAIL: no resource section" >&2
  exit 1
fi
# The strings of a version resource are UTF-16.
strings=$(x86_64-w64-mingw32-objcopy -O binary --only-section=.rsrc "$program" /dev/stdout | strings -el)
for expected in ProductName velmora FileDescription FileVersion "$version" LegalCopyright \
  "Copyright (c) 2026 the velmora developers. MIT License." OriginalFilename velmora.exe; do
  grep -q -x -F "$expected" <<<"$strings" || { echo "FAIL: the resource lacks $expected" >&2; exit 1; }
done
