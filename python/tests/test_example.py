"""examples/python/grid.py runs, prints its table and saves its plot."""
import io
import itertools
import os
import subprocess
import sys

import pandas as pd

import syllex
from conftest import FOUR_TARGETS, FOUR_WORDS, SOURCE

SCRIPT = SOURCE / "examples" / "python" / "grid.py"
COLUMNS = ["memory", "focus", "lexicon", "words", "final_bits", "token_f", "boundary_f"]


def run_script(cwd, *args):
    result = subprocess.run([sys.executable, str(SCRIPT), *args], cwd=cwd, env=os.environ,
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    return result


def test_grid_prints_its_table_and_saves_a_png(tmp_path):
    result = run_script(tmp_path, "curves.png")
    table = pd.read_csv(io.StringIO(result.stdout), sep=r"\s+")
    assert list(table.columns) == COLUMNS
    assert list(zip(table["memory"], table["focus"])) == list(
        itertools.product([40, 80, 150, 300], [5, 8, 12, 25]))
    # A row holds what the module gives for its cell.
    row = table[(table["memory"] == 150) & (table["focus"] == 25)].iloc[0]
    run = syllex.learn(FOUR_WORDS / "corpus.tmp", targets=FOUR_TARGETS)
    assert row["lexicon"] == len(run.lexicon)
    live = {e.word for e in run.lexicon}
    assert row["words"] == sum(t.rstrip("/") in live for t in FOUR_TARGETS) == 4
    assert table["words"].between(0, 4).all()
    png = tmp_path / "curves.png"
    assert png.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n" and png.stat().st_size > 10000
    assert "curves.png" in result.stderr


def test_grid_plots_to_the_current_folder_by_default(tmp_path):
    run_script(tmp_path)
    assert (tmp_path / "grid.png").stat().st_size > 0
