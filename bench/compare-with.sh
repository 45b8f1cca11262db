#!/usr/bin/env bash
# Engine throughput of this tree against another revision's, measured side by side: bench_engine
# of REV is built from a copy of that revision (git archive, Release, in a temporary folder), this
# tree's in build-bench, and the two run alternately, ROUNDS times each with
# --benchmark_repetitions=REPS, so that a busy machine slows both alike. Prints for every
# benchmark the median vehicle-steps per CPU second of each side and their ratio (this tree over
# REV), and the ratio of the 100 km dense road to the 3 km one per side.
#
# usage: bench/compare-with.sh [-b BUILD_DIR] [-r ROUNDS] [-n REPS] [-f FILTER] [REV]
#   REV  the revision to compare with (default HEAD~1)
#   -b   build folder for this tree's bench_engine (default build-bench)
#   -r   alternations (default 3)
#   -n   repetitions of each benchmark per run (default 3)
#   -f   benchmark filter (default the standard hour and the dense roads)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build-bench rounds=3 reps=3 filter='^BM_StandardHour/|^BM_DenseRoad/'
while getopts "b:r:n:f:" o; do
  case $o in
    b) build=$OPTARG ;; r) rounds=$OPTARG ;; n) reps=$OPTARG ;; f) filter=$OPTARG ;;
    *) sed -n '2,14p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
rev=${1:-HEAD~1}
commit=$(git -C "$root" rev-parse --verify "$rev^{commit}")

# With ccache, a second comparison with the same revision builds it from the cache: the copy's
# folder changes from run to run, so paths are hashed relative to it.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
configure() {
  CCACHE_BASEDIR=$1 cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DROADFLUX_GUI=OFF -DROADFLUX_TESTS=OFF \
    -DROADFLUX_BENCH=ON "${launcher[@]}" >/dev/null
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The compiler's output is shown only when a build fails.
build() {
  CCACHE_BASEDIR=$1 cmake --build "$2" --target bench_engine -j2 >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2
    exit 1
  }
}

echo "# building this tree's bench_engine in $build"
[ -f "$build/CMakeCache.txt" ] || configure "$root" "$build"
build "$root" "$build"
echo "# building bench_engine of ${commit:0:12} ($rev)"
mkdir "$work/src"
git -C "$root" archive "$commit" | tar -x -C "$work/src"
configure "$work/src" "$work/build"
build "$work/src" "$work/build"

run() {
  "$1" --benchmark_filter="$filter" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=false \
    --benchmark_format=json >"$2" 2>/dev/null
}

for i in $(seq 1 "$rounds"); do
  echo "# round $i of $rounds"
  run "$work/build/bench/bench_engine" "$work/old-$i.json"
  run "$build/bench/bench_engine" "$work/new-$i.json"
done

python3 - "$work" "$rounds" "${commit:0:12}" <<'PY'
import json, statistics, sys
work, rounds, rev = sys.argv[1], int(sys.argv[2]), sys.argv[3]

def rates(side):
    found = {}
    for i in range(1, rounds + 1):
        for b in json.load(open(f"{work}/{side}-{i}.json"))["benchmarks"]:
            if b.get("run_type") == "aggregate":
                continue
            found.setdefault(b["run_name"], []).append(b["vehicle_steps_per_cpu_s"])
    return {name: statistics.median(values) for name, values in found.items()}

old, new = rates("old"), rates("new")
print(f"{'benchmark (vehicle-steps per CPU s, median)':60} {rev:>12} {'this tree':>12} {'ratio':>7}")
for name in old:
    if name in new:
        print(f"{name:60} {old[name] / 1e6:11.2f}M {new[name] / 1e6:11.2f}M {new[name] / old[name]:7.3f}")

def dense(rates_of):
    short = [v for k, v in rates_of.items() if k.startswith("BM_DenseRoad/3000/")]
    long = [v for k, v in rates_of.items() if k.startswith("BM_DenseRoad/100000/")]
    return long[0] / short[0] if short and long else None

if dense(old) and dense(new):
    print(f"{'BM_DenseRoad 100 km over 3 km, per vehicle-step':60} {dense(old):12.3f} {dense(new):12.3f}")
PY
