#!/usr/bin/env bash
# The runner under careless and hostile use: no command destroys a file it was not asked to
# write, no output the study asks for is lost without a non-zero status and a message naming
# it, and nothing hangs (every command runs under a timeout).
#   hostile.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
study="$source/examples/study.rfx"
config="$source/examples/Roadflux.ini"
work=$(mktemp -d)
cleanup() {
  [ -n "${first:-}" ] && kill "$first" 2>/dev/null
  [ -n "${generator:-}" ] && kill "$generator" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# Runs the runner with a short timeout: a hang is a failure, as is a crash.
run() {
  timeout -k 10 120 "$cli" "$@" >out.txt 2>err.txt  # -k: a loop deaf to SIGTERM is still ended
  status=$?
  [ $status -lt 124 ] || { fail "roadflux-cli $* hung or crashed (status $status)"; return 1; }
  return 0
}
refused() {  # refused MESSAGE NAME: status 1 and the message on stderr
  [ $status -eq 1 ] || { fail "$2: status $status"; sed 's/^/    /' err.txt; return 1; }
  grep -qF -- "$1" err.txt || { fail "$2: no message '$1'"; sed 's/^/    /' err.txt; return 1; }
  pass "$2"
}
snapshot() { find "$1" -type f -print0 | sort -z | xargs -0 sha1sum; }
whole_records() { [ -z "$(awk 'length($0) != 77' "$1")" ] && [ "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" = '\n' ]; }

# A good run whose results every refusal below must leave alone.
run run "$study" --seed 3 --out-dir earlier --config "$config"
[ $status -eq 0 ] || { fail "the reference run failed"; cat err.txt; }
before=$(snapshot earlier)
head -c 20000 /dev/urandom >binary.txt
printf '1001 1 1 0 8 0 0 0250  15 4529  0  827  7 0\n' >nolane.txt
for bad in binary.txt nolane.txt; do
  run run "$study" --input "$bad" --out-dir earlier --config "$config"
  [ $status -eq 1 ] && [ "$(snapshot earlier)" = "$before" ] && pass "a refused run ($bad) leaves earlier results whole" ||
    fail "a refused run ($bad) touched earlier results (status $status)"
done

# Outputs that are the run's own inputs.
cp "$study" mine.rfx
cp "$config" Roadflux.ini
mkdir -p m
input=(--input "$source/examples/traffic.txt")
run run mine.rfx "${input[@]}" --output mine.rfx --metrics m
refused "The output traffic file must not be the study file" "--output naming the study"
cmp -s "$study" mine.rfx || fail "the study was changed"
run run mine.rfx "${input[@]}" --output Roadflux.ini --metrics m
refused "The output traffic file must not be the configuration file" "--output naming Roadflux.ini"
cmp -s "$config" Roadflux.ini || fail "Roadflux.ini was changed"
run run mine.rfx "${input[@]}" --output m/FD_All_Pos_1500.csv --metrics m --config "$config"
refused "must not be the output traffic file" "--output naming a measurement file of the run"
run new made.rfx --input "$source/examples/traffic.txt" --output made.rfx
refused "The output traffic file must not be the study file" "new with the study as its output"
[ -e made.rfx ] && fail "new wrote a study whose output is itself"

# A metrics "folder" that is a file, and a terminal that is not there, refused before the run.
touch afile
run run "$study" --output a.txt --metrics afile --config "$config"
refused "is not a folder: the measurement files cannot be written" "a file as the metrics folder"
setsid "$cli" run "$study" --output /dev/tty --metrics m --config "$config" >out.txt 2>err.txt </dev/null
status=$?
refused "The output traffic file cannot be written (/dev/tty" "a terminal that is not there as output"

# Special files: never replaced, never blocked on.
mkfifo fifo
run generate fifo --duration 1m --force --config "$config"
refused "not a regular file" "generate --force onto a FIFO"
[ -p fifo ] || fail "the FIFO was replaced"
run run "$study" --output fifo --metrics m --config "$config"
refused "The output traffic file cannot be written" "a FIFO as output"
run run "$study" --input fifo --out-dir f --config "$config"
refused "The input traffic file is not a regular file" "a FIFO as input"
run show fifo
refused "Failed to open document." "a FIFO as study"
run --config fifo show "$study"
refused "Configuration file cannot be read" "a FIFO as configuration"
(mkdir -p here && cd here && mkfifo Roadflux.ini && timeout 60 "$cli" show "$study" >../out.txt 2>../err.txt)
status=$?
[ $status -eq 0 ] && grep -qF "Roadflux.ini: Configuration file cannot be read" err.txt &&
  pass "a FIFO as Roadflux.ini: the defaults, with a message" || fail "a FIFO as Roadflux.ini (status $status)"
(mkdir -p dirini/Roadflux.ini && cd dirini && timeout 60 "$cli" show "$study" >../out.txt 2>../err.txt)
status=$?
[ $status -eq 0 ] && grep -qF "Configuration file cannot be read" err.txt &&
  pass "a folder as Roadflux.ini: the defaults, with a message" || fail "a folder as Roadflux.ini (status $status)"

# Input from a pipe is refused as not a regular file; from a redirected file it runs.
cat "$source/examples/traffic.txt" | timeout 120 "$cli" run "$study" --input /dev/stdin --out-dir piped \
  --config "$config" >out.txt 2>err.txt
status=$?
refused "The input traffic file is not a regular file" "input from a pipe"
timeout 120 "$cli" run "$study" --input /dev/stdin --out-dir redirected --config "$config" \
  <"$source/examples/traffic.txt" >out.txt 2>err.txt
[ $? -eq 0 ] && grep -q "^Vehicles released:   1265$" out.txt && pass "input redirected from a file" ||
  { fail "input redirected from a file"; cat err.txt; }

# Traffic content that would reshape the run in silence.
tr '\n' '\r' <"$source/examples/traffic.txt" >cr.txt
run run "$study" --input cr.txt --out-dir cr --config "$config"
[ $status -eq 0 ] && grep -q "^Vehicles released:   1265$" out.txt && pass "CR-only line ends read as records" ||
  { fail "CR-only line ends (status $status)"; grep Vehicles out.txt; }
{ head -n 100 "$source/examples/traffic.txt"; echo; tail -n +101 "$source/examples/traffic.txt"; } >gap.txt
run run "$study" --input gap.txt --out-dir gap --config "$config"
[ $status -eq 0 ] && grep -qF "line 101 is empty: the input ends there; the 1165 lines" err.txt &&
  pass "an empty line that ends the input is told" || { fail "an empty line in the middle"; cat err.txt; }
# The last vehicle two days later (day column 3) and one at hour 99: told, and the run crosses the
# empty days at once.
{
  head -n 50 "$source/examples/traffic.txt"
  sed -n 51p "$source/examples/traffic.txt" | sed 's/^\(....\)../\1 3/'
  sed -n 52p "$source/examples/traffic.txt" | sed 's/^\(.\{10\}\)../\199/'
} >future.txt
run run "$study" --input future.txt --out-dir future --config "$config"
[ $status -eq 0 ] && grep -qF "line 51: time stamp year 0, month 1, day 3" err.txt &&
  grep -qF "is 2 days after the one before it" err.txt && grep -qF "line 52: time stamp" err.txt &&
  grep -qF "99:" err.txt && pass "far-future stamps are told before the run" || { fail "far-future stamps"; cat err.txt; }

# Lost measurement lines fail the run, naming the file: a disk that fills at 2 kB.
mkdir -p full
(ulimit -f 2 && trap '' XFSZ && exec "$cli" run "$study" --output full.txt --metrics full --config "$config") >out.txt 2>err.txt
status=$?
refused "FD_All_Pos_1500.csv: the measurement file could not be written: lines were lost" "a full disk under a measurement file"
# A device is not written: /dev/full stands for none of the run's files.
rm -f full/Head_All_Neg_1500.csv && ln -s /dev/full full/Head_All_Neg_1500.csv
run run "$study" --output full.txt --metrics full --config "$config"
refused "Head_All_Neg_1500.csv: a device, not a regular file" "a device under a measurement file"

# Two runs writing the same files at once: the second is refused, the first's files stay whole.
"$cli" generate long.txt --duration 1h --flow 1500 --seed 5 --config "$config" >/dev/null
mkdir -p shared/metrics
"$cli" run "$study" --input long.txt --output shared/output.txt --metrics shared/metrics --config "$config" \
  >first.out 2>first.err &
first=$!
for _ in $(seq 600); do grep -q "% complete" first.err 2>/dev/null && break; sleep 0.1; done
mkdir -p other
run run "$study" --input long.txt --output shared/output.txt --metrics other --config "$config"
refused "The output traffic file is being written by another run ($work/shared/output.txt)" "a second run of one output"
run run "$study" --input long.txt --output other.txt --metrics shared/metrics --config "$config"
refused "is being written by another run ($work/shared/metrics/" "a second run of one metrics folder"
[ -e other.txt ] && fail "the refused second run left its output behind"
# A closed terminal (SIGHUP) stops the first run as Ctrl-C would: its files end whole.
kill -HUP $first
wait $first
status=$?
first=
[ $status -eq 129 ] && grep -q "the simulation was stopped" first.err && whole_records shared/output.txt &&
  pass "the first run, stopped by SIGHUP, leaves whole files" || fail "the first run (status $status) or its output"

# An interrupted generate leaves no temporary file behind. (A shell without job control starts
# background commands with SIGINT ignored, so the batch system's SIGTERM stands in for Ctrl-C.)
mkdir -p gen
"$cli" generate gen/week.txt --duration 7d --flow 3600 --config "$config" >/dev/null 2>&1 &
generator=$!
for _ in $(seq 300); do [ -n "$(find gen -size +100k)" ] && break; sleep 0.05; done
kill -TERM $generator
wait $generator
status=$?
generator=
[ $status -eq 143 ] && [ -z "$(ls -A gen)" ] && pass "an interrupted generate removes its temporary file" ||
  fail "interrupted generate: status $status, left: $(ls -A gen)"

# Load effects spread over more than 1e154: the Gumbel fit once searched for ever and ignored
# SIGTERM. It ends, and the summary gives the fit or says why there is none.
printf 'distance_m,ordinate\n0,0\n20,1e160\n40,0\n' >huge-line.csv
printf 'name,start_m,span_m,effect,directions,interval_s,lane_factors\nHuge,1200,40,file:huge-line.csv,both,60,\n' \
  >huge.bridges
run run "$study" --bridges huge.bridges --out-dir huge --seed 1 --config "$config"
[ $status -eq 0 ] && grep -qE "^  (Gumbel fit: location|no Gumbel fit: )" out.txt &&
  pass "an influence line of ordinate 1e160 ends with its Gumbel fit" ||
  { fail "influence line of ordinate 1e160: status $status"; sed 's/^/    /' err.txt; }

# A report never blocks on a pipe or reads a device without end where a run's summary should be,
# and never replaces a device (as root, /dev/null) with its page.
report="$build/roadflux-report"
if [ -x "$report" ]; then
  export QT_QPA_PLATFORM=offscreen
  mkdir -p rep/metrics
  cp earlier/metrics/*.csv rep/metrics/
  mkfifo rep/summary.txt
  timeout 20 "$report" rep -o rep.html >out.txt 2>err.txt
  status=$?
  refused "summary.txt: the run's summary cannot be read (a named pipe (FIFO)" "a FIFO as a run's summary"
  rm rep/summary.txt && ln -s /dev/zero rep/summary.txt
  timeout 20 "$report" rep -o rep.html >out.txt 2>err.txt
  status=$?
  refused "summary.txt: the run's summary cannot be read (a device" "/dev/zero as a run's summary"
  if mknod -m 666 mynull c 1 3 2>/dev/null; then
    rm rep/summary.txt && echo "summary" >rep/summary.txt
    timeout 20 "$report" rep -o mynull >out.txt 2>err.txt
    status=$?
    refused "mynull: a device, not a regular file" "a device as the report"
    [ -c mynull ] || fail "the device was replaced by the report"
  fi
fi

[ $failures -eq 0 ] && echo "all hostile cases passed" || echo "$failures hostile cases failed"
exit $((failures > 0))
