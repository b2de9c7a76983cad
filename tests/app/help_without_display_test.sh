#!/usr/bin/env bash
# quorvel --help and --version print and exit 0 without a display (the
# manual page is made from them at build time); the window system is
# never opened for them.
set -euo pipefail
quorvel=$1
export QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY
for option in --help -h --version; do
  out=$("$quorvel" "$option" 2>&1) || { echo "quorvel $option failed: $out"; exit 1; }
  [ -n "$out" ] || { echo "quorvel $option printed nothing"; exit 1; }
done
"$quorvel" --help | grep -q -- '--version' || { echo "--help does not list --version"; exit 1; }
"$quorvel" --help | grep -q 'ПАПКА' || { echo "--help does not name the town folder argument"; exit 1; }
"$quorvel" --version | grep -qE '[0-9]+\.[0-9]+\.[0-9]+' || { echo "--version prints no version"; exit 1; }
echo "quorvel --help and --version without a display: ok"
