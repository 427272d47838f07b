#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that one kind of work needs; through sudo unless run
# as root.
#
#   scripts/install_packages.sh build   the program alone
#   scripts/install_packages.sh test    the program and every test (the dev workflow)
# CI installs these and what its further checks need itself, in .ci/run.
set -euo pipefail

build=(cmake make g++)
test=("${build[@]}" libgtest-dev googletest python3 util-linux strace file groff-base)

case ${1:-} in
  build) packages=("${build[@]}") ;;
  test) packages=("${test[@]}") ;;
  *)
    echo "usage: $0 build|test" >&2
    exit 2
    ;;
esac

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y "${packages[@]}"
