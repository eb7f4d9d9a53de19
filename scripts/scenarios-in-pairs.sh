#!/usr/bin/env bash
# Runs each desktop scenario ROUNDS times as two copies at once (two ctest
# processes side by side), as a loaded machine would: a scenario that passes
# here does not depend on having the machine to itself. Counts and lists what
# failed; nothing is retried.
#   scripts/scenarios-in-pairs.sh [BUILD_DIR] [ROUNDS] [REGEX]
#   (default build/dev, 6 rounds, every scenario)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
rounds="${2:-6}"
pattern="${3:-.}"

mapfile -t names < <(ctest --test-dir "$build" -N -L desktop | sed -n 's/^ *Test *#[0-9]*: \(desktop_[^ ]*\)$/\1/p' |
  grep -E -- "$pattern")
[ "${#names[@]}" -gt 0 ] || { echo "scenarios-in-pairs: no scenario matches '$pattern'" >&2; exit 2; }
logs=$(mktemp -d)
passed=0
failed=0
failures=()
for name in "${names[@]}"; do
  for round in $(seq "$rounds"); do
    for copy in a b; do
      ctest --test-dir "$build" -R "^$name\$" --output-on-failure >"$logs/$name-$round-$copy.log" 2>&1 &
    done
    for copy in a b; do
      if wait -n; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    done
    for copy in a b; do
      grep -q "tests passed, 0 tests failed" "$logs/$name-$round-$copy.log" ||
        failures+=("$logs/$name-$round-$copy.log")
    done
  done
  echo "$name: $((2 * rounds)) runs" >&2
done
echo "scenarios in pairs: ${#names[@]} scenarios, $((passed + failed)) runs"
for log in "${failures[@]}"; do echo "failed: $log"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
