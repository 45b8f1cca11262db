#!/usr/bin/env bash
# Runs every line of a jobs file with GNU parallel, each run into OUTDIR/<name>.
# Jobs file: one run per line, tab-separated: name, study, seed[, input traffic file];
# lines starting with # are skipped. Rerunning the same sweep redoes only the runs that
# did not complete.
#   sweep.sh JOBS.tsv OUTDIR [JOBS_IN_PARALLEL]
# Set ROADFLUX_CLI to the runner's path when it is not on PATH.
set -euo pipefail
jobs_file=$1 outdir=$2 parallel_jobs=${3:-$(nproc)}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$outdir"
grep -v '^#' "$jobs_file" | grep -v '^[[:space:]]*$' |
  parallel --will-cite --colsep '\t' -j "$parallel_jobs" --joblog "$outdir/joblog.txt" \
    "$here/run-one.sh" "$outdir" {1} {2} {3} {4}
