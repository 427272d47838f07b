#!/usr/bin/env bash
# The manual page must render without a single warning from groff, and name the project's
# version.
#
#   manual_renders.sh MANUAL_PAGE VERSION
set -euo pipefail

warnings=$(groff -t -man -ww -z "$1" 2>&1)
if [[ -n $warnings ]]; then
  echo "FAIL: groff warns:" >&2
  echo "$warnings" >&2
  exit 1
fi
grep -q "^\.TH VELMORA 1 \"[^\"]*\" \"velmora ${2//./\\.}\"" "$1" ||
  { echo "FAIL: the manual does not name version $2: $(grep '^\.TH' "$1")" >&2; exit 1; }
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS" EXAMPLES "SEE ALSO"; do
  grep -q "^\.SH \"\?$section\"\?$" "$1" || { echo "FAIL: no $section section" >&2; exit 1; }
done
