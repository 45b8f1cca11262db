#!/usr/bin/env bash
# The whole path of a bridge study over years, timed: a recorded-like week at the scale of a busy
# motorway (examples/make-recorded-week.sh, 40,000 vehicles a weekday, 15 % trucks, 2 + 2 lanes),
# fit-traffic, DAYS days on a 1 km road carrying three bridges (20 m and 40 m simple spans, a
# two-span 2 x 30 m continuous beam) through tools/batch/long-run.sh, extremes and the extremes
# page. Prints each stage's wall time, the whole path's (from fit-traffic on; the week stands for
# recorded data and is not counted) and the most the work folder held on disk at once, sampled
# every second.
#
# usage: bench/thousand-days.sh [-d DAYS] [-k DAYS_PER_JOB] [-j JOBS] [-r ROAD_M] BUILD_DIR WORK_DIR
#   DAYS 1000, DAYS_PER_JOB 25, JOBS the processors; ROAD_M the road's length (default 1000, the
#   bridges kept at its middle). WORK_DIR is made, and must not exist.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
days=1000 per_job=25 jobs=$(nproc) road=1000
while getopts "d:k:j:r:" o; do
  case $o in
    d) days=$OPTARG ;; k) per_job=$OPTARG ;; j) jobs=$OPTARG ;; r) road=$OPTARG ;;
    *) sed -n '2,12p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || { sed -n '2,12p' "$0"; exit 2; }
build=$(cd "$1" && pwd)
work=$2
cli=$build/roadflux-cli report=$build/roadflux-report
[ -x "$cli" ] || { echo "$cli is not built" >&2; exit 1; }
[ -e "$work" ] && { echo "$work exists: name a new folder" >&2; exit 1; }
mkdir -p "$work" && work=$(cd "$work" && pwd)
export ROADFLUX_CLI=$cli

peak=0
# A folder renamed while du reads it makes du fail: the sampler carries on.
sampler() {
  set +e
  while :; do
    du -sb "$work" 2>/dev/null | cut -f1
    sleep 1
  done >"$work/.disk"
}
sampler &
sampler_pid=$!
trap 'kill $sampler_pid 2>/dev/null || true' EXIT

# The stages' own output goes where the caller asked; the timings to the terminal.
exec 3>&1
seconds_since() { echo "$(date +%s.%N) - $1" | bc; }
stage() {
  local name=$1 start
  shift
  start=$(date +%s.%N)
  "$@"
  printf '%-14s %8.1f s\n' "$name" "$(seconds_since "$start")" >&3
}

cd "$work"
cp "$root/examples/Roadflux.ini" .
"$root/examples/make-recorded-week.sh" week.txt 40000 1
# The bridges at the road's middle, 460 m of them with the gaps between: on a shorter road the
# approaches shrink alike in both directions.
first=$(((road - 460) / 2))
"$cli" new study.rfx --input traffic.txt --output output.txt --metrics metrics --road-length "$road" \
  --lanes1 2 --lanes2 2 --file-lanes1 2 --file-lanes2 2 --output-detector1 $((road - 10)) --output-detector2 10 \
  --no-features --no-detectors --output-cars false >/dev/null
cat >study.bridges <<EOF
name,start_m,span_m,effect,directions,interval_s,lane_factors
Span20,$first,20,midspan-moment,both,,
Span40,$((first + 200)),40,midspan-moment,both,,
TwoSpan30,$((first + 400)),30,continuous-support-moment,both,,
EOF

whole=$(date +%s.%N)
stage fit-traffic "$cli" fit-traffic week.txt -o model.json
stage long-run "$root/tools/batch/long-run.sh" -j "$jobs" --study study.rfx --model model.json --days "$days" \
  --days-per-job "$per_job" --no-seconds --config Roadflux.ini runs >/dev/null
stage extremes "$cli" extremes runs/day-*[0-9] --csv extremes-csv >extremes.txt
if "$report" --help 2>&1 | grep -q -- --extremes; then
  stage report "$report" --extremes runs/day-*[0-9] -o extremes.html
fi
printf '%-14s %8.1f s\n' "whole path" "$(seconds_since "$whole")"
kill $sampler_pid 2>/dev/null || true
wait $sampler_pid 2>/dev/null || true
peak=$(sort -n "$work/.disk" | tail -1)
printf '%-14s %8.1f MB (%s days in runs/: %s)\n' "disk at most" "$(echo "$peak / 1000000" | bc -l)" "$days" \
  "$(du -sh runs | cut -f1)"
