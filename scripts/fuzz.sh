#!/usr/bin/env bash
# Builds the snapshot decoder's libFuzzer target with clang and runs it.
# Usage: scripts/fuzz.sh [seconds]   (default 60; not part of CI)
# The corpus grows in build/fuzz/corpus, seeded with tests/data; crashes land
# in build/fuzz as crash-* files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
out=build/fuzz
mkdir -p "$out/corpus"
cp -n tests/data/*.json "$out/corpus/" 2>/dev/null || true

sources=(src/snapshot/snapshot_decoding.cpp src/snapshot/snapshot_encoding.cpp
         src/snapshot/internet_date_time.cpp src/snapshot/uuid.cpp
         src/snapshot/widget_snapshot.cpp src/platform/clock.cpp src/platform/quoted_text.cpp)
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc "${sources[@]}" fuzz/snapshot_decode_fuzz.cpp \
  $(pkg-config --cflags --libs simdjson) -o "$out/snapshot_decode_fuzz"

"$out/snapshot_decode_fuzz" -max_total_time="$seconds" -max_len=65536 -dict=fuzz/snapshot.dict \
  -artifact_prefix="$out/" "$out/corpus"
