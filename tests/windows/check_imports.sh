#!/usr/bin/env bash
# Fails unless the .exe imports only DLLs that every Windows installation has.
#
#   check_imports.sh PROGRAM.exe
set -euo pipefail

imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
echo "imports:" $imports
[[ -n $imports ]] || { echo "no imports found" >&2; exit 1; }
unexpected=$(grep -v -i -x -E 'kernel32\.dll|msvcrt\.dll|user32\.dll|advapi32\.dll|ucrtbase\.dll|api-ms-win-.*\.dll' <<<"$imports" || true)
if [[ -n $unexpected ]]; then
  echo "imports non-system DLLs:" $unexpected >&2
  exit 1
fi
