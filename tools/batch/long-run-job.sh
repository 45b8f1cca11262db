#!/usr/bin/env bash
# One job of a long run: days J*K to J*K+K-1 of N, each generated and run on its own into
# OUTDIR/day-NNNNN (summary.txt, metrics/ with the bridges' load-effect files, log.txt).
#   long-run-job.sh --study STUDY (--model MODEL | --flow VEH_PER_H | --generator CMD) --days N
#                   [--days-per-job K] [--seed S] [--config FILE] [--bridges FILE] [--format FMT]
#                   [--keep-traffic] [--no-seconds] (--job J | --count-jobs) OUTDIR
# Day d's traffic starts at 00:00 of day d of the calendar, from the seed S*1000003+d (mod 2^32),
# and the runner uses the same seed: a day's folder depends on the study, the traffic's source,
# S and d alone, never on how the days are split into jobs (a run of several days would draw its
# later vehicles' drivers after its earlier ones'). The traffic comes from
#   --model MODEL:   roadflux-cli generate OUT --model MODEL --duration 1d --start 00:00 --day d --seed SEED
#   --flow F:        roadflux-cli generate OUT --flow F --duration 1d --start 00:00 --day d --seed SEED
#                    [--format FMT], synthetic traffic without a model (for tests and trials)
#   --generator CMD: CMD OUT d SEED, any command that writes a day's traffic file
# The study's own STUDY.bridges and STUDY.options (its release order, per lane where it asks
# for it) are read by the runner as for any run; --bridges names another bridges file.
# A day's folder is complete (it holds the marker .roadflux-run and summary.txt) or absent: it is
# made as day-NNNNN.partial and renamed once its run succeeded, and a rerun does only the days
# that are missing. The traffic files (input and output) are removed unless --keep-traffic.
# --no-seconds removes each day's LE_<bridge>_seconds.csv once it ran (some 1.5 MB a bridge and a
# day, most of a long run's disk and of what extremes reads): the daily maxima then come from the
# interval files, exact when the bridges' interval divides the day (the default, 86400 s, does).
# --count-jobs checks the command line and prints the number of jobs, ceil(N / K).
# Exit status: 0 every day of the job complete; 1 a day failed (named on stderr, its log in
# day-NNNNN.partial/log.txt); 2 a command line that cannot be run; 3 a day in progress elsewhere;
# 128+N stopped by signal N (the runner stopped with it, the day stays .partial).
set -uo pipefail
marker=.roadflux-run
usage="usage: long-run-job.sh --study STUDY (--model MODEL | --flow F | --generator CMD) --days N [--days-per-job K] [--seed S] [--config FILE] [--bridges FILE] [--format FMT] [--keep-traffic] [--no-seconds] (--job J | --count-jobs) OUTDIR"
refuse() {
  echo "long-run: $*" >&2
  exit 2
}
study="" model="" flow="" generator="" days="" per_job=1 seed=1 config="" bridges="" format="" keep=false seconds=true
job="" count_jobs=false outdir=""
need() { [ $# -ge 2 ] && [ -n "$2" ] || refuse "$1 needs a value; $usage"; }
while [ $# -gt 0 ]; do
  case $1 in
    --study) need "$@"; study=$2; shift 2 ;;
    --model) need "$@"; model=$2; shift 2 ;;
    --flow) need "$@"; flow=$2; shift 2 ;;
    --generator) need "$@"; generator=$2; shift 2 ;;
    --days) need "$@"; days=$2; shift 2 ;;
    --days-per-job) need "$@"; per_job=$2; shift 2 ;;
    --seed) need "$@"; seed=$2; shift 2 ;;
    --config) need "$@"; config=$2; shift 2 ;;
    --bridges) need "$@"; bridges=$2; shift 2 ;;
    --format) need "$@"; format=$2; shift 2 ;;
    --job) need "$@"; job=$2; shift 2 ;;
    --keep-traffic) keep=true; shift ;;
    --no-seconds) seconds=false; shift ;;
    --count-jobs) count_jobs=true; shift ;;
    --) shift; [ $# -eq 1 ] || refuse "one output folder after --; $usage"; outdir=$1; shift ;;
    -?*) refuse "unknown option '$1'; $usage" ;;
    *) [ -z "$outdir" ] || refuse "one output folder only ('$outdir', then '$1'); $usage"; outdir=$1; shift ;;
  esac
done
whole() { [[ $1 =~ ^(0|[1-9][0-9]{0,8})$ ]]; }
[ -n "$study" ] || refuse "--study is missing; $usage"
[ -f "$study" ] || refuse "--study $study: not a file"
sources=0
for source in "$model" "$flow" "$generator"; do [ -n "$source" ] && sources=$((sources + 1)); done
[ $sources -eq 1 ] || refuse "give the traffic's source once: --model, --flow or --generator; $usage"
whole "$days" && [ "$days" -ge 1 ] && [ "$days" -le 99999 ] || refuse "--days '$days': a whole number of days from 1 to 99999"
whole "$per_job" && [ "$per_job" -ge 1 ] && [ "$per_job" -le 99999 ] ||
  refuse "--days-per-job '$per_job': a whole number from 1 to 99999"
[[ $seed =~ ^(0|[1-9][0-9]{0,9})$ ]] && ((10#$seed <= 4294967295)) ||
  refuse "--seed '$seed': a whole number from 0 to 4294967295 without leading zeros"
[ -n "$outdir" ] || refuse "no output folder; $usage"
jobs=$(((days + per_job - 1) / per_job))
if $count_jobs; then
  echo "$jobs"
  exit 0
fi
whole "$job" && [ "$job" -lt "$jobs" ] || refuse "--job '$job': a job from 0 to $((jobs - 1)) ($days days, $per_job a job)"
cli=${ROADFLUX_CLI:-roadflux-cli}
for path in outdir study config bridges; do
  [[ ${!path} == -* ]] && printf -v "$path" './%s' "${!path}"
done
common=()
[ -n "$config" ] && common=(--config "$config")

stage="" current=""
stop() {
  trap '' INT TERM HUP
  local running
  running=$(jobs -p)
  [ -n "$running" ] && kill -TERM $running 2>/dev/null
  wait
  [ -n "$stage" ] && rm -rf -- "$stage"
  echo "long-run: ${current:-job $job}: stopped by signal $1" >&2
  exit $((128 + $1))
}
trap 'stop 2' INT
trap 'stop 15' TERM
trap 'stop 1' HUP
# In the background, so that a signal reaches this script at once.
run_child() {
  "$@" </dev/null &
  wait $!
}

ours() { [ -d "$1" ] && [ ! -L "$1" ] && [ -f "$1/$marker" ] && [ ! -L "$1/$marker" ]; }
present() { [ -e "$1" ] || [ -L "$1" ]; }
complete() { ours "$1" && [ -f "$1/summary.txt" ]; }
foreign() {
  present "$1" && ! ours "$1" || return 1
  echo "long-run: $1 is not a folder of a long run (no $marker): it is left as it is, and its day not run" >&2
}

# One day into its folder; the status of the day.
run_day() {
  local day=$1 final partial traffic day_seed
  final=$(printf '%s/day-%05d' "$outdir" "$day")
  partial="$final.partial"
  current=${final##*/}
  complete "$final" && return 0
  foreign "$final" && return 1
  foreign "$partial" && return 1
  exec 9>>"$outdir/.$current.lock" || { echo "long-run: cannot write in $outdir" >&2; return 1; }
  if ! flock -n 9; then
    echo "long-run: $current is in progress elsewhere; not run" >&2
    return 3
  fi
  complete "$final" && return 0
  # Only an unfinished folder of a long run can be in the way here.
  rm -rf -- "$partial" "$final"
  stage=$(mktemp -d "$outdir/.$current.new.XXXXXX") &&
    chmod "$(umask -S)" "$stage" &&
    printf 'A day of a roadflux long run: long-run-job.sh may remove or replace it.\n' >"$stage/$marker" &&
    mkdir "$stage/metrics" &&
    mv -T -- "$stage" "$partial" || {
    [ -n "$stage" ] && rm -rf -- "$stage"
    stage=""
    echo "long-run: $partial cannot be made" >&2
    return 1
  }
  stage=""
  traffic="$partial/traffic.txt"
  day_seed=$(((seed * 1000003 + day) % 4294967296))
  local made
  if [ -n "$model" ]; then
    run_child "$cli" "${common[@]}" generate "$traffic" --model "$model" --duration 1d --start 00:00 --day "$day" \
      --seed "$day_seed" --force >>"$partial/log.txt" 2>&1
  elif [ -n "$flow" ]; then
    local formats=()
    [ -n "$format" ] && formats=(--format "$format")
    run_child "$cli" "${common[@]}" generate "$traffic" --flow "$flow" "${formats[@]}" --duration 1d --start 00:00 \
      --day "$day" --seed "$day_seed" --force >>"$partial/log.txt" 2>&1
  else
    # The command's words as written, then the day's file, day and seed.
    local words
    read -r -a words <<<"$generator"
    run_child "${words[@]}" "$traffic" "$day" "$day_seed" >>"$partial/log.txt" 2>&1
  fi
  made=$?
  if [ $made -ne 0 ] || [ ! -f "$traffic" ]; then
    echo "long-run: $current: the traffic could not be generated (status $made; see $partial/log.txt)" >&2
    return 1
  fi
  local args=("${common[@]}" run "$study" --input "$traffic" --output "$partial/output.txt" --metrics "$partial/metrics"
    --seed "$day_seed")
  [ -n "$bridges" ] && args+=(--bridges "$bridges")
  run_child "$cli" "${args[@]}" >"$partial/summary.txt.tmp" 2>>"$partial/log.txt"
  local status=$?
  if [ $status -ne 0 ]; then
    echo "long-run: $current: the run failed with status $status (see $partial/log.txt)" >&2
    return 1
  fi
  if ! compgen -G "$partial/metrics/LE_*.csv" >/dev/null; then
    echo "long-run: $current: the run wrote no load-effect files: the study has no bridges (STUDY.bridges or --bridges)" >&2
    return 1
  fi
  # The summary names the files where they stay.
  while IFS= read -r line || [ -n "$line" ]; do
    printf '%s\n' "${line//"$partial/"/"$final/"}"
  done <"$partial/summary.txt.tmp" >"$partial/summary.txt" && rm -f "$partial/summary.txt.tmp" || return 1
  $keep || rm -f -- "$traffic" "$partial/output.txt"
  $seconds || rm -f -- "$partial"/metrics/LE_*_seconds.csv
  mv -T -- "$partial" "$final" || { echo "long-run: $partial could not be renamed to $final" >&2; return 1; }
  rm -f "$outdir/.$current.lock"
  echo "$current: done"
}

mkdir -p -- "$outdir" || refuse "$outdir: the output folder cannot be made"
[ -d "$outdir" ] || refuse "$outdir: the output folder is not a folder"
first=$((job * per_job))
last=$((first + per_job - 1))
[ $last -ge "$days" ] && last=$((days - 1))
result=0
for ((d = first; d <= last; d++)); do
  run_day "$d"
  status=$?
  [ $status -ne 0 ] && [ $result -eq 0 ] && result=$status
done
exit $result
