#!/usr/bin/env bash
# A seed sweep driven by GNU parallel, as README's batch section shows: every run gets its own
# folder, equal seeds give identical outputs, a complete run is not redone and a failed one is;
# careless jobs lines (no name, a name with a path, no seed, one name twice) are refused by
# name and destroy nothing.
#   sweep.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
export ROADFLUX_CLI="$build/roadflux-cli"
command -v parallel >/dev/null || { echo "SKIP: GNU parallel is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
die() { echo "FAIL: $*"; exit 1; }

# A short traffic file keeps the sweep quick.
head -n 300 "$source/examples/traffic.txt" >short.txt
printf '\n' >>short.txt
study="$source/examples/study.rfx"
printf '# name\tstudy\tseed\tinput\n' >jobs.tsv
for seed in 1 2 3; do printf 'seed%s\t%s\t%s\t%s\n' "$seed" "$study" "$seed" "$PWD/short.txt" >>jobs.tsv; done
printf 'seed1-again\t%s\t1\t%s\n' "$study" "$PWD/short.txt" >>jobs.tsv
printf 'broken\t%s\t1\t%s\n' "$study" "$PWD/no-such-input.txt" >>jobs.tsv

"$source/tools/batch/sweep.sh" jobs.tsv runs 2 >sweep1.log 2>&1 && die "a sweep with a failing run reported success"
for name in seed1 seed2 seed3 seed1-again; do
  [ -f "runs/$name/summary.txt" ] || die "run $name has no summary"
  [ -s "runs/$name/output.txt" ] || die "run $name wrote no output traffic file"
done
[ -e runs/broken ] && die "the failed run left a folder that looks complete"
grep -q '\.partial' runs/seed1/summary.txt && die "the summary names the folder of the run in progress"
grep -qF "runs/seed1/output.txt" runs/seed1/summary.txt || die "the summary does not name the run's output file"
cmp -s runs/seed1/output.txt runs/seed1-again/output.txt || die "equal seeds gave different output files"
diff -r runs/seed1/metrics runs/seed1-again/metrics >/dev/null || die "equal seeds gave different measurement files"

# Rerun after mending the broken line: only that run is done again.
sed -i "s|$PWD/no-such-input.txt|$PWD/short.txt|" jobs.tsv
touch -d '2000-01-01' runs/seed2/output.txt
"$source/tools/batch/sweep.sh" --compare compared jobs.tsv runs 2 >sweep2.log 2>&1 || { cat sweep2.log; die "the second sweep failed"; }
[ "$(grep -c 'already complete' sweep2.log)" -eq 4 ] || { cat sweep2.log; die "complete runs were redone"; }
[ -f runs/broken/summary.txt ] || die "the mended run was not done"
[ "$(stat -c %Y runs/seed2/output.txt)" -lt 1000000000 ] || die "a complete run's output was rewritten"
grep -q '^Runs compared: 5$' sweep2.log || { cat sweep2.log; die "the sweep did not compare its five runs"; }
[ -s compared/FD_All_Pos_1500.csv ] && [ -s compared/replications.csv ] || die "the comparison wrote no CSV files"

# With --report, complete runs get their report without being run again, new runs with theirs.
export ROADFLUX_REPORT="$build/roadflux-report"
if [ -x "$ROADFLUX_REPORT" ]; then
  printf 'seed4\t%s\t4\t%s\n' "$study" "$PWD/short.txt" >>jobs.tsv
  "$source/tools/batch/sweep.sh" --report --compare compared2 jobs.tsv runs 2 >sweep3.log 2>&1 || { cat sweep3.log; die "the report sweep failed"; }
  [ "$(grep -c 'report written' sweep3.log)" -eq 5 ] || { cat sweep3.log; die "complete runs did not get a report"; }
  for name in seed1 seed2 seed3 seed1-again broken seed4; do
    grep -q '<table id="figures">' "runs/$name/report.html" 2>/dev/null || die "run $name has no report"
  done
  [ "$(stat -c %Y runs/seed2/output.txt)" -lt 1000000000 ] || die "writing a report redid the run"
  # With the report program at hand, the comparison is also a page of charts.
  grep -q '^Runs compared: 6$' sweep3.log || { cat sweep3.log; die "the report sweep did not compare its six runs"; }
  grep -q '<table id="replications">' compared2/compare.html 2>/dev/null || die "the comparison has no page"
  [ -s compared2/FD_All_Pos_1500.csv ] || die "the report's comparison wrote no CSV files"
fi

# Careless lines. Each is refused with a message naming it; the sweep fails; nothing that was
# there before is removed, neither the complete runs nor a folder beside the output folder.
mkdir -p x && echo precious >x/keep.txt
printf '\t%s\t1\n../x\t%s\t2\nnoseed\t%s\nbadseed\t%s\tone\n' "$study" "$study" "$study" "$study" >careless.tsv
"$source/tools/batch/sweep.sh" careless.tsv runs 2 >careless.log 2>&1 && die "a sweep of careless lines reported success"
grep -q "run '': the name is empty" careless.log || { cat careless.log; die "an empty name was not named"; }
grep -q "run '../x': the name must be one plain folder name" careless.log || { cat careless.log; die "../x was not refused"; }
grep -q "run 'noseed': the seed '' is not a whole number" careless.log || { cat careless.log; die "a missing seed was not named"; }
grep -q "run 'badseed': the seed 'one'" careless.log || { cat careless.log; die "a bad seed was not named"; }
grep -q "unbound variable" careless.log && die "a careless line died on an unbound variable"
[ "$(cat x/keep.txt 2>/dev/null)" = precious ] || die "a folder beside the output folder was touched"
for name in seed1 seed2 seed3 seed1-again broken; do
  [ -f "runs/$name/summary.txt" ] || die "the careless sweep removed run $name"
done

# One name for two runs: refused as a whole before anything runs.
printf 'twin\t%s\t1\t%s\ntwin\t%s\t2\t%s\n' "$study" "$PWD/short.txt" "$study" "$PWD/short.txt" >twins.tsv
"$source/tools/batch/sweep.sh" twins.tsv runs 2 >twins.log 2>&1
[ $? -eq 2 ] || { cat twins.log; die "two runs of one name were not refused"; }
grep -q "names given to more than one run: twin" twins.log || { cat twins.log; die "the twin name was not named"; }
[ -e runs/twin ] || [ -e runs/twin.partial ] && die "a twin run was started"

# A jobs file with CR LF line ends runs as written.
printf 'crlf\t%s\t4\t%s\r\n' "$study" "$PWD/short.txt" >crlf.tsv
"$source/tools/batch/sweep.sh" crlf.tsv runs 1 >crlf.log 2>&1 || { cat crlf.log; die "a CR LF jobs file failed"; }
[ -f runs/crlf/summary.txt ] || die "the CR LF run is missing"

# The Slurm script reads its line with empty fields kept in place (an empty study is refused,
# not replaced by the seed).
printf 'slurm1\t\t5\n' >slurm.tsv
SLURM_ARRAY_TASK_ID=1 SLURM_SUBMIT_DIR="$source" bash "$source/tools/batch/sweep.slurm" slurm.tsv runs >slurm.log 2>&1 &&
  die "a Slurm task without a study succeeded"
grep -q "run 'slurm1': no study" slurm.log || { cat slurm.log; die "the Slurm task did not name the missing study"; }
echo "sweep ok"
