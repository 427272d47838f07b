#!/usr/bin/env bash
# The tarball's program must be statically linked (as a static PIE when hardened), so that it
# starts on any x86-64 Linux whatever its C library, and must answer the options like the
# .deb's.
#
#   portable_binary.sh PROGRAM
set -euo pipefail

description=$(file -b "$1")
if ! grep -q -E "statically linked|static-pie linked" <<<"$description"; then
  echo "FAIL: not statically linked: $description" >&2
  exit 1
fi
exec bash "$(dirname "$0")/../e2e/options.sh" posix "$1"
