#!/usr/bin/python3
"""Snakemake's cluster-status: prints running, success or failed for a Slurm
job id (as sbatch --parsable gives it: ID or ID;CLUSTER), from scontrol.

scontrol needs no accounting database. Slurm forgets a finished job after
MinJobAge (300 s by default); a job it no longer knows is reported failed, so
that Snakemake runs it again rather than wait forever.
"""
import subprocess
import sys

DONE = {"COMPLETED"}
FAILED = {"FAILED", "CANCELLED", "TIMEOUT", "NODE_FAIL", "OUT_OF_MEMORY", "BOOT_FAIL",
          "DEADLINE", "PREEMPTED", "REVOKED", "SPECIAL_EXIT"}


def state(job):
    done = subprocess.run(["scontrol", "show", "job", "--oneliner", job],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        if "Invalid job id" in done.stderr:
            return "failed"
        return "running"  # the controller is busy or restarting: ask again later
    for field in done.stdout.split():
        if field.startswith("JobState="):
            value = field.split("=", 1)[1]
            if value in DONE:
                return "success"
            if value in FAILED:
                return "failed"
            return "running"
    return "running"


if __name__ == "__main__":
    print(state(sys.argv[1].split(";")[0]))
