"""What the workflow's rules share: the configuration, the grid cells each job
runs, tables written whole or not at all, and the rows of runs.tsv.

Only the standard library here, so that a segment job starts quickly; the
plots import pandas and matplotlib themselves.
"""
import json
import math
import os
import re
import shutil
import subprocess
import tempfile

SCORES = [
    f"{kind}_{measure}"
    for kind in ("token", "type", "boundary_all", "boundary_noedge")
    for measure in ("precision", "recall", "fscore")
]
ITEM_CLASSES = [("word", "words_bits"), ("part-word", "part_words_bits"),
                ("non-word", "non_words_bits")]
COLUMNS = (["source", "kind", "learner", "memory", "focus", "segmentation", "lexicon_size",
            "composites_alive", "composites_created"] + SCORES
           + [column for _, column in ITEM_CLASSES] + ["seconds"])
NAME = re.compile(r"^[A-Za-z0-9_.-]+$")


class ConfigError(ValueError):
    pass


def normalize(config):
    """The configuration with every default filled in; raises ConfigError."""
    out = {
        "bin": str(config.get("bin") or ""),
        "results": str(config.get("results") or "results"),
        "segmentation": config.get("segmentation", "online"),
        "cells_per_job": int(config.get("cells_per_job", 1)),
        "corpora": {},
        "languages": {},
    }
    if out["segmentation"] not in ("online", "final"):
        raise ConfigError("segmentation must be online or final")
    if out["cells_per_job"] < 1:
        raise ConfigError("cells_per_job must be at least 1")
    grid = config.get("grid") or {}
    memory = [int(m) for m in grid.get("memory", [150])]
    focus = [int(f) for f in grid.get("focus", [25])]
    if not memory or not focus:
        raise ConfigError("grid: memory and focus need at least one value each")
    out["cells"] = [(m, f) for m in memory for f in focus]
    cell = config.get("curves_cell") or {}
    out["curves_cell"] = (int(cell.get("memory", memory[0])), int(cell.get("focus", focus[0])))
    if out["curves_cell"] not in out["cells"]:
        raise ConfigError("curves_cell is not a cell of the grid")
    for name, corpus in (config.get("corpora") or {}).items():
        check_name(name, out)
        fmt = corpus.get("format", "corpus")
        if fmt not in ("corpus", "gold", "tagged"):
            raise ConfigError(f"corpus {name}: format must be corpus, gold or tagged")
        if "path" not in corpus:
            raise ConfigError(f"corpus {name}: no path")
        out["corpora"][name] = {
            "path": corpus["path"], "format": fmt, "gold": corpus.get("gold"),
            "targets": [str(t) for t in corpus.get("targets") or []],
        }
    for name, language in (config.get("languages") or {}).items():
        check_name(name, out)
        learners = int(language.get("learners", 1))
        first = int(language.get("seed", 1))
        if learners < 1:
            raise ConfigError(f"language {name}: learners must be at least 1")
        out["languages"][name] = {
            "args": str(language.get("args", "")),
            "seeds": list(range(first, first + learners)),
            "targets": language.get("targets"),  # None: the language's words
        }
    if not out["corpora"] and not out["languages"]:
        raise ConfigError("the configuration names no corpus and no language")
    return out


def check_name(name, out):
    if not NAME.match(str(name)):
        raise ConfigError(f"name {name!r}: use letters, digits, '_', '-' and '.' only")
    if name in out["corpora"] or name in out["languages"]:
        raise ConfigError(f"name {name!r} is used twice")


def learners(config, source):
    """The learner folders of a source: s1, s2, ... for a language."""
    if source in config["languages"]:
        return [f"s{seed}" for seed in config["languages"][source]["seeds"]]
    return ["corpus"]


def batches(config):
    """Names of the groups of grid cells that one job runs: part1of4, ...

    Cells are dealt out in turn (part j takes cells j, j + n, ...), so that
    each group mixes small and large capacities and the jobs last alike.
    """
    size, total = config["cells_per_job"], len(config["cells"])
    count = -(-total // size)
    return [f"part{j}of{count}" for j in range(1, count + 1)]


def batch_cells(config, batch):
    part, count = map(int, re.match(r"part(\d+)of(\d+)$", batch).groups())
    return config["cells"][part - 1::count]


def sort_key(sources):
    """Rows in the order of the sources, then learner, memory and focus."""
    def key(fields):
        learner = fields["learner"]
        return (sources.index(fields["source"]), int(learner) if learner != "NA" else -1,
                int(fields["memory"]), int(fields["focus"]))
    return key


def cell_name(memory, focus):
    return f"m{memory}_f{focus}"


def tool(config, name):
    return os.path.join(config["bin"], name) if config["bin"] else name


def write_atomic(path, text):
    """Writes text to a temporary file beside path, then renames it over path."""
    folder = os.path.dirname(path) or "."
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".tmp-", suffix=os.path.basename(path))
    try:
        with os.fdopen(handle, "w") as out:
            out.write(text)
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.unlink(temporary)
        raise


def replace_folder(temporary, path):
    """Puts a finished folder in place of path at once."""
    if os.path.isdir(path):
        shutil.rmtree(path)
    os.replace(temporary, path)


def run(command):
    """Runs a command; on failure raises with its standard error."""
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} exited with {done.returncode}:\n{done.stderr}")
    return done.stdout


def read_items(path):
    """Rows of a TSV with a header line, as dicts."""
    with open(path) as lines:
        header = lines.readline().rstrip("\n").split("\t")
        return [dict(zip(header, line.rstrip("\n").split("\t"))) for line in lines if line.strip()]


def words_of_items(path):
    return [row["item"] for row in read_items(path) if row.get("class") == "word"]


def mean_bits(measures):
    """Mean bits of each class's items; items with an unheard syllable (NA) are
    left out, a class with none is None."""
    means = {}
    for label, column in ITEM_CLASSES:
        values = [float(row["bits"]) for row in measures
                  if row["class"] == label and row["bits"] != "NA"]
        means[column] = sum(values) / len(values) if values else None
    return means


def format_value(value):
    if value is None or (isinstance(value, float) and math.isnan(value)):
        return "NA"
    if isinstance(value, float):
        return f"{value:.10g}"
    return str(value)


def run_row(source, kind, learner, summary, scores, measures):
    """One row of runs.tsv as a dict of COLUMNS; scores and measures may be None."""
    parameters = summary["parameters"]
    row = {
        "source": source, "kind": kind,
        "learner": learner[1:] if learner.startswith("s") else "NA",
        "memory": parameters["memory"], "focus": parameters["focus"],
        "segmentation": parameters["segmentation"],
        "lexicon_size": summary["lexicon_size"],
        "composites_alive": summary["composites_alive"],
        "composites_created": summary["composites_created"],
        "seconds": float(summary["seconds"]),
    }
    for name in SCORES:
        row[name] = scores.get(name) if scores else None
    row.update(mean_bits(measures) if measures is not None else
               {column: None for _, column in ITEM_CLASSES})
    return row


def table(rows):
    lines = ["\t".join(COLUMNS)]
    lines += ["\t".join(format_value(row[column]) for column in COLUMNS) for row in rows]
    return "\n".join(lines) + "\n"


def read_json(path):
    with open(path) as text:
        return json.load(text)
