#!/usr/bin/env python3
"""Times the research commands on the Brent corpus against the fixed program.

    make all && python3 bench/research_commands.py [--runs N]

syllex-segment (online, with --lexicon and --summary) is timed against syllex
in result-file mode 2 on the same corpus and capacities, alternating the two so
that both see the same machine; the ratio of their medians is the figure. Then
syllex-eval of that segmentation against the gold, and syllex-prep of the gold
into the learner's input. Skipped when ../shared/corpora/brent9mos is absent.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BRENT = os.path.join(ROOT, "..", "shared", "corpora", "brent9mos")


def timed(command, cwd):
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--bin", default=os.path.join(ROOT, "build-release"))
    args = parser.parse_args()
    if not os.path.isdir(BRENT):
        print("skipped: no Brent corpus at", BRENT)
        return 0
    binary = lambda name: os.path.join(args.bin, name)
    work = tempfile.mkdtemp()
    try:
        shutil.copy(os.path.join(BRENT, "corpus.tmp"), work)
        with open(os.path.join(BRENT, "param03.tmp")) as source:
            lines = source.read().split("\n")
        lines[1] = "2"
        with open(os.path.join(work, "param03.tmp"), "w") as target:
            target.write("\n".join(lines))
        gold = os.path.join(BRENT, "gold.txt")
        segment = [binary("syllex-segment"), "-q", "--params", "param03.tmp", "corpus.tmp",
                   "--lexicon", "lexicon.tsv", "--summary", "summary.json", "-o", "seg.txt"]
        fixed, ours = [], []
        for _ in range(args.runs):
            fixed.append(timed([binary("syllex")], work))
            ours.append(timed(segment, work))
        evaluate = [timed([binary("syllex-eval"), "seg.txt", gold], work) for _ in range(args.runs)]
        prep = [timed([binary("syllex-prep"), gold, "-o", "c.txt"], work) for _ in range(args.runs)]
        f, o = statistics.median(fixed), statistics.median(ours)
        print(f"syllex mode 2           {f:.3f} s")
        print(f"syllex-segment online   {o:.3f} s   ratio {o / f:.2f} (target 1.3)")
        print(f"syllex-eval             {statistics.median(evaluate):.3f} s   (target 0.1)")
        print(f"syllex-prep gold->corpus {statistics.median(prep):.3f} s   (target 0.1)")
    finally:
        shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
