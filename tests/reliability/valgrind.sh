#!/usr/bin/env bash
# One end-to-end run of the runner under valgrind's memcheck: no invalid access, no leak.
# Skipped (status 77) in a sanitizer build, whose runtime valgrind cannot host.
#   valgrind.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
grep -q '^ROADFLUX_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && { echo "sanitizer build: skipped"; exit 77; }
command -v valgrind >/dev/null || { echo "valgrind is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A few minutes of the example's traffic keep memcheck's run short.
head -n 300 "$source/examples/traffic.txt" >"$work/traffic.txt"
cd "$source/examples"
valgrind --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all --error-exitcode=9 \
  "$build/roadflux-cli" run study.rfx --input "$work/traffic.txt" --out-dir "$work/run" --seed 1 \
  >"$work/out.txt" 2>"$work/valgrind.txt"
status=$?
grep -E "ERROR SUMMARY|All heap blocks|in use at exit" "$work/valgrind.txt"
[ $status -eq 0 ] || { cat "$work/valgrind.txt" | tail -60; echo "FAIL: valgrind status $status"; exit 1; }
grep -q "All heap blocks were freed" "$work/valgrind.txt" || { echo "FAIL: memory still in use at exit"; exit 1; }
echo "valgrind clean"
