#!/usr/bin/env bash
# Installs what is missing, checks that every include points down the layers,
# builds and runs every test: first a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer; builds the fuzz programs
# (without running them). Tests that
# need neither OpenGL nor a window run without a display; the others run under
# Xvfb with Mesa's software renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-layers.sh

jobs=$(nproc)
# Compiler cache shared by every clone of the project on this machine.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Runs a command on a virtual display of its own. Xvfb picks a free display
# number itself, so parallel runs on one machine never share one. Without
# -noreset the server resets whenever its last client leaves, and a test
# connecting during that reset is refused.
with_display() {
  local numfile; numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$numfile" 2>/dev/null &
  local xpid=$!
  for _ in $(seq 1 100); do [ -s "$numfile" ] && break; sleep 0.1; done
  local status=0
  DISPLAY=":$(head -n1 "$numfile")" "$@" || status=$?
  kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null || true
  rm -f "$numfile"
  return $status
}

run_suite() {
  local dir=$1; shift
  echo "== configure and build $dir"
  cmake -S . -B "$dir" -G Ninja "$@" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs"
  echo "== $dir: tests without a display"
  (cd "$dir" && env -u DISPLAY -u WAYLAND_DISPLAY ctest -L pure -j "$jobs" --output-on-failure) | tee -a "$log"
  echo "== $dir: OpenGL and window tests under Xvfb"
  (cd "$dir" && with_display ctest -L gl -j "$jobs" --output-on-failure) | tee -a "$log"
}

mkdir -p build build-asan
run_suite build -DCMAKE_BUILD_TYPE=Release
echo "== build-fuzz: the fuzz programs, built only"
bash scripts/build-fuzzers.sh
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF

passed=0; failed=0
while read -r line; do
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<< "$line")
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/' <<< "$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
done < <(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log")
echo
echo "all: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
