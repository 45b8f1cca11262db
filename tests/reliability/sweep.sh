#!/usr/bin/env bash
# A seed sweep driven by GNU parallel, as README's batch section shows: every run gets its own
# folder, equal seeds give identical outputs, a complete run is not redone and a failed one is.
#   sweep.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
export ROADFLUX_CLI="$build/roadflux-cli"
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
cmp -s runs/seed1/output.txt runs/seed1-again/output.txt || die "equal seeds gave different output files"
diff -r runs/seed1/metrics runs/seed1-again/metrics >/dev/null || die "equal seeds gave different measurement files"

# Rerun after mending the broken line: only that run is done again.
sed -i "s|$PWD/no-such-input.txt|$PWD/short.txt|" jobs.tsv
touch -d '2000-01-01' runs/seed2/output.txt
"$source/tools/batch/sweep.sh" jobs.tsv runs 2 >sweep2.log 2>&1 || { cat sweep2.log; die "the second sweep failed"; }
[ "$(grep -c 'already complete' sweep2.log)" -eq 4 ] || { cat sweep2.log; die "complete runs were redone"; }
[ -f runs/broken/summary.txt ] || die "the mended run was not done"
[ "$(stat -c %Y runs/seed2/output.txt)" -lt 1000000000 ] || die "a complete run's output was rewritten"
echo "sweep ok"
