"""Errors become Python exceptions with the messages of the commands."""
import pytest

import syllex
from conftest import DATA

CASES = [
    # what, call, exception, message (a regular expression)
    ("missing file", lambda: syllex.learn(DATA / "missing.tmp"), FileNotFoundError, "missing.tmp"),
    ("directory", lambda: syllex.learn(DATA), IsADirectoryError, "data"),
    ("blank in a syllable", lambda: syllex.learn("ba/b i//"), ValueError,
     r'^<text>:1: syllable "b i" \(syllable 2 of the corpus\) contains a blank'),
    ("malformed tagged", lambda: syllex.learn(DATA / "two.gold", format="tagged"), ValueError,
     r"two\.gold:1: "),
    ("unknown format", lambda: syllex.learn("a/", format="csv"), ValueError, "csv"),
    ("unknown segmentation", lambda: syllex.learn("a/", segmentation="both"), ValueError,
     "both"),
    ("corpus of no kind", lambda: syllex.learn(["a/"]), TypeError, "os.PathLike"),
    ("targets as one string", lambda: syllex.learn("a/", targets="a/"), TypeError, "targets"),
    ("a target not a str", lambda: syllex.learn("a/", targets=[3]), TypeError, "target"),
    ("positional options", lambda: syllex.learn("a/", "gold"), TypeError, ""),
    ("too many syllables", lambda: syllex.learn("".join(f"s{i}/" for i in range(10000))),
     ValueError, r"^<text>: 10000 distinct syllables, more than the 9999"),
    ("test item with an empty syllable",
     lambda: syllex.learn("a/").test_items(["a", "a//b"]), ValueError,
     r'^items:2: empty syllable in item "a//b"'),
    ("test item of three fields", lambda: syllex.learn("a/").test_items([("a", "w", "x")]),
     ValueError, "test item 1"),
    ("utterance count differs", lambda: syllex.evaluate(["a b"], ["a b", "c"]), ValueError,
     "^text"),
    ("syllables differ", lambda: syllex.evaluate(["a b"], ["a c"]), ValueError, "^text:1: "),
    ("word with a blank", lambda: syllex.evaluate([["a b"]], [["a", "b"]]), ValueError,
     "^text:1: word 1 holds a blank"),
    ("empty word", lambda: syllex.evaluate([["a", ""]], [["a"]]), ValueError,
     "^text:1: word 2 is empty"),
    ("utterance with a line feed", lambda: syllex.evaluate(["a\nb"], ["a", "b"]), ValueError,
     "^text:1: the utterance holds a line feed"),
    ("gold file missing", lambda: syllex.evaluate(["a"], DATA / "missing.txt"),
     FileNotFoundError, "missing.txt"),
    ("feed of a bad corpus", lambda: syllex.Learner().feed("a b/"), ValueError, "^<text>:1: "),
    ("feed of a missing file", lambda: syllex.Learner().feed(DATA / "none"), FileNotFoundError,
     "none"),
]


@pytest.mark.parametrize("what, call, error, message", CASES, ids=[c[0] for c in CASES])
def test_errors(what, call, error, message):
    with pytest.raises(error, match=message):
        call()


def test_too_many_syllables_fed_are_refused_at_the_first_step():
    learner = syllex.Learner()
    learner.feed("".join(f"s{i}/" for i in range(5000)))
    learner.feed("".join(f"t{i}/" for i in range(5000)))
    with pytest.raises(ValueError, match="10000 distinct syllables"):
        learner.run()
