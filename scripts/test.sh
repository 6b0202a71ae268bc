#!/usr/bin/env bash
# Sets up and builds Kelvra, then runs every test (core, GUI on the offscreen platform,
# corpus replays of the fuzz targets, level-set tools).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir build --output-on-failure -j"$(nproc)"
