#!/usr/bin/env bash
# One run of a sweep, into a folder of its own. A run whose folder is complete is not redone:
# outputs are written to "<folder>.partial" and the folder is renamed only after the runner
# succeeded, so an interrupted or failed run leaves no folder that looks finished.
#   run-one.sh OUTDIR NAME STUDY SEED [INPUT]
# NAME is one plain folder name (letters, digits, '_', '.', '+', '-'; not starting with '.' or
# '-'): an empty name or one with a slash would make the run replace OUTDIR itself or a folder
# beside it. SEED is a whole number.
# With ROADFLUX_SWEEP_REPORT set, the folder also gets report.html from roadflux-report (its
# path in ROADFLUX_REPORT when not on PATH); a run is complete only with its report.
# Exit status: 0 done (or already done); 1 the finished run could not be moved or its report
# written; 2 a job that cannot be run, named in the message (the line is not run, nothing is
# removed); 3 the same run is in progress elsewhere; the runner's status otherwise.
set -uo pipefail
if [ $# -lt 2 ]; then
  echo "run-one.sh: usage: run-one.sh OUTDIR NAME STUDY SEED [INPUT] (got $# arguments)" >&2
  exit 2
fi
# Missing trailing fields come as no argument at all; jobs files written on Windows end their
# lines with CR.
outdir=$1 name=${2%$'\r'} study=${3:-} seed=${4:-} input=${5:-}
study=${study%$'\r'} seed=${seed%$'\r'} input=${input%$'\r'}
cli=${ROADFLUX_CLI:-roadflux-cli}
refuse() {
  echo "run-one.sh: run '$name': $*; not run" >&2
  exit 2
}
[ -n "$outdir" ] || refuse "no output folder"
[ -n "$name" ] || refuse "the name is empty"
[[ $name =~ ^[A-Za-z0-9_+][A-Za-z0-9_.+-]*$ ]] ||
  refuse "the name must be one plain folder name: letters, digits, '_', '.', '+' and '-', not starting with '.' or '-'"
[[ $name == *.partial ]] && refuse "a name must not end in .partial (the folder of a run in progress)"
[ -n "$study" ] || refuse "no study"
[[ $seed =~ ^[0-9]+$ ]] || refuse "the seed '$seed' is not a whole number"

final="$outdir/$name"
write_report() {
  [ -z "${ROADFLUX_SWEEP_REPORT:-}" ] && return 0
  "${ROADFLUX_REPORT:-roadflux-report}" "$1" --study "$study" -o "$1/report.html" >/dev/null 2>>"$1/log.txt" && return 0
  echo "$name: the report could not be written (see $1/log.txt)" >&2
  return 1
}
if [ -f "$final/summary.txt" ]; then
  if [ -n "${ROADFLUX_SWEEP_REPORT:-}" ] && [ ! -f "$final/report.html" ]; then
    write_report "$final" || exit 1
    echo "$name: report written"
    exit 0
  fi
  echo "$name: already complete"
  exit 0
fi
mkdir -p "$outdir" || exit 2
# Two sweeps over the same folder must not run one job twice at once: the second would remove
# the first's folder in progress.
exec 9>>"$outdir/.$name.lock" || exit 2
if ! flock -n 9; then
  echo "run-one.sh: run '$name': already in progress in $outdir (another sweep); not run" >&2
  exit 3
fi
partial="$final.partial"
rm -rf "$partial"
mkdir -p "$partial/metrics" || exit 2
args=(run "$study" --seed "$seed" --output "$partial/output.txt" --metrics "$partial/metrics")
[ -n "$input" ] && args+=(--input "$input")
"$cli" "${args[@]}" >"$partial/summary.txt.tmp" 2>"$partial/log.txt"
status=$?
if [ $status -ne 0 ]; then
  echo "$name: failed with status $status (see $partial/log.txt)" >&2
  exit $status
fi
# The runner named the files where it wrote them; the summary names them where they stay.
moveFailed() {
  echo "$name: the finished run could not be moved to $final" >&2
  exit 1
}
while IFS= read -r line || [ -n "$line" ]; do
  printf '%s\n' "${line//"$partial/"/"$final/"}"
done <"$partial/summary.txt.tmp" >"$partial/summary.txt.named" &&
  rm -f "$partial/summary.txt.tmp" &&
  mv "$partial/summary.txt.named" "$partial/summary.txt" || moveFailed
write_report "$partial" || exit 1
rm -rf "$final" && mv "$partial" "$final" || moveFailed
rm -f "$outdir/.$name.lock"
echo "$name: done"
