#!/usr/bin/env bash
# Installs the Debian packages Kelvra needs that are missing (as root, non-interactive),
# then configures and builds the project in build/. Safe to run again: it skips what is
# already installed and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
  libfreetype-dev libfontconfig-dev fonts-liberation libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth imagemagick xdotool
  # the packaging checks (scripts/package-check.sh)
  desktop-file-utils appstream lintian dpkg-dev file shared-mime-info xdg-utils
  libfile-mimeinfo-perl man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
