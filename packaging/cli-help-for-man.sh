#!/bin/sh
# What help2man reads for roadflux-cli(1): the runner's own --help, then each command's --help
# under a heading of its own, so that the manual page lists every command and option.
#   ROADFLUX_CLI=build/roadflux-cli packaging/cli-help-for-man.sh --help
set -eu
cli=${ROADFLUX_CLI:?ROADFLUX_CLI names the roadflux-cli program}
[ "${1:-}" = "--help" ] || { echo "usage: ROADFLUX_CLI=PROGRAM $0 --help" >&2; exit 2; }
# The exit statuses have a section of their own in the manual page.
"$cli" --help | sed '/^Exit status:$/,$d'
commands=$("$cli" --help | awk '/^Subcommands:$/ {listed=1; next} listed && /^  [a-z]/ {print $1} /^$/ {listed=0}')
for command in $commands; do
  echo
  echo "Command $command:"
  # The first line is the command's summary and comes after its usage; the per-command
  # headings and --help lines would only repeat themselves.
  "$cli" "$command" --help | awk '
    NR == 1 { summary = $0; next }
    /^Exit status:$/ { exit }
    /^Usage: / { sub(/^Usage: /, ""); print "  " $0; print "      " summary "."; print ""; next }
    /^(Positionals|Options):$/ || /^ *-h,--help/ || /^$/ { next }
    { print }'
done
