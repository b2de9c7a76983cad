#!/usr/bin/env bash
# Fuzzes every reader of the program in turn with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer (clang, in build-fuzz): town model with its
# landmark list, material library, directory, 3DS, BMP, JPEG, town.ini and
# the OpenStreetMap importer's extracts.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
# SECONDS per target (default 60); TARGETs as `build-fuzz/bin/fuzz_seeds
# --list` prints them (default all). The corpus grows in build-fuzz/corpus/;
# a crash, leak, hang (over 60 s: a shared machine starves niced runs) or
# memory blow-up (over 2 GB) stops the run of that target and leaves the
# input in build-fuzz/findings/. See
# fuzz/README.md for what to do with it. Not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/build-fuzzers.sh
dir=build-fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <("$dir/bin/fuzz_seeds" --list)
fi
"$dir/bin/fuzz_seeds" "$dir/seeds" "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t" "$dir/findings"
  echo "== fuzz_$t for $seconds s"
  seedDirs=("$dir/corpus/$t" "$dir/seeds/$t")
  [ -d "fuzz/findings/$t" ] && seedDirs+=("fuzz/findings/$t")
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=("-dict=fuzz/$t.dict")
  nice "$dir/bin/fuzz_$t" "${dict[@]}" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -max_len=262144 \
    -print_final_stats=1 -artifact_prefix="$dir/findings/$t-" "${seedDirs[@]}" 2>&1 \
    | tee "$dir/fuzz_$t.log" | grep -E '^(#[0-9]+ +(INITED|DONE)|stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' \
    || true
  if grep -qE 'Test unit written|==[0-9]+==ERROR' "$dir/fuzz_$t.log"; then
    echo "!! fuzz_$t found something: see $dir/fuzz_$t.log"
    status=1
  fi
done
exit $status
