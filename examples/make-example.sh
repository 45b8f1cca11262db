#!/usr/bin/env bash
# Regenerates the example: a 30-minute traffic file in both directions and the study that
# runs it (a speed limit, a gradient and one detector of each kind). Every name in the study
# is relative, so the example runs from any current directory.
#   examples/make-example.sh [ROADFLUX_CLI]     (default: build/roadflux-cli)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=$(realpath "${1:-$here/../build/roadflux-cli}")
cd "$here"

"$cli" generate traffic.txt --force --format TALVOR --duration 30m \
  --lanes1 2 --lanes2 2 --flow1 700 --flow2 550 \
  --mix car=75,small-truck=8,large-truck=12,crane=2,low-loader=3 --start 07:30 --seed 2024

"$cli" new study.rfx --force \
  --input traffic.txt --output output.txt --metrics metrics --format TALVOR \
  --road-length 3000 --lanes1 2 --lanes2 2 --file-lanes1 2 --file-lanes2 2 \
  --drive-on right --time-step-ms 100 --output-detector1 2800 --output-detector2 2800 \
  --lane-changes true --output-cars true \
  --feature speed-limit,1,1000,2000,80 \
  --feature gradient,2,500,1500,4 \
  --detector flow-density,1,all,60,1500 \
  --detector headway,2,all,60,1500 \
  --detector composition,1,all,300,2500 \
  --detector lane-changes,1,all,60,500
