"""evaluate(): the twelve scores, from every form of input."""
import pytest

import syllex
from conftest import DATA

KEYS = [f"{kind}_{ratio}" for kind in ("token", "type", "boundary_all", "boundary_noedge")
        for ratio in ("precision", "recall", "fscore")]

# eval_text.txt against eval_gold.txt (a blank line in each is skipped):
#   utterance 1: text the|dog|gy, gold the|dog/gy; utterance 2 the same in both.
#   token: 6 text words, 5 gold words, 4 in both: 4/6, 4/5, 8/11.
#   type: text {the, dog, gy, dog/gy, is}, gold {the, dog/gy, is}: 3/5, 3/3, 6/8.
#   boundary_all: {0,1,2,3} vs {0,1,3}, then {0,1,3,4} in both: 7/8, 7/7, 14/15.
#   boundary_noedge: {1,2} vs {1}, then {1,3} in both: 3/4, 3/3, 6/7.
EXPECTED = dict(zip(KEYS, [4 / 6, 4 / 5, 8 / 11, 3 / 5, 1.0, 6 / 8,
                           7 / 8, 1.0, 14 / 15, 3 / 4, 1.0, 6 / 7]))

SIDES = [
    ("paths", DATA / "eval_text.txt", DATA / "eval_gold.txt"),
    ("gold text", (DATA / "eval_text.txt").read_text(), (DATA / "eval_gold.txt").read_text()),
    ("utterance strings", ["the dog gy", "the dog/gy is"], ["the dog/gy", "", "the dog/gy is"]),
    ("word lists", [["the", "dog", "gy"], ("the", "dog/gy", "is")],
     [["the", "dog/gy"], ["the", "dog/gy", "is"]]),
    ("mixed", iter(["the dog gy", ["the", "dog/gy", "is"]]), [["the", "dog/gy"], "the dog/gy is"]),
]


@pytest.mark.parametrize("name, text, gold", SIDES, ids=[s[0] for s in SIDES])
def test_scores_worked_out_by_hand(name, text, gold):
    scores = syllex.evaluate(text, gold)
    assert list(scores) == KEYS
    assert scores == pytest.approx(EXPECTED, rel=1e-15)


def test_undefined_scores_are_none():
    assert syllex.evaluate([], []) == dict.fromkeys(KEYS)
    # One-word utterances have no inner boundary: noedge has nothing to count.
    scores = syllex.evaluate(["a/b"], ["a/b"])
    assert [scores[k] for k in KEYS[9:]] == [None, None, None]
    assert [scores[k] for k in KEYS[:9]] == [1.0] * 9


def test_a_run_scores_its_own_segmentation():
    run = syllex.learn(DATA / "creation.tmp")
    gold = ["ba/bi"] * 5 + ["ko ku ke"]
    scores = syllex.evaluate(run.segmentation, gold)
    # 4 of the 5 ba/bi are cut in two; ko ku ke match: 4 correct of 12 text, 8 gold words.
    assert scores["token_precision"] == 4 / 12 and scores["token_recall"] == 4 / 8
