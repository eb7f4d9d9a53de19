#!/usr/bin/env bash
# Builds the snapshot decoder's libFuzzer target (the fuzz preset: clang,
# KELPO_BUILD_FUZZERS) and runs it.
# Usage: scripts/fuzz.sh [seconds]   (default 60; not part of CI; needs clang
# with libFuzzer: Debian's clang package, or any clang++-N on the PATH)
# The corpus grows in build/fuzz/corpus, seeded with tests/data; crashes land
# in build/fuzz as crash-* files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
out=build/fuzz
# The unversioned clang++ when there is one, else the newest versioned one.
compiler=$(command -v clang++ || compgen -c clang++- | sort -t- -k2 -n | tail -n 1)
if [ -z "$compiler" ]; then
  echo "fuzz: no clang++ found (apt-get install clang)" >&2
  exit 2
fi
cmake --preset fuzz -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build --preset fuzz --target snapshot_decode_fuzz
mkdir -p "$out/corpus"
cp -n tests/data/*.json "$out/corpus/" 2>/dev/null || true

"$out/snapshot_decode_fuzz" -max_total_time="$seconds" -max_len=65536 -dict=fuzz/snapshot.dict \
  -artifact_prefix="$out/" "$out/corpus"
