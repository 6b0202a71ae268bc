#!/usr/bin/env bash
# Builds the core library, its tests and the corpus replays with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them, then soaks Burrower's rules with
# kelvra-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
# -O1 with line tables: quick to build, fast enough to run, readable stack traces.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1" \
  -DCMAKE_C_FLAGS_RELEASE="-O1 -g1" -DKELVRA_SANITIZE=ON -DKELVRA_GUI=OFF -DKELVRA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
# Over 100,000 steps of five computer players against enemies on every Burrower level, every
# 250th drawn (about a minute on two cores); the timeout stops a soak that hangs.
timeout 600 bash scripts/burrower-soak.sh build-asan 100000
