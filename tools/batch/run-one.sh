#!/usr/bin/env bash
# One run of a sweep, into a folder of its own. A run whose folder is complete is not redone:
# outputs are written to "<folder>.partial" and the folder is renamed only after the runner
# succeeded, so an interrupted or failed run leaves no folder that looks finished.
#   run-one.sh OUTDIR NAME STUDY SEED [INPUT]
# NAME is one plain folder name (letters, digits, '_', '.', '+', '-'; not starting with '.' or
# '-'): an empty name or one with a slash would make the run replace OUTDIR itself or a folder
# beside it, and blanks or invisible characters would make names that look alike. SEED is a
# whole number from 0 to 4294967295, written without leading zeros.
# Every folder made here holds the marker file .roadflux-run, and only folders with it are
# removed or replaced: a NAME or NAME.partial that is anything else (a folder of someone
# else's, a file, a symbolic link) makes the job refused, and it is left as it is.
# With ROADFLUX_SWEEP_REPORT set, the folder also gets report.html from roadflux-report (its
# path in ROADFLUX_REPORT when not on PATH); a run is complete only with its report.
# Exit status: 0 done (or already done); 1 the finished run could not be moved or its report
# written; 2 a job that cannot be run, named in the message (the line is not run, nothing is
# removed); 3 the same run is in progress elsewhere; 128+N stopped by signal N (the runner is
# stopped with it and the run stays NAME.partial); the runner's status otherwise.
set -uo pipefail
marker=.roadflux-run
if [ $# -lt 2 ]; then
  echo "run-one.sh: usage: run-one.sh OUTDIR NAME STUDY SEED [INPUT] (got $# arguments)" >&2
  exit 2
fi
outdir=$1 name=$2 study=${3:-} seed=${4:-} input=${5:-}
# A jobs line written on Windows ends with CR, which reaches only the last field given.
last=$#
case $last in
  2) name=${name%$'\r'} ;;
  3) study=${study%$'\r'} ;;
  4) seed=${seed%$'\r'} ;;
  *) input=${input%$'\r'} ;;
esac
# Blanks around the other fields were always taken away (GNU parallel did so); a name keeps
# them, and is refused for them.
for field in study seed input; do
  value=${!field}
  value=${value#"${value%%[! ]*}"}
  printf -v "$field" '%s' "${value%"${value##*[! ]}"}"
done
cli=${ROADFLUX_CLI:-roadflux-cli}

# Names in messages with their blanks visible and invisible characters spelt out.
shown=$(LC_ALL=C && printf '%s' "${name@Q}")
refuse() {
  echo "run-one.sh: run $shown: $*; not run" >&2
  exit 2
}
plain_name() {
  local LC_ALL=C
  [[ $1 =~ ^[A-Za-z0-9_+][A-Za-z0-9_.+-]*$ ]]
}
[ -n "$outdir" ] || refuse "no output folder"
[ -n "$name" ] || refuse "the name is empty"
plain_name "$name" ||
  refuse "the name must be one plain folder name: letters, digits, '_', '.', '+' and '-', not starting with '.' or '-'"
[[ $name == *.partial ]] && refuse "a name must not end in .partial (the folder of a run in progress)"
[ -n "$study" ] || refuse "no study"
[[ $seed =~ ^(0|[1-9][0-9]{0,9})$ ]] && ((10#$seed <= 4294967295)) ||
  refuse "the seed '$seed' is not a whole number from 0 to 4294967295 without leading zeros"

# The runner and the report run in the background so that a signal reaches this script at
# once; it stops them and ends with 128+N.
stage=""
stop() {
  trap '' INT TERM HUP
  # Every child in the background (the runner or the report), also one started the moment
  # before the signal.
  local running
  running=$(jobs -p)
  [ -n "$running" ] && kill -TERM $running 2>/dev/null
  wait
  [ -n "$stage" ] && rm -rf -- "$stage"
  echo "$name: stopped by signal $1" >&2
  exit $((128 + $1))
}
trap 'stop 2' INT
trap 'stop 15' TERM
trap 'stop 1' HUP
run_child() {
  # Without the explicit <&0 a command in the background reads /dev/null.
  "$@" <&0 &
  wait $!
}

# Paths that start with '-' would be taken for options by mkdir, mktemp and the runner.
for path in outdir study input; do
  [[ ${!path} == -* ]] && printf -v "$path" './%s' "${!path}"
done
final="$outdir/$name"
partial="$final.partial"
# A folder this script made: a real folder, not a link to one, with the marker in it.
ours() { [ -d "$1" ] && [ ! -L "$1" ] && [ -f "$1/$marker" ] && [ ! -L "$1/$marker" ]; }
present() { [ -e "$1" ] || [ -L "$1" ]; }
# Complete runs from before the marker have none; they are read, never removed.
complete() { [ -d "$final" ] && [ -f "$final/summary.txt" ]; }
refuseForeign() {
  present "$1" && ! ours "$1" || return 0
  if [ -L "$1" ]; then
    refuse "$1 is a symbolic link, not a folder of this sweep; it is left as it is"
  elif [ -d "$1" ]; then
    refuse "$1 is a folder this sweep did not make (it has no $marker); it is left as it is"
  fi
  refuse "$1 is not a folder; it is left as it is"
}
write_report() {
  [ -z "${ROADFLUX_SWEEP_REPORT:-}" ] && return 0
  run_child "${ROADFLUX_REPORT:-roadflux-report}" "$1" --study "$study" -o "$1/report.html" >/dev/null 2>>"$1/log.txt" &&
    return 0
  echo "$name: the report could not be written (see $1/log.txt)" >&2
  return 1
}
finishComplete() {
  if [ -n "${ROADFLUX_SWEEP_REPORT:-}" ] && [ ! -f "$final/report.html" ]; then
    write_report "$final" || exit 1
    echo "$name: report written"
    exit 0
  fi
  echo "$name: already complete"
  exit 0
}
complete && finishComplete
refuseForeign "$final"
refuseForeign "$partial"
mkdir -p -- "$outdir" || refuse "the output folder $outdir cannot be made"
# Two sweeps over the same folder must not run one job twice at once: the second would remove
# the first's folder in progress.
exec 9>>"$outdir/.$name.lock" || refuse "cannot write in the output folder $outdir"
if ! flock -n 9; then
  echo "run-one.sh: run $shown: already in progress in $outdir (another sweep); not run" >&2
  exit 3
fi
# What the other sweep left before this one had the lock.
complete && finishComplete
refuseForeign "$final"
refuseForeign "$partial"
rm -rf -- "$partial"
# The folder is made under another name and renamed: NAME.partial never exists without its
# marker, even when this script is stopped on the way. It gets the permissions mkdir would
# give it, not mktemp's owner-only ones.
stage=$(mktemp -d "$outdir/.$name.new.XXXXXX") &&
  chmod "$(umask -S)" "$stage" &&
  printf 'A run folder of a roadflux sweep: run-one.sh may remove or replace it.\n' >"$stage/$marker" &&
  mkdir "$stage/metrics" &&
  mv -T -- "$stage" "$partial" || {
  [ -n "$stage" ] && rm -rf -- "$stage"
  echo "run-one.sh: run $shown: $partial cannot be made; not run" >&2
  exit 2
}
stage=""
args=(run "$study" --seed "$seed" --output "$partial/output.txt" --metrics "$partial/metrics")
[ -n "$input" ] && args+=(--input "$input")
run_child "$cli" "${args[@]}" </dev/null >"$partial/summary.txt.tmp" 2>"$partial/log.txt"
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
# Only an unfinished folder of this sweep can stand in the way (checked under the lock above).
if present "$final"; then
  ours "$final" || moveFailed
  rm -rf -- "$final" || moveFailed
fi
mv -T -- "$partial" "$final" || moveFailed
rm -f "$outdir/.$name.lock"
echo "$name: done"
