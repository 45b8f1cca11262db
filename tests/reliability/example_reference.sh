#!/usr/bin/env bash
# The example study, run with seed 1 and the example's configuration, writes exactly the
# committed output traffic file and measurement files: any change of results for well-formed
# input shows up here byte for byte. When a change of results is intended, regenerate with
#   build/roadflux-cli run examples/study.rfx --seed 1 --config examples/Roadflux.ini \
#     --output tests/reliability/example-reference/output.txt \
#     --metrics tests/reliability/example-reference/metrics
#   example_reference.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
reference="$source/tests/reliability/example-reference"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# From another folder, so that only the names stored in the study lead to the example's files.
(cd "$work" && "$cli" run "$source/examples/study.rfx" --seed 1 --config "$source/examples/Roadflux.ini" \
  --out-dir "$work/run") >"$work/out.txt" 2>"$work/err.txt" ||
  { echo "FAIL: the example run failed:"; cat "$work/err.txt"; exit 1; }
status=0
cmp "$reference/output.txt" "$work/run/output.txt" || status=1
diff -r "$reference/metrics" "$work/run/metrics" >"$work/diff.txt" || { head -n 40 "$work/diff.txt"; status=1; }
[ $status -eq 0 ] && echo "the example's output and measurement files are byte for byte the reference" ||
  echo "FAIL: the example's results differ from tests/reliability/example-reference"
exit $status
