#!/usr/bin/env bash
# Runs the built roadflux-cli end to end on the bundled example: from the examples folder as
# tools/run-example does, from another folder, twice with one seed, and on bad input.
#   cli_example.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

[ -x "$cli" ] || { echo "FAIL: $cli not built" >&2; exit 1; }

# As tools/run-example runs it.
mkdir -p "$work/out/metrics"
(cd "$source/examples" && "$cli" run study.rfx --output "$work/out/output.txt" --metrics "$work/out/metrics") \
  >"$work/run.out" 2>"$work/run.err"
status=$?
[ $status -eq 0 ] || fail "example run exited with $status: $(cat "$work/run.err")"
head -n 1 "$work/run.out" | grep -qx "The simulation has finished." || fail "no closing message"
grep -q "^Output traffic file: $work/out/output.txt\$" "$work/run.out" || fail "summary does not name the output file"
grep -q "^Metrics folder:      $work/out/metrics/\$" "$work/run.out" || fail "summary does not name the metrics folder"
grep -q "^Skipped vehicles:    0\$" "$work/run.out" || fail "vehicles were skipped"
written=$(sed -n 's/^Vehicles written: *//p' "$work/run.out")
[ "$written" = "$(wc -l <"$work/out/output.txt")" ] || fail "output file does not hold the $written records written"
[ "$written" -gt 1000 ] || fail "only $written vehicles written"
for file in FD_All_Pos_1500.csv Head_All_Neg_1500.csv Comp_All_Pos_2500.csv LC_All_All_Pos.csv; do
  [ -s "$work/out/metrics/$file" ] || fail "measurement file $file missing or empty"
done
grep -qx "100% complete" "$work/run.err" || fail "progress did not reach 100%"
[ -z "$(grep -v -x '[0-9]*% complete' "$work/run.err")" ] || fail "unexpected messages: $(cat "$work/run.err")"

# From another folder, twice with one seed: the same outputs byte for byte.
for name in first second; do
  (cd "$work" && "$cli" run "$source/examples/study.rfx" --seed 17 --out-dir "$work/$name" \
    --config "$source/examples/Roadflux.ini") >/dev/null 2>"$work/$name.err" || fail "seeded run $name failed: $(cat "$work/$name.err")"
done
cmp -s "$work/first/output.txt" "$work/second/output.txt" || fail "seeded runs wrote different output files"
diff -r "$work/first/metrics" "$work/second/metrics" >/dev/null || fail "seeded runs wrote different measurement files"

# The committed example is what its script makes.
cp -r "$source/examples" "$work/examples"
"$work/examples/make-example.sh" "$cli" >/dev/null 2>"$work/make.err" || fail "make-example.sh failed: $(cat "$work/make.err")"
cmp -s "$work/examples/traffic.txt" "$source/examples/traffic.txt" || fail "examples/traffic.txt is not what make-example.sh makes"
cmp -s "$work/examples/study.rfx" "$source/examples/study.rfx" || fail "examples/study.rfx is not what make-example.sh makes"

# A run stopped by a batch system's SIGTERM ends with 128 + 15 and leaves only whole lines.
"$cli" generate "$work/long.txt" --duration 4h --flow 1800 --seed 5 --config "$source/examples/Roadflux.ini" >/dev/null
mkdir -p "$work/stopped"
(cd "$source/examples" && exec "$cli" run study.rfx --input "$work/long.txt" --out-dir "$work/stopped") \
  >/dev/null 2>"$work/stopped.err" &
runner=$!
sleep 2
kill -TERM $runner
wait $runner
status=$?
[ $status -eq 143 ] || fail "a stopped run exited with $status"
grep -q "the simulation was stopped" "$work/stopped.err" || fail "a stopped run did not say so"
[ -s "$work/stopped/output.txt" ] || fail "the stopped run wrote nothing to check"
for file in "$work/stopped/output.txt" "$work"/stopped/metrics/*.csv; do
  [ ! -s "$file" ] || [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" = '\n' ] || fail "$file ends in half a line"
done
[ -z "$(awk 'length($0) != 77' "$work/stopped/output.txt")" ] || fail "the stopped run's output has a broken record"

# Bad input: a message naming the file, and a non-zero status.
check_refusal() {
  local expected=$1; shift
  "$cli" "$@" >/dev/null 2>"$work/bad.err"
  local code=$?
  [ $code -ne 0 ] || fail "'$*' succeeded"
  grep -qF -- "$expected" "$work/bad.err" || fail "'$*' did not say '$expected': $(cat "$work/bad.err")"
}
printf 'not a study' >"$work/foreign.rfx"
check_refusal "$work/missing.rfx: Failed to open document." run "$work/missing.rfx"
check_refusal "$work/foreign.rfx: Unexpected file format." show "$work/foreign.rfx"
check_refusal "The input traffic file does not exist" run "$source/examples/study.rfx" --input "$work/none.txt" --out-dir "$work/none"
check_refusal "Run with --help" run
check_refusal "--lanes2: The number of simulation lanes must not" new "$work/s.rfx" --input a --output b --lanes2 0

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "roadflux-cli example: all checks passed"
