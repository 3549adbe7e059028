#!/usr/bin/python3
"""A grid of memory x focus capacities on the four-word language.

Learns the bundled four-word corpus once per cell of the grid (on threads: the
module releases the GIL while it learns), prints a table of what each learner
ends with and saves a plot of the target words' learning curves.

    PYTHONPATH=build /usr/bin/python3 examples/python/grid.py [PLOT.png]

The plot goes to grid.png in the current folder unless a path is given. The
table's columns: the capacities; lexicon, the final lexicon's size; words, how
many of the four words are live chunks; final_bits, the targets' mean
codelength over the last tenth of the input; token_f and boundary_f, the
online segmentation's scores against the corpus cut into its words.
"""
import argparse
import concurrent.futures
import itertools
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")  # files only, no display
import matplotlib.pyplot as plt  # noqa: E402
import pandas as pd  # noqa: E402

import syllex  # noqa: E402

EXAMPLE = pathlib.Path(__file__).resolve().parents[1] / "four_words"
MEMORIES = [40, 80, 150, 300]
FOCI = [5, 8, 12, 25]


def read_targets(params):
    """The target words of a parameter file: line 15 counts them, one a line after."""
    lines = params.read_text().splitlines()
    count = int(lines[14].split()[0])
    return lines[15:15 + count]


def gold_of(corpus, words):
    """The corpus's utterances cut into the language's words, longest match first."""
    spelled = sorted((w.rstrip("/").split("/") for w in words), key=len, reverse=True)
    gold = []
    for line in corpus.read_text().replace("\n", "").split("//"):
        syllables = [s for s in line.split("/") if s]
        cut, i = [], 0
        while i < len(syllables):
            word = next((w for w in spelled if syllables[i:i + len(w)] == w), syllables[i:i + 1])
            cut.append("/".join(word))
            i += len(word)
        if cut:
            gold.append(cut)
    return gold


def learn_cell(corpus, targets, gold, memory, focus):
    run = syllex.learn(corpus, memory=memory, focus=focus, targets=targets)
    scores = syllex.evaluate(run.segmentation, gold)
    live = {entry.word for entry in run.lexicon}
    last = [values[-1] for values in run.curves.values() if values[-1] is not None]
    row = {
        "memory": memory,
        "focus": focus,
        "lexicon": len(run.lexicon),
        "words": sum(t.rstrip("/") in live for t in targets),
        "final_bits": sum(last) / len(last) if last else float("nan"),
        "token_f": scores["token_fscore"],
        "boundary_f": scores["boundary_noedge_fscore"],
    }
    curves = run.curves_frame().assign(memory=memory, focus=focus)
    return row, curves


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("plot", nargs="?", default="grid.png", help="where the PNG goes")
    parser.add_argument("--corpus", type=pathlib.Path, default=EXAMPLE / "corpus.tmp")
    parser.add_argument("--params", type=pathlib.Path, default=EXAMPLE / "param03.tmp")
    args = parser.parse_args()

    targets = read_targets(args.params)
    gold = gold_of(args.corpus, targets)
    cells = list(itertools.product(MEMORIES, FOCI))
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        results = list(pool.map(lambda c: learn_cell(args.corpus, targets, gold, *c), cells))

    table = pd.DataFrame([row for row, _ in results])
    print(table.to_string(index=False, float_format=lambda x: f"{x:.3f}"))

    # A panel per memory, a line per focus: the four targets' mean codelength
    # over each tenth of the input.
    curves = pd.concat([c for _, c in results])
    means = curves.groupby(["memory", "focus", "block"])["value"].mean().reset_index()
    figure, panels = plt.subplots(1, len(MEMORIES), figsize=(12, 3.8), sharey=True)
    for axes, memory in zip(panels, MEMORIES):
        for focus in FOCI:
            cell = means[(means["memory"] == memory) & (means["focus"] == focus)]
            axes.plot(cell["block"], cell["value"], marker="o", markersize=3,
                      label=f"focus {focus}")
        axes.set_title(f"memory {memory} bits")
        axes.set_xlabel("tenth of the input")
        axes.set_xticks(range(1, 11))
    panels[0].set_ylabel("mean codelength of the four words (bits)")
    panels[-1].legend(fontsize="small")
    figure.suptitle("Four-word language: learning curves over the grid")
    figure.tight_layout()
    figure.savefig(args.plot, format="png")
    print(f"plot saved to {args.plot}", file=sys.stderr)


if __name__ == "__main__":
    main()
