#!/usr/bin/env bash
# Sets everything up, then builds and runs the whole test suite twice: once
# optimised, once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev -j2

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j2
