#!/usr/bin/env bash
# Builds the packages of the committed HEAD twice, in two clones in different folders, at two
# different times, under different umasks, time zones and (when run as root) users, and
# compares every artefact byte for byte. Shows diffoscope's account of a difference when
# diffoscope is installed.
#
#   scripts/check_reproducible.sh [--built]
#
# --built takes the packages already built in this checkout (by the package and package-windows
# workflows, from HEAD with nothing changed, as CI builds them) as the first build, and builds
# only the second.
set -euo pipefail
cd "$(dirname "$0")/.."

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
first=$root/one/velmora
second=$root/another/much/longer/path/velmora-again
if [[ ${1:-} == --built ]]; then
  if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "FAIL: --built needs the packages of HEAD, and this checkout has changes" >&2
    exit 1
  fi
  first=$PWD
else
  git clone -q . "$first"
fi
git clone -q . "$second"

# Each build's own umask, time zone and locale; the packages of both platforms.
build() {
  local folder=$1 mask=$2 zone=$3
  shift 3
  (cd "$folder" && umask "$mask" && export TZ="$zone" LC_ALL=C.UTF-8 &&
    "$@" cmake --workflow --preset package >"$folder.log" 2>&1 &&
    "$@" cmake --workflow --preset package-windows >>"$folder.log" 2>&1) ||
    { tail -20 "$folder.log"; echo "FAIL: the build in $folder failed" >&2; exit 1; }
}

if [[ $first != "$PWD" ]]; then
  build "$first" 022 UTC
  sleep 2
fi
as_other_user=()
if [[ $(id -u) -eq 0 ]]; then
  chown -R nobody:nogroup "$second" && chmod 0755 "$root" "$root/another" "$root/another/much" \
    "$root/another/much/longer" "$root/another/much/longer/path"
  as_other_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$second")
fi
build "$second" 002 Pacific/Kiritimati "${as_other_user[@]}"

artefacts=(build/release/velmora build/release/portable/velmora build/windows/velmora.exe
  build/release/SHA256SUMS build/windows/SHA256SUMS)
for pattern in 'build/release/velmora_*.deb' 'build/release/velmora-*.tar.gz' 'build/windows/velmora-*.zip'; do
  artefacts+=("$(cd "$first" && compgen -G "$pattern")")
done
failed=0
for artefact in "${artefacts[@]}"; do
  if cmp "$first/$artefact" "$second/$artefact"; then
    echo "identical: $artefact"
  else
    failed=1
    echo "FAIL: $artefact differs between the two builds" >&2
    if command -v diffoscope >/dev/null; then
      diffoscope "$first/$artefact" "$second/$artefact" || true
    fi
  fi
done
cat "$first/build/release/SHA256SUMS" "$first/build/windows/SHA256SUMS"
exit "$failed"
