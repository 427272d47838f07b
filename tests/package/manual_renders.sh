#!/usr/bin/env bash
# The manual page must render without a single warning from groff.
#
#   manual_renders.sh MANUAL_PAGE
set -euo pipefail

warnings=$(groff -man -ww -z "$1" 2>&1)
if [[ -n $warnings ]]; then
  echo "FAIL: groff warns:" >&2
  echo "$warnings" >&2
  exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS" EXAMPLES "SEE ALSO"; do
  grep -q "^\.SH \"\?$section\"\?$" "$1" || { echo "FAIL: no $section section" >&2; exit 1; }
done
