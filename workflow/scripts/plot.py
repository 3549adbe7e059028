"""Draws the figures of a sweep from runs.tsv and the target curves, each as
PNG and SVG, each file written whole (drawn to a temporary name, renamed).

Usage: plot.py RUNS_TSV PLOTS_DIR SPEC_JSON
SPEC_JSON maps each source to {"curves": [curves.tsv of each learner at the
curves cell], "cell": [memory, focus], "items": true|false}.
"""
import json
import os
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import pandas as pd  # noqa: E402


CLASSES = [("words_bits", "words"), ("part_words_bits", "part-words"),
           ("non_words_bits", "non-words")]


def save(figure, folder, stem):
    for extension in ("png", "svg"):
        path = os.path.join(folder, f"{stem}.{extension}")
        handle, temporary = tempfile.mkstemp(dir=folder, prefix=".tmp-", suffix="." + extension)
        os.close(handle)
        try:
            figure.savefig(temporary, format=extension, dpi=100, bbox_inches="tight")
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise
    plt.close(figure)


def message_figure(text):
    figure, axes = plt.subplots(figsize=(4, 1.5))
    axes.axis("off")
    axes.text(0.5, 0.5, text, ha="center", va="center")
    return figure


def fscore_heatmap(runs, source):
    rows = runs[runs["source"] == source]
    if rows["token_fscore"].isna().all():
        return message_figure(f"{source}: no gold segmentation")
    grid = rows.pivot_table(index="focus", columns="memory", values="token_fscore", aggfunc="mean")
    figure, axes = plt.subplots(figsize=(1.2 + 0.9 * len(grid.columns), 1.0 + 0.6 * len(grid.index)))
    image = axes.imshow(grid.values, origin="lower", cmap="viridis", aspect="auto")
    axes.set_xticks(range(len(grid.columns)), [str(m) for m in grid.columns])
    axes.set_yticks(range(len(grid.index)), [str(f) for f in grid.index])
    axes.set_xlabel("memory (bits)")
    axes.set_ylabel("focus (bits)")
    for y in range(len(grid.index)):
        for x in range(len(grid.columns)):
            value = grid.values[y, x]
            if pd.notna(value):
                axes.text(x, y, f"{value:.3f}", ha="center", va="center",
                          color="white" if value < grid.values.mean() else "black", fontsize=8)
    learners = rows["learner"].nunique()
    title = f"{source}: token F-score"
    if learners > 1:
        title += f" (mean of {learners} learners)"
    axes.set_title(title, fontsize=10)
    figure.colorbar(image, ax=axes)
    return figure


def curves_figure(source, plan):
    frames = [pd.read_csv(path, sep="\t", keep_default_na=False) for path in plan["curves"]]
    frames = [frame for frame in frames if len(frame)]
    memory, focus = plan["cell"]
    if not frames:
        return message_figure(f"{source}: no target words")
    curves = pd.concat(frames).groupby(["target", "block"], sort=False)["value"].mean()
    figure, axes = plt.subplots(figsize=(6, 3.5))
    for target in dict.fromkeys(curves.index.get_level_values(0)):
        line = curves[target]
        axes.plot(line.index, line.values, marker="o", markersize=3, label=target)
    axes.set_xlabel("block (tenth of the input)")
    axes.set_ylabel("codelength (bits)")
    axes.set_xticks(range(1, 11))
    title = f"{source}: target codelengths, memory {memory}, focus {focus}"
    if len(frames) > 1:
        title += f", mean of {len(frames)} learners"
    axes.set_title(title, fontsize=10)
    axes.legend(fontsize=7, ncol=2)
    return figure


def items_figure(runs, source):
    rows = runs[runs["source"] == source].copy()
    rows["cell"] = rows["memory"].astype(str) + "/" + rows["focus"].astype(str)
    cells = list(dict.fromkeys(rows["cell"]))
    figure, axes = plt.subplots(figsize=(1.5 + 1.1 * len(cells), 3.5))
    width = 0.8 / len(CLASSES)
    for i, (column, label) in enumerate(CLASSES):
        stats = rows.groupby("cell", sort=False)[column].agg(["mean", "sem", "count"])
        stats = stats.reindex(cells)
        axes.bar([c + (i - 1) * width for c in range(len(cells))], stats["mean"], width,
                 yerr=stats["sem"].fillna(0), capsize=3, label=label)
    axes.set_xticks(range(len(cells)), cells)
    axes.set_xlabel("memory / focus (bits)")
    axes.set_ylabel("mean bits (± s.e. over learners)")
    axes.set_title(f"{source}: test items, {rows['learner'].nunique()} learners", fontsize=10)
    axes.legend(fontsize=8)
    return figure


def main(runs_path, folder, plan_json):
    os.makedirs(folder, exist_ok=True)
    runs = pd.read_csv(runs_path, sep="\t", na_values=["NA"], keep_default_na=False)
    plan = json.loads(plan_json)
    for source, entry in plan.items():
        save(fscore_heatmap(runs, source), folder, f"{source}_fscore")
        save(curves_figure(source, entry), folder, f"{source}_curves")
        if entry["items"]:
            save(items_figure(runs, source), folder, f"{source}_items")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
