#!/usr/bin/env bash
# Measures how many game steps the computer player needs to clear each level of the default
# Brickfall set and writes the table docs/brickfall-clear-steps.md.
#
#   scripts/clear-steps.sh [BUILD_DIR]        (default: build; needs kelvra-levelc, kelvra-cli)
#   SEEDS="1 2 3" SWEEP=20 LIMIT=10714 scripts/clear-steps.sh build-release
#
# Every level is compiled on its own into a one-level set from
# content/levels/Brickfall/Default.txt and played by one computer player:
#
#   kelvra-cli play ONE.BrL --players 1 --level 1 --seed S --until-end --max-steps 30000
#
# "play --level L" plays level L alone, as Test Level does: the game ends (AllLevelsDone) in
# the step its last wall falls. The reference run is the first seed; the other seeds show
# the spread. For comparison each
# level is also left alone (--ai none: the ball is never launched), which clears it only
# through the rule that breaks a wall after 5 s without damage, and through gravity; and it
# is played by two computer players with the "Mirror Game" option (--players 2 --mirror).
# Finally every level is played with the seeds 1..SWEEP, for the share of games won and the
# spread of the steps (SWEEP=0 leaves that out).
#
# Exit status 0 when every level was cleared with every seed within LIMIT steps (5 minutes
# of game time at 28 ms a step), 1 otherwise (the table is written either way), 2 when the
# tools are missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
read -r -a seeds <<<"${SEEDS:-1 2 3}"
limit=${LIMIT:-10714}
sweep=${SWEEP:-20}
source=$root/content/levels/Brickfall/Default.txt
out=$root/docs/brickfall-clear-steps.md
mkdir -p "$(dirname "$out")"
levelc=$build/bin/kelvra-levelc
cli=$build/bin/kelvra-cli
for tool in "$levelc" "$cli"; do
  [[ -x $tool ]] || { echo "clear-steps: $tool is missing; build it first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One source per level: the set's header lines, then that level's block. The level's
# description is the first comment of the form "# N Title: text" above its "level" line.
awk -v dir="$work" '
  /^(kind|description|final):/ { header = header $0 "\n"; started = 1; next }
  started && /^# [0-9]+ / { if (title == "") { title = $0; sub(/^# [0-9]+ /, "", title) } }
  /^level/ {
    n++
    file = sprintf("%s/%02d.txt", dir, n)
    printf "%s", header > file
    print > file
    print title > sprintf("%s/%02d.title", dir, n)
    title = ""
    next
  }
  n > 0 { print >> file }
' "$source"

# Game time of a step count, m:ss (a step is 28 ms).
game_time() {
  local ms=$(($1 * 28))
  printf '%d:%02d' $((ms / 60000)) $((ms / 1000 % 60))
}

# The last line "play" prints, and its fields.
play() {
  "$cli" play "$1" --players 1 --level 1 --seed "$2" --until-end --max-steps 30000 "${@:3}" \
    2>/dev/null | tail -n 1 || true
}
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

rows=()
sweep_rows=()
failures=()
for src in "$work"/*.txt; do
  n=$(basename "$src" .txt)
  level=$((10#$n))
  set_file=$work/$n.BrL
  "$levelc" "$src" "$set_file" >/dev/null
  first=
  others=()
  for seed in "${seeds[@]}"; do
    line=$(play "$set_file" "$seed")
    steps=$(field steps "$line")
    state=$(field state "$line")
    if [[ $state != AllLevelsDone ]]; then
      failures+=("level $level, seed $seed: not cleared ($line)")
      steps="not cleared"
    elif ((steps > limit)); then
      failures+=("level $level, seed $seed: $steps steps, over $limit")
    fi
    if [[ -z $first ]]; then
      first=$line
      first_steps=$steps
    else
      others+=("$steps")
    fi
  done
  alone=$(field steps "$(play "$set_file" "${seeds[0]}" --ai none)")
  mirror=$(play "$set_file" "${seeds[0]}" --players 2 --mirror)
  if [[ $(field state "$mirror") == AllLevelsDone ]]; then
    mirror=$(field steps "$mirror")
  else
    failures+=("level $level, seed ${seeds[0]}, mirror game: not cleared ($mirror)")
    mirror="not cleared"
  fi
  if [[ $first_steps =~ ^[0-9]+$ ]]; then time=$(game_time "$first_steps"); else time=-; fi
  spread=$(IFS=,; echo "${others[*]:-}")
  spread=${spread//,/, }
  if ((sweep > 0)); then
    won=0
    list=()
    for ((seed = 1; seed <= sweep; seed++)); do
      line=$(play "$set_file" "$seed")
      if [[ $(field state "$line") == AllLevelsDone ]]; then
        won=$((won + 1))
        list+=("$(field steps "$line")")
      fi
    done
    if ((won > 0)); then
      mapfile -t list < <(printf '%s\n' "${list[@]}" | sort -n)
      median=${list[$((won / 2))]}
      slowest=${list[$((won - 1))]}
      sweep_rows+=("| $level | $won of $sweep | ${list[0]} | $median | $slowest ($(game_time "$slowest")) |")
    else
      sweep_rows+=("| $level | 0 of $sweep | - | - | - |")
    fi
  fi
  rows+=("| $level | $first_steps | $time | ${spread:--} | $alone | $mirror | \`$first\` | $(cat "$work/$n.title") |")
done

# The whole set in one game, as "Start Game" plays it, with the first seed.
"$levelc" "$source" "$work/Default.BrL" >/dev/null
whole=$("$cli" play "$work/Default.BrL" --players 1 --seed "${seeds[0]}" --until-end \
  --max-steps 1000000 2>/dev/null | tail -n 1 || true)

max=0
for r in "${rows[@]}"; do
  s=$(cut -d'|' -f3 <<<"$r" | tr -d ' ')
  [[ $s =~ ^[0-9]+$ ]] && ((s > max)) && max=$s
done

{
  cat <<EOF
# Brickfall: steps to clear the default levels

How many game steps the computer player, playing alone, needs to clear each level of the
default Brickfall set (\`Levels/Brickfall/Default.BrL\`, compiled from
\`content/levels/Brickfall/Default.txt\`). One step is 28 ms of game time, so 5 minutes are
10714 steps; every level is meant to be cleared well within that.

This page was written by \`SEEDS="${seeds[*]}" SWEEP=$sweep scripts/clear-steps.sh BUILD_DIR\`
(it needs \`kelvra-levelc\` and \`kelvra-cli\` built in that folder; run it again after
changing the levels or the game). The script compiles each level on its own into a
one-level set and runs

    kelvra-cli play ONE.BrL --players 1 --level 1 --seed S --until-end --max-steps 30000

for the seeds ${seeds[*]}. \`play --level\` plays that level alone, as Test Level does, so
it measures exactly that level: the game ends with \`AllLevelsDone\` in the step
the last wall falls (and the last falling bonus is gone). The runs are reproducible: the same
build, set and seed give the same steps and the same digest.

Columns: *Steps* and *Game time* of seed ${seeds[0]}; *Other seeds* the steps of the other
seeds; *Left alone* the steps the level takes when nobody launches a ball (\`--ai none\`), so
that only the rule that breaks a random wall after 5 s without damage, and gravity, clear it:
the computer player's steps lying well below it show that the level is cleared by play, not
by that rule; *Mirror game* the steps two computer players need with the "Mirror Game" option
(\`--players 2 --mirror\`: the second paddle plays from the top edge), which shows that no wall
sits so close to the top edge that the top paddle clears it at once; *Last line printed* the
last line of the seed-${seeds[0]} run.

| Level | Steps | Game time | Other seeds | Left alone | Mirror game | Last line printed | Description |
|---:|---:|---:|---:|---:|---:|---|---|
EOF
  printf '%s\n' "${rows[@]}"
  echo
  echo "The slowest level of seed ${seeds[0]} takes $max steps ($(game_time "$max"))."
  if ((${#failures[@]})); then
    echo
    echo "Levels over the limit of $limit steps or not cleared:"
    echo
    printf -- '- %s\n' "${failures[@]}"
  else
    echo "Every level was cleared with every seed within $limit steps."
  fi
  if ((sweep > 0)); then
    echo
    echo "## Seeds 1 to $sweep"
    echo
    echo "Games won (the level cleared before the computer player lost its last ball) and the"
    echo "steps of the won games, for every level played with each of the seeds 1 to $sweep:"
    echo
    echo "| Level | Won | Fewest steps | Median | Most steps |"
    echo "|---:|---:|---:|---:|---:|"
    printf '%s\n' "${sweep_rows[@]}"
    echo
    echo "A computer player loses a game mostly in levels with enemies: a bumper that drifts down"
    echo "to rest just above the paddle keeps turning the ball back onto it, and when the paddle's"
    echo "rebound and the bumper's turn fall in the same step the ball goes on down past the"
    echo "paddle; a newly launched ball meets the same bumper at once."
  fi
  echo
  echo "## The whole set"
  echo
  echo "The whole set in one game (\`kelvra-cli play Default.BrL --players 1 --seed ${seeds[0]}"
  echo "--until-end\`), the computer player starting with three balls at level 1:"
  echo
  echo "    $whole"
} >"$out"

echo "clear-steps: wrote $out" >&2
if ((${#failures[@]})); then
  printf 'clear-steps: %s\n' "${failures[@]}" >&2
  exit 1
fi
