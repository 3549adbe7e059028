"""Prepares a corpus for the learner: its stream in the learner's input format
and, when there is one, its gold segmentation, each written whole or not at all.

Usage: prepare_corpus.py BIN PATH FORMAT GOLD|- OUT_INPUT OUT_GOLD
OUT_GOLD is left empty when the corpus has no gold (a corpus-format input
without GOLD).
"""
import sys

import syllex_workflow as w


def copy(source, target):
    with open(source) as text:
        w.write_atomic(target, text.read())


def main(bin_dir, path, fmt, gold, out_input, out_gold):
    config = {"bin": bin_dir}
    if fmt == "corpus":
        copy(path, out_input)
    else:
        w.run([w.tool(config, "syllex-prep"), "--from", fmt, "--to", "corpus",
               "--output", out_input, path])
    if gold != "-":
        copy(gold, out_gold)
    elif fmt == "gold":
        copy(path, out_gold)
    elif fmt == "tagged":
        w.run([w.tool(config, "syllex-prep"), "--from", "tagged", "--to", "gold",
               "--output", out_gold, path])
    else:
        w.write_atomic(out_gold, "")


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    main(*sys.argv[1:])
