#!/usr/bin/env bash
# Prepares Wine for the Windows tests: creates the project's own Wine prefix under build/ if
# there is none, then keeps its one wineserver running so that each test run starts in a tenth
# of a second. The server runs until `wineserver -k` ends it: one that quit on a timer could go
# while a long build runs, and the tests would then race a server that comes and goes. Only
# this prefix's server is restarted; any other Wine is left alone. Wine's
# background processes start with the first program and inherit its output, so that first
# program writes to /dev/null; otherwise a test reading a pipe would wait for them to exit.
#
#   scripts/start_wine.sh   (scripts/wine_environment.sh names the prefix and settings)
set -euo pipefail
source "$(dirname "$0")/wine_environment.sh"

if [[ ! -d $WINEPREFIX ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot --init </dev/null >/dev/null 2>&1
fi
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
