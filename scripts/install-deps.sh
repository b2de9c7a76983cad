#!/usr/bin/env bash
# Installs the Debian packages this project needs to build, test and run
# (clang and its runtime for the fuzz programs that CI builds), and any
# further packages named as arguments. Only missing packages are installed; running it again changes nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config dpkg-dev file
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins qt6-translations-l10n
  libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libegl-dev libegl-mesa0
  libjpeg62-turbo-dev
  libosmium2-dev libprotozero-dev zlib1g-dev libbz2-dev libexpat1-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation
  xvfb xauth xdotool x11-utils imagemagick poppler-utils
  help2man lintian appstream
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
