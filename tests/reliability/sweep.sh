#!/usr/bin/env bash
# A seed sweep driven by GNU parallel, as README's batch section shows: every run gets its own
# folder, equal seeds give identical outputs, a complete run is not redone and a failed one is;
# careless jobs lines (no name, a name with a path or blanks, a bad seed, one name twice) are
# refused by name and destroy nothing; folders the sweep did not make are left alone; a signal
# stops the whole sweep; hostile jobs files and output folders are refused without harm.
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
[ -f runs/broken.partial/.roadflux-run ] || die "the failed run's folder has no marker"
[ -f runs/seed1/.roadflux-run ] || die "a complete run lost its marker"
mkdir plain-folder
[ "$(stat -c %a runs/seed1)" = "$(stat -c %a plain-folder)" ] || die "a run's folder has other permissions than mkdir gives"
grep -q '\.partial' runs/seed1/summary.txt && die "the summary names the folder of the run in progress"
grep -qF "runs/seed1/output.txt" runs/seed1/summary.txt || die "the summary does not name the run's output file"
cmp -s runs/seed1/output.txt runs/seed1-again/output.txt || die "equal seeds gave different output files"
diff -r runs/seed1/metrics runs/seed1-again/metrics >/dev/null || die "equal seeds gave different measurement files"

# Rerun after mending the broken line: only that run is done again.
sed -i "s|$PWD/no-such-input.txt|$PWD/short.txt|" jobs.tsv
touch -d '2000-01-01' runs/seed2/output.txt
# A run completed before folders had markers is still complete.
rm runs/seed3/.roadflux-run
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
# The cases below need no simulation: a stand-in runner writes its seed as the output file or,
# with FAKE_SLEEP set, records its process id and sleeps. Every process id it records is
# stopped when the test ends, should the sweep have left one running.
cat >fake-cli <<'FAKE'
#!/usr/bin/env bash
# roadflux-cli run STUDY --seed SEED --output FILE --metrics DIR [--input FILE]
[ -n "${FAKE_SLEEP:-}" ] && echo $$ >>"$FAKE_PIDS" && exec sleep "$FAKE_SLEEP"
echo "seed $4" >"$6"
FAKE
chmod +x fake-cli
fake=$PWD/fake-cli
: >pids.txt
# Only in this shell: a background command killed before it started its program is still a
# copy of this shell and could run the trap.
trap '[ "$BASHPID" = $$ ] && { while read -r p; do kill "$p" 2>/dev/null; done <"$work/pids.txt"; rm -rf "$work"; }' EXIT
sweep() { ROADFLUX_CLI=$fake "$source/tools/batch/sweep.sh" "$@"; }

# Folders the sweep did not make are never removed or replaced: a folder of the user's under a
# run's name, a NAME.partial without the marker, a file, links. Each job is refused by name.
mkdir -p own/docs own/notes.partial elsewhere
echo notes >own/docs/notes.txt
echo draft >own/notes.partial/draft.txt
echo mine >elsewhere/mine.txt
echo data >own/afile
ln -s "$PWD/elsewhere" own/linked.partial
ln -s "$PWD/elsewhere" own/linkrun
printf '%s\t%s\t1\n' docs "$study" notes "$study" afile "$study" linked "$study" linkrun "$study" fine "$study" >own.tsv
sweep own.tsv own 2 >own.log 2>&1
[ $? -eq 1 ] || { cat own.log; die "a sweep over folders it did not make did not fail"; }
for name in docs notes afile linked linkrun; do
  grep -q "run '$name': .* it is left as it is; not run" own.log || { cat own.log; die "job $name was not refused"; }
done
[ "$(cat own/docs/notes.txt 2>/dev/null)" = notes ] || die "the sweep removed a folder it did not make"
[ "$(cat own/notes.partial/draft.txt 2>/dev/null)" = draft ] || die "the sweep removed a NAME.partial it did not make"
[ "$(cat own/afile 2>/dev/null)" = data ] || die "the sweep replaced a file with a run's folder"
[ -L own/linked.partial ] && [ -L own/linkrun ] && [ "$(cat elsewhere/mine.txt 2>/dev/null)" = mine ] ||
  die "the sweep removed a link or what it points to"
[ "$(cat own/fine/output.txt 2>/dev/null)" = "seed 1" ] || die "the one good job was not run"

# Names that differ only in blanks or invisible characters are refused by name; the plain one
# keeps its own seed.
printf 'x\t%s\t1\nx \t%s\t2\n x\t%s\t3\nx\xc2\xa0\t%s\t4\nx\xe2\x80\x8b\t%s\t5\nx\ry\t%s\t6\n' \
  "$study" "$study" "$study" "$study" "$study" "$study" >blanks.tsv
sweep blanks.tsv blanks 2 >blanks.log 2>&1
[ $? -eq 1 ] || { cat blanks.log; die "names with blanks were not refused"; }
for shown in "'x '" "' x'" "\$'x\\\\302\\\\240'" "\$'x\\\\342\\\\200\\\\213'" "\$'x\\\\ry'"; do
  grep -q "run $shown: the name must be one plain folder name" blanks.log ||
    { cat blanks.log; die "name $shown was not refused"; }
done
[ "$(cat blanks/x/output.txt 2>/dev/null)" = "seed 1" ] || die "a name with blanks ran into the plain name's folder"
[ "$(ls blanks)" = "$(printf 'joblog.txt\nx')" ] || { ls blanks; die "a refused name left a folder"; }

# The runs' folders as README's pattern names them, beside a run in progress: the old pattern
# matches it and compare refuses it by name; README's pattern leaves it out.
cp -r runs/seed1 runs/seed5.partial
"$ROADFLUX_CLI" compare runs/seed* >glob.log 2>&1
[ $? -eq 1 ] && grep -q "seed5.partial: a run in progress" glob.log || { cat glob.log; die "compare took a run in progress"; }
"$ROADFLUX_CLI" compare runs/seed*[0-9] >glob.log 2>&1 || { cat glob.log; die "README's pattern did not compare the runs"; }
grep -q partial glob.log && die "README's pattern matched a run in progress"
rm -rf runs/seed5.partial

# A signal stops the whole sweep at once: GNU parallel and every runner, with 128+N, and no
# folder that looks complete. SIGINT is ignored by commands a script starts in the background,
# so the sweep is a job of its own (set -m).
printf 'slow%s\t%s\t%s\n' 1 "$study" 1 2 "$study" 2 3 "$study" 3 >slow.tsv
alive() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null)
  [ -n "$state" ] && [[ $state != Z* ]]
}
# Waits for process $1 to end within 2 s, with status $2, leaving none of its runners or $4.
expect_stopped() {
  local pid=$1 expected=$2 what=$3 others=$4 status p
  (trap - EXIT && sleep 2 && kill -KILL "$pid") 2>/dev/null &
  local watchdog=$!
  wait "$pid"
  status=$?
  kill "$watchdog" 2>/dev/null
  [ $status -ne 137 ] || die "$what did not stop within 2 s"
  [ $status -eq "$expected" ] || die "$what ended with $status, not $expected"
  sleep 0.2
  cat run-pids.txt >>pids.txt
  for p in $(cat run-pids.txt) $others; do
    alive "$p" && die "$what left process $p running"
  done
}
started() {
  for _ in $(seq 100); do
    [ "$(wc -l <run-pids.txt)" -ge "$1" ] && return 0
    sleep 0.1
  done
  die "the runners did not start"
}
for signal in INT TERM; do
  : >run-pids.txt
  set -m
  FAKE_SLEEP=60 FAKE_PIDS=$PWD/run-pids.txt ROADFLUX_CLI=$fake "$source/tools/batch/sweep.sh" slow.tsv "stopped-$signal" 2 \
    >"stopped-$signal.log" 2>&1 &
  pid=$!
  set +m
  started 2
  helpers=$(pgrep -P "$pid" | tr '\n' ' ')
  kill -s "$signal" "$pid"
  [ $signal = INT ] && expected=130 || expected=143
  expect_stopped "$pid" $expected "sweep.sh on SIG$signal" "$helpers"
  for name in slow1 slow2 slow3; do
    [ -e "stopped-$signal/$name" ] && die "SIG$signal left run $name looking complete"
  done
done
# run-one.sh alone, and a Slurm task (run-one.sh in its place), stop their runner on SIGTERM.
: >run-pids.txt
FAKE_SLEEP=60 FAKE_PIDS=$PWD/run-pids.txt ROADFLUX_CLI=$fake "$source/tools/batch/run-one.sh" one slow1 "$study" 1 \
  >one.log 2>&1 &
pid=$!
started 1
kill -TERM "$pid"
expect_stopped "$pid" 143 "run-one.sh" ""
[ -f one/slow1.partial/.roadflux-run ] && [ ! -e one/slow1 ] || die "a stopped run does not stay NAME.partial"
: >run-pids.txt
FAKE_SLEEP=60 FAKE_PIDS=$PWD/run-pids.txt ROADFLUX_CLI=$fake SLURM_ARRAY_TASK_ID=2 SLURM_SUBMIT_DIR="$source" \
  bash "$source/tools/batch/sweep.slurm" slow.tsv slurm-stopped >slurm-stopped.log 2>&1 &
pid=$!
started 1
kill -TERM "$pid"
expect_stopped "$pid" 143 "the Slurm task" ""

# The number of failed runs is counted, also past parallel's limit of 100.
for i in $(seq 103); do printf 'bad%s\t%s\tnot-a-seed\n' "$i" "$study"; done >many.tsv
printf 'good\t%s\t1\n' "$study" >>many.tsv
sweep many.tsv many 2 >many.log 2>&1
[ $? -eq 1 ] && grep -q "sweep.sh: 103 of 104 runs failed" many.log ||
  { tail -3 many.log; die "the failed runs were miscounted"; }

# Options are parsed wherever they stand; what is not understood is refused before anything runs.
printf 'opt\t%s\t1\n' "$study" >opt.tsv
for args in "opt.tsv opts 2 --bogus" "opt.tsv opts two" "opt.tsv opts --compare" "opt.tsv opts 2 extra" "opt.tsv"; do
  # shellcheck disable=SC2086
  sweep $args >opts.log 2>&1
  [ $? -eq 2 ] && grep -q "usage: sweep.sh" opts.log || { cat opts.log; die "sweep.sh $args was not refused with its usage"; }
  [ -e opts ] && die "sweep.sh $args made the output folder"
done

# Hostile jobs files are refused as a whole (status 2) at once, by sweep.sh and a Slurm task.
mkfifo fifo.tsv
mkdir folder.tsv
: >empty.tsv
printf 'nul\0\t%s\t1\n' "$study" >nul.tsv
for jobs in fifo.tsv folder.tsv /dev/zero empty.tsv nul.tsv; do
  (ulimit -v 1000000 && timeout 20 "$source/tools/batch/sweep.sh" "$jobs" hostile) >hostile.log 2>&1
  [ $? -eq 2 ] || { cat hostile.log; die "sweep.sh did not refuse the jobs file $jobs"; }
  (ulimit -v 1000000 && SLURM_ARRAY_TASK_ID=1 SLURM_SUBMIT_DIR="$source" timeout 20 \
    bash "$source/tools/batch/sweep.slurm" "$jobs" hostile) >hostile.log 2>&1
  [ $? -eq 2 ] || { cat hostile.log; die "a Slurm task did not refuse the jobs file $jobs"; }
done
[ -e hostile ] && die "a refused jobs file made the output folder"
# A byte-order mark, as some editors write, does not make the comment line a run.
printf '\xef\xbb\xbf# name\tstudy\tseed\r\nbom\t%s\t7\r\n' "$study" >bom.tsv
sweep bom.tsv bom 1 >bom.log 2>&1 || { cat bom.log; die "a jobs file with a byte-order mark failed"; }
[ "$(cat bom/bom/output.txt 2>/dev/null)" = "seed 7" ] || die "the run after a byte-order mark is missing"

# Output folders: a file or a dangling link is refused and kept; a link to a folder is used.
echo keep >outfile
ln -s "$PWD/no-such-folder" dangling
for outdir in outfile dangling; do
  sweep opt.tsv "$outdir" 1 >outdir.log 2>&1
  [ $? -eq 2 ] || { cat outdir.log; die "the output folder $outdir was not refused"; }
done
[ "$(cat outfile)" = keep ] && [ -L dangling ] && [ ! -e no-such-folder ] || die "a refused output folder was changed"
mkdir real-out && ln -s "$PWD/real-out" linked-out
sweep opt.tsv linked-out 1 >outdir.log 2>&1 && [ -f real-out/opt/summary.txt ] ||
  { cat outdir.log; die "a link to an output folder was not used"; }
if [ "$(id -u)" -ne 0 ]; then
  mkdir locked && chmod 555 locked
  sweep opt.tsv locked 1 >outdir.log 2>&1
  [ $? -eq 2 ] && grep -q "cannot write" outdir.log || { cat outdir.log; die "an unwritable output folder was not refused"; }
  chmod 755 locked
fi

# Seeds outside the runner's range, with leading zeros (which it reads as octal) or not whole
# numbers are refused by name before a folder is made; the largest seed runs.
printf '%s\t%s\t%s\n' neg "$study" -1 exp "$study" 1e3 huge "$study" 99999999999999999999 over "$study" 4294967296 \
  octal "$study" 010 max "$study" 4294967295 padded " $study " " 5 " >seeds.tsv
sweep seeds.tsv seeds 2 >seeds.log 2>&1
[ $? -eq 1 ] || { cat seeds.log; die "bad seeds were not refused"; }
for name in neg exp huge over octal; do
  grep -q "run '$name': the seed" seeds.log || { cat seeds.log; die "the seed of $name was not refused"; }
done
[ "$(ls seeds)" = "$(printf 'joblog.txt\nmax\npadded')" ] || { ls seeds; die "a refused seed left a folder"; }
[ "$(cat seeds/max/output.txt)" = "seed 4294967295" ] || die "the largest seed did not run"
# Blanks around the study and seed are taken away, as GNU parallel always did.
[ "$(cat seeds/padded/output.txt)" = "seed 5" ] || die "blanks around a seed made the run fail"

# A study and an output folder with blanks in their paths, through the real runner.
ln -s "$source/examples" "study dir"
printf 'spaced\t%s\t1\t%s\n' "$PWD/study dir/study.rfx" "$PWD/short.txt" >spaced.tsv
"$source/tools/batch/sweep.sh" spaced.tsv "runs with blanks" 1 >spaced.log 2>&1 ||
  { cat spaced.log; die "paths with blanks failed"; }
cmp -s "runs with blanks/spaced/output.txt" runs/seed1/output.txt || die "the run with blanks in its paths differs"
echo "sweep ok"
