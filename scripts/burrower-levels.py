#!/usr/bin/env python3
"""Measures how the computer player clears each level of the default Burrower set alone and
writes the table docs/burrower-levels.md.

    scripts/burrower-levels.py [BUILD_DIR] [--seeds N] [--quiet-seeds Q] [--jobs J] [--no-write]

Every level is played as Test Level by one computer player with "Enemies" on (the brooders
hatch), with the seeds 1..N (default 100), and with "Enemies" off (--no-enemies) with the
seeds 1..Q (default 20), until the level is done or 10 minutes of game time have passed
(21429 steps of 28 ms):

    kelvra-cli play Default.BuL --until-end --one-level --max-steps 21429 --players 1
               --ai all --seed S --level L

Exit status 0 when every level was cleared in at least 80% of the runs with enemies and in
every run without, 1 otherwise, 2 when the tools are missing.
"""
import argparse
import concurrent.futures
import os
import re
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX_STEPS = 21429
WANTED = 0.8  # the share of runs in which every level must be cleared
LINE = re.compile(r'state=(\w+) level=(\d+) steps=(\d+)')


def play(cli, levels_file, level, seed, enemies):
    out = subprocess.run([cli, 'play', levels_file, '--until-end', '--one-level', '--max-steps',
                          str(MAX_STEPS), '--players', '1', '--ai', 'all', '--seed', str(seed),
                          '--level', str(level + 1)] + ([] if enemies else ['--no-enemies']),
                         capture_output=True, text=True).stdout.strip().splitlines()
    m = LINE.match(out[-1]) if out else None
    return int(m.group(3)) if m and m.group(1) == 'LevelDone' else None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('build', nargs='?', default=os.path.join(ROOT, 'build'))
    ap.add_argument('--seeds', type=int, default=100)
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    ap.add_argument('--quiet-seeds', type=int, default=20,
                    help='seeds for the runs with "Enemies" off (0: none)')
    ap.add_argument('--no-write', action='store_true')
    a = ap.parse_args()
    cli = os.path.join(a.build, 'bin', 'kelvra-cli')
    levels_file = os.path.join(a.build, 'data', 'Levels', 'Burrower', 'Default.BuL')
    if not (os.path.exists(cli) and os.path.exists(levels_file)):
        print('burrower-levels: build kelvra-cli and the data tree first', file=sys.stderr)
        return 2
    info = subprocess.run([cli, 'info', levels_file], capture_output=True, text=True).stdout
    m = re.search(r'^levels: (\d+)', info, re.M)
    count = int(m.group(1)) if m else 0
    rows, short = [], 0
    pool = concurrent.futures.ThreadPoolExecutor(max(a.jobs, 1))

    def measure(level, seeds, enemies):
        steps = list(pool.map(lambda seed: play(cli, levels_file, level, seed, enemies),
                              range(1, seeds + 1)))
        done = [s for s in steps if s is not None]
        share = len(done) / len(steps)
        cell = (f'{round(100 * share)}% · {int(statistics.median(done))} / {max(done)}'
                if done else '0%')
        return share, cell

    for level in range(count):
        share, cell = measure(level, a.seeds, True)
        short += share < WANTED
        quiet = ''
        if a.quiet_seeds > 0:
            quiet_share, quiet = measure(level, a.quiet_seeds, False)
            short += quiet_share < 1
        rows.append(f'| {level} | {cell} | {quiet} |')
        print(rows[-1], flush=True)
    text = f"""# Burrower: how the computer player clears the default levels

Written by `scripts/burrower-levels.py BUILD_DIR --seeds {a.seeds} --quiet-seeds {a.quiet_seeds}`;
run it again after changing the levels, the rules or the computer player. Each level of the
default set (`Levels/Burrower/Default.BuL`) is played as Test Level by one computer player,
with "Enemies" on (the seeds 1 to {a.seeds}) and off (`--no-enemies`, the seeds 1 to
{a.quiet_seeds}), until the level is done or 10 minutes of game time (21429 steps of 28 ms)
have passed:

    kelvra-cli play Default.BuL --until-end --one-level --max-steps 21429 --players 1 --ai all [--no-enemies] --seed S --level L

Each cell: the share of the runs that cleared the level, then the median and the largest
number of game steps those runs needed. With enemies every level should be cleared in 80% of
the runs or more; without them, in every run. The level number is 0-based; `--level` takes
it plus one.

| Level | "Enemies" on | "Enemies" off |
|---:|---|---|
""" + '\n'.join(rows) + '\n'
    if not a.no_write:
        with open(os.path.join(ROOT, 'docs', 'burrower-levels.md'), 'w') as f:
            f.write(text)
    return 1 if short else 0


if __name__ == '__main__':
    sys.exit(main())
