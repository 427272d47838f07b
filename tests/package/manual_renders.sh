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

# At 80 columns, each example shows as a terminal shows it: every line whole, tabs at every
# eighth column from where the example begins.
rendered=$(mktemp)
trap 'rm -f "$rendered"' EXIT
groff -t -man -Tutf8 -rLL=80n -P-c -P-b -P-u "$1" 2>/dev/null | sed -n '/^EXAMPLES$/,/^SEE ALSO$/p' >"$rendered"
python3 - "$1" "$rendered" <<'PY'
import re, sys
source = open(sys.argv[1], encoding="utf-8").read()
rendered = [line.rstrip() for line in open(sys.argv[2], encoding="utf-8").read().split("\n")]
wide = [line for line in rendered if len(line) > 80]
if wide:
    sys.exit("FAIL: examples wider than 80 columns:\n" + "\n".join(wide))
for block in re.findall(r"^\.EX\n(.*?)^\.EE$", source, re.S | re.M):
    for line in block.split("\n"):
        if not line or line.startswith("."):
            continue
        for escape, plain in (("\\-", "-"), ("\\(aq", "'"), ("\\e", "\\")):
            line = line.replace(escape, plain)
        expected = line.expandtabs(8).rstrip()
        if not any(shown.endswith(expected) and not shown[:len(shown) - len(expected)].strip()
                   for shown in rendered):
            sys.exit("FAIL: the example line %r does not render as a terminal shows it" % line)
PY
