#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that one kind of work needs; through sudo unless run
# as root.
#
#   scripts/install_packages.sh build   the program alone
#   scripts/install_packages.sh test    the program and every test (the dev workflow)
#   scripts/install_packages.sh ci      everything CI runs: checks, packages, Windows build
set -euo pipefail

build=(cmake make g++)
test=("${build[@]}" libgtest-dev googletest python3 util-linux strace file groff-base)
ci=("${test[@]}" ca-certificates time hyperfine clang libclang-rt-14-dev clang-tidy clang-format
  cppcheck dpkg-dev lintian g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64)

case ${1:-} in
  build) packages=("${build[@]}") ;;
  test) packages=("${test[@]}") ;;
  ci) packages=("${ci[@]}") ;;
  *)
    echo "usage: $0 build|test|ci" >&2
    exit 2
    ;;
esac

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y "${packages[@]}"
