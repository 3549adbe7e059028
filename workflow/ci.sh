#!/usr/bin/env bash
# CI of the workflow: runs a small sweep locally, then through a single-node
# Slurm started on this machine with the Slurm profile, and checks that both
# give the same runs.tsv but for the seconds column.
#
#   bash workflow/ci.sh [BIN]     (BIN: folder of the syllex commands, default build)
#
# Needs root for Slurm. Installs slurm-wlm and munge when they are missing.
# Everything it starts is stopped at the end, and the machine's munge key and
# slurm.conf are put back as they were. A Slurm already answering is used as
# it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build}" && pwd)
export USER=${USER:-$(id -un)}  # Snakemake's Slurm code reads it
export MPLBACKEND=Agg
for command in syllex-segment syllex-eval syllex-lang syllex-prep; do
  [ -x "$bin/$command" ] || { echo "ci.sh: $bin/$command is missing; build first" >&2; exit 1; }
done
if [ ! -c /dev/null ]; then
  # Something renamed a file over it (an output written "whole" as root);
  # munged refuses to start without the real device.
  echo "ci.sh: /dev/null is not a device; making it one again" >&2
  rm -f /dev/null && mknod -m 666 /dev/null c 1 3
fi
if ! command -v snakemake >/dev/null; then
  apt-get update -qq && apt-get install -y -qq snakemake python3-pandas python3-matplotlib
fi

work=$(mktemp -d /tmp/syllex-ci.XXXXXX)
started=()          # "name:pidfile" of the daemons this script started
restore=()          # files to put back: "target:backup" ("target:" to remove)
cleanup() {
  set +e
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    name=${started[i]%%:*} pidfile=${started[i]#*:}
    if [ -s "$pidfile" ]; then
      pid=$(cat "$pidfile")
      kill "$pid" 2>/dev/null && echo "stopped $name ($pid)"
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
  done
  for entry in "${restore[@]}"; do
    target=${entry%%:*} backup=${entry#*:}
    if [ -n "$backup" ]; then mv -f "$backup" "$target"; else rm -f "$target"; fi
  done
  rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/ci.yaml" <<YAML
bin: $bin
grid: {memory: [150, 600], focus: [25, 60]}
cells_per_job: 2
curves_cell: {memory: 150, focus: 25}
languages:
  four:
    args: "--words tu/pi/ro,go/la/bu,bi/da/ku,pa/do/ti --tokens 120"
    learners: 3
  random:
    args: "--random-words 5 --syllables-per-word 2 --tokens 200 --boundary-every 10"
    learners: 2
    seed: 40
corpora:
  mini:
    path: $root/workflow/tests/data/mini_gold.txt
    format: gold
    targets: [kI/ti, D^]
YAML

sweep() {  # sweep NAME [snakemake options...]
  local name=$1
  shift
  mkdir -p "$work/$name"
  (cd "$work/$name" && snakemake -s "$root/workflow/Snakefile" --configfile "$work/ci.yaml" \
    --config results="$work/$name/results" --quiet "$@") >"$work/$name.log" 2>&1 ||
    { echo "ci.sh: the $name sweep failed:"; tail -40 "$work/$name.log"; exit 1; }
  echo "$name sweep: $(($(wc -l <"$work/$name/results/runs.tsv") - 1)) runs," \
    "$(ls "$work/$name/results/plots" | wc -l) plot files"
}

echo "== local sweep (2 cores)"
sweep local --cores 2

echo "== single-node Slurm"
if sinfo -h >/dev/null 2>&1; then
  echo "a Slurm controller already answers: using it"
else
  [ "$(id -u)" = 0 ] || { echo "ci.sh: starting Slurm needs root" >&2; exit 1; }
  if ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq slurm-wlm munge
  fi
  keep() {  # keep FILE: put FILE back at the end as it is now
    if [ -e "$1" ]; then cp -p "$1" "$work/backup.$(basename "$1")"; restore+=("$1:$work/backup.$(basename "$1")")
    else restore+=("$1:"); fi
  }
  if ! pgrep -u munge -x munged >/dev/null; then
    if [ ! -s /etc/munge/munge.key ]; then
      keep /etc/munge/munge.key
      mkdir -p /etc/munge
      dd if=/dev/urandom of=/etc/munge/munge.key bs=1024 count=1 status=none
    fi
    chown munge:munge /etc/munge/munge.key && chmod 400 /etc/munge/munge.key
    mkdir -p /run/munge /var/lib/munge /var/log/munge
    chown munge:munge /run/munge /var/lib/munge /var/log/munge
    runuser -u munge -- /usr/sbin/munged --pid-file=/run/munge/ci-munged.pid
    started+=("munged:/run/munge/ci-munged.pid")
  fi
  munge -n | unmunge >/dev/null && echo "munge: credentials round-trip"
  host=$(hostname -s)
  node=$(slurmd -C | head -1 | sed 's/ UpTime=.*//')  # NodeName=host CPUs=... RealMemory=...
  mkdir -p /etc/slurm "$work/slurm/state" "$work/slurm/spool"
  keep /etc/slurm/slurm.conf
  cat >/etc/slurm/slurm.conf <<CONF
ClusterName=syllexci
SlurmctldHost=$host
SlurmUser=root
AuthType=auth/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MinJobAge=900
StateSaveLocation=$work/slurm/state
SlurmdSpoolDir=$work/slurm/spool
SlurmctldPidFile=$work/slurm/slurmctld.pid
SlurmdPidFile=$work/slurm/slurmd.pid
SlurmctldLogFile=$work/slurm/slurmctld.log
SlurmdLogFile=$work/slurm/slurmd.log
$node State=UNKNOWN
PartitionName=ci Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
  slurmctld && started+=("slurmctld:$work/slurm/slurmctld.pid")
  slurmd && started+=("slurmd:$work/slurm/slurmd.pid")
  for _ in $(seq 60); do
    state=$(sinfo -h -n "$host" -o %T 2>/dev/null || true)
    [ "$state" = idle ] && break
    sleep 0.5
  done
  sinfo
  [ "$state" = idle ] || { echo "ci.sh: the node is not idle:"; tail -20 "$work/slurm/"*.log; exit 1; }
fi
echo "sbatch test: $(sbatch --parsable --wait --output=/dev/null --wrap=true >/dev/null && echo job ran)"

echo "== the same sweep through the Slurm profile"
sweep slurm --profile "$root/workflow/profiles/slurm" --jobs 4
jobs=$(ls "$work/slurm/.snakemake/slurm-logs" 2>/dev/null | wc -l)
echo "Slurm ran $jobs jobs"
[ "$jobs" -gt 0 ] || { echo "ci.sh: no job went through Slurm"; exit 1; }

echo "== comparing runs.tsv (all columns but seconds)"
drop_seconds() { awk -F'\t' -v OFS='\t' '{ NF--; print }' "$1"; }
if ! diff <(drop_seconds "$work/local/results/runs.tsv") <(drop_seconds "$work/slurm/results/runs.tsv"); then
  echo "ci.sh: FAILED: the local and Slurm sweeps differ"
  exit 1
fi
header=$(head -1 "$work/local/results/runs.tsv")
[ "${header##*$'\t'}" = seconds ] || { echo "ci.sh: the last column is not seconds"; exit 1; }
echo "the same $(($(wc -l <"$work/local/results/runs.tsv") - 1)) rows locally and on Slurm"
echo "workflow CI passed"
