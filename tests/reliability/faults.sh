#!/usr/bin/env bash
# Faults the runner must survive: each ends in a clear message or a documented fallback,
# never a crash, and nothing already written is lost or left half-written.
#   faults.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
cli="$build/roadflux-cli"
study="$source/examples/study.rfx"
traffic="$source/examples/traffic.txt"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# Runs the runner, keeping its status, stdout and stderr; a signal (crash) is always a failure.
run() {
  timeout 300 "$cli" "$@" >out.txt 2>err.txt
  status=$?
  if [ $status -ge 124 ]; then
    fail "roadflux-cli $* ended by signal or timeout (status $status)"; cat err.txt
  fi
}
expect_status() {  # expect_status WANT NAME
  if [ "$1" = 0 ] && [ $status -ne 0 ]; then fail "$2: status $status"; sed 's/^/    /' err.txt; return 1; fi
  if [ "$1" = nonzero ] && [ $status -eq 0 ]; then fail "$2: succeeded"; return 1; fi
  return 0
}
expect_message() {  # expect_message TEXT NAME
  grep -qF -- "$1" err.txt || { fail "$2: no message '$1'"; sed 's/^/    /' err.txt; return 1; }
}
# Every line of a TALVOR output file is a whole 77-character record.
expect_whole_records() {  # expect_whole_records FILE NAME
  local bad
  bad=$(awk 'length($0) != 77' "$1" | wc -l)
  [ "$bad" -eq 0 ] || { fail "$2: $bad partial lines in $1"; return 1; }
  [ -z "$(tail -c 1 "$1")" ] || { fail "$2: $1 does not end with a line end"; return 1; }
}

# Input truncated in the middle of a record: the short record reads as documented, the rest runs.
head -c 5000 "$traffic" >truncated.txt
run run "$study" --input truncated.txt --out-dir truncated
expect_status 0 "truncated input" && expect_whole_records truncated/output.txt "truncated input" &&
  pass "truncated input"

# Binary and empty input: refused, naming the file.
head -c 20000 /dev/urandom >binary.txt
run run "$study" --input binary.txt --out-dir binary
expect_status nonzero "binary input" && expect_message "binary.txt" "binary input" && pass "binary input"
: >empty.txt
run run "$study" --input empty.txt --out-dir empty
expect_status nonzero "empty input" && expect_message "empty.txt" "empty input" && pass "empty input"

# The output file's folder is missing: refused before the run.
run run "$study" --output missing/output.txt --metrics .
expect_status nonzero "missing output folder" &&
  expect_message "The output traffic file cannot be created" "missing output folder" &&
  pass "missing output folder"

# A read-only output folder (permissions bind only when not root: drop to nobody if we are).
mkdir -p readonly && chmod 555 readonly
as_user=()
[ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
chmod -R a+rX "$work" "$build" 2>/dev/null
timeout 300 "${as_user[@]}" "$cli" run "$study" --output readonly/output.txt --metrics /tmp >out.txt 2>err.txt
status=$?
expect_status nonzero "read-only output folder" &&
  expect_message "The output traffic file cannot be created" "read-only output folder" &&
  pass "read-only output folder"

# The metrics folder is missing: refused before the run, naming the folder, with nothing written.
run run "$study" --output nometrics.txt --metrics no-such-folder
expect_status nonzero "missing metrics folder" && expect_message "no-such-folder" "missing metrics folder" &&
  { [ ! -e nometrics.txt ] || fail "missing metrics folder: the output was created"; } && pass "missing metrics folder"

# A full disk: the run is reported as failed, not as a success.
run run "$study" --output /dev/full --metrics .
expect_status nonzero "disk full" && expect_message "/dev/full" "disk full" && pass "disk full"

# A study truncated at every byte offset, and one with absurd counts: refused, never a crash.
size=$(stat -c %s "$study")
refused=0
for ((n = 0; n < size; n++)); do
  head -c "$n" "$study" >cut.rfx
  timeout 20 "$cli" show cut.rfx >/dev/null 2>err.txt
  status=$?
  if [ $status -ge 124 ]; then fail "study cut at $n bytes: status $status"; break; fi
  if [ $status -ne 0 ] && grep -qF "Unexpected file format." err.txt; then refused=$((refused + 1)); fi
done
[ "$refused" -eq "$size" ] && pass "study truncated at each of $size offsets" ||
  fail "study truncated: $refused of $size offsets refused with \"Unexpected file format.\""
printf '\xff\xff\xff\xff\xff\x7f' >absurd.rfx
head -c 4096 /dev/zero >>absurd.rfx
run show absurd.rfx
expect_status nonzero "absurd counts" && expect_message "Unexpected file format." "absurd counts" &&
  pass "absurd counts"

# A failed save keeps the previous study whole.
mkdir -p locked && cp "$study" locked/study.rfx && chmod 555 locked
chmod a+r locked/study.rfx
timeout 60 "${as_user[@]}" "$cli" new locked/study.rfx --force >out.txt 2>err.txt
status=$?
if [ ${#as_user[@]} -gt 0 ] || [ "$(id -u)" -ne 0 ]; then
  expect_status nonzero "failed save" && cmp -s "$study" locked/study.rfx && pass "failed save keeps the old study" ||
    fail "failed save: the previous study changed"
fi

# A configuration file with every line garbage: loads as zeros, the run still ends.
yes 'garbage, more garbage' | head -n 60 >garbage.ini
run --config garbage.ini run "$study" --out-dir garbage
expect_status 0 "garbage configuration" && expect_whole_records garbage/output.txt "garbage configuration" &&
  pass "garbage configuration"

[ $failures -eq 0 ] && echo "all fault cases passed" || echo "$failures fault cases failed"
exit $((failures > 0))
