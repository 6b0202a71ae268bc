#!/usr/bin/env bash
# Measures the frame clock of a built Kelvra under Xvfb: the step and frame rates the clock
# reports at the default game tick (28 ms) and draw delay (20 ms), and the processor time
# the program takes while it sits in the menu. Needs build/bin/kelvra and xvfb.
# Passes when the step rate is 35.7/s within 2 % and the load is under 10 % of one core.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
printf '[Options]\nFullScreen=0\nGameTick=28\nDelayTime=20\nMusic=0\nSounds=0\n' >"$work/kelvra.ini"
mkdir -m 700 "$work/runtime"
DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" KELVRA_SETTINGS="$work/kelvra.ini" \
  KELVRA_REPORT_RATES=1 build/bin/kelvra >"$work/out.log" 2>&1 &
app=$!
sleep 3  # start-up and the first measurement period

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
kill "$app"
wait "$app" 2>/dev/null || true
app=""

load=$(awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * (b - a) / hz / s }')
steps=$(grep '^rates:' "$work/out.log" | tail -n "$seconds" | awk '{ gsub("/s", "", $5); sum += $5; n++ } END { if (n) printf "%.2f", sum / n }')
frames=$(grep '^rates:' "$work/out.log" | tail -n "$seconds" | awk '{ gsub("/s", "", $3); sum += $3; n++ } END { if (n) printf "%.2f", sum / n }')
echo "step rate: ${steps:-none}/s (expected 35.71 +- 2 %)"
echo "frame rate: ${frames:-none}/s"
echo "processor load in the menu: ${load} % of one core (limit 10 %)"
awk -v s="${steps:-0}" -v l="$load" 'BEGIN { exit !(s >= 35.0 && s <= 36.43 && l < 10) }' &&
  echo "measurement passed" || { echo "measurement FAILED"; exit 1; }
