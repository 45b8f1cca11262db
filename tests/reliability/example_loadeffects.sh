#!/usr/bin/env bash
# The example study run with the example's bridges, seed 1 and the example's configuration writes
# exactly the committed load-effect files (LE_*.csv): any change of load effects, interval
# extremes, seconds or events shows up here byte for byte. The files are also checked against
# each other: each interval's extremes are those of its seconds, the largest event is the run's
# largest value, and each vehicle of an event is at its bridge in road x. When a change of
# results is intended, regenerate with
#   build/roadflux-cli run examples/study.rfx --seed 1 --config examples/Roadflux.ini \
#     --bridges examples/bridges-example.csv --out-dir /tmp/example-bridges &&
#   cp /tmp/example-bridges/metrics/LE_*.csv tests/reliability/example-reference/loadeffects/
#   example_loadeffects.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
reference="$source/tests/reliability/example-reference/loadeffects"
bridges="$source/examples/bridges-example.csv"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && "$cli" run "$source/examples/study.rfx" --seed 1 --config "$source/examples/Roadflux.ini" \
  --bridges "$bridges" --out-dir "$work/run") >"$work/out.txt" 2>"$work/err.txt" ||
  { echo "FAIL: the example run with bridges failed:"; cat "$work/err.txt"; exit 1; }
metrics="$work/run/metrics"
status=0
(cd "$reference" && ls LE_*.csv) >"$work/expected.txt"
(cd "$metrics" && ls LE_*.csv) >"$work/written.txt"
diff "$work/expected.txt" "$work/written.txt" >/dev/null ||
  { echo "FAIL: the load-effect files written differ from the reference's:"; diff "$work/expected.txt" "$work/written.txt"; status=1; }
while read -r file; do
  [ -f "$metrics/$file" ] && ! cmp "$reference/$file" "$metrics/$file" && status=1
done <"$work/expected.txt"

# Seconds are counted from the run's start as intervals are: a second (end t) lies in the interval
# (end E, duration D) with E - D <= t - 1 < E. A second left out of the file had no load, so an
# interval missing one of its whole seconds also reached 0. The maximum's time lies in a second
# with that maximum.
while IFS= read -r name; do
  awk -F, -v name="$name" '
    FNR == 1 { file++; next }
    file == 1 { n++; end[n] = $2; max[n] = $3; maxAt[n] = $4; min[n] = $5; duration[n] = $8; next }
    {
      for (i = 1; i <= n; i++)
        if ($2 - 1 < end[i] - 0.001) break
      if (i > n || $2 - 1 < end[i] - duration[i] - 0.001) { print "FAIL: " name ": second " $1 " in no interval"; bad++; next }
      if (!(i in count) || $3 > smax[i]) smax[i] = $3
      if (!(i in count) || $4 < smin[i]) smin[i] = $4
      count[i]++
      if (maxAt[i] > $2 - 1 + 0.001 && maxAt[i] <= $2 + 0.001 && $3 != max[i]) {
        print "FAIL: " name ": interval " i " has its maximum " max[i] " at " maxAt[i] " s, in a second of maximum " $3; bad++
      }
    }
    END {
      for (i = 1; i <= n; i++) {
        hi = (i in count) ? smax[i] : 0; lo = (i in count) ? smin[i] : 0
        if (count[i] < int(duration[i] + 0.001)) { if (hi < 0) hi = 0; if (lo > 0) lo = 0 }
        if (hi != max[i] || lo != min[i]) {
          print "FAIL: " name ": interval " i " has extremes " max[i] ", " min[i] "; its seconds " hi ", " lo; bad++
        }
      }
      exit bad > 0
    }' "$metrics/LE_$name.csv" "$metrics/LE_${name}_seconds.csv" || status=1

  # The largest event is the run's largest interval maximum, at its time.
  largest=$(awk -F, 'NR > 1 && (!seen++ || $3 > m) { m = $3; at = $4 } END { print m "," at }' "$metrics/LE_$name.csv")
  first=$(awk -F, 'NR == 2 { print $3 "," $2 }' "$metrics/LE_${name}_events.csv")
  [ "$largest" = "$first" ] ||
    { echo "FAIL: $name: the largest event (value,time) is $first, the largest interval maximum $largest"; status=1; }
done < <(awk -F, 'NR > 1 { print $1 }' "$bridges")

# The example's road has lanes 1 and 2 in direction 1 and lanes 3 and 4 in direction 2. A vehicle
# of an event has an axle on its bridge: its front, in road x, has reached the bridge's near end
# in its direction of travel and is at most 25 m (longer than any vehicle's axles) past the far end.
awk -F, '
  FNR == 1 { file++; next }
  file == 1 { start[$1] = $2; length_[$1] = ($4 == "continuous-support-moment" ? 2 : 1) * $3; directions[$1] = $5; next }
  {
    name = FILENAME; sub(/.*\/LE_/, "", name); sub(/_events\.csv$/, "", name)
    direction = $7 <= 2 ? 1 : 2
    from = start[name]; to = start[name] + length_[name]
    if (directions[name] != "both" && directions[name] != direction) {
      print "FAIL: " name " carries direction " directions[name] " only, an event has lane " $7; bad++
    } else if (direction == 1 ? ($8 < from || $8 > to + 25) : ($8 > to || $8 < from - 25)) {
      print "FAIL: " name " lies at " from ".." to " m of road x, an event has a vehicle of lane " $7 " at " $8 " m"; bad++
    }
  }
  END { exit bad > 0 }' "$bridges" "$metrics"/LE_*_events.csv || status=1

[ $status -eq 0 ] && echo "the example's load-effect files are byte for byte the reference and agree with each other" ||
  echo "FAIL: the example's load effects differ from tests/reliability/example-reference/loadeffects"
exit $status
