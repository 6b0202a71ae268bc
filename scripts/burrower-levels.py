#!/usr/bin/env python3
"""Measures how the computer player clears each level of the default Burrower set alone and
writes the table docs/burrower-levels.md.

    scripts/burrower-levels.py [BUILD_DIR] [--seeds N] [--no-write]

Every level is played as Test Level by one computer player with "Enemies" off, with the
seeds 1..N (default 10), until the level is done or 10 minutes of game time have passed
(21429 steps of 28 ms):

    kelvra-cli play Default.BuL --until-end --one-level --max-steps 21429 --players 1
               --ai all --no-enemies --seed S --level L

Exit status 0 when every run cleared its level, 1 otherwise, 2 when the tools are missing.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX_STEPS = 21429
LINE = re.compile(r'state=(\w+) level=(\d+) steps=(\d+)')


def play(cli, levels_file, level, seed):
    out = subprocess.run([cli, 'play', levels_file, '--until-end', '--one-level', '--max-steps',
                          str(MAX_STEPS), '--players', '1', '--ai', 'all', '--no-enemies',
                          '--seed', str(seed), '--level', str(level)],
                         capture_output=True, text=True).stdout.strip().splitlines()
    m = LINE.match(out[-1]) if out else None
    return int(m.group(3)) if m and m.group(1) == 'LevelDone' else None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('build', nargs='?', default=os.path.join(ROOT, 'build'))
    ap.add_argument('--seeds', type=int, default=10)
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
    rows, failures = [], 0
    for level in range(count):
        steps = [play(cli, levels_file, level, seed) for seed in range(1, a.seeds + 1)]
        done = [s for s in steps if s is not None]
        failures += len(steps) - len(done)
        cell = (f'{len(done)}/{len(steps)} · {int(statistics.median(done))} / {max(done)}'
                if done else f'0/{len(steps)}')
        rows.append(f'| {level} | {cell} |')
        print(rows[-1], flush=True)
    text = f"""# Burrower: how the computer player clears the default levels

Written by `scripts/burrower-levels.py BUILD_DIR --seeds {a.seeds}`; run it again after
changing the levels, the rules or the computer player. Each level of the default set
(`Levels/Burrower/Default.BuL`) is played as Test Level by one computer player with
"Enemies" off, with the seeds 1 to {a.seeds}, until the level is done or 10 minutes of game
time (21429 steps of 28 ms) have passed:

    kelvra-cli play Default.BuL --until-end --one-level --max-steps 21429 --players 1 --ai all --no-enemies --seed S --level L

Each row: the runs that cleared the level, then the median and the largest number of game
steps they needed. The level number is the 0-based one `--level` takes.

| Level | Cleared · median / largest steps |
|---:|---|
""" + '\n'.join(rows) + '\n'
    if not a.no_write:
        with open(os.path.join(ROOT, 'docs', 'burrower-levels.md'), 'w') as f:
            f.write(text)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
