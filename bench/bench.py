#!/usr/bin/env python3
"""Benchmarks of whole syllex runs: wall time, peak memory, microseconds per syllable.

Usage: python3 bench/bench.py [--runs 5] [--binary build-release/syllex]
                              [--corpora ../shared/corpora] [--only NAME ...]

Every case runs in a scratch folder, as the program reads and writes fixed
file names in its current folder. Figures are medians over the runs; peak
memory is the largest resident set seen. "net" subtracts the median time of a
run with no input at all (process start and table set-up). The Brent cases
are skipped when the corpora folder is absent.
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


def parameters(mode, memory, focus):
    lines = ["benchmark", str(mode), "-", "-", str(memory), str(focus)] + ["-"] * 8 + ["0"]
    return "\n".join(lines) + "\n"


TIME = "/usr/bin/time"


def timed_run(binary, folder):
    """Runs the binary once in the folder; returns (seconds, peak KiB).

    The peak comes from /usr/bin/time where it exists: a child forked from
    this interpreter would count the interpreter's own pages in its peak.
    """
    for name in ("result03.tmp", "graph03.tmp"):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            os.remove(path)
    peak_file = os.path.join(folder, "peak.txt")
    command = [binary]
    if os.path.exists(TIME):
        command = [TIME, "-f", "%M", "-o", peak_file, binary]
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL,
                             stdin=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{binary} failed in {folder}")
    peak = usage.ru_maxrss
    if os.path.exists(peak_file):
        with open(peak_file) as f:
            peak = int(f.read().split()[-1])
        os.remove(peak_file)
    return seconds, peak


def measure(binary, folder, runs):
    results = [timed_run(binary, folder) for _ in range(runs)]
    return statistics.median(r[0] for r in results), max(r[1] for r in results)


def dd_seconds(folder, size, runs):
    times = []
    target = os.path.join(folder, "dd.out")
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(["dd", "if=/dev/zero", f"of={target}", "bs=1M",
                        f"count={size // (1 << 20)}", "status=none"], check=True)
        with open(target, "ab") as tail:
            tail.write(b"\0" * (size % (1 << 20)))
        times.append(time.perf_counter() - start)
        os.remove(target)
    return statistics.median(times)


def syllables(corpus_text):
    return sum(1 for field in corpus_text.replace("\r", "").replace("\n", "").split("/") if field)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--binary", default=os.path.join(ROOT, "build-release", "syllex"))
    parser.add_argument("--corpora", default=os.path.join(ROOT, "..", "shared", "corpora"))
    parser.add_argument("--only", nargs="*")
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    if not os.path.exists(binary):
        subprocess.run(["make", "-C", ROOT, "all"], check=True, stdout=subprocess.DEVNULL)
    brent = os.path.join(args.corpora, "brent9mos")
    have_brent = os.path.exists(os.path.join(brent, "corpus.tmp"))
    scratch = tempfile.mkdtemp(prefix="syllex_bench_")

    cases = []  # (name, corpus text, parameter text)
    if have_brent:
        with open(os.path.join(brent, "corpus.tmp")) as f:
            corpus = f.read()
        with open(os.path.join(brent, "param03.tmp")) as f:
            brent_parameters = f.read()
        cases.append(("brent, mode 2, 150/25 bits", corpus, brent_parameters))
        cases.append(("brent, mode 2, 1500/60 bits", corpus, parameters(2, 1500, 60)))
    generator = os.path.join(ROOT, "tools", "gen_corpus.py")
    for count in (10**4, 10**5, 10**6):
        corpus = subprocess.run([sys.executable, generator, "zipf", str(count), "--seed", "1"],
                                check=True, capture_output=True, text=True).stdout
        cases.append((f"generated 10^{len(str(count)) - 1}, mode 2", corpus, parameters(2, 150, 25)))
    if have_brent:
        with open(os.path.join(brent, "corpus.tmp")) as f:
            first = "".join(f.readlines()[:2000])
        cases.append(("brent first 2000 utterances, mode 1", first,
                      brent_parameters.replace("\n2 ", "\n1 ", 1)))

    empty = os.path.join(scratch, "empty")
    os.makedirs(empty)
    baseline, _ = measure(binary, empty, args.runs)
    print(f"binary: {binary}")
    print(f"runs per case: {args.runs}; start-up (empty run): {baseline * 1000:.1f} ms")
    print(f"{'case':40} {'syllables':>10} {'wall s':>8} {'peak MB':>8} {'us/syl':>7} {'net us/syl':>10}")
    for index, (name, corpus, params) in enumerate(cases):
        if args.only and not any(word in name for word in args.only):
            continue
        folder = os.path.join(scratch, f"case{index}")
        os.makedirs(folder)
        with open(os.path.join(folder, "corpus.tmp"), "w") as f:
            f.write(corpus)
        with open(os.path.join(folder, "param03.tmp"), "w") as f:
            f.write(params)
        count = syllables(corpus)
        seconds, peak = measure(binary, folder, args.runs)
        print(f"{name:40} {count:>10} {seconds:>8.3f} {peak / 1024:>8.1f} "
              f"{seconds / count * 1e6:>7.2f} {(seconds - baseline) / count * 1e6:>10.2f}")
        if "mode 1" in name:
            size = os.path.getsize(os.path.join(folder, "result03.tmp"))
            dd = dd_seconds(folder, size, args.runs)
            print(f"{'':40} result03.tmp {size} bytes; dd writes as many in {dd:.3f} s; "
                  f"ratio {seconds / dd:.2f}")
    shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
