#!/usr/bin/env bash
# tools/batch/long-run.sh end to end on synthetic traffic: the days split into one job or four
# give the same day folders and the same block maxima from `extremes`; a rerun does only the
# days missing; traffic files go unless kept, seconds files when asked; the study's per-lane release is used; a folder the
# long run did not make is left alone; careless command lines are refused with nothing run.
#   long_run.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
export ROADFLUX_CLI="$build/roadflux-cli"
[ -x "$ROADFLUX_CLI" ] || { echo "SKIP: $ROADFLUX_CLI not built"; exit 77; }
command -v parallel >/dev/null || { echo "SKIP: GNU parallel not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$work" || exit 1
cp "$source/examples/study.rfx" "$source/examples/Roadflux.ini" .
cp "$source/examples/bridges-example.csv" study.bridges
echo "release-order = per-lane" >study.options
long_run() { "$source/tools/batch/long-run.sh" -j 2 --study study.rfx --config Roadflux.ini "$@"; }
# The load-effect files of every day, byte for byte.
fingerprint() { (cd "$1" && find . -path '*/metrics/LE_*' -type f | LC_ALL=C sort | xargs sha1sum); }

long_run --flow 40 --days 8 --days-per-job 8 one >one.log 2>&1 || fail "one job of 8 days: status $?: $(tail -3 one.log)"
long_run --flow 40 --days 8 --days-per-job 2 four >four.log 2>&1 || fail "four jobs of 2 days: status $?: $(tail -3 four.log)"
[ "$(ls -d one/day-*[0-9] | wc -l)" -eq 8 ] || fail "one job: not 8 day folders: $(ls one)"
[ "$(fingerprint one)" = "$(fingerprint four)" ] || fail "the load-effect files differ between one job and four"
grep -q "Release order:       per-lane" one/day-00005/summary.txt || fail "the study's per-lane release was not used"
grep -q "Simulated start: .*(year 0, month 1, day 4, 00:0" one/day-00003/summary.txt ||
  fail "day 3 does not start at 00:00 of the calendar's fourth day: $(head -3 one/day-00003/summary.txt)"
ls one/day-00000 | grep -q -e traffic.txt -e output.txt && fail "the traffic files were kept unasked"

"$ROADFLUX_CLI" extremes one/day-*[0-9] --csv one-ext >one-ext.log 2>&1 || fail "extremes over one job: $(tail -3 one-ext.log)"
"$ROADFLUX_CLI" extremes four/day-*[0-9] --csv four-ext >four-ext.log 2>&1 || fail "extremes over four jobs"
grep -q "Bridge Viaduct: 8 whole days from 8 runs in 1 series; 1 partial day left out" one-ext.log ||
  fail "extremes did not find 8 whole days: $(grep Bridge one-ext.log)"
for bridge in Viaduct Underpass TwoSpan; do
  cmp -s "one-ext/extremes_$bridge.csv" "four-ext/extremes_$bridge.csv" ||
    fail "$bridge: the block maxima and fits differ between one job and four"
done

# --no-seconds: the seconds files go, and the interval files (300 s, dividing the day) give the
# same daily maxima.
long_run --flow 40 --days 8 --days-per-job 4 --no-seconds lean >lean.log 2>&1 || fail "--no-seconds: $(tail -3 lean.log)"
compgen -G "lean/day-*/metrics/LE_*_seconds.csv" >/dev/null && fail "--no-seconds kept seconds files"
[ -f lean/day-00003/metrics/LE_Viaduct.csv ] || fail "--no-seconds removed the interval files"
"$ROADFLUX_CLI" extremes lean/day-*[0-9] --csv lean-ext >lean-ext.log 2>&1 || fail "extremes without seconds files"
maxima() { grep '^block,' "$1" | cut -d, -f1-4,11; }
for bridge in Viaduct Underpass TwoSpan; do
  [ -n "$(maxima "one-ext/extremes_$bridge.csv")" ] &&
    [ "$(maxima "one-ext/extremes_$bridge.csv")" = "$(maxima "lean-ext/extremes_$bridge.csv")" ] ||
    fail "$bridge: the daily maxima from interval files differ from those of the seconds files"
done

# A rerun does only what is missing: an interrupted day and a removed one, the rest untouched.
before=$(stat -c '%i %Y' four/day-00004/summary.txt)
mv four/day-00006 four/day-00006.partial
rm -rf four/day-00001
long_run --flow 40 --days 8 --days-per-job 2 four >rerun.log 2>&1 || fail "the rerun failed: $(tail -3 rerun.log)"
[ "$(grep -c ': done' rerun.log)" -eq 2 ] || fail "the rerun did not redo exactly two days: $(cat rerun.log)"
[ "$before" = "$(stat -c '%i %Y' four/day-00004/summary.txt)" ] || fail "the rerun touched a complete day"
[ "$(fingerprint one)" = "$(fingerprint four)" ] || fail "the redone days differ"
[ -e four/day-00006.partial ] && fail "the interrupted day's folder was left"

# --keep-traffic, and a generator command in place of the built-in one.
cat >gen.sh <<EOF
#!/bin/sh
exec "$ROADFLUX_CLI" --config Roadflux.ini generate "\$1" --flow 40 --duration 1d --start 00:00 --day "\$2" --seed "\$3" --force
EOF
chmod +x gen.sh
long_run --generator ./gen.sh --days 2 --keep-traffic kept >kept.log 2>&1 || fail "--generator: $(tail -3 kept.log)"
[ -f kept/day-00001/traffic.txt ] && [ -f kept/day-00001/output.txt ] || fail "--keep-traffic did not keep the traffic"
cmp -s kept/day-00001/metrics/LE_Viaduct_seconds.csv one/day-00001/metrics/LE_Viaduct_seconds.csv ||
  fail "the generator command's day differs from the built-in one's"

# A folder the long run did not make is refused and left alone.
mkdir -p foreign/day-00000 && echo mine >foreign/day-00000/notes.txt
long_run --flow 40 --days 2 foreign >foreign.log 2>&1
status=$?
[ $status -eq 1 ] || fail "a foreign day folder: status $status, expected 1"
grep -q "day-00000 is not a folder of a long run" foreign.log || fail "the foreign folder is not named: $(cat foreign.log)"
[ "$(cat foreign/day-00000/notes.txt)" = mine ] && [ -d foreign/day-00001 ] || fail "the foreign folder was touched"

# Careless command lines: refused with 2, nothing made.
for args in "--flow 40 --days 0" "--flow 40 --days 2 --seed 01" "--days 2" "--flow 40 --model m --days 2" \
  "--flow 40 --days 2 --days-per-job -1" "--flow 40 --days 2 --job 0"; do
  # shellcheck disable=SC2086
  long_run $args careless >careless.log 2>&1
  status=$?
  [ $status -eq 2 ] || fail "'$args': status $status, expected 2"
  [ -e careless ] && fail "'$args': the output folder was made" && rm -rf careless
done
"$source/tools/batch/long-run.sh" --study missing.rfx --flow 40 --days 1 careless >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing study is not refused with 2"

[ $failures -eq 0 ] && echo "ok: long runs"
[ $failures -eq 0 ]
