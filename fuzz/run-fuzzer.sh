#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for FUZZ_SECONDS
# (default 600) on a copy of the seed corpus. Findings (crash-*, leak-*,
# timeout-*) are left in build-fuzz/fuzz-work; each becomes a named file in
# tests/data/ with a test before it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS="${FUZZ_SECONDS:-600}"
# FUZZ_TARGET=sml fuzzes the SML reader on fuzz/corpus-sml instead.
FUZZ_TARGET="${FUZZ_TARGET:-decode}"
seeds=fuzz/corpus
[ "$FUZZ_TARGET" = sml ] && seeds=fuzz/corpus-sml
BUILD="${FUZZ_BUILD:-build-fuzz}"

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DBREVIX_FUZZ=ON -DBREVIX_BUILD_GUI=OFF \
  -DBREVIX_BUILD_BENCH=OFF -DBREVIX_BUILD_TESTS=ON
cmake --build "$BUILD" --target "fuzz_$FUZZ_TARGET" -j "${JOBS:-2}"

work="$BUILD/fuzz-work-$FUZZ_TARGET"
mkdir -p "$work/corpus"
cp -n "$seeds"/* "$work/corpus/"
cd "$work"  # decoding writes TECHV.TXT into the working directory
exec "../fuzz/fuzz_$FUZZ_TARGET" -max_total_time="$FUZZ_SECONDS" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=./ corpus
