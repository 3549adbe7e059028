"""Learner: stepping through one run."""
import math

import pytest

import syllex
from conftest import DATA, FOUR_TARGETS, FOUR_WORDS


def test_steps_of_the_creation_corpus():
    # As reasoned in test_learn: steps 1-8 take ba and bi one at a time, step 9
    # creates ba/bi and consumes it; ko ku ke stay in the focus.
    learner = syllex.Learner(targets=["ba/bi"])
    learner.feed(DATA / "creation.tmp")
    steps = list(learner)
    assert [s.number for s in steps] == list(range(1, 10))
    assert [s.consumed for s in steps] == ["ba", "bi"] * 4 + ["ba/bi"]
    assert [s.created for s in steps] == [None] * 8 + ["ba/bi"]
    assert not any(s.revived for s in steps)
    # Each utterance ends after its bi: steps 2, 4, 6, 8 and 9.
    assert [s.number for s in steps if s.utterance_end] == [2, 4, 6, 8, 9]
    # Oldest first, the consumed word leading: step 1 sees ba bi of the first
    # utterance only, since the focus never crosses a boundary.
    assert steps[0].focus == ["ba", "bi"]
    assert steps[1].focus == ["bi"] and steps[1].gain is None
    assert isinstance(steps[0].gain, float)
    assert steps[8].focus[0] == "ba/bi"
    assert all(b.memory_bits > 0 for b in steps)
    assert learner.steps == 9
    assert list(learner) == []  # exhausted stays exhausted


def test_stepping_and_running_give_what_learn_gives():
    expected = syllex.learn(FOUR_WORDS / "corpus.tmp", targets=FOUR_TARGETS)
    stepped = syllex.Learner(targets=FOUR_TARGETS)
    stepped.feed(FOUR_WORDS / "corpus.tmp")
    first = [next(stepped) for _ in range(100)]
    assert [s.number for s in first] == list(range(1, 101))
    stepped.run()  # the remaining steps
    ran = syllex.Learner(targets=FOUR_TARGETS)
    ran.feed((FOUR_WORDS / "corpus.tmp").read_text())
    ran.run()
    for learner in (stepped, ran):
        assert learner.steps == expected.summary["steps"]
        assert learner.lexicon == expected.lexicon
        assert _same(learner.curves, expected.curves)
        assert learner.test_items(["pa/bi/ku"]) == expected.test_items(["pa/bi/ku"])
        assert learner.lexicon_frame().equals(expected.lexicon_frame())
        assert learner.curves_frame().equals(expected.curves_frame())


def _same(a, b):
    """Curves equal, nan matching nan."""
    def key(values):
        return [("nan",) if isinstance(v, float) and math.isnan(v) else v for v in values]
    return a.keys() == b.keys() and all(key(a[k]) == key(b[k]) for k in a)


# ba/bi forms at the last utterances, so its curve has values other than 10.
ONE_INPUT = "ba/bi//ba/bi//do/ba//" + "ba/bi//" * 4

# Pieces of the learner's format are joined as its lines are, so a piece may
# end inside a syllable; other formats add whole utterances.
FEEDS = [
    ("one piece", [(ONE_INPUT, "corpus")]),
    ("cut in a syllable", [("ba/b", "corpus"), ("i//ba/bi//d", "corpus"), ("o/ba//" + "ba/bi//" * 4, "corpus")]),
    ("gold then corpus", [("ba/bi\nba bi\n", "gold"), ("do/ba//" + "ba/bi//" * 4, "corpus")]),
    ("tagged", [("b a ;esyll b i ;esyll ;eword\n" * 2 + "d o ;esyll b a ;esyll ;eword\n"
                 + "b a ;esyll b i ;esyll ;eword\n" * 4, "tagged")]),
]


@pytest.mark.parametrize("name, pieces", FEEDS, ids=[f[0] for f in FEEDS])
def test_fed_pieces_are_heard_as_one_input(name, pieces):
    expected = syllex.learn(ONE_INPUT, targets=["ba/bi"])
    assert set(expected.curves["ba/bi"]) - {10.0, None}
    learner = syllex.Learner(targets=["ba/bi"])
    for text, format in pieces:
        learner.feed(text, format=format)
    learner.run()
    assert learner.lexicon == expected.lexicon
    assert learner.curves == expected.curves


def test_feed_after_stepping_raises_and_changes_nothing():
    learner = syllex.Learner()
    learner.feed("ba/bi//")
    next(learner)
    with pytest.raises(RuntimeError, match="after the first step"):
        learner.feed("do/")
    assert [s.consumed for s in learner] == ["bi"]


def test_a_learner_without_input_takes_no_step():
    learner = syllex.Learner()
    assert list(learner) == [] and learner.lexicon == [] and learner.steps == 0


def test_step_repr_names_every_field():
    learner = syllex.Learner()
    learner.feed("ba/bi//")
    step = next(learner)
    assert repr(step) == (
        "Step(number=1, focus=['ba', 'bi'], consumed='ba', gain=%r, created=None, "
        "revived=False, utterance_end=False, memory_bits=%r)" % (step.gain, step.memory_bits))


def test_learner_messages_are_kept_and_warned():
    learner = syllex.Learner(targets=["a/b"])
    learner.feed("a/b//a/b//")
    with pytest.warns(RuntimeWarning, match="timeCourse"):
        learner.run()
    assert learner.messages and all("timeCourse" in m for m in learner.messages)
