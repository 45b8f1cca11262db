#!/usr/bin/env bash
# Engine throughput against the peer (SUMO, from Debian) on the same traffic: the standard
# scenario of bench/engine.cpp (3000 m, 2 + 2 lanes, one hour at 1500 vehicles per hour per
# lane, one in five a truck, 0.1 s steps, lane changes on). The traffic file that the
# benchmark generates is converted into SUMO's route file (same departures, lanes, speeds and
# lengths; SUMO's IDM with the same parameters) and both run to the last vehicle's exit,
# alternately, REPS times each.
#
# usage: bench/sumo/compare.sh [-b BUILD_DIR] [-n REPS] [-d]
#   -b  build folder for bench_engine (default build-bench; configured and built when needed)
#   -n  timed runs of each program (default 3)
#   -d  also run the 24-hour file and report the engine's peak resident memory
#
# Vehicle-steps: the sum over all steps of the vehicles on the road. For SUMO they are counted
# in one extra run with --summary-output; for Roadflux the engine counts them. Rates are given
# per wall second and per CPU second (user + system), since the machine may be shared.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build-bench reps=3 day=0
while getopts "b:n:d" o; do
  case $o in
    b) build=$OPTARG ;; n) reps=$OPTARG ;; d) day=1 ;;
    *) sed -n '2,17p' "$0"; exit 2 ;;
  esac
done
command -v sumo >/dev/null || { echo "sumo is not installed (apt-get install -y sumo)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (apt-get install -y time)" >&2; exit 1; }
export SUMO_HOME=${SUMO_HOME:-/usr/share/sumo}

if [ ! -x "$build/bench/bench_engine" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DROADFLUX_GUI=OFF -DROADFLUX_TESTS=OFF \
    -DROADFLUX_BENCH=ON >/dev/null
fi
cmake --build "$build" --target bench_engine -j1 >/dev/null
bench=$build/bench/bench_engine

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One Roadflux run: prints "vehicle_steps wall_s cpu_s".
roadflux_run() {
  env "$@" "$bench" --benchmark_filter='^BM_StandardHour' --benchmark_format=json >"$work/rf.json" 2>/dev/null
  python3 - "$work/rf.json" <<'PY'
import json, sys
b = json.load(open(sys.argv[1]))["benchmarks"][0]
scale = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9, "s": 1.0}[b["time_unit"]]
print(int(b["vehicle_steps"]), b["real_time"] * scale, b["cpu_time"] * scale)
PY
}

# One SUMO run: prints "wall_s cpu_s peak_rss_MiB".
sumo_args=(-n "$work/road.net.xml" -r "$work/routes.rou.xml" --step-length 0.1 --begin 0 --seed 42
  --no-step-log true --no-warnings true)
sumo_run() {
  local t0 t1
  t0=$(date +%s.%N)
  /usr/bin/time -f "%U %S %M" -o "$work/time.txt" sumo "${sumo_args[@]}" >/dev/null 2>&1
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" '{printf "%.3f %.3f %.1f\n", b - a, $1 + $2, $3 / 1024}' "$work/time.txt"
}

echo "# generating the traffic and the first Roadflux run"
read -r rf_steps rf_wall rf_cpu < <(roadflux_run ROADFLUX_BENCH_TRAFFIC_OUT="$work/traffic.txt")
rf_walls=("$rf_wall") rf_cpus=("$rf_cpu")
python3 "$here/talvor_to_routes.py" "$work/traffic.txt" 2 2 >"$work/routes.rou.xml"
netconvert --node-files "$here/road.nod.xml" --edge-files "$here/road.edg.xml" --no-turnarounds true \
  --no-internal-links true -o "$work/road.net.xml" >/dev/null 2>&1

echo "# counting SUMO's vehicle-steps"
sumo "${sumo_args[@]}" --summary-output "$work/summary.xml" >/dev/null 2>&1
sumo_steps=$(awk -F'"' '/<step /{for (i = 1; i < NF; i++) if ($i ~ / running=$/) s += $(i + 1)} END {printf "%d", s}' \
  "$work/summary.xml")
vehicles=$(grep -c '<vehicle ' "$work/routes.rou.xml")

sumo_walls=() sumo_cpus=()
for i in $(seq 1 "$reps"); do
  read -r w c m < <(sumo_run)
  sumo_walls+=("$w") sumo_cpus+=("$c") sumo_rss=$m
  if [ "$i" -gt 1 ]; then
    read -r rf_steps rf_wall rf_cpu < <(roadflux_run)
    rf_walls+=("$rf_wall") rf_cpus+=("$rf_cpu")
  fi
done

med() { printf "%s\n" "$@" | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
rf_w=$(med "${rf_walls[@]}") rf_c=$(med "${rf_cpus[@]}")
su_w=$(med "${sumo_walls[@]}") su_c=$(med "${sumo_cpus[@]}")

echo "# $vehicles vehicles; $(sumo --version 2>/dev/null | head -1); $reps runs each, medians"
printf "%-9s %14s %9s %9s %16s %16s\n" program vehicle_steps wall_s cpu_s "vsteps/wall_s" "vsteps/cpu_s"
awk -v s="$rf_steps" -v w="$rf_w" -v c="$rf_c" 'BEGIN {printf "%-9s %14d %9.3f %9.3f %16.0f %16.0f\n", "roadflux", s, w, c, s / w, s / c}'
awk -v s="$sumo_steps" -v w="$su_w" -v c="$su_c" 'BEGIN {printf "%-9s %14d %9.3f %9.3f %16.0f %16.0f\n", "sumo", s, w, c, s / w, s / c}'
awk -v rs="$rf_steps" -v rw="$rf_w" -v rc="$rf_c" -v ss="$sumo_steps" -v sw="$su_w" -v sc="$su_c" \
  'BEGIN {printf "ratio (roadflux / sumo vehicle-steps per second): %.1f wall, %.1f cpu\n", (rs / rw) / (ss / sw), (rs / rc) / (ss / sc)}'
echo "sumo peak RSS ${sumo_rss} MiB"

if [ "$day" = 1 ]; then
  echo "# the 24-hour file"
  ROADFLUX_BENCH_DAY=1 /usr/bin/time -f "%M" -o "$work/day.txt" "$bench" --benchmark_filter='^BM_Day' \
    --benchmark_format=console 2>/dev/null | tail -1
  awk '{printf "roadflux peak RSS over the 24-hour run (whole process): %.1f MiB\n", $1 / 1024}' "$work/day.txt"
fi
