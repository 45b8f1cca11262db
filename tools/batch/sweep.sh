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
# Options may also follow the other arguments; "--" ends them.
# Set ROADFLUX_CLI and ROADFLUX_REPORT to the programs' paths when they are not on PATH.
# SIGINT, SIGTERM and SIGHUP stop the whole sweep: GNU parallel and every run in progress,
# which stays NAME.partial.
# Exit status: 0 every run complete (and compared); 1 some runs failed (each named on stderr) or
# the runs could not be compared; 2 a command line or jobs file that cannot be run as a whole
# (no runs, one name for two runs, an output folder that is not a writable folder), with
# nothing run; 128+N stopped by signal N.
set -uo pipefail
usage="usage: sweep.sh [--report] [--compare CSV_DIR] JOBS.tsv OUTDIR [JOBS_IN_PARALLEL]"
refuse() {
  echo "sweep.sh: $*" >&2
  exit 2
}
export ROADFLUX_SWEEP_REPORT=""
compare_dir=""
positional=()
while [ $# -gt 0 ]; do
  case $1 in
    --report) ROADFLUX_SWEEP_REPORT=1; shift ;;
    --compare)
      [ $# -ge 2 ] && [ -n "$2" ] || refuse "--compare needs a folder for the CSV files; $usage"
      compare_dir=$2
      shift 2
      ;;
    --) shift; positional+=("$@"); break ;;
    -?*) refuse "unknown option '$1'; $usage" ;;
    *) positional+=("$1"); shift ;;
  esac
done
[ ${#positional[@]} -ge 2 ] && [ ${#positional[@]} -le 3 ] ||
  refuse "$usage (got ${#positional[@]} arguments besides the options)"
jobs_file=${positional[0]} outdir=${positional[1]} parallel_jobs=${positional[2]:-$(nproc)}
# The forms of parallel's -j: a number of jobs (0: as many as can run), or a share of the cores.
[[ $parallel_jobs =~ ^[0-9]+%?$ ]] || refuse "JOBS_IN_PARALLEL '$parallel_jobs' is not a whole number (or N%); $usage"
here=$(cd "$(dirname "$0")" && pwd)
[ -n "$outdir" ] || refuse "the output folder is empty"
# Folders that start with '-' (given after "--") would be taken for options by the programs.
[[ $outdir == -* ]] && outdir=./$outdir
[[ $compare_dir == -* ]] && compare_dir=./$compare_dir

session=""
stop() {
  trap '' INT TERM HUP
  if [ -n "$session" ]; then
    # GNU parallel ignores SIGTERM while it starts up, and a job it is starting could escape
    # its own clean-up; it is killed outright, and every run, each in a process group of its
    # own but all in its session, gets SIGTERM (their scripts stop their runners), then SIGKILL
    # at 0.9 s.
    kill -KILL "$session" 2>/dev/null
    pkill -TERM -s "$session"
    for _ in $(seq 18); do
      # Ended runs may linger as zombies until init reaps them.
      ps -o stat= -s "$session" 2>/dev/null | grep -q '^[^Z]' || break
      sleep 0.05
    done
    pkill -KILL -s "$session"
  fi
  local running
  running=$(jobs -p)
  [ -n "$running" ] && kill -TERM $running 2>/dev/null
  wait
  echo "sweep.sh: stopped by signal $1; the runs in progress were stopped and stay NAME.partial" >&2
  exit $((128 + $1))
}
trap 'stop 2' INT
trap 'stop 15' TERM
trap 'stop 1' HUP
# In the background, so that a signal reaches this script while it waits.
run_child() {
  # Without the explicit <&0 a command in the background reads /dev/null.
  "$@" <&0 &
  wait $!
}

for tool in parallel setsid pkill ps; do
  command -v $tool >/dev/null || refuse "$tool is not installed (GNU parallel, util-linux, procps)"
done
runs=$("$here/read-jobs.sh" "$jobs_file") || exit 2
total=$(printf '%s\n' "$runs" | wc -l)
if [ -e "$outdir" ] || [ -L "$outdir" ]; then
  [ -d "$outdir" ] || refuse "$outdir: the output folder is not a folder"
fi
mkdir -p -- "$outdir" || refuse "$outdir: the output folder cannot be made"
joblog="$outdir/joblog.txt"
: 2>/dev/null >"$joblog" || refuse "$outdir: cannot write the job log $joblog in the output folder"
# In a session of its own (setsid does not fork here: a background command is no process
# group leader), so that its runs can all be found; -q and --trim n hand every field over as
# written: parallel would otherwise trim the blanks around names (and give two names one
# folder) and split the output folder at blanks.
setsid -w parallel --will-cite -q --trim n --colsep '\t' -j "$parallel_jobs" --joblog "$joblog" \
  "$here/run-one.sh" "$outdir" {1} {2} {3} {4} < <(printf '%s\n' "$runs") &
session=$!
wait $session
parallel_status=$?
session=""
# parallel's status is the number of failed jobs up to 100 only: count them in the job log.
succeeded=$(awk -F '\t' 'NR > 1 && $7 == "0" && $8 == "0"' "$joblog" 2>/dev/null | wc -l)
failed=$((total - succeeded))
if [ $failed -ne 0 ] || [ $parallel_status -ne 0 ]; then
  [ $failed -eq 0 ] && failed="some"
  echo "sweep.sh: $failed of $total runs failed (see $joblog)" >&2
  exit 1
fi
if [ -n "$compare_dir" ]; then
  mapfile -t names < <(printf '%s\n' "$runs" | cut -f1)
  report=${ROADFLUX_REPORT:-roadflux-report}
  if command -v "$report" >/dev/null 2>&1; then
    mkdir -p -- "$compare_dir" &&
      run_child "$report" --compare "${names[@]/#/$outdir/}" --csv "$compare_dir" -o "$compare_dir/compare.html"
  else
    run_child "${ROADFLUX_CLI:-roadflux-cli}" compare --csv "$compare_dir" "${names[@]/#/$outdir/}"
  fi || { echo "sweep.sh: the runs could not be compared" >&2; exit 1; }
fi
