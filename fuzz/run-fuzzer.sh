#!/usr/bin/env bash
# Builds a libFuzzer target with clang (FUZZ_TARGET: fuzz_decode, the
# default, fuzz_hex_text, fuzz_capture or fuzz_sml) and runs it for FUZZ_SECONDS
# (default 600) on a copy of its seed corpus. Findings (crash-*, leak-*,
# timeout-*) are left in build-fuzz/fuzz-work; each becomes a named file in
# tests/data/ with a test before it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS="${FUZZ_SECONDS:-600}"
BUILD="${FUZZ_BUILD:-build-fuzz}"
TARGET="${FUZZ_TARGET:-fuzz_decode}"
seeds=fuzz/corpus
[ "$TARGET" != fuzz_decode ] && seeds="fuzz/corpus-${TARGET#fuzz_}"

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DBREVIX_FUZZ=ON -DBREVIX_BUILD_GUI=OFF \
  -DBREVIX_BUILD_BENCH=OFF -DBREVIX_BUILD_TESTS=ON
cmake --build "$BUILD" --target "$TARGET" -j "${JOBS:-2}"

bin="$(cd "$BUILD/fuzz" && pwd)/$TARGET"
work="$BUILD/fuzz-work/$TARGET"
mkdir -p "$work/corpus"
cp -n "$seeds"/* "$work/corpus/"
cd "$work"  # crash artifacts land here
exec "$bin" -max_total_time="$FUZZ_SECONDS" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=./ corpus
