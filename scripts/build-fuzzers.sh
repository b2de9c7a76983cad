#!/usr/bin/env bash
# Builds the readers' libFuzzer programs and fuzz_seeds with clang in
# build-fuzz (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer's
# coverage), without running them. scripts/fuzz.sh runs them; CI
# (scripts/test.sh) builds them so that they cannot stop building unseen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
dir=build-fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
    -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF > /dev/null
fi
cmake --build "$dir" -j "$(nproc)" --target fuzzers
