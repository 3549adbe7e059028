"""Scores a group of runs and writes their rows of runs.tsv, whole or not at
all: the segmentation against the gold (when there is one), the summary, and
the mean bits of each class of test items (when there are some).

Usage: score_cells.py --bin B --runs DIR --source NAME --kind corpus|language
                      --learner L [--gold GOLD] --output TSV CELL...
"""
import argparse
import json
import os

import syllex_workflow as w


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", default="")
    parser.add_argument("--runs", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--kind", required=True)
    parser.add_argument("--learner", required=True)
    parser.add_argument("--gold")
    parser.add_argument("--output", required=True)
    parser.add_argument("cells", nargs="+")
    args = parser.parse_args()
    config = {"bin": args.bin}
    rows = []
    for cell in args.cells:
        memory, focus = cell.split(":")
        folder = os.path.join(args.runs, w.cell_name(memory, focus))
        summary = w.read_json(os.path.join(folder, "summary.json"))
        scores = None
        if args.gold:
            scores = json.loads(w.run([w.tool(config, "syllex-eval"), "--json",
                                       os.path.join(folder, "segmentation.txt"), args.gold]))
        items = os.path.join(folder, "items.tsv")
        measures = w.read_items(items) if os.path.exists(items) else None
        rows.append(w.run_row(args.source, args.kind, args.learner, summary, scores, measures))
    w.write_atomic(args.output, w.table(rows))


if __name__ == "__main__":
    main()
