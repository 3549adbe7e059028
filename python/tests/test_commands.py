"""The module gives what the commands give: syllex-segment and syllex-eval."""
import json
import subprocess
import sys
import warnings

import pytest

import syllex
from conftest import DATA, FOUR_TARGETS, FOUR_WORDS, SOURCE, run_command


def number(value):
    return "%.17g" % value  # the commands' exactNumber: nan, inf as C prints them


def gold_form(word):
    return word[:-1] if word.endswith("/") else word


def segmentation_text(run):
    return "".join(" ".join(words) + "\n" for words in run.segmentation)


def lexicon_tsv(run):
    rows = ["rank\tword\tcodelength\tfrequency\tsyllables\tid\n"]
    for rank, e in enumerate(run.lexicon, 1):
        rows.append(f"{rank}\t{e.word}\t{number(e.codelength)}\t{e.frequency}\t{e.syllables}"
                    f"\t{e.id}\n")
    return "".join(rows)


def curves_tsv(run):
    rows = ["target\tblock\tvalue\n"]
    for target, values in run.curves.items():
        for block, value in enumerate(values, 1):
            if value is not None:
                rows.append(f"{gold_form(target)}\t{block}\t{number(value)}\n")
    return "".join(rows)


def items_tsv(measures):
    rows = ["item\tclass\tlive\tcodelength\tbits\tpieces\n"]
    for m in measures:
        bits = "NA" if m["bits"] is None else number(m["bits"])
        pieces = "NA" if m["pieces"] is None else str(m["pieces"])
        rows.append(f"{m['item']}\t{m['class']}\t{str(m['live']).lower()}"
                    f"\t{number(m['codelength'])}\t{bits}\t{pieces}\n")
    return "".join(rows)


def without_seconds(summary):
    summary = dict(summary)
    summary.pop("seconds")
    return summary


@pytest.fixture(scope="module")
def zipf(tmp_path_factory):
    """A generated corpus with utterances, a few thousand syllables."""
    path = tmp_path_factory.mktemp("zipf") / "zipf.tmp"
    text = subprocess.run(
        [sys.executable, str(SOURCE / "tools" / "gen_corpus.py"), "zipf", "3000",
         "--inventory", "300", "--seed", "3"],
        check=True, capture_output=True, text=True).stdout
    path.write_text(text)
    return path


CASES = [
    # name, corpus (path, or a callable of the zipf fixture), learn's options
    ("creation", DATA / "creation.tmp", {"targets": ["ba/bi", "ko/zz/"]}),
    ("two focus 0", DATA / "two.tmp", {"focus": 0}),
    ("gold", DATA / "two.gold", {"format": "gold", "targets": ["do/ba"]}),
    ("tagged", DATA / "two.tagged", {"format": "tagged", "memory": 20}),
    ("nan curves", DATA / "nan.tmp", {"targets": ["a/b"]}),
    ("four words", FOUR_WORDS / "corpus.tmp", {"targets": FOUR_TARGETS}),
    ("four words small", FOUR_WORDS / "corpus.tmp",
     {"memory": 60, "focus": 12, "targets": FOUR_TARGETS[:2]}),
    ("zipf", "zipf", {"targets": ["bi/ko"], "memory": 300, "focus": 40}),
]


def flags(options):
    args = ["--format", options.get("format", "corpus"),
            "--memory", options.get("memory", 150), "--focus", options.get("focus", 25)]
    for target in options.get("targets", ()):
        args += ["--target", target]
    return args


@pytest.mark.parametrize("mode", ["online", "final"])
@pytest.mark.parametrize("name, corpus, options", CASES, ids=[c[0] for c in CASES])
def test_learn_matches_syllex_segment(name, corpus, options, mode, zipf, tmp_path):
    if corpus == "zipf":
        corpus = zipf
    items = DATA / "items.tsv"
    out, err = run_command(
        "syllex-segment", "--quiet", *flags(options), "--segmentation", mode,
        "--lexicon", tmp_path / "lexicon.tsv", "--curves", tmp_path / "curves.tsv",
        "--summary", tmp_path / "summary.json", "--test-items", items,
        "--test-output", tmp_path / "items.tsv", corpus)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", RuntimeWarning)
        run = syllex.learn(corpus, segmentation=mode, **options)
    assert segmentation_text(run) == out
    assert lexicon_tsv(run) == (tmp_path / "lexicon.tsv").read_text()
    assert curves_tsv(run) == (tmp_path / "curves.tsv").read_text()
    assert without_seconds(run.summary) == without_seconds(
        json.loads((tmp_path / "summary.json").read_text()))
    pairs = [tuple(line.split("\t")) for line in items.read_text().splitlines()]
    assert items_tsv(run.test_items(pairs)) == (tmp_path / "items.tsv").read_text()
    # The command prefixes each engine message with its name.
    assert ["syllex-segment: " + m for m in run.messages] == err.splitlines()
    # The module's own TSV forms are the same text.
    assert (run.lexicon_tsv(), run.curves_tsv(), run.segmentation_text()) == (
        lexicon_tsv(run), curves_tsv(run), out)


def test_the_nan_case_does_have_nan_and_messages():
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", RuntimeWarning)
        run = syllex.learn(DATA / "nan.tmp", targets=["a/b"])
    assert "\tnan\n" in run.curves_tsv() and run.messages


EVAL_PAIRS = [
    ("hand", DATA / "eval_text.txt", DATA / "eval_gold.txt"),
    ("same", DATA / "eval_gold.txt", DATA / "eval_gold.txt"),
    ("two", DATA / "two.gold", DATA / "two.gold"),
]


@pytest.mark.parametrize("name, text, gold", EVAL_PAIRS, ids=[p[0] for p in EVAL_PAIRS])
def test_evaluate_matches_syllex_eval(name, text, gold):
    out, _ = run_command("syllex-eval", "--json", text, gold)
    assert syllex.evaluate(text, gold) == json.loads(out)


@pytest.mark.parametrize("mode", ["online", "final"])
def test_a_run_scored_in_python_as_on_the_command_line(mode, zipf, tmp_path):
    # The zipf corpus has no gold file: each segmentation serves as gold for
    # the other one.
    run = syllex.learn(zipf, segmentation=mode)
    other = syllex.learn(zipf, segmentation="final" if mode == "online" else "online")
    (tmp_path / "text.txt").write_text(run.segmentation_text())
    (tmp_path / "gold.txt").write_text(other.segmentation_text())
    out, _ = run_command("syllex-eval", "--json", tmp_path / "text.txt", tmp_path / "gold.txt")
    assert syllex.evaluate(run.segmentation, other.segmentation) == json.loads(out)
