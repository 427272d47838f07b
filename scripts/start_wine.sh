#!/usr/bin/env bash
# Prepares Wine for the Windows tests: creates the prefix if there is none, then keeps one
# wineserver running so that each test run starts in a tenth of a second. Wine's background
# processes start with the first program and inherit its output, so that first program writes
# to /dev/null; otherwise a test reading a pipe would wait for them to exit.
set -euo pipefail
export WINEDEBUG=-all

if [[ ! -d ${WINEPREFIX:-$HOME/.wine} ]]; then
  wineboot --init </dev/null >/dev/null 2>&1
fi
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p 600
wine cmd /c exit </dev/null >/dev/null 2>&1
