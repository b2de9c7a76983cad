#!/usr/bin/env bash
# Soak run: the program on the demo town under Xvfb for a long time (30
# minutes unless told otherwise) with scripted input - searches by name and
# by street and number, clicks on houses, hovering, orbits, pans, the wheel,
# printing the map and the list to PDF files, the settings dialog - while its
# resident memory and the OpenGL errors it logs are sampled every 10 s.
#
#   bash scripts/soak.sh [MINUTES]          (SOAK_OUT=folder for the results)
#
# Passes when the program is still running at the end, no OpenGL error and no
# error box appeared, every print wrote its file, and resident memory after
# the first minute did not grow beyond noise: the last five minutes' largest
# sample is at most 5 % (and 8 MB) above the largest of minutes 1 to 5.
# Not part of CI: it takes as long as it is told to.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
out=${SOAK_OUT:-$PWD/build/soak}
mkdir -p "$out"
rm -f "$out"/*.pdf "$out"/*.png "$out"/samples.csv "$out"/program.log "$out"/actions.log

export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release > "$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
fi
cmake --build build -j "$(nproc)" --target app > "$out/build.log" 2>&1 || { tail -30 "$out/build.log"; exit 1; }

title="Электронный справочник организаций города Верескола - демонстрационная версия"
errorTitle="Quorvel Электронный справочник организаций г.Верескола"

# A display of our own: Xvfb picks a free number.
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$numfile" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$numfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$numfile")"
rm -f "$numfile"

runtime=$(mktemp -d)
QUORVEL_LOG_GL_ERRORS=1 LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime \
  build/bin/quorvel > "$out/program.log" 2>&1 &
program=$!
cleanup() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

window=""
for _ in $(seq 1 240); do
  window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || { echo "the program ended early"; cat "$out/program.log"; exit 1; }
  sleep 0.25
done
[ -n "$window" ] || { echo "the main window did not appear"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y: the window's client origin
wx=$X; wy=$Y
started=$(date +%s)

# Places in the window as it is laid out at its designed size.
map_left=40 map_top=70 map_right=580 map_bottom=460   # inside the map view
org_name=(736 64) street=(708 104) house_no=(824 104) search_button=(736 138)

log() { echo "$(( $(date +%s) - started )) $*" >> "$out/actions.log"; }
focus_main() { xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"; }
click_at() { xdotool mousemove $((wx + $1)) $((wy + $2)) click "${3:-1}"; }
random_map_point() {
  px=$((map_left + RANDOM % (map_right - map_left)))
  py=$((map_top + RANDOM % (map_bottom - map_top)))
}
press_down() { for _ in $(seq 1 "$1"); do xdotool key Down; sleep 0.05; done; }
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true; }

error_boxes=0
dismiss_error_boxes() {
  local box
  box=$(window_named "^$errorTitle\$")
  while [ -n "$box" ]; do
    error_boxes=$((error_boxes + 1))
    import -window root "$out/error-box-$error_boxes.png" 2>/dev/null || true
    log "error box $error_boxes"
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
    sleep 0.5
    box=$(window_named "^$errorTitle\$")
  done
}

search_by_street() {
  focus_main
  click_at "${street[@]}"; press_down $((1 + RANDOM % 6))
  click_at "${house_no[@]}"; press_down $((1 + RANDOM % 3))
  click_at "${search_button[@]}"
  log "search by street and number"
}
search_by_name() {
  focus_main
  click_at "${org_name[@]}"; press_down $((1 + RANDOM % 8))
  click_at "${search_button[@]}"
  log "search by name"
}
click_house() {
  random_map_point; click_at "$px" "$py"; log "click at $px,$py"
}
hover() {
  for _ in 1 2 3 4 5; do random_map_point; xdotool mousemove $((wx + px)) $((wy + py)); sleep 0.2; done
  log "hover"
}
orbit() {
  random_map_point
  xdotool mousemove $((wx + px)) $((wy + py)) mousedown 3
  for step in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- $((RANDOM % 2 ? 12 : -12)) 3; sleep 0.05; done
  xdotool mouseup 3
  log "orbit"
}
pan() {
  random_map_point
  xdotool mousemove $((wx + px)) $((wy + py)) keydown shift mousedown 1
  for step in 1 2 3 4 5 6; do xdotool mousemove_relative -- 10 $((RANDOM % 2 ? 6 : -6)); sleep 0.05; done
  xdotool mouseup 1 keyup shift
  log "pan"
}
wheel() {
  random_map_point; xdotool mousemove $((wx + px)) $((wy + py))
  local button=$((RANDOM % 2 ? 4 : 5))
  for _ in 1 2 3; do xdotool click "$button"; sleep 0.1; done
  log "wheel $button"
}
prints=0
print_to_pdf() {
  # Ctrl+P opens the print menu: the picture, or the list of organisations.
  local item=$((1 + RANDOM % 2)) file
  prints=$((prints + 1))
  file="$out/print-$prints.pdf"
  focus_main
  xdotool key ctrl+p; sleep 0.5
  press_down "$item"; xdotool key Return; sleep 1
  # No printer: the warning offers a PDF file, then a file dialog asks where.
  xdotool key Return; sleep 1.5
  xdotool key ctrl+a; xdotool type --delay 20 "$file"; xdotool key Return
  for _ in $(seq 1 60); do [ -s "$file" ] && break; sleep 0.5; done
  log "print $([ "$item" = 1 ] && echo picture || echo list) to $file: $([ -s "$file" ] && echo written || echo MISSING)"
}
settings() {
  # The dialog starts on its button; the second box shows or hides what is not a building.
  focus_main
  xdotool key ctrl+comma; sleep 0.7
  xdotool key Tab Tab space; sleep 0.2
  xdotool key Return; sleep 0.5
  log "settings: toggled the display of non-buildings"
}

# Resident memory (kB) and logged OpenGL errors every 10 s, in the background.
echo "seconds,rss_kb,gl_errors" > "$out/samples.csv"
(
  while kill -0 "$program" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$program/status" 2>/dev/null || echo 0)
    errors=$(grep -c "^OpenGL error" "$out/program.log" || true)
    echo "$(( $(date +%s) - started )),$rss,$errors" >> "$out/samples.csv"
    sleep 10
  done
) &
sampler=$!

RANDOM=17 # the same sequence of actions every run
actions=(search_by_street search_by_name click_house click_house hover hover orbit orbit pan wheel wheel)
deadline=$((started + minutes * 60))
next_print=$((started + 45))
next_settings=$((started + 75))
count=0
while [ "$(date +%s)" -lt "$deadline" ]; do
  kill -0 "$program" 2>/dev/null || { log "the program ended"; break; }
  dismiss_error_boxes
  now=$(date +%s)
  if [ "$now" -ge "$next_print" ]; then
    print_to_pdf; next_print=$((now + 90))
  elif [ "$now" -ge "$next_settings" ]; then
    settings; next_settings=$((now + 120))
  else
    "${actions[RANDOM % ${#actions[@]}]}"
  fi
  count=$((count + 1))
  sleep 0.5
done
dismiss_error_boxes
import -window root "$out/last.png" 2>/dev/null || true
alive=yes; kill -0 "$program" 2>/dev/null || alive=no
sleep 11 # one more sample
kill "$sampler" 2>/dev/null || true

written=$(find "$out" -name 'print-*.pdf' -size +0 | wc -l)
gl_errors=$(grep -c "^OpenGL error" "$out/program.log" || true)
echo "soak: $minutes min, $count actions, $prints prints ($written written), $error_boxes error boxes, program alive: $alive"
# Memory at 1, 10 and 30 minutes (the sample nearest each), the plateau and the end.
awk -F, -v minutes="$minutes" -v errors="$gl_errors" '
  NR == 1 { next }
  { t[NR] = $1; r[NR] = $2; n = NR }
  function at(s,   i, best, d, bd) { bd = 1e9; for (i = 2; i <= n; i++) { d = t[i] - s; if (d < 0) d = -d; if (d < bd) { bd = d; best = r[i] } } return best }
  END {
    for (i = 2; i <= n; i++) {
      if (t[i] >= 60 && t[i] <= 300 && r[i] > early) early = r[i]
      if (t[i] >= minutes * 60 - 300 && r[i] > late) late = r[i]
    }
    printf "resident memory:"
    split("1 10 30", marks, " ")
    for (m = 1; m <= 3; m++)
      if (marks[m] <= minutes) printf " %d min %.1f MB,", marks[m], at(marks[m] * 60) / 1024
    printf " end %.1f MB\n", r[n] / 1024
    printf "largest of minutes 1-5: %.1f MB; of the last 5 minutes: %.1f MB (%+.1f%%)\n", early / 1024, late / 1024, early ? (late - early) * 100 / early : 0
    printf "OpenGL errors: %d\n", errors
    grown = late > early * 1.05 && late - early > 8192
    exit grown ? 1 : 0
  }' "$out/samples.csv" && memory_ok=yes || memory_ok=no
echo "memory steady after the first minute: $memory_ok"
echo "samples: $out/samples.csv, actions: $out/actions.log, program output: $out/program.log"
[ "$alive" = yes ] && [ "$gl_errors" -eq 0 ] && [ "$error_boxes" -eq 0 ] && [ "$written" -eq "$prints" ] && [ "$memory_ok" = yes ]
