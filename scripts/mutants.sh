#!/usr/bin/env bash
# Mutation check of the game and file code: applies random single-token changes (with a
# fixed seed, so that two runs draw the same changes) to the files below, rebuilds the
# core tests after each and counts the changes they catch. Slow (a rebuild per change):
# run it by hand when the tests are reshaped, never in CI, and record the result in
# docs/mutation-check.md. Never commit while it runs: it edits the sources in place and
# puts them back after every change.
#
#   bash scripts/mutants.sh [COUNT]     (default 80 changes; SEED=N picks another draw)
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-80}"
seed="${SEED:-2026}"
tool="${MUTANTS_TOOL:-../shared/tools/mutants.py}"
build=build-mutants

files=(
  src/brickfall/BrickGame.cpp src/brickfall/BrickBonus.cpp src/brickfall/BrickEffects.cpp
  src/brickfall/BrickLevel.cpp src/brickfall/BrickField.cpp
  src/common/Com.cpp src/common/LevelSet.cpp src/common/Scores.cpp src/common/Sounds.cpp
  src/media/Wave.cpp src/media/Mixer.cpp src/media/ImageFiles.cpp src/media/MidiFile.cpp
)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVRA_GUI=OFF \
  -DKELVRA_BENCH=OFF >/dev/null
cmake --build "$build" --target kelvra_tests kelvra-levelc kelvra_content >/dev/null
python3 "$tool" --seed "$seed" --count "$count" --timeout 600 \
  --build "cmake --build $build --target kelvra_tests" \
  --test "$build/bin/kelvra_tests --gtest_brief=1" \
  "${files[@]}"
