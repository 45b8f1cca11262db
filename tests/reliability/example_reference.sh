#!/usr/bin/env bash
# The example study, run with seed 1 and the example's configuration, writes exactly the
# committed output traffic file and measurement files: any change of results for well-formed
# input shows up here byte for byte. When a change of results is intended, regenerate with
#   build/roadflux-cli run examples/study.rfx --seed 1 --config examples/Roadflux.ini \
#     --output tests/reliability/example-reference/output.txt \
#     --metrics tests/reliability/example-reference/metrics
#   example_reference.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
reference="$source/tests/reliability/example-reference"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# From another folder, so that only the names stored in the study lead to the example's files.
(cd "$work" && "$cli" run "$source/examples/study.rfx" --seed 1 --config "$source/examples/Roadflux.ini" \
  --out-dir "$work/run" --trajectories "$work/trajectories.csv" --trajectory-interval 0.1) >"$work/out.txt" \
  2>"$work/err.txt" ||
  { echo "FAIL: the example run failed:"; cat "$work/err.txt"; exit 1; }
status=0
cmp "$reference/output.txt" "$work/run/output.txt" || status=1
diff -r "$reference/metrics" "$work/run/metrics" >"$work/diff.txt" || { head -n 40 "$work/diff.txt"; status=1; }

# Each record's stamp is when its front was at the output detector (2800 m of road x in both
# directions, 200 m into direction 2): recomputed from the trajectories, sampled at every step's
# end, as that end less the distance beyond the detector over the speed. The file keeps
# hundredths, cut short.
awk -F, 'NR > 1 {
    at = ($2 == 1 ? 2800 : 3000 - 2800)
    if (($8 in last) && last[$8] < at && $4 >= at) printf "%.4f\n", ($5 > 0 ? $1 - ($4 - at) / $5 : $1)
    last[$8] = $4
  }' "$work/trajectories.csv" | sort -n >"$work/passages.txt"
awk '{ printf "%.2f\n", substr($0, 11, 2) * 3600 + substr($0, 13, 2) * 60 + substr($0, 15, 2) + substr($0, 17, 2) / 100 }' \
  "$reference/output.txt" | sort -n >"$work/stamps.txt"
if [ "$(wc -l <"$work/passages.txt")" -ne "$(wc -l <"$work/stamps.txt")" ]; then
  echo "FAIL: $(wc -l <"$work/passages.txt") passages in the trajectories, $(wc -l <"$work/stamps.txt") records"
  status=1
else
  paste "$work/passages.txt" "$work/stamps.txt" | awk '{ d = $1 - $2; if (d < -0.0001 || d > 0.0101) { bad++; if (bad <= 5) print "  passage " $1 " s stamped " $2 " s" } }
    END { if (bad) { print "FAIL: " bad " stamps are not the passages of the trajectories"; exit 1 } }' || status=1
fi
[ $status -eq 0 ] && echo "the example's output and measurement files are byte for byte the reference" ||
  echo "FAIL: the example's results differ from tests/reliability/example-reference"
exit $status
