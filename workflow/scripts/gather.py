"""Joins the tables of the groups of runs into runs.tsv, written whole.

Usage: gather.py OUTPUT TABLE...   (rows sorted by source in order of appearance, learner, memory, focus)
"""
import sys

import syllex_workflow as w


def main(output, tables):
    rows, sources = [], []
    for path in tables:
        with open(path) as table:
            header = table.readline()
            if header.rstrip("\n").split("\t") != w.COLUMNS:
                sys.exit(f"{path}: unexpected columns")
            for line in table:
                if line.strip():
                    rows.append(dict(zip(w.COLUMNS, line.rstrip("\n").split("\t"))))
                    if rows[-1]["source"] not in sources:
                        sources.append(rows[-1]["source"])
    rows.sort(key=w.sort_key(sources))
    lines = ["\t".join(w.COLUMNS)] + ["\t".join(row[c] for c in w.COLUMNS) for row in rows]
    w.write_atomic(output, "\n".join(lines) + "\n")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
