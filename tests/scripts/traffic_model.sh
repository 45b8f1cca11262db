#!/usr/bin/env bash
# fit-traffic and generate --model end to end: a recorded-like week made by
# examples/make-recorded-week.sh is fitted, ten days are drawn from the model, and the drawn
# traffic is tested against the week (traffic_model_stats.py: chi-square and two-sample
# Kolmogorov-Smirnov at 1 %, on more than 10,000 trucks). Then: one seed gives one file, memory
# does not grow with the duration, and bad models and files are refused by name.
#   traffic_model.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
/usr/bin/python3 -c 'import scipy' 2>/dev/null || { echo "SKIP: python3-scipy not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$work" || exit 1
cp "$source/examples/Roadflux.ini" .

"$source/examples/make-recorded-week.sh" week.txt 20000 7 || { echo "FAIL: the week was not made"; exit 1; }
start=$(date +%s.%N)
"$cli" fit-traffic week.txt -o model.json >fit.out 2>fit.err || fail "fit-traffic: $(cat fit.err)"
fitted=$(date +%s.%N)
"$cli" generate drawn.txt --model model.json --duration 10d --seed 5 >gen.out 2>gen.err || fail "generate: $(cat gen.err)"
drawn=$(date +%s.%N)
echo "fit of $(wc -l <week.txt) records: $(echo "$fitted - $start" | bc) s; 10 days drawn ($(wc -l <drawn.txt) records): $(echo "$drawn - $fitted" | bc) s"
/usr/bin/python3 "$source/tests/scripts/traffic_model_stats.py" week.txt drawn.txt 7 || fail "the drawn traffic differs from the recorded week"

# One seed, one file; another seed, another file.
"$cli" generate again.txt --model model.json --duration 10d --seed 5 >/dev/null 2>&1
cmp -s drawn.txt again.txt || fail "two runs with seed 5 differ"
"$cli" generate other.txt --model model.json --duration 10d --seed 6 >/dev/null 2>&1
cmp -s drawn.txt other.txt && fail "seeds 5 and 6 give the same file"

# Memory stays the same for a day and for two hundred days. Not under the sanitizers: their
# quarantine holds freed memory back on purpose.
if [ -x /usr/bin/time ] && ! grep -q '^ROADFLUX_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  /usr/bin/time -f %M -o day.rss "$cli" generate day.txt --model model.json --duration 1d --seed 1 >/dev/null 2>&1
  /usr/bin/time -f %M -o long.rss "$cli" generate long.txt --model model.json --duration 200d --seed 1 >/dev/null 2>&1
  echo "resident memory: 1 day $(cat day.rss) KB, 200 days $(cat long.rss) KB ($(wc -l <long.txt) records)"
  [ "$(cat long.rss)" -lt $(($(cat day.rss) + 4096)) ] || fail "200 days took $(cat long.rss) KB against $(cat day.rss) KB for one"
  rm -f day.txt long.txt
fi

# Refusals: each names the file and leaves the output as it was.
expect_refusal() {  # STATUS WORDS COMMAND...
  local status=$1 words=$2
  shift 2
  echo keep >kept.txt
  "$@" >refusal.out 2>refusal.err
  local got=$?
  [ $got -eq "$status" ] || fail "$* exited with $got, not $status: $(cat refusal.err)"
  grep -q -- "$words" refusal.err || fail "$*: the message does not say '$words': $(cat refusal.err)"
  [ "$(cat kept.txt)" = keep ] || fail "$*: the output was touched"
}
edit() {  # PYTHON-EXPRESSION on the model m, written to bad.json
  /usr/bin/python3 -c "import json; m = json.load(open('model.json')); $1; open('bad.json', 'w').write(json.dumps(m))" ||
    fail "could not edit the model: $1"
}
gen_bad() { expect_refusal 1 "$1" "$cli" generate kept.txt --model bad.json --duration 1d --force; }

edit "m['lanes'][0]['flow_veh_per_h']['weekday'][3] = -5"
gen_bad "bad.json: lanes\[0\].flow_veh_per_h.weekday\[3\]"
edit "m['lanes'][1]['classShares']['weekend'][2] = [0, 0, 0, 0, 0]"
gen_bad "lanes\[1\].classShares.weekend\[2\]: at least one class"
edit "del m['vehicleGroups'][3]['grossWeight_kN']['largest_kN']"
gen_bad "vehicleGroups\[3\].grossWeight_kN: the field \"largest_kN\" is missing"
edit "m['vehicleGroups'][4]['grossWeight_kN']['tail']['shape'] = 1e300"
gen_bad "vehicleGroups\[4\].grossWeight_kN.tail.shape"
edit "m['vehicleGroups'][4]['axleSpacingQuantiles_m'][0][5] = 0"
gen_bad "quantiles must not decrease"
edit "m['lanes'][2]['truckGaps']['quantiles'][0] = [0] * 101"
gen_bad "truckGaps.quantiles\[0\]: the gaps average 0"
edit "m['lanes'][0]['axleCounts']['largeTruck']['9'] = 0.5"
gen_bad "no vehicle group of largeTruck with 9 axles"
edit "m['lanes'][3]['lane'] = m['lanes'][2]['lane']; m['lanes'][3]['direction'] = m['lanes'][2]['direction']"
gen_bad "comes twice"
edit "m['roadfluxTrafficModel'] = 2"
gen_bad "version 1 expected"
sed 's/"shape": -0\.[0-9]*/"shape": NaN/' model.json >bad.json
gen_bad "bad.json: line [0-9]*: not JSON"
printf '1e400' >bad.json
gen_bad "bad.json"
head -c 3000 model.json >bad.json
gen_bad "bad.json: line [0-9]*: not JSON"
: >bad.json
gen_bad "bad.json"
mkfifo fifo.json
expect_refusal 1 "fifo.json" "$cli" generate kept.txt --model fifo.json --force
expect_refusal 1 "the model cannot be read" "$cli" generate kept.txt --model missing.json --force
expect_refusal 2 "excludes" "$cli" generate kept.txt --model model.json --mix car=1 --force
expect_refusal 2 "duration" "$cli" generate kept.txt --model model.json --duration 5M --force
expect_refusal 2 "past year 99" "$cli" generate kept.txt --model model.json --duration 1d --day 3650000 --force

# --day continues the calendar: Thursday's traffic is Monday's of the same seed, days apart.
"$cli" generate monday.txt --model model.json --duration 1d --seed 9 >/dev/null 2>&1 &&
  "$cli" generate thursday.txt --model model.json --duration 1d --day 3 --start 00:00 --seed 9 >/dev/null 2>&1 ||
  fail "generate --model --day did not run"
cmp -s <(cut -c11- monday.txt) <(cut -c11- thursday.txt) || fail "--day 3 changed more than the records' day"
cmp -s <(cut -c1-10 monday.txt) <(cut -c1-10 thursday.txt) && fail "--day 3 left the records on day 0"
expect_refusal 1 "VORK records carry no direction" "$cli" generate kept.txt --model model.json --format VORK --force
expect_refusal 1 "model.json" "$cli" generate model.json --model model.json --force

head -n 2000 week.txt >short.txt
expect_refusal 1 "short.txt: too short to fit" "$cli" fit-traffic short.txt -o kept.txt --force
# A quiet hour between records is recorded traffic; eight hours without a record are a break.
awk '{ hour = substr($0, 11, 2) + 0 } hour < 1 || hour > 8' week.txt >gap.txt
expect_refusal 1 "too sparse to fit: no traffic recorded between 1:00 and 2:00" "$cli" fit-traffic gap.txt -o kept.txt --force
{ head -n 100 week.txt; echo; tail -n 5 week.txt; } >empty-line.txt
expect_refusal 1 "empty-line.txt: line 101: an empty line" "$cli" fit-traffic empty-line.txt -o kept.txt --force
{ head -n 100 week.txt; sed -n 101p week.txt | cut -c 1-36; } >cut.txt
expect_refusal 1 "cut.txt: line 101: the record has 36 characters" "$cli" fit-traffic cut.txt -o kept.txt --force
{ head -n 100 week.txt; sed -n 101p week.txt | sed 's/^\(.\{4\}\)../\199/'; } >calendar.txt
expect_refusal 1 "calendar.txt: line 101: the time stamp is not a time" "$cli" fit-traffic calendar.txt -o kept.txt --force
tac week.txt >backwards.txt
expect_refusal 1 "backwards.txt: line [0-9]*: the time stamp is more than a minute before" "$cli" fit-traffic backwards.txt -o kept.txt --force
printf 'hello\n' >junk.txt
expect_refusal 1 "junk.txt: line 1: a record of 5 characters" "$cli" fit-traffic junk.txt -o kept.txt --force
expect_refusal 1 "the file exists already" "$cli" fit-traffic week.txt -o kept.txt
"$cli" generate vork.txt --format VORK --duration 2h --seed 1 >/dev/null 2>&1
expect_refusal 1 "vork.txt: its records are VORK, those of week.txt TALVOR" "$cli" fit-traffic week.txt vork.txt -o kept.txt --force
expect_refusal 1 "week.txt" "$cli" fit-traffic week.txt -o week.txt --force
expect_refusal 2 "--format" "$cli" fit-traffic week.txt -o kept.txt --format XML --force

# CR LF line ends and a byte-order mark read as the same records.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' week.txt; } >crlf.txt
"$cli" fit-traffic crlf.txt -o crlf.json >/dev/null 2>&1 || fail "a CR LF file with a byte-order mark was refused"
diff <(grep -v '"files"' model.json) <(grep -v '"files"' crlf.json) >/dev/null || fail "CR LF gives another model"

[ $failures -eq 0 ] && echo "ok: traffic model fitted, drawn from, tested and refused where it should be"
[ $failures -eq 0 ]
