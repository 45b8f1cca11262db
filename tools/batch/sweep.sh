#!/usr/bin/env bash
# Runs every line of a jobs file with GNU parallel, each run into OUTDIR/<name>.
# Jobs file: one run per line, tab-separated: name, study, seed[, input traffic file];
# lines starting with # are skipped. Rerunning the same sweep redoes only the runs that
# did not complete.
#   sweep.sh [--report] [--compare CSV_DIR] JOBS.tsv OUTDIR [JOBS_IN_PARALLEL]
# --report: each run's folder also gets report.html (charts and key figures, roadflux-report);
# complete runs without one get it on the next sweep.
# With --compare, once every run completed, the runs are compared: the statistics over the runs
# go to CSV_DIR and the runs needed are printed; with roadflux-report at hand, its charts and
# tables go to CSV_DIR/compare.html (roadflux-cli compare otherwise, without the page).
# Set ROADFLUX_CLI and ROADFLUX_REPORT to the programs' paths when they are not on PATH.
# Exit status: 0 every run complete (and compared); 1 some runs failed (each named on stderr) or
# the runs could not be compared; 2 a jobs file that cannot be run as a whole (no runs, one name
# for two runs), with nothing run.
set -uo pipefail
export ROADFLUX_SWEEP_REPORT=""
compare_dir=""
while [ $# -gt 0 ]; do
  case $1 in
    --report) ROADFLUX_SWEEP_REPORT=1; shift ;;
    --compare) [ $# -ge 2 ] || break; compare_dir=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ $# -lt 2 ]; then
  echo "sweep.sh: usage: sweep.sh [--report] [--compare CSV_DIR] JOBS.tsv OUTDIR [JOBS_IN_PARALLEL]" >&2
  exit 2
fi
jobs_file=$1 outdir=$2 parallel_jobs=${3:-$(nproc)}
here=$(cd "$(dirname "$0")" && pwd)
[ -n "$outdir" ] || { echo "sweep.sh: the output folder is empty" >&2; exit 2; }
[ -f "$jobs_file" ] || { echo "sweep.sh: $jobs_file: no such jobs file" >&2; exit 2; }
runs=$(grep -v '^#' "$jobs_file" | tr -d '\r' | grep -v '^[[:space:]]*$')
[ -n "$runs" ] || { echo "sweep.sh: $jobs_file: no runs in the jobs file" >&2; exit 2; }
# Two runs of one name would write one folder: the second would replace the first's results.
twice=$(printf '%s\n' "$runs" | cut -f1 | sort | uniq -d | tr '\n' ' ')
[ -z "$twice" ] || { echo "sweep.sh: $jobs_file: names given to more than one run: $twice" >&2; exit 2; }
mkdir -p "$outdir" || exit 2
printf '%s\n' "$runs" |
  parallel --will-cite --colsep '\t' -j "$parallel_jobs" --joblog "$outdir/joblog.txt" \
    "$here/run-one.sh" "$outdir" {1} {2} {3} {4}
failed=$?
if [ $failed -ne 0 ]; then
  echo "sweep.sh: $failed of $(printf '%s\n' "$runs" | wc -l) runs failed (see $outdir/joblog.txt)" >&2
  exit 1
fi
if [ -n "$compare_dir" ]; then
  mapfile -t names < <(printf '%s\n' "$runs" | cut -f1)
  report=${ROADFLUX_REPORT:-roadflux-report}
  if command -v "$report" >/dev/null 2>&1; then
    mkdir -p "$compare_dir" &&
      "$report" --compare "${names[@]/#/$outdir/}" --csv "$compare_dir" -o "$compare_dir/compare.html"
  else
    "${ROADFLUX_CLI:-roadflux-cli}" compare --csv "$compare_dir" "${names[@]/#/$outdir/}"
  fi || { echo "sweep.sh: the runs could not be compared" >&2; exit 1; }
fi
