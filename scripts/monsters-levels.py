#!/usr/bin/env python3
"""Measures how the computer players finish each level of the default Monsters set and
writes the table docs/monsters-levels.md.

    scripts/monsters-levels.py [BUILD_DIR] [--seeds N] [--levels 0,3,7] [--jobs J] [--no-write]

Every level is played as Test Level (kelvra-cli play --level L + 1) by computer players
only, in four configurations: one player and four players, each in the real-time game and
in the turn game (--turn), with the seeds 1..N (default 20):

    kelvra-cli play Default.MoL --until-end --max-steps 21429 --players P --ai all
               --seed S --level L [--turn]

21429 game steps of 28 ms are 10 minutes of game time. A run that is still going then
exits with 3. For each configuration the table gives the share of runs that ended and the
median and largest number of monster steps ("moves=", the first line play prints) of the
runs that ended. A level passes when every configuration ends in at least 95% of its runs.

Exit status 0 when every level measured passes, 1 otherwise (the table is written either
way unless --no-write), 2 when the tools are missing.
"""
import argparse
import concurrent.futures
import os
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, 'content', 'levels', 'Monsters', 'Default.txt')
TABLE = os.path.join(ROOT, 'docs', 'monsters-levels.md')
MAX_STEPS = 21429  # game steps of 28 ms: 10 minutes
PASS_SHARE = 0.95
CONFIGS = [  # (title, players, turn game)
    ('1 player, real time', 1, False),
    ('4 players, real time', 4, False),
    ('1 player, turn game', 1, True),
    ('4 players, turn game', 4, True),
]


def read_levels(source):
    """(name, idea) per level: the idea is the comment line just above its "level" line."""
    levels, comment = [], ''
    with open(source, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('# '):
                comment = line[2:].strip()
            elif line.startswith('level'):
                levels.append((line[5:].strip(), comment))
                comment = ''
            elif line.strip() and not line.startswith('#'):
                comment = ''
    return levels


def play(cli, set_file, level, players, turn, seed):
    """Monster steps of a run that ended, None for one still going after MAX_STEPS."""
    args = [cli, 'play', set_file, '--until-end', '--max-steps', str(MAX_STEPS),
            '--players', str(players), '--ai', 'all', '--seed', str(seed),
            '--level', str(level + 1)] + (['--turn'] if turn else [])
    run = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    if run.returncode == 3:
        return None
    moves = re.search(r'^moves=(\d+)$', run.stdout, re.M)
    if run.returncode != 0 or not moves or 'state=GameEnded' not in run.stdout:
        raise RuntimeError(f'{" ".join(args)}: exit {run.returncode}\n{run.stdout}')
    return int(moves.group(1))


def summary(results):
    """(share ended, median, largest) of one configuration's monster steps."""
    ended = sorted(r for r in results if r is not None)
    share = len(ended) / len(results)
    if not ended:
        return share, None, None
    return share, int(statistics.median_low(ended)), ended[-1]


def cell(share, median, largest):
    text = f'{round(share * 100)}%'
    if median is not None:
        text += f' · {median} / {largest}'
    return f'**{text}**' if share < PASS_SHARE else text


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('build', nargs='?', default=os.path.join(ROOT, 'build'))
    ap.add_argument('--seeds', type=int, default=20)
    ap.add_argument('--levels', help='0-based level numbers, comma-separated (default: all)')
    ap.add_argument('--jobs', type=int, default=2, help='games played at once (default 2)')
    ap.add_argument('--no-write', action='store_true', help='print the rows only')
    a = ap.parse_args()

    levelc = os.path.join(a.build, 'bin', 'kelvra-levelc')
    cli = os.path.join(a.build, 'bin', 'kelvra-cli')
    for tool in (levelc, cli):
        if not os.access(tool, os.X_OK):
            print(f'monsters-levels: {tool} is missing; build it first', file=sys.stderr)
            return 2

    levels = read_levels(SOURCE)
    chosen = range(len(levels)) if not a.levels else [int(v) for v in a.levels.split(',')]
    seeds = range(1, a.seeds + 1)
    rows, failing = [], []
    with tempfile.TemporaryDirectory() as work, \
            concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
        set_file = os.path.join(work, 'Default.MoL')
        subprocess.run([levelc, SOURCE, set_file], check=True)
        for level in chosen:
            name, idea = levels[level]
            cells = []
            for (title, players, turn) in CONFIGS:
                runs = list(pool.map(lambda s: play(cli, set_file, level, players, turn, s),
                                     seeds))
                share, median, largest = summary(runs)
                if share < PASS_SHARE:
                    failing.append(f'{level} {name}: {title}, {round(share * 100)}% ended')
                cells.append(cell(share, median, largest))
            row = f'| {level} | {name} | {idea} | ' + ' | '.join(cells) + ' |'
            print(row, flush=True)
            rows.append(row)

    if not a.no_write:
        write_table(rows, failing, a.seeds)
    for f in failing:
        print('not ending often enough:', f, file=sys.stderr)
    return 1 if failing else 0


def write_table(rows, failing, seeds):
    heads = ' | '.join(title for (title, _, _) in CONFIGS)
    with open(TABLE, 'w', encoding='utf-8') as f:
        f.write(f'''# Monsters: how the default levels end

A Monsters level ends only when its last monster is dead, so every level of the default
set (`Levels/Monsters/Default.MoL`, compiled from `content/levels/Monsters/Default.txt`)
must let the monsters die: the players can dig to them, or they fall into pits, or they
kill each other. This table shows that the computer players alone finish every level.

Written by `scripts/monsters-levels.py BUILD_DIR --seeds {seeds}` (it needs `kelvra-levelc`
and `kelvra-cli` in that folder; run it again after changing the levels, the rules or the
computer player). Each level is played as Test Level by computer players only, with the
seeds 1 to {seeds}, in four configurations:

    kelvra-cli play Default.MoL --until-end --max-steps 21429 --players P --ai all --seed S --level L [--turn]

21429 steps of 28 ms are 10 minutes of game time. The default options apply: a monster
step every 500 ms in the real-time game and a move at most every 150 ms per player, so a
real-time game has about 1200 monster steps in 10 minutes; the turn game makes a monster
step after every round of moves.

Each cell: the share of runs that ended within the 10 minutes, then the median and the
largest number of monster steps the runs that ended needed. A share below 95% is in bold.
The level number is 0-based; `--level` takes it plus one.

| Level | Name | Idea | {heads} |
|---:|---|---|---:|---:|---:|---:|
''')
        f.write('\n'.join(rows) + '\n\n')
        if failing:
            f.write('Levels that do not end in 95% of the runs:\n\n')
            f.write(''.join(f'- {x}\n' for x in failing))
        else:
            f.write('Every level ended in at least 95% of the runs of every configuration.\n')
        f.write(NOTES)


# How the levels are built so that the computer player finishes them; kept with the table.
NOTES = '''
## What keeps a level finishable

The computer player walks toward the column and the row that hold the most monsters (equal
counts give the mean of the two), measures distance without the wrap-around, and keeps its
direction unless a turn gains it more than 8. It finds a moving crowd well, but not a
monster that stands still beside it, behind an obstacle or far from a second one. The
levels are built around that:

- Houses stand in walled corner cells, where no monster can stand still attacking them.
  Where houses are open (Gates, Crossroads, Round the Houses) the monsters that attack
  them stand where the players pass anyway.
- A gate breeds whenever a monster runs into it while one of its neighbours is open, and
  the players dig everything open sooner or later. So every gate sits in walls that leave
  it open only to the corridor that feeds it and to a chute or lane whose young run
  straight into a pit; the parents of The Breeder run a ring and breed once a lap.
- No row or column lets a monster run round the field for ever: in the turn game a player
  moves no faster than a monster and never catches one running away. The levels have
  border walls, or (Round the World) "No" squares along the edges that turn the monsters
  back but let the players walk through.
- Gates stay off the edge of the field, where their neighbours would lie outside it.
- One-way tunnels open onto corridors at both ends, so a monster seldom has to turn
  inside one (turning there rewrites the tunnel's direction).

The few runs that do not end are mostly a computer player sweeping up and down a corridor
beside the last monster, too close to it for a turn to gain more than 8.
'''


if __name__ == '__main__':
    sys.exit(main())
