#!/usr/bin/env bash
# Static checks, all of which must be clean: formatting, clang-tidy and cppcheck over the
# program's sources. Uses the compile commands of the dev build, configuring it if needed.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.hpp' 'tests/*.cpp' 'tests/*.hpp')
clang-format --dry-run -Werror "${sources[@]}"
echo "clang-format: clean"

[[ -f build/dev/compile_commands.json ]] || cmake --preset dev >/dev/null
# Windows files (its half of the platform floor, its entry) are checked where they are built
# for, not here.
mapfile -t program < <(git ls-files 'src/*.cpp' | grep -v -e '_windows\.cpp$' -e '^src/platform/windows/')
# One clang-tidy per core: each file is checked on its own, and any finding fails the whole.
printf '%s\0' "${program[@]}" | xargs -0 -n 4 -P "$(nproc)" clang-tidy --quiet -p build/dev
echo "clang-tidy: clean"

cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ \
  --enable=warning,style,performance,portability --inline-suppr \
  --suppress=missingIncludeSystem --suppress=unusedFunction \
  -I src src
echo "cppcheck: clean"
