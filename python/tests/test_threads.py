"""Runs on several threads give what the same runs give one after another."""
import concurrent.futures
import itertools

import syllex
from conftest import FOUR_TARGETS, FOUR_WORDS

GRID = list(itertools.product([40, 150, 400], [10, 25, 60], ["online", "final"]))


def results(run):
    summary = dict(run.summary)
    summary.pop("seconds")
    return (run.segmentation, run.lexicon, run.curves, summary, run.messages,
            run.test_items(FOUR_TARGETS))


def learn(cell):
    memory, focus, mode = cell
    return results(syllex.learn(FOUR_WORDS / "corpus.tmp", memory=memory, focus=focus,
                                targets=FOUR_TARGETS, segmentation=mode))


def step(cell):
    memory, focus, _ = cell
    learner = syllex.Learner(memory=memory, focus=focus, targets=FOUR_TARGETS)
    learner.feed(FOUR_WORDS / "corpus.tmp")
    return [s for s in learner], learner.lexicon, learner.curves


def test_a_grid_on_threads_equals_the_grid_in_sequence():
    sequential = [learn(cell) for cell in GRID]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        parallel = list(pool.map(learn, GRID))
    assert parallel == sequential
    # The cells differ, so equal lists are no accident of one result repeated.
    assert len({repr(r[1]) for r in sequential}) > 1


def test_learners_stepped_on_threads_equal_learners_stepped_in_sequence():
    cells = GRID[::4]
    sequential = [step(cell) for cell in cells]
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        assert list(pool.map(step, cells)) == sequential


def test_evaluate_on_threads():
    runs = [syllex.learn(FOUR_WORDS / "corpus.tmp", memory=m) for m in (40, 150, 400)]
    pairs = [(a.segmentation, b.segmentation) for a in runs for b in runs]
    sequential = [syllex.evaluate(*p) for p in pairs]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        assert list(pool.map(lambda p: syllex.evaluate(*p), pairs)) == sequential
