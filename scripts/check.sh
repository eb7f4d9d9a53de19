#!/usr/bin/env bash
# The quick lane while working: the formatting and clang-tidy on the C++
# files changed since the main branch (and not yet committed), the strict
# build, and the unit tests, without the desktop scenarios or the install
# tests. The whole suite is scripts/test.sh.
# Usage: scripts/check.sh [BASE]   (default: main)
set -euo pipefail
cd "$(dirname "$0")/.."
base="${1:-main}"

changed=()
while IFS= read -r file; do
  [ -f "$file" ] && changed+=("$file")
done < <({ git diff --name-only "$base" -- '*.cpp' '*.h'; git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | sort -u)

if [ "${#changed[@]}" -gt 0 ]; then
  clang-format --dry-run -Werror "${changed[@]}"
fi

cmake --preset strict >/dev/null
cmake --build --preset strict

# clang-tidy reads the strict build's compile commands; headers are checked
# through the sources that include them.
sources=()
for file in "${changed[@]}"; do
  case "$file" in *.cpp) sources+=("$file") ;; esac
done
if [ "${#sources[@]}" -gt 0 ]; then
  clang-tidy -p build/strict --quiet --warnings-as-errors='*' "${sources[@]}"
fi

ctest --preset unit -j2
