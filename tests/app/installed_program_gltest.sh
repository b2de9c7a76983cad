#!/usr/bin/env bash
# The program as a user installs it: the build is installed into a temporary
# prefix and the installed program is started with the command of its desktop
# entry, from a folder without any town, in a home without one: it must find
# the installed demo town. Then the user's own town (XDG_DATA_HOME) and a
# folder named on the command line, each told apart by its town.ini title.
# Each time the main window must come up: a missing file would keep an error
# box up instead. Needs a display.
set -euo pipefail
build=$1
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; exit 1; }
for f in bin/quorvel bin/towngen share/quorvel/qvhelp.html \
         share/quorvel/data/data.mod share/quorvel/data/data.modt share/quorvel/data/fl.dat share/quorvel/data/data.tmd \
         share/applications/quorvel.desktop share/icons/hicolor/scalable/apps/quorvel.svg \
         share/icons/hicolor/48x48/apps/quorvel.png share/icons/hicolor/256x256/apps/quorvel.png; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

# The desktop entry's command, without field codes, split as a launcher splits it.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/quorvel.desktop" | sed -E 's/ *%[fFuUdDnNickvm]//g')
read -ra command <<< "$exec_line"
[ "${command[0]}" = quorvel ] || { echo "unexpected Exec line: $exec_line"; exit 1; }

app_title="Quorvel Электронный справочник организаций г.Верескола"
designed_title="Электронный справочник организаций города Верескола - демонстрационная версия"
mkdir -p "$work/home" "$work/elsewhere"

# Runs the desktop entry's command (plus any arguments) in `folder` with the
# extra environment given, and waits for a main window titled `title`.
# The splash, the closing screen and the error box carry the application title.
expect_main_window() {
  local title=$1 folder=$2; shift 2
  local -a extra=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do extra+=("$1"); shift; done
  shift
  (cd "$folder" && exec env -u XDG_DATA_HOME PATH="$prefix/bin:/usr/bin:/bin" HOME="$work/home" \
      DBUS_SESSION_BUS_ADDRESS=disabled: "${extra[@]}" "${command[@]}" "$@") &
  pid=$!
  local seen= deadline=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early ($title)"; return 1; }
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      seen=$(xdotool getwindowname "$w" 2>/dev/null || true)
      if [ -n "$seen" ] && [ "$seen" != "$app_title" ]; then
        kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
        [ "$seen" = "$title" ] || { echo "main window titled \"$seen\", expected \"$title\""; return 1; }
        echo "main window \"$seen\""
        return 0
      fi
    done
    sleep 0.25
  done
  echo "no main window titled \"$title\" within a minute: an error box, or nothing, stayed up"
  return 1
}

# The installed demo town: nothing beside the program, nothing in the home.
expect_main_window "$designed_title" "$work/elsewhere" --

# The user's own town comes before the installed one.
mkdir -p "$work/xdg/quorvel"
cp -r "$prefix/share/quorvel/data" "$work/xdg/quorvel/data"
printf '[town]\ntitle=Город пользователя\n' > "$work/xdg/quorvel/data/town.ini"
expect_main_window "Город пользователя" "$work/elsewhere" XDG_DATA_HOME="$work/xdg" --

# A folder named on the command line, relative to where the program starts, comes first.
mkdir -p "$work/towns"
cp -r "$prefix/share/quorvel/data" "$work/towns/своя"
printf '[town]\ntitle=Город из папки\n' > "$work/towns/своя/town.ini"
expect_main_window "Город из папки" "$work/towns" XDG_DATA_HOME="$work/xdg" -- своя
