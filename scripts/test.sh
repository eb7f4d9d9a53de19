#!/usr/bin/env bash
# Sets everything up, checks the formatting, then builds and runs the whole
# test suite twice: once optimised with the strict warnings (the dev build's
# flags plus -Wshadow -Wconversion, warnings as errors), once under
# AddressSanitizer + UndefinedBehaviorSanitizer. A test that fails fails the
# run: nothing is retried.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh tests

git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

cmake --preset strict >/dev/null
cmake --build --preset strict
ctest --preset strict -j2

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j2
