#!/usr/bin/python3
"""Speed-up of learning on threads through the Python module.

Learns the Brent corpus 16 times (a grid of capacities) on 1 thread, then on 2,
and prints the best wall-clock times of 3 rounds and the speed-up. learn() releases the GIL, so
on 2 free cores the speed-up should be near 2.

    PYTHONPATH=build-release /usr/bin/python3 bench/python_threads.py [--runs 16]

Needs ../shared/corpora/brent9mos/corpus.tmp beside the repository (or
--corpus); exits 0 with a message when it is absent.
"""
import argparse
import concurrent.futures
import itertools
import os
import pathlib
import sys
import time

import syllex

ROOT = pathlib.Path(__file__).resolve().parents[1]
BRENT = ROOT.parent / "shared" / "corpora" / "brent9mos" / "corpus.tmp"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--corpus", type=pathlib.Path, default=BRENT)
    parser.add_argument("--runs", type=int, default=16)
    parser.add_argument("--threads", type=int, default=2)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    if not args.corpus.exists():
        print(f"skipped: {args.corpus} is absent", file=sys.stderr)
        return 0

    text = args.corpus.read_text()  # read once: the runs time learning alone
    cells = list(itertools.islice(itertools.cycle(
        itertools.product([100, 150, 200, 300], [20, 25, 30, 40])), args.runs))

    def learn(cell):
        run = syllex.learn(text, memory=cell[0], focus=cell[1])
        return len(run.lexicon)

    learn(cells[0])  # warm the caches and the module
    timings = {}
    results = {}
    # The best of a few rounds, alternating, so that a neighbour's burst on a
    # shared machine weighs on neither side alone.
    for _ in range(args.rounds):
        for threads in (1, args.threads):
            started = time.perf_counter()
            with concurrent.futures.ThreadPoolExecutor(max_workers=threads) as pool:
                results[threads] = list(pool.map(learn, cells))
            elapsed = time.perf_counter() - started
            timings[threads] = min(timings.get(threads, elapsed), elapsed)
    assert results[1] == results[args.threads], "threads changed the results"

    speedup = timings[1] / timings[args.threads]
    print(f"corpus: {args.corpus} ({len(text)} bytes), {args.runs} runs, "
          f"{os.cpu_count()} cores")
    print(f"1 thread:  {timings[1]:.3f} s ({timings[1] / args.runs * 1000:.1f} ms a run)")
    print(f"{args.threads} threads: {timings[args.threads]:.3f} s")
    print(f"speed-up:  {speedup:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
