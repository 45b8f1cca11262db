#!/usr/bin/env bash
# Runs every fuzz target for a while (default 600 s each, two at a time) from a scratch copy of
# its seed corpus, and prints one line per target: runs, coverage, and whether it stayed clean.
#   tools/fuzz-long.sh [FUZZ_BUILD_DIR] [SECONDS]
# The fuzz build: CC=clang CXX=clang++ cmake -S . -B build-fuzz -DROADFLUX_SANITIZE=ON -DROADFLUX_FUZZ=ON
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${2:-600}
work=$(mktemp -d)
export ASAN_OPTIONS=detect_leaks=1
fuzz_one() {
  local target=$1 build=$2 seconds=$3 work=$4 root=$5
  mkdir -p "$work/$target"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/$target-" "$work/$target" "$root/fuzz/corpus/$target" >"$work/$target.log" 2>&1
  local status=$?
  local done_line
  done_line=$(grep -E '^#[0-9]+.*(DONE|cov)' "$work/$target.log" | tail -1)
  echo "$target: status $status; $done_line"
}
export -f fuzz_one
ls "$root"/fuzz/*.cpp | xargs -n1 basename | sed 's/\.cpp$//' |
  parallel --will-cite -j 2 fuzz_one {} "$build" "$seconds" "$work" "$root"
echo "logs and any crash inputs: $work"
