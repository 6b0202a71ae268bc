#!/usr/bin/env bash
# Soaks Burrower's rules: five computer players, enemies on, every level of the default set
# played as Test Level until at least STEPS game steps (default 100000) have been played in
# all, the same share on each level. A level that ends early (cleared, or every player
# eaten) is played again with the next seed until its share is used up. Then one whole game
# is played from the first level, through the levels' ends and starts. Every 250th step is
# also drawn, so that the drawing of enemies, shots and apples is soaked with the rules.
#
#   scripts/burrower-soak.sh [BUILD_DIR] [STEPS] [SECONDS_PER_GAME]
#
# Meant for the sanitizer build (scripts/sanitize.sh runs it on build-asan/): any report of
# AddressSanitizer, LeakSanitizer or UBSan ends kelvra-cli with a non-zero status, and the
# soak then fails with the report and the command that reproduces it. A game running longer
# than SECONDS_PER_GAME (default 120) fails the soak as well.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-asan}"
total="${2:-100000}"
game_seconds="${3:-120}"
cli="$build/bin/kelvra-cli"
set_file="$build/data/Levels/Burrower/Default.BuL"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

levels=$("$cli" info "$set_file" | sed -n 's/^levels: //p')
if [ -z "$levels" ] || [ "$levels" -le 0 ]; then
  echo "soak: no levels in $set_file" >&2
  exit 1
fi
share=$(((total + levels - 1) / levels))
log=$(mktemp)
frames=$(mktemp -d)
trap 'rm -rf "$log" "$frames"' EXIT
start=$SECONDS
played=0
games=0

# Plays one game (the arguments after the set's name) and leaves its steps in $steps_run.
run_game() {
  local cmd=("$cli" play "$set_file" --players 5 --ai all "$@" --frames "$frames" --every 250)
  local status=0
  timeout "$game_seconds" "${cmd[@]}" >"$log" 2>&1 || status=$?
  # 0: the level or the game ended; 3: the step limit came first. Anything else is a finding
  # (or, 124, a game that took too long).
  if ((status != 0 && status != 3)) || grep -q "Sanitizer\|runtime error" "$log"; then
    echo "soak: FAILED (exit $status):" >&2
    echo "  ${cmd[*]}" >&2
    tail -80 "$log" >&2
    exit 1
  fi
  rm -f "$frames"/*.bmp
  steps_run=$(sed -n 's/.* steps=\([0-9]*\) .*/\1/p' "$log" | tail -1)
  if [ -z "$steps_run" ]; then
    echo "soak: no result line from: ${cmd[*]}" >&2
    cat "$log" >&2
    exit 1
  fi
  games=$((games + 1))
}

for ((level = 0; level < levels; ++level)); do
  done_here=0
  for ((seed = 1; done_here < share; ++seed)); do
    run_game --level "$((level + 1))" --seed "$seed" --until-end --one-level \
      --max-steps "$((share - done_here))"
    done_here=$((done_here + steps_run))
  done
  played=$((played + done_here))
done
# And one whole game from the first level, through every level's end and start.
run_game --seed 1 --until-end --max-steps 100000
played=$((played + steps_run))
echo "soak: $played Burrower steps in $games games on $levels levels, 5 computer players," \
  "no findings ($((SECONDS - start)) s)"
