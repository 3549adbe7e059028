#!/usr/bin/env bash
# CTest's entry to the workflow tests: run_tests.sh BIN. Exits 77 (skipped)
# when snakemake or pytest is absent.
set -u
if ! command -v snakemake >/dev/null; then
  echo "skipped: snakemake is not installed (apt-get install snakemake)"; exit 77
fi
if ! /usr/bin/python3 -c "import pytest, pandas, matplotlib" 2>/dev/null; then
  echo "skipped: /usr/bin/python3 lacks pytest, pandas or matplotlib"; exit 77
fi
SYLLEX_BIN=$1 exec /usr/bin/python3 -m pytest -q -p no:cacheprovider "$(dirname "$0")"
