"""Joins the tables of the groups of runs into runs.tsv, written whole.

Usage: gather.py OUTPUT TABLE...   (the tables in the order of the rows)
"""
import sys

import syllex_workflow as w


def main(output, tables):
    lines = ["\t".join(w.COLUMNS) + "\n"]
    for path in tables:
        with open(path) as table:
            header = table.readline()
            if header.rstrip("\n").split("\t") != w.COLUMNS:
                sys.exit(f"{path}: unexpected columns")
            lines += [line for line in table if line.strip()]
    w.write_atomic(output, "".join(lines))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
