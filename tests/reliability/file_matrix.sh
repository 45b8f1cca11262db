#!/usr/bin/env bash
# Every program that writes a file, against every kind of target a careless or hostile user can
# give it: the command's own inputs, another of its outputs, a FIFO, a device, a folder, an
# unwritable file, a file another program has locked, a dangling link, and a symbolic link to
# each. Each cell either refuses (status 1, the file named on stderr, every file of the sandbox
# as before) or, where writing is right, writes (status 0, no input touched, a link kept).
# tests/scripts/file_layer_only.sh fails when a source file that writes is in no row below.
#   file_matrix.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
cli="$build/roadflux-cli"
report="$build/roadflux-report"
[ -x "$cli" ] || { echo "SKIP: $cli not built"; exit 77; }
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
work=$(mktemp -d)
holder=
cleanup() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  chattr -R -i "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
cells=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The writers. Fields: name | how the output is named | inputs | another output | sources.
#   OPT:   the command names its output; TARGET in the command is replaced by the target.
#   FIXED=P: the command writes P; the hostile entry is put at P.
#   NEW=P: like FIXED, but the writer only ever creates P: whatever stands there is refused.
# Inputs and the other output are target kinds (see make_target); naming one is refused.
# Sources: the files of src/ whose writing the row exercises.
run_args='run study.rfx --bridges bridges.csv --seed 1'
writers=(
  "run-output|OPT|$run_args --output TARGET --metrics m|study config input bridges influence|m/LE_Deck.csv|src/cli/RunCommand.cpp src/document/StudyDocument.cpp src/engine/Sim.cpp src/trafficfiles/FileHandler.cpp src/trafficfiles/LineWriter.cpp"
  "run-measurements|FIXED=m/FD_All_Pos_1500.csv|$run_args --output out.txt --metrics m|study config input bridges influence||src/detectors/MeasurementFile.cpp src/detectors/MetricsDetector.cpp src/detectors/LaneChangeDetector.cpp"
  "run-load-effects|FIXED=m/LE_Deck_seconds.csv|$run_args --output out.txt --metrics m|study config input bridges influence||src/cli/RunBridges.cpp src/loadeffects/LoadEffectRun.cpp"
  "run-trajectories|OPT|$run_args --output out.txt --metrics m --trajectories TARGET|study config input bridges influence|out.txt|src/cli/TrajectoryOutput.cpp"
  "new|OPT|new TARGET --input traffic.txt --output new-output.txt --force|config input||src/cli/NewCommand.cpp"
  "generate|OPT|generate TARGET --duration 10min --seed 1 --force|config||src/cli/GenerateCommand.cpp"
  "generate-model|OPT|generate TARGET --model model.json --duration 1h --seed 1 --force|config model||src/cli/GenerateCommand.cpp src/trafficmodel/ModelTraffic.cpp"
  "fit-traffic|OPT|fit-traffic traffic.txt week.txt -o TARGET --force|config input||src/cli/FitTrafficCommand.cpp src/trafficmodel/ModelFile.cpp"
  "example|NEW=ex/study.rfx|example ex|||src/cli/ExampleCommand.cpp"
  "compare-csv|FIXED=cmp/FD_All_Pos_1500.csv|compare run1 run2 --csv cmp|summary runfile||src/cli/CompareCommand.cpp src/replications/CompareRuns.cpp src/replications/ComparisonCsv.cpp"
  "extremes-csv|FIXED=ext/extremes_Deck.csv|extremes days --csv ext|dayfile||src/cli/ExtremesCommand.cpp"
  "report|OPT|REPORT run1 --study study.rfx --bridges bridges.csv --config Roadflux.ini -o TARGET|study config bridges summary runfile||src/report/ReportCommands.cpp"
  "report-compare|OPT|REPORT --compare run1 run2 --csv cmp -o TARGET|summary runfile|cmp/summary.csv|src/report/CompareReport.cpp"
  "report-compare-csv|FIXED=cmp/replications.csv|REPORT --compare run1 run2 --csv cmp -o page.html|summary runfile||"
  "report-extremes|OPT|REPORT --extremes days -o TARGET|dayfile||src/report/ExtremesReport.cpp"
)
file_kinds="study config input bridges influence summary runfile dayfile model other"
special_kinds="fifo device folder unwritable locked dangling"
link_kinds="link-study link-config link-input link-bridges link-influence link-summary link-runfile link-dayfile link-model
  link-other link-fifo link-device"

# The sandbox each cell starts from: a short study with bridges (one with its influence line in
# a file), two finished runs to report on and compare, and ten days of a bridge's maxima.
template="$work/template"
mkdir -p "$template/m" "$template/cmp" "$template/run1" "$template/run2"
cd "$template" || exit 1
cp "$source/examples/study.rfx" study.rfx
cp "$source/examples/Roadflux.ini" Roadflux.ini
head -n 150 "$source/examples/traffic.txt" >traffic.txt
printf 'name,start_m,span_m,effect,directions,interval_s,lane_factors\nDeck,1200,40,file:line.csv,both,300,\n' >bridges.csv
printf '0,0\n20,1\n40,0\n' >line.csv
for seed in 1 2; do
  "$cli" run study.rfx --seed "$seed" --out-dir "run$seed" >"run$seed/summary.txt" 2>/dev/null ||
    { echo "FAIL: the template's run $seed failed"; exit 1; }
done
"$cli" $run_args --output out.txt --metrics m >/dev/null 2>&1 || { echo "FAIL: the template's run failed"; exit 1; }
# Two days of traffic and a traffic model fitted to them, for fit-traffic and generate --model.
"$cli" generate week.txt --duration 2d --flow 60 --seed 1 >/dev/null 2>&1 &&
  "$cli" fit-traffic week.txt -o model.json >/dev/null 2>&1 || { echo "FAIL: the template's model was not fitted"; exit 1; }
cmp_page=
mkdir -p days/metrics
{
  echo interval,end_time_s,maximum,time_of_maximum_s,minimum,time_of_minimum_s,vehicles,duration_s
  for day in $(seq 10); do echo "$day,$((day * 86400)),$((900 + day * 37 % 11)),$((day * 86400 - 500)),0,0,9,86400"; done
} >days/metrics/LE_Deck.csv
[ -x "$report" ] && "$report" --compare run1 run2 --csv cmp -o page.html >/dev/null 2>&1

# The path of a target kind's file in the sandbox, for a writer whose other output is $2.
file_of() {
  case $1 in
    study) echo study.rfx ;; config) echo Roadflux.ini ;; input) echo traffic.txt ;;
    bridges) echo bridges.csv ;; influence) echo line.csv ;; summary) echo run1/summary.txt ;;
    runfile) echo run1/metrics/FD_All_Pos_1500.csv ;; dayfile) echo days/metrics/LE_Deck.csv ;;
    model) echo model.json ;; other) echo "$2" ;;
  esac
}

# Puts a target of kind $1 at path $2 (in the cell, the current folder); $3 the other output.
make_target() {
  local kind=$1 at=$2 other=$3
  mkdir -p "$(dirname "$at")"
  rm -rf "$at"
  case $kind in
    fifo) mkfifo "$at" ;;
    device) mknod -m 666 "$at" c 1 3 2>/dev/null || return 1 ;;
    folder) mkdir "$at" ;;
    unwritable) echo "keep me" >"$at" && chattr +i "$at" 2>/dev/null || return 1 ;;
    locked)
      echo "keep me" >"$at"
      flock -x "$at" sleep 120 &
      holder=$!
      for _ in $(seq 50); do flock -n -x "$at" true 2>/dev/null || break; sleep 0.1; done
      ;;
    dangling) ln -s "$PWD/nowhere.txt" "$at" ;;
    link-*)
      local target
      if [[ ${kind#link-} == fifo || ${kind#link-} == device ]]; then
        target="special.${kind#link-}"
        make_target "${kind#link-}" "$target" "$other" || return 1
      else
        target=$(file_of "${kind#link-}" "$other")
        [ -e "$target" ] || echo "another output" >"$target"
      fi
      ln -s "$PWD/$target" "$at"
      ;;
  esac
}

snapshot() {
  find . -path ./proc -prune -o -printf '%p %y %l\n' | LC_ALL=C sort
  find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha1sum
}

stop_holder() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null && wait "$holder" 2>/dev/null
  holder=
}

# One cell: writer row $1, target kind $2.
cell() {
  local row=$1 kind=$2
  IFS='|' read -r name naming command inputs other _ <<<"$row"
  local base=${kind#link-} at expect=written
  [[ " $inputs " == *" $base "* || $base == other || " $special_kinds " == *" $base "* ]] && expect=refused
  [[ $base == fifo || $base == device ]] && expect=refused
  case $naming in
    OPT)
      if [[ " $file_kinds " == *" $kind "* ]]; then at=$(file_of "$kind" "$other"); else at=target.out; fi
      ;;
    FIXED=* | NEW=*) at=${naming#*=} ;;
  esac
  [[ $naming == NEW=* ]] && expect=refused
  [[ $base == other && -z $other ]] && return 0
  # A writer of a fixed name meets the files by links.
  [[ $naming != OPT && " $file_kinds " == *" $kind "* ]] && return 0
  if [[ $command == REPORT* ]]; then
    [ -x "$report" ] || return 0
    command="$report ${command#REPORT }"
  else
    command="$cli $command"
  fi
  local dir="$work/cell"
  rm -rf "$dir"
  cp -a "$template" "$dir"
  cd "$dir" || return 1
  if [[ " $file_kinds " == *" $kind "* ]]; then
    [ -e "$at" ] || echo "another output" >"$at"
  elif ! make_target "$kind" "$at" "$other"; then
    echo "skip: $name x $kind (cannot be made here)"
    cd "$work" && return 0
  fi
  cells=$((cells + 1))
  local before after status
  before=$(snapshot)
  local protected
  protected=$(for k in $inputs; do sha1sum "$(file_of "$k" "$other")"; done)
  timeout 60 ${command//TARGET/$at} >out.log 2>err.log </dev/null
  status=$?
  rm -f out.log
  local errors
  errors=$(cat err.log)
  rm -f err.log
  stop_holder
  after=$(snapshot)
  if [ "$expect" = refused ]; then
    if [ $status -ne 1 ]; then
      fail "$name x $kind: status $status, expected a refusal (1)"
      printf '%s\n' "$errors" | head -5 | sed 's/^/    /'
    elif ! grep -qF -- "$(basename "$at")" <<<"$errors"; then
      fail "$name x $kind: the message does not name $at"
      printf '%s\n' "$errors" | head -5 | sed 's/^/    /'
    elif [ "$before" != "$after" ]; then
      fail "$name x $kind: refused, but the sandbox changed"
      diff <(echo "$before") <(echo "$after") | head -8 | sed 's/^/    /'
    fi
  else
    if [ $status -ne 0 ]; then
      fail "$name x $kind: status $status, expected the file written"
      printf '%s\n' "$errors" | head -5 | sed 's/^/    /'
    elif [ "$protected" != "$(for k in $inputs; do sha1sum "$(file_of "$k" "$other")"; done)" ]; then
      fail "$name x $kind: written, but an input changed"
    elif [[ $kind == link-* && ! -L $at ]]; then
      fail "$name x $kind: the symbolic link $at was replaced by a file"
    fi
  fi
  chattr -R -i "$dir" 2>/dev/null
  cd "$work" || return 1
}

for row in "${writers[@]}"; do
  [ -n "${MATRIX_ONLY:-}" ] && [[ ${row%%|*} != "$MATRIX_ONLY" ]] && continue
  for kind in $file_kinds $special_kinds $link_kinds; do
    cell "$row" "$kind"
  done
done

echo "$cells cells, $failures failed"
[ $failures -eq 0 ]
