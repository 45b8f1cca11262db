#!/usr/bin/env bash
# Many days of traffic over a study's bridges, K days a job on GNU parallel: each day is generated
# and run into OUTDIR/day-NNNNN, complete or absent, and a rerun does only the days missing. The
# days continue the calendar (day d starts at 00:00 of day d), so `roadflux-cli extremes
# OUTDIR/day-*[0-9]` finds the same daily maxima however the days were split into jobs.
#   long-run.sh [-j JOBS_IN_PARALLEL] --study STUDY --model MODEL --days N [--days-per-job K]
#               [--keep-traffic] [--no-seconds] [--seed S] [--config FILE] [--bridges FILE] OUTDIR
# --flow F [--format FMT] (synthetic traffic without a model) or --generator CMD (called as
# CMD OUT DAY SEED) stand in for --model; tools/batch/long-run-job.sh tells every option.
# Set ROADFLUX_CLI to roadflux-cli's path when it is not on PATH.
# SIGINT, SIGTERM and SIGHUP stop GNU parallel and every day in progress, which stays .partial.
# Exit status: 0 every day complete; 1 some jobs failed (see OUTDIR/joblog.txt and stderr); 2 a
# command line that cannot be run, with nothing run; 128+N stopped by signal N.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
refuse() {
  echo "long-run.sh: $*" >&2
  exit 2
}
parallel_jobs=$(nproc)
args=()
outdir=""
while [ $# -gt 0 ]; do
  case $1 in
    -j)
      [ $# -ge 2 ] || refuse "-j needs a number of jobs"
      parallel_jobs=$2
      shift 2
      ;;
    --keep-traffic | --no-seconds | --) args+=("$1"); shift ;;
    --job | --count-jobs) refuse "$1 is the job script's own option" ;;
    -?*)
      [ $# -ge 2 ] || refuse "$1 needs a value"
      args+=("$1" "$2")
      shift 2
      ;;
    *) args+=("$1"); outdir=$1; shift ;;
  esac
done
[[ $parallel_jobs =~ ^[0-9]+%?$ ]] || refuse "-j '$parallel_jobs' is not a whole number (or N%)"
for tool in parallel setsid pkill ps; do
  command -v $tool >/dev/null || refuse "$tool is not installed (GNU parallel, util-linux, procps)"
done
count=$("$here/long-run-job.sh" "${args[@]}" --count-jobs) || exit 2
[[ $outdir == -* ]] && outdir=./$outdir
mkdir -p -- "$outdir" || refuse "$outdir: the output folder cannot be made"
joblog="$outdir/joblog.txt"
: 2>/dev/null >"$joblog" || refuse "$outdir: cannot write the job log $joblog"

session=""
stop() {
  trap '' INT TERM HUP
  if [ -n "$session" ]; then
    # As sweep.sh: parallel killed outright, every job of its session stopped (each stops its
    # runner), then killed at 0.9 s.
    kill -KILL "$session" 2>/dev/null
    pkill -TERM -s "$session"
    for _ in $(seq 18); do
      ps -o stat= -s "$session" 2>/dev/null | grep -q '^[^Z]' || break
      sleep 0.05
    done
    pkill -KILL -s "$session"
  fi
  wait
  echo "long-run.sh: stopped by signal $1; the days in progress stay .partial" >&2
  exit $((128 + $1))
}
trap 'stop 2' INT
trap 'stop 15' TERM
trap 'stop 1' HUP
setsid -w parallel --will-cite -q -j "$parallel_jobs" --joblog "$joblog" \
  "$here/long-run-job.sh" "${args[@]}" --job {} ::: $(seq 0 $((count - 1))) &
session=$!
wait $session
status=$?
session=""
succeeded=$(awk -F '\t' 'NR > 1 && $7 == "0" && $8 == "0"' "$joblog" 2>/dev/null | wc -l)
if [ "$succeeded" -ne "$count" ] || [ $status -ne 0 ]; then
  echo "long-run.sh: $((count - succeeded)) of $count jobs failed (see $joblog)" >&2
  exit 1
fi
echo "long-run.sh: $count jobs complete in $outdir"
