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

# The presets (CMakePresets.json, version 6) need CMake 3.25. A newer CMake installed by hand
# (python3 -m pip install --user cmake, snap, a download) may sit in a folder that this shell
# does not search, or after an older one in PATH.
cmake_versions() {
  local user_base candidate
  user_base=$(python3 -m site --user-base 2>/dev/null || echo "$HOME/.local")
  for candidate in "$user_base/bin/cmake" "$HOME/.local/bin/cmake" /usr/local/bin/cmake \
    /snap/bin/cmake /opt/cmake/bin/cmake; do
    [[ -x $candidate ]] && echo "$($candidate --version | sed -n 's/^cmake version \([0-9.]*\).*/\1/p') $candidate"
  done | sort -u
}
new_enough() { printf '3.25\n%s\n' "$1" | sort -V -C; }
# Says where a CMake new enough was found, and what to put in PATH to use it.
name_usable_cmake() {
  local found version path
  while read -r version path; do
    if new_enough "$version"; then
      echo "CMake $version is installed as $path: put its folder first in PATH, for example with" >&2
      echo "  export PATH=\"$(dirname "$path"):\$PATH\"" >&2
      echo "(add that line to ~/.profile to keep it), or run it by that full path, and run this again." >&2
      return 0
    fi
  done < <(cmake_versions)
  return 1
}

if ! command -v cmake >/dev/null; then
  echo "$0: cmake is not in PATH." >&2
  name_usable_cmake ||
    echo "Install CMake 3.25 or newer (apt-get install cmake), and run this again." >&2
  exit 1
fi
version=$(cmake --version | sed -n 's/^cmake version \([0-9.]*\).*/\1/p')
if ! new_enough "$version"; then
  echo "$0: CMake $version ($(command -v cmake)) is too old: the presets need CMake 3.25 or newer." >&2
  if ! name_usable_cmake; then
    echo "Ubuntu 22.04 and Debian 11 ship older ones. Install a newer CMake, for example with" >&2
    echo "'python3 -m pip install --user cmake' or 'sudo snap install cmake --classic' (Ubuntu)," >&2
    echo "make sure it comes first in PATH (cmake --version), and run this again." >&2
  fi
  exit 1
fi
