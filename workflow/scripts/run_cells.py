"""Runs the learner on one input for a group of grid cells, one syllex-segment
each. The cells' files appear in OUT together, when all are done: they are
written in a temporary folder beside it, renamed into place at the end.

Usage: run_cells.py --bin B --input CORPUS --out DIR --mode online|final
                    [--items TSV] [--target WORD]... [--targets-from-items] CELL...
CELL is MEMORY:FOCUS.
"""
import argparse
import os
import tempfile

import syllex_workflow as w


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", default="")
    parser.add_argument("--input", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--mode", default="online")
    parser.add_argument("--items")
    parser.add_argument("--target", action="append", default=[])
    parser.add_argument("--targets-from-items", action="store_true",
                        help="follow the words of the test items")
    parser.add_argument("cells", nargs="+")
    args = parser.parse_args()
    config = {"bin": args.bin}
    targets = list(args.target)
    if args.targets_from_items:
        targets += w.words_of_items(args.items)
    parent = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(parent, exist_ok=True)
    temporary = tempfile.mkdtemp(dir=parent, prefix=".tmp-" + os.path.basename(args.out))
    try:
        for cell in args.cells:
            memory, focus = cell.split(":")
            folder = os.path.join(temporary, w.cell_name(memory, focus))
            os.mkdir(folder)
            command = [w.tool(config, "syllex-segment"), "--quiet", "--memory", memory,
                       "--focus", focus, "--segmentation", args.mode,
                       "--output", os.path.join(folder, "segmentation.txt"),
                       "--lexicon", os.path.join(folder, "lexicon.tsv"),
                       "--curves", os.path.join(folder, "curves.tsv"),
                       "--summary", os.path.join(folder, "summary.json")]
            for target in targets:
                command += ["--target", target]
            if args.items:
                command += ["--test-items", args.items,
                            "--test-output", os.path.join(folder, "items.tsv")]
            w.run(command + [args.input])
        w.replace_folder(temporary, args.out)
    except BaseException:
        w.shutil.rmtree(temporary, ignore_errors=True)
        raise


if __name__ == "__main__":
    main()
