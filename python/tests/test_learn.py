"""learn() and Run: the main paths, on fixtures worked out by hand."""
import math
import os
import pydoc
import warnings

import pytest

import syllex
from conftest import DATA

# creation.tmp: ba/bi five times then ko/ku/ke/ left open. Steps 1-8 take ba and
# bi one at a time; step 9 creates ba/bi and consumes it; ko ku ke are still in
# the focus when the input ends, so no step takes them and they come out as
# that focus factorized them. At the end T = 13: f(ba/bi) = 6, f(ba) = f(bi) =
# 2, f(ko) = f(ku) = f(ke) = 1. The target ba/bi reads 10 for the 8 syllables
# before it exists, then log2(12/5) (T = 12, f = 5 at step 9) twice; 18 ids
# make ten blocks of one value each.
CREATION_ONLINE = [["ba", "bi"]] * 4 + [["ba/bi"], ["ko", "ku", "ke"]]
CREATION_FINAL = [["ba/bi"]] * 5 + [["ko", "ku", "ke"]]
CREATION_LEXICON = [  # word, codelength, frequency, syllables, id
    ("ba/bi", math.log2(13 / 6), 6, 2, 6),
    ("ba", math.log2(13 / 2), 2, 1, 1),
    ("bi", math.log2(13 / 2), 2, 1, 2),
    ("ko", math.log2(13), 1, 1, 3),
    ("ku", math.log2(13), 1, 1, 4),
    ("ke", math.log2(13), 1, 1, 5),
]
CREATION_CURVE = [10.0] * 8 + [math.log2(12 / 5)] * 2


def fields(entry):
    return (entry.word, entry.codelength, entry.frequency, entry.syllables, entry.id)


def approx_lexicon(rows):
    return [(w, pytest.approx(c, abs=1e-12), f, s, i) for w, c, f, s, i in rows]


@pytest.mark.parametrize(
    "segmentation, expected", [("online", CREATION_ONLINE), ("final", CREATION_FINAL)]
)
def test_creation_run_gives_the_reasoned_results(segmentation, expected):
    run = syllex.learn(DATA / "creation.tmp", targets=["ba/bi"], segmentation=segmentation)
    assert run.segmentation == expected
    assert [fields(e) for e in run.lexicon] == approx_lexicon(CREATION_LEXICON)
    assert list(run.curves) == ["ba/bi"]
    assert run.curves["ba/bi"] == pytest.approx(CREATION_CURVE, abs=1e-12)
    assert run.messages == []
    summary = dict(run.summary)
    assert isinstance(summary.pop("seconds"), float)
    assert summary == {
        "version": syllex.__version__,
        "parameters": {"memory": 150, "focus": 25, "targets": ["ba/bi"],
                       "segmentation": segmentation},
        "input": {"file": str(DATA / "creation.tmp"), "syllables": 13,
                  "distinct_syllables": 5, "utterances": 6},
        "steps": 9,
        "lexicon_size": 6,
        "composites_alive": 1,
        "composites_created": 1,
    }


def test_test_items_measure_against_the_final_lexicon():
    run = syllex.learn(DATA / "creation.tmp")
    # ba/bi is a live chunk; bi/ba is none and factorizes as bi + ba; zz was
    # never heard. Input form and a bare string are accepted.
    measures = run.test_items([("ba/bi/", "word"), "bi/ba", ("ko/zz", "non-word")])
    assert measures == [
        {"item": "ba/bi", "class": "word", "live": True,
         "codelength": pytest.approx(math.log2(13 / 6), abs=1e-12),
         "bits": pytest.approx(math.log2(13 / 6), abs=1e-12), "pieces": 1},
        {"item": "bi/ba", "class": "", "live": False, "codelength": 10.0,
         "bits": pytest.approx(2 * math.log2(13 / 2), abs=1e-12), "pieces": 2},
        {"item": "ko/zz", "class": "non-word", "live": False, "codelength": 10.0,
         "bits": None, "pieces": None},
    ]
    assert run.test_items([]) == []


# two.*: the same two utterances, ba bi and do ba, in the three formats. A focus
# of 0 bits is full with one syllable, so every step takes one and no chunk
# forms: T = 3 + 4, f(ba) = 3, f(bi) = f(do) = 2.
TWO_LEXICON = [
    ("ba", math.log2(7 / 3), 3, 1, 1),
    ("bi", math.log2(7 / 2), 2, 1, 2),
    ("do", math.log2(7 / 2), 2, 1, 3),
]
class FsPath:
    """Any os.PathLike, not only pathlib's."""

    def __init__(self, path):
        self.path = os.fspath(path)

    def __fspath__(self):
        return self.path


TWO_INPUTS = [
    ("path", lambda: DATA / "two.tmp", "corpus"),
    ("PathLike", lambda: FsPath(DATA / "two.tmp"), "corpus"),
    ("text", lambda: (DATA / "two.tmp").read_text(), "corpus"),
    ("bytes", lambda: (DATA / "two.tmp").read_bytes(), "corpus"),
    ("gold", lambda: DATA / "two.gold", "gold"),
    ("tagged", lambda: (DATA / "two.tagged").read_text(), "tagged"),
]


@pytest.mark.parametrize("how, corpus, format", TWO_INPUTS, ids=[c[0] for c in TWO_INPUTS])
def test_every_form_of_input_gives_the_same_run(how, corpus, format):
    run = syllex.learn(corpus(), format=format, focus=0)
    assert [fields(e) for e in run.lexicon] == approx_lexicon(TWO_LEXICON)
    assert run.segmentation == [["ba", "bi"], ["do", "ba"]]
    assert run.summary["steps"] == 4


def test_a_plain_str_is_text_never_a_path():
    # The text is a one-syllable corpus whose syllable is the path itself.
    path = str(DATA / "two.tmp")
    run = syllex.learn(path.replace("/", "|") + "/")
    assert [e.word for e in run.lexicon] == [path.replace("/", "|")]
    assert run.summary["input"]["file"] == "<text>"


def test_targets_in_either_form_are_keyed_as_given():
    run = syllex.learn(DATA / "creation.tmp", targets=("ba/bi", "ba/bi/", "ko/zz"))
    assert list(run.curves) == ["ba/bi", "ba/bi/", "ko/zz"]
    assert run.curves["ba/bi"] == run.curves["ba/bi/"]
    assert run.curves["ko/zz"] == [10.0] * 10
    assert run.summary["parameters"]["targets"] == ["ba/bi", "ba/bi", "ko/zz"]


def test_curves_keep_unfilled_blocks_as_none_and_nan_as_nan():
    # No step runs on a b c (4.75 of 25 bits): no block is ever completed.
    assert syllex.learn("a/b/c/", targets=["a/b"]).curves == {"a/b": [None] * 10}
    # Fewer than 10 ids: block means are nan; blocks past the input stay unfilled.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", RuntimeWarning)
        values = syllex.learn("a/b//a/b//", targets=["a/b"]).curves["a/b"]
    assert len(values) == 10
    filled = [v for v in values if v is not None]
    assert filled and all(math.isnan(v) for v in filled)
    assert values[len(filled):] == [None] * (10 - len(filled))


def test_capacities_reach_the_learner():
    run = syllex.learn(DATA / "two.tmp", memory=7, focus=0)
    assert run.summary["parameters"] == {"memory": 7, "focus": 0, "targets": [],
                                         "segmentation": "online"}


def test_engine_messages_are_kept_and_warned_never_printed(capfd):
    with pytest.warns(RuntimeWarning, match="timeCourse"):
        run = syllex.learn("a/b//a/b//", targets=["a/b"])
    assert run.messages and all("timeCourse" in m for m in run.messages)
    out, err = capfd.readouterr()
    assert (out, err) == ("", "")


def test_an_empty_corpus_is_a_run_of_nothing():
    run = syllex.learn("")
    assert (run.segmentation, run.lexicon, run.curves) == ([], [], {})
    assert run.summary["steps"] == 0
    assert list(run.lexicon_frame().columns) == [
        "rank", "word", "codelength", "frequency", "syllables", "id"]
    assert len(run.curves_frame()) == 0


def test_non_ascii_and_undecodable_bytes_survive():
    run = syllex.learn("ça/\xffb/ça/".encode("latin-1") + "ça/".encode())
    words = [e.word for e in run.lexicon]
    assert "ça" in words  # UTF-8
    assert any(w.encode("utf-8", "surrogateescape") == b"\xe7a" for w in words)


def test_frames_hold_what_the_tsv_files_hold():
    run = syllex.learn(DATA / "creation.tmp", targets=["ba/bi/"])
    lexicon = run.lexicon_frame()
    assert list(lexicon.columns) == ["rank", "word", "codelength", "frequency", "syllables", "id"]
    assert lexicon["rank"].tolist() == [1, 2, 3, 4, 5, 6]
    assert [tuple(r) for r in lexicon.drop(columns="rank").itertuples(index=False)] == [
        fields(e) for e in run.lexicon]
    curves = run.curves_frame()
    assert list(curves.columns) == ["target", "block", "value"]
    assert curves["target"].tolist() == ["ba/bi"] * 10  # gold form, as the TSV writes it
    assert curves["block"].tolist() == list(range(1, 11))
    assert curves["value"].tolist() == run.curves["ba/bi/"]


def test_tsv_and_text_forms_are_the_commands():
    run = syllex.learn(DATA / "creation.tmp", targets=["ba/bi"])
    assert run.segmentation_text() == "ba bi\nba bi\nba bi\nba bi\nba/bi\nko ku ke\n"
    assert run.lexicon_tsv().splitlines()[:2] == [
        "rank\tword\tcodelength\tfrequency\tsyllables\tid", "1\tba/bi\t1.1154772174199359\t6\t2\t6"]
    assert run.curves_tsv().splitlines()[-1] == "ba/bi\t10\t1.2630344058337937"


def test_records_are_read_only_compare_by_value_and_read_well():
    first, second = syllex.learn(DATA / "creation.tmp"), syllex.learn(DATA / "creation.tmp")
    entry = first.lexicon[0]
    assert entry == second.lexicon[0] and entry != first.lexicon[1]
    assert hash(entry) == hash(second.lexicon[0])
    assert repr(entry) == (
        "LexiconEntry(word='ba/bi', codelength=1.1154772174199359, frequency=6, "
        "syllables=2, id=6)")
    with pytest.raises(AttributeError):
        entry.word = "x"
    assert repr(first) == "<syllex.Run: 6 utterances, 9 steps, lexicon of 6>"


def test_help_documents_every_public_name():
    text = pydoc.render_doc(syllex, renderer=pydoc.plaintext)
    for name in ["learn(corpus", "evaluate(text, gold)", "class Learner", "class Run",
                 "class Step", "class LexiconEntry", "test_items", "lexicon_frame"]:
        assert name in text
    for thing in (syllex.learn, syllex.evaluate):
        assert thing.__doc__
    for cls in (syllex.Run, syllex.Learner):
        for name, member in vars(cls).items():
            if not name.startswith("_"):
                assert member.__doc__, f"{cls.__name__}.{name}"
    # A record's fields are told in its class's doc.
    for cls in (syllex.Step, syllex.LexiconEntry):
        for name, member in vars(cls).items():
            if not name.startswith("_"):
                assert name in cls.__doc__, f"{cls.__name__}.{name}"
