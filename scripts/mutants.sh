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

# The data tree is generated once from the unchanged code; while the changes are in place
# only the tests are rebuilt, so a change to the media code is judged by the tests alone.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVRA_GUI=OFF \
  -DKELVRA_BENCH=OFF -DKELVRA_TEST_DATA_DEPS=ON >/dev/null
cmake --build "$build" >/dev/null
cmake -S . -B "$build" -DKELVRA_TEST_DATA_DEPS=OFF >/dev/null
# A change that makes a game loop for ever is caught by the time limit (the tests take
# about 10 s).
python3 "$tool" --seed "$seed" --count "$count" --timeout 240 \
  --build "cmake --build $build --target kelvra_tests" \
  --test "$build/bin/kelvra_tests --gtest_brief=1" \
  "${files[@]}"
