#!/usr/bin/env bash
# One run of a sweep, into a folder of its own. A run whose folder is complete is not redone:
# outputs are written to "<folder>.partial" and the folder is renamed only after the runner
# succeeded, so an interrupted or failed run leaves no folder that looks finished.
#   run-one.sh OUTDIR NAME STUDY SEED [INPUT]
# Exit status: 0 done (or already done), the runner's status otherwise.
set -uo pipefail
outdir=$1 name=$2 study=$3 seed=$4 input=${5:-}
cli=${ROADFLUX_CLI:-roadflux-cli}
final="$outdir/$name"
if [ -f "$final/summary.txt" ]; then
  echo "$name: already complete"
  exit 0
fi
partial="$final.partial"
rm -rf "$partial"
mkdir -p "$partial/metrics"
args=(run "$study" --seed "$seed" --output "$partial/output.txt" --metrics "$partial/metrics")
[ -n "$input" ] && args+=(--input "$input")
"$cli" "${args[@]}" >"$partial/summary.txt.tmp" 2>"$partial/log.txt"
status=$?
if [ $status -ne 0 ]; then
  echo "$name: failed with status $status (see $partial/log.txt)" >&2
  exit $status
fi
mv "$partial/summary.txt.tmp" "$partial/summary.txt"
rm -rf "$final"
mv "$partial" "$final"
echo "$name: done"
