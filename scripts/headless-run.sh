#!/usr/bin/env bash
# Runs inside a virtual display: starts the program (with any further
# arguments, e.g. a town folder), waits for its main window, lets the camera
# settle, saves a screenshot of the screen and ends the program. When the main
# window does not come (an error box stays up instead), the screenshot shows
# why and the script fails.
set -euo pipefail
program=$1
shot=$2
shift 2
# The splash, the closing screen and the error box carry the application
# title; the main window carries the town's title, whatever town.ini says.
app_title="Quorvel Электронный справочник организаций г.Верескола"

LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb "$program" "$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

main_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" != "$app_title" ] && { echo "$w"; return 0; }
  done
  return 1
}

found=
for _ in $(seq 1 120); do
  if main_window > /dev/null; then found=1; break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "the program ended early" >&2; exit 1; fi
  sleep 0.25
done
if [ -z "$found" ]; then
  import -window root "$shot"
  echo "the main window did not appear (the screenshot shows what did): $shot" >&2
  exit 1
fi
sleep "${QUORVEL_SETTLE_SECONDS:-8}"
import -window root "$shot"
