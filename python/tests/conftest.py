"""Shared paths for the tests of the syllex module.

CTest sets SYLLEX_BIN_DIR (the build folder's top, where the commands and the
module are) and SYLLEX_SOURCE_DIR; run by hand, the paths fall back to a
build folder named in SYLLEX_BIN_DIR or to the source tree around this file.
"""
import os
import pathlib
import subprocess

import pytest

DATA = pathlib.Path(__file__).parent / "data"
SOURCE = pathlib.Path(os.environ.get("SYLLEX_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
BIN = pathlib.Path(os.environ.get("SYLLEX_BIN_DIR", SOURCE / "build"))
FOUR_WORDS = SOURCE / "examples" / "four_words"
FOUR_TARGETS = ["pa/bi/ku/", "ti/bu/do/", "go/la/tu/", "da/ro/pi/"]
SANITIZED = bool(os.environ.get("SYLLEX_SANITIZED"))


def command(name):
    """The path of a command of the build, skipping the test when it is not built."""
    path = BIN / name
    if not path.exists():
        pytest.skip(f"{name} is not built in {BIN}")
    return path


def run_command(name, *args, cwd=None, stdin=None):
    """Runs a command of the build; returns (stdout, stderr), failing on a non-zero exit."""
    result = subprocess.run(
        [str(command(name)), *map(str, args)],
        cwd=cwd,
        input=stdin,
        capture_output=True,
        text=True,
        errors="surrogateescape",
    )
    assert result.returncode == 0, result.stderr
    return result.stdout, result.stderr
