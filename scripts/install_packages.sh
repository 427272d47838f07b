#!/usr/bin/env bash
# Installs the Debian or Ubuntu packages that one kind of work needs, when any is missing:
# as root, or through sudo. With every package there it installs nothing and needs no root.
# Then it checks that CMake is new enough for the presets.
#
#   scripts/install_packages.sh build   the program alone
#   scripts/install_packages.sh test    the program and every test (the dev workflow)
# CI installs these and what its further checks need itself, in .ci/run.
set -euo pipefail

build=(cmake make g++ nlohmann-json3-dev)
test=("${build[@]}" libgtest-dev googletest python3 util-linux strace file groff-base patch ansible-core)

case ${1:-} in
  build) packages=("${build[@]}") ;;
  test) packages=("${test[@]}") ;;
  *)
    echo "usage: $0 build|test" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ $status == installed ]] || missing+=("$package")
done

if [[ ${#missing[@]} -gt 0 ]]; then
  if [[ $(id -u) -eq 0 ]]; then
    as_root=()
  elif command -v sudo >/dev/null; then
    as_root=(sudo)
  else
    echo "$0: missing packages: ${missing[*]}; run as root: apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-upgrade "${missing[@]}"
fi

# The presets (CMakePresets.json, version 6) need CMake 3.25.
version=$(cmake --version | sed -n 's/^cmake version \([0-9.]*\).*/\1/p')
if ! printf '3.25\n%s\n' "$version" | sort -V -C; then
  echo "$0: CMake $version is too old: the presets need CMake 3.25 or newer." >&2
  echo "Ubuntu 22.04 and Debian 11 ship older ones. Install a newer CMake, for example with" >&2
  echo "'python3 -m pip install --user cmake' or 'sudo snap install cmake --classic' (Ubuntu)," >&2
  echo "make sure it comes first in PATH (cmake --version), and run this again." >&2
  exit 1
fi
