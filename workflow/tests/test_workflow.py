"""The workflow end to end on a tiny sweep, and the helpers its rules share.

Run with /usr/bin/python3 -m pytest workflow/tests; SYLLEX_BIN names the
folder of the syllex commands (CTest sets it to the build folder).
"""
import os
import shutil
import subprocess
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
WORKFLOW = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(WORKFLOW, "scripts"))
import syllex_workflow as w  # noqa: E402

BIN = os.environ.get("SYLLEX_BIN", os.path.join(WORKFLOW, "..", "build"))
MINI = os.path.join(HERE, "data", "mini_gold.txt")


def test_cells_are_dealt_out_to_the_jobs_in_turn():
    config = w.normalize({"grid": {"memory": [1, 2, 3, 4, 5], "focus": [9]}, "cells_per_job": 2,
                          "corpora": {"c": {"path": "x"}}})
    assert w.batches(config) == ["part1of3", "part2of3", "part3of3"]
    assert [w.batch_cells(config, b) for b in w.batches(config)] == [
        [(1, 9), (4, 9)], [(2, 9), (5, 9)], [(3, 9)]]
    config["cells_per_job"] = 5
    assert [w.batch_cells(config, b) for b in w.batches(config)] == [config["cells"]]


@pytest.mark.parametrize("config, message", [
    ({}, "names no corpus and no language"),
    ({"corpora": {"a b": {"path": "x"}}}, "use letters"),
    ({"corpora": {"c": {"path": "x", "format": "xml"}}}, "format must be"),
    ({"corpora": {"c": {"format": "gold"}}}, "no path"),
    ({"corpora": {"c": {"path": "x"}}, "languages": {"c": {}}}, "used twice"),
    ({"corpora": {"c": {"path": "x"}}, "segmentation": "later"}, "online or final"),
    ({"corpora": {"c": {"path": "x"}}, "curves_cell": {"memory": 7}}, "not a cell"),
])
def test_refuses_broken_configurations(config, message):
    with pytest.raises(w.ConfigError, match=message):
        w.normalize(config)


def test_mean_bits_leave_out_unheard_items():
    measures = [{"class": "word", "bits": "2"}, {"class": "word", "bits": "3"},
                {"class": "part-word", "bits": "NA"}, {"class": "non-word", "bits": "10.5"},
                {"class": "non-word", "bits": "NA"}]
    assert w.mean_bits(measures) == {"words_bits": 2.5, "part_words_bits": None,
                                     "non_words_bits": 10.5}


def test_a_row_of_runs_tsv():
    summary = {"parameters": {"memory": 150, "focus": 25, "segmentation": "final"},
               "lexicon_size": 9, "composites_alive": 2, "composites_created": 5,
               "seconds": 0.125}
    scores = {name: None for name in w.SCORES}
    scores["token_fscore"] = 2 / 3
    row = w.run_row("lang", "language", "s7", summary, scores, [{"class": "word", "bits": "4"}])
    assert w.table([row]).split("\n")[1].split("\t") == (
        ["lang", "language", "7", "150", "25", "final", "9", "2", "5"]
        + ["NA", "NA", "0.6666666667"] + ["NA"] * 9 + ["4", "NA", "NA", "0.125"])


def test_write_atomic_leaves_no_temporary_file(tmp_path):
    target = tmp_path / "t.tsv"
    w.write_atomic(str(target), "a\n")
    w.write_atomic(str(target), "b\n")
    assert target.read_text() == "b\n"
    assert os.listdir(tmp_path) == ["t.tsv"]


needs_tools = pytest.mark.skipif(
    shutil.which("snakemake") is None or not os.path.exists(os.path.join(BIN, "syllex-lang")),
    reason="snakemake or the syllex commands are missing")


def sweep(folder, config_text, *extra):
    (folder / "c.yaml").write_text(config_text)
    return subprocess.run(["snakemake", "-s", os.path.join(WORKFLOW, "Snakefile"), "--cores", "2",
                           "--configfile", "c.yaml", *extra], cwd=folder, text=True,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          env=dict(os.environ, MPLBACKEND="Agg"))


CONFIG = f"""
bin: {os.path.abspath(BIN)}
results: out
grid: {{memory: [150, 300], focus: [25, 40]}}
cells_per_job: 3
languages:
  four:
    args: "--words tu/pi/ro,go/la/bu,bi/da/ku,pa/do/ti --tokens 90 --boundary-every 30"
    learners: 2
    seed: 5
corpora:
  mini: {{path: {MINI}, format: gold, targets: [kI/ti]}}
"""


def rows(path):
    lines = path.read_text().splitlines()
    return lines[0].split("\t"), [dict(zip(lines[0].split("\t"), l.split("\t"))) for l in lines[1:]]


@needs_tools
def test_sweep_runs_scores_plots_and_reruns_only_what_is_missing(tmp_path):
    done = sweep(tmp_path, CONFIG)
    assert done.returncode == 0, done.stdout
    header, table = rows(tmp_path / "out" / "runs.tsv")
    assert header == w.COLUMNS
    cells = [("150", "25"), ("150", "40"), ("300", "25"), ("300", "40")]
    assert [(r["source"], r["learner"], r["memory"], r["focus"]) for r in table] == (
        [("mini", "NA", m, f) for m, f in cells] + [("four", "5", m, f) for m, f in cells]
        + [("four", "6", m, f) for m, f in cells])
    # A row says what syllex-segment and syllex-eval say of that run.
    segmented = subprocess.run([os.path.join(BIN, "syllex-segment"), "-q", "--format", "gold",
                                "--memory", "300", "--focus", "40", MINI],
                               stdout=subprocess.PIPE, text=True, check=True).stdout
    (tmp_path / "seg.txt").write_text(segmented)
    scores = subprocess.run([os.path.join(BIN, "syllex-eval"), "--json", "seg.txt", MINI],
                            cwd=tmp_path, stdout=subprocess.PIPE, text=True, check=True).stdout
    expected = __import__("json").loads(scores)
    mini = table[3]
    for name in w.SCORES:
        assert mini[name] == w.format_value(expected[name]), name
    assert mini["words_bits"] == "NA"
    for row in table[4:]:
        assert row["kind"] == "language"
        assert float(row["words_bits"]) >= 0 and row["non_words_bits"] != "NA"
    plots = sorted(os.listdir(tmp_path / "out" / "plots"))
    assert plots == sorted(f"{s}_{k}.{e}" for s, k in [("mini", "fscore"), ("mini", "curves"),
                                                       ("four", "fscore"), ("four", "curves"),
                                                       ("four", "items")] for e in ("png", "svg"))
    assert (tmp_path / "out" / "plots" / "four_items.png").read_bytes()[:4] == b"\x89PNG"
    # No temporary file anywhere.
    leftovers = [f for _, _, files in os.walk(tmp_path / "out") for f in files
                 if f.startswith(".tmp-")]
    assert leftovers == []

    again = sweep(tmp_path, CONFIG)
    assert again.returncode == 0 and "Nothing to be done" in again.stdout, again.stdout
    # Lost tables are made again, and only they and what depends on them (a
    # lost intermediate alone is not: runs.tsv stands for it).
    (tmp_path / "out" / "runs" / "four" / "s6" / "part1of2.tsv").unlink()
    (tmp_path / "out" / "runs.tsv").unlink()
    redo = sweep(tmp_path, CONFIG)
    assert redo.returncode == 0, redo.stdout
    jobs = [line.split()[0] for line in redo.stdout.splitlines()
            if line.split() and line.split()[0] in ("prepare_language", "prepare_corpus",
                                                       "segment", "score", "gather", "plot")]
    assert sorted(jobs) == ["gather", "plot", "score"], redo.stdout
    assert rows(tmp_path / "out" / "runs.tsv")[1] == table


@needs_tools
def test_a_failing_job_leaves_no_table(tmp_path):
    # The gold does not hold the corpus's syllables: scoring fails, and
    # neither its table nor runs.tsv may exist afterwards.
    (tmp_path / "gold.txt").write_text("x y\n")
    config = CONFIG.replace(f"format: gold, targets: [kI/ti]",
                            f"format: gold, gold: {tmp_path / 'gold.txt'}")
    done = sweep(tmp_path, config)
    assert done.returncode != 0
    assert not (tmp_path / "out" / "runs.tsv").exists()
    assert not (tmp_path / "out" / "runs" / "mini" / "corpus" / "part1of2.tsv").exists()
    leftovers = [f for _, _, files in os.walk(tmp_path / "out") for f in files
                 if f.startswith(".tmp-")]
    assert leftovers == []
