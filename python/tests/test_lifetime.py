"""What the module hands out lives on its own, and runs leak nothing."""
import gc
import os
import sys

import pytest

import syllex
from conftest import DATA, FOUR_TARGETS, FOUR_WORDS, SANITIZED


def test_records_outlive_the_run_and_the_learner_that_made_them():
    run = syllex.learn(DATA / "creation.tmp", targets=["ba/bi"])
    lexicon, curves, segmentation = run.lexicon, run.curves, run.segmentation
    learner = syllex.Learner()
    learner.feed(DATA / "creation.tmp")
    steps = list(learner)
    del run, learner
    gc.collect()
    assert lexicon[0].word == "ba/bi" and curves["ba/bi"][9] > 1
    assert segmentation[4] == ["ba/bi"]
    assert steps[8].created == "ba/bi" and steps[8].focus[0] == "ba/bi"


def test_a_run_outlives_everything_it_was_made_from(tmp_path):
    # The corpus file, the targets list and the learner inside learn() are gone;
    # the run still measures test items against its own learner.
    path = tmp_path / "corpus.tmp"
    path.write_bytes((DATA / "creation.tmp").read_bytes())
    targets = ["ba/bi"]
    run = syllex.learn(path, targets=targets)
    path.unlink()
    targets.clear()
    gc.collect()
    assert run.test_items(["ba/bi"])[0]["live"] is True
    assert list(run.curves) == ["ba/bi"]


def test_properties_keep_no_reference_to_their_run():
    run = syllex.learn(DATA / "creation.tmp", targets=["ba/bi"])
    before = sys.getrefcount(run)
    kept = [(run.lexicon, run.curves, run.segmentation, run.summary, run.messages,
             run.test_items(["ba"])) for _ in range(50)]
    assert sys.getrefcount(run) == before
    assert len(kept) == 50


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def use_everything(i):
    run = syllex.learn(FOUR_WORDS / "corpus.tmp", targets=FOUR_TARGETS,
                       segmentation="final" if i % 2 else "online")
    run.segmentation, run.lexicon, run.curves, run.summary, run.messages
    run.test_items([("pa/bi/ku", "word"), "zz/pa"])
    if i % 10 == 0:
        learner = syllex.Learner(targets=FOUR_TARGETS)
        learner.feed(FOUR_WORDS / "corpus.tmp")
        for _ in zip(range(50), learner):
            pass
        learner.run()
        learner.lexicon, learner.curves
        syllex.evaluate(run.segmentation, run.segmentation)


@pytest.mark.skipif(SANITIZED, reason="the sanitizers' allocator keeps freed memory aside")
def test_a_thousand_runs_do_not_grow_the_process():
    for i in range(100):
        use_everything(i)
    gc.collect()
    at_100 = resident_bytes()
    for i in range(100, 1000):
        use_everything(i)
    gc.collect()
    growth = resident_bytes() - at_100
    assert growth < 3 * 2**20, f"resident memory grew by {growth} bytes from run 100 to 1000"
