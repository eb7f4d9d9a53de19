#!/usr/bin/env bash
# Builds the snapshot decoder's libFuzzer target (the fuzz preset: clang,
# KELPO_BUILD_FUZZERS) and runs it.
# Usage: scripts/fuzz.sh [seconds]   (default 60; not part of CI; needs clang-14)
# The corpus grows in build/fuzz/corpus, seeded with tests/data; crashes land
# in build/fuzz as crash-* files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
out=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target snapshot_decode_fuzz
mkdir -p "$out/corpus"
cp -n tests/data/*.json "$out/corpus/" 2>/dev/null || true

"$out/snapshot_decode_fuzz" -max_total_time="$seconds" -max_len=65536 -dict=fuzz/snapshot.dict \
  -artifact_prefix="$out/" "$out/corpus"
