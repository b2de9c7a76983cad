#!/usr/bin/env bash
# Installs what is missing, builds the program with its demo town and runs it:
# on the town in FOLDER when one is named (bash scripts/run.sh FOLDER), else on
# the demo town. With a display the program simply runs. Without one it runs
# under Xvfb until the main window shows the town, saves a screenshot and ends.
set -euo pipefail
# The folder is named from where the script was started.
town=()
if [ $# -gt 0 ]; then town=("$(realpath -m -- "$1")"); fi
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
mkdir -p build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release > build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
cmake --build build -j "$(nproc)" --target app

if [ -n "${DISPLAY:-}" ]; then
  exec build/bin/quorvel "${town[@]}"
fi

shot=${QUORVEL_SCREENSHOT:-$PWD/build/quorvel-screenshot.png}
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/headless-run.sh build/bin/quorvel "$shot" "${town[@]}"
echo "Screenshot of the running program: $shot"
