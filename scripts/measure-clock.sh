#!/usr/bin/env bash
# Measures the frame clock of a built Kelvra under Xvfb (a 1600 x 1000 screen): the step and
# frame rates the clock reports at the default game tick (28 ms) and draw delay (20 ms), the
# processor time the program takes while it sits in the menu, and the processor time of a
# Brickfall game played by the computer player in a window at zoom 2x.
# Passes when the step rate is 35.7/s within 2 % and the menu load is under 10 % of one core.
#
#   scripts/measure-clock.sh [seconds] [--compare REV]
#
# --compare REV also builds REV (a commit, e.g. HEAD~1) in build-compare/ and measures the
# game with both programs, in turns, in this one run: the figures before and after a change.
# Needs build/bin/kelvra with its data tree, xvfb, and xdotool to start the game.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=10
compare=""
while [ $# -gt 0 ]; do
  case "$1" in
    --compare) compare="$2"; shift 2 ;;
    *) seconds="$1"; shift ;;
  esac
done
work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -n "$compare" ]; then
  # The other revision's sources, built beside ours; ccache makes the unchanged files cheap.
  rm -rf build-compare/src && mkdir -p build-compare/src
  git archive "$compare" | tar -x -C build-compare/src
  cmake -S build-compare/src -B build-compare/build -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
  cmake --build build-compare/build -j2 --target kelvra kelvra_content kelvra_levels >/dev/null
fi

Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -m 700 "$work/runtime"
hz=$(getconf CLK_TCK)
ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }

# Starts `program` with the settings `ini` (a file's contents); its output goes to out.log.
start() {
  printf '%b' "$2" >"$work/kelvra.ini"
  DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" KELVRA_SETTINGS="$work/kelvra.ini" \
    KELVRA_REPORT_RATES=1 "$1" >"$work/out.log" 2>&1 &
  app=$!
  sleep 3  # start-up and the first measurement period
}
stop() {
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
}
# The share of one core the program takes over `seconds`, in %.
load() {
  local t0 t1
  t0=$(ticks)
  sleep "$seconds"
  t1=$(ticks)
  awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * (b - a) / hz / s }'
}

options='[Options]\nFullScreen=0\nGameTick=28\nDelayTime=20\nMusic=0\nSounds=0\n'
start build/bin/kelvra "$options"
menu=$(load)
stop
steps=$(grep '^rates:' "$work/out.log" | tail -n "$seconds" | awk '{ gsub("/s", "", $5); sum += $5; n++ } END { if (n) printf "%.2f", sum / n }')
frames=$(grep '^rates:' "$work/out.log" | tail -n "$seconds" | awk '{ gsub("/s", "", $3); sum += $3; n++ } END { if (n) printf "%.2f", sum / n }')
echo "step rate: ${steps:-none}/s (expected 35.71 +- 2 %)"
echo "frame rate: ${frames:-none}/s"
echo "processor load in the menu: ${menu} % of one core (limit 10 %)"

# A one-player Brickfall game with the computer player, in a window at 2x: "Start Game" is
# the first item of the Game menu.
game() {
  start "$1" "${options}Zoom=2\nGameKind=0\nNowPlayersBrickfall=0\n[Player1]\nAI=1\n[fMain]\nLeft=0\nTop=0\n"
  local window
  window=$(DISPLAY="$display" xdotool search --name '^Kelvra' | head -n 1)
  DISPLAY="$display" xdotool windowfocus --sync "$window" key --window "$window" alt+g
  sleep 0.5
  DISPLAY="$display" xdotool key Return
  sleep 2
  load
  stop
}
if command -v xdotool >/dev/null; then
  if [ -n "$compare" ]; then
    for round in 1 2 3; do
      echo "Brickfall at 2x in a window, round $round: $compare $(game build-compare/build/bin/kelvra) %," \
        "this tree $(game build/bin/kelvra) % of one core"
    done
  else
    echo "processor load of a Brickfall game at 2x in a window: $(game build/bin/kelvra) % of one core"
  fi
else
  echo "no xdotool (apt-get install xdotool): the game is not measured"
fi

awk -v s="${steps:-0}" -v l="$menu" 'BEGIN { exit !(s >= 35.0 && s <= 36.43 && l < 10) }' &&
  echo "measurement passed" || { echo "measurement FAILED"; exit 1; }
