#!/usr/bin/env bash
# Runs inside a virtual display: starts the program, waits for its main window,
# lets the camera settle, saves a screenshot of the screen and ends the program.
set -euo pipefail
program=$1
shot=$2
title="Электронный справочник организаций города Верескола - демонстрационная версия"

LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

for _ in $(seq 1 120); do
  if xdotool search --onlyvisible --name "$title" > /dev/null 2>&1; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "the program ended early" >&2; exit 1; fi
  sleep 0.25
done
xdotool search --onlyvisible --name "$title" > /dev/null || { echo "the main window did not appear" >&2; exit 1; }
sleep "${QUORVEL_SETTLE_SECONDS:-8}"
import -window root "$shot"
