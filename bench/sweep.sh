#!/usr/bin/env bash
# The cost of a sweep: a 48-run Brent sweep with scoring (runs.tsv) through the
# workflow on 2 cores, against the runs' own times, with one grid cell a job
# and with 24 cells a job.
#
#   bash bench/sweep.sh [BIN]     (BIN: folder of the syllex commands, default build-release)
#
# Prints, for each cells_per_job: the wall time of snakemake, the sum of the
# runs' learning seconds (runs.tsv) and of their whole syllex-segment
# processes (timed here one after another), and the target 1.5 x sum / 2.
# Needs ../shared/corpora/brent9mos. Run it on a quiet machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build-release}" && pwd)
corpus=$root/../shared/corpora/brent9mos
work=$(mktemp -d /tmp/syllex-sweep.XXXXXX)
trap 'rm -rf "$work"' EXIT
memory="[150, 300, 600, 1000, 1500, 2500, 5000, 10000]"
focus="[25, 40, 60, 80, 100, 150]"

# The runs alone, one after another: what learning and scoring cost.
start=$(date +%s.%N)
for m in 150 300 600 1000 1500 2500 5000 10000; do
  for f in 25 40 60 80 100 150; do
    "$bin/syllex-segment" -q --memory $m --focus $f -o "$work/seg.txt" "$corpus/corpus.tmp"
    "$bin/syllex-eval" --json "$work/seg.txt" "$corpus/gold.txt" >/dev/null
  done
done
serial=$(echo "$(date +%s.%N) - $start" | bc)
printf 'runs one after another (segment + eval, 48 runs): %.2f s\n' "$serial"

for cells in 1 24; do
  cat >"$work/sweep.yaml" <<YAML
bin: $bin
results: $work/results-$cells
grid: {memory: $memory, focus: $focus}
cells_per_job: $cells
corpora:
  brent: {path: $corpus/corpus.tmp, format: corpus, gold: $corpus/gold.txt}
YAML
  start=$(date +%s.%N)
  (cd "$work" && snakemake -s "$root/workflow/Snakefile" --cores 2 --configfile sweep.yaml \
    --quiet all -- "$work/results-$cells/runs.tsv" >"$work/log-$cells" 2>&1) || { tail "$work/log-$cells"; exit 1; }
  wall=$(echo "$(date +%s.%N) - $start" | bc)
  learning=$(awk -F'\t' 'NR > 1 { s += $NF } END { print s }' "$work/results-$cells/runs.tsv")
  printf 'cells_per_job %2d: %d runs, wall %.2f s; learning %.2f s (target %.2f s);' \
    "$cells" "$(($(wc -l <"$work/results-$cells/runs.tsv") - 1))" "$wall" "$learning" \
    "$(echo "1.5 * $learning / 2" | bc -l)"
  printf ' whole runs %.2f s (target %.2f s)\n' "$serial" "$(echo "1.5 * $serial / 2" | bc -l)"
done
