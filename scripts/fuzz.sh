#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in build-fuzz/ and
# runs each for a bounded time (seconds per target: first argument, default 20) on a
# scratch copy of its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKELVRA_FUZZ=ON -DKELVRA_SANITIZE=ON -DKELVRA_GUI=OFF -DKELVRA_BENCH=OFF >/dev/null
targets=$(ls fuzz/Fuzz*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
cmake --build build-fuzz -j"$(nproc)" --target $targets
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in build-fuzz/bin/Fuzz*; do
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#Fuzz}"
  mkdir -p "$scratch/$name"
  [ -d "$corpus" ] && cp -r "$corpus/." "$scratch/$name/"
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "$scratch/$name" >"$scratch/$name.log" 2>&1 || { tail -50 "$scratch/$name.log"; exit 1; }
done
echo "fuzzing finished without findings"
