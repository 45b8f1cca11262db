#!/usr/bin/env bash
# Prints the runs of a jobs file, one line each, as sweep.sh and sweep.slurm hand them on:
# comments and blank lines left out, a UTF-8 byte-order mark at the start and the CR of CR LF
# line ends removed, and nothing else changed, so that names are compared here exactly as
# run-one.sh will use them.
#   read-jobs.sh JOBS.tsv
# Exit status: 0 with the runs on stdout; 2 a jobs file that cannot be run as a whole (not a
# regular file, binary, no runs, one name for two runs), the reason on stderr.
set -uo pipefail
# Bytes, not characters: names that differ only in invisible characters must stay different.
export LC_ALL=C
refuse() {
  echo "$*" >&2
  exit 2
}
[ $# -eq 1 ] && [ -n "$1" ] || refuse "read-jobs.sh: usage: read-jobs.sh JOBS.tsv"
jobs_file=$1
[ -e "$jobs_file" ] || refuse "$jobs_file: no such jobs file"
# A pipe or device would be read once here and again by every Slurm task, or never end.
[ -f "$jobs_file" ] || refuse "$jobs_file: not a regular file; a jobs file must be one"
[ -r "$jobs_file" ] || refuse "$jobs_file: the jobs file cannot be read"
# The shell drops NUL bytes from what it reads: two names could become one.
[ "$(tr -cd '\000' <"$jobs_file" | wc -c)" -eq 0 ] || refuse "$jobs_file: holds NUL bytes; a jobs file is text"
runs=$(sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' "$jobs_file" | grep -v '^#' | grep -v '^[[:space:]]*$')
[ -n "$runs" ] || refuse "$jobs_file: no runs in the jobs file"
# Two runs of one name would write one folder: the second would replace the first's results.
twice=$(printf '%s\n' "$runs" | cut -f1 | sort | uniq -d | tr '\n' ' ')
[ -z "$twice" ] || refuse "$jobs_file: names given to more than one run: $twice"
printf '%s\n' "$runs"
