#!/usr/bin/env bash
# Takes docs/images/space-time.png headless: runs the example study in the desktop program under
# Xvfb at a time warp of 1000 with --results, closes the end-of-run message, moves the Results
# window to its last page (the run's space-time diagram) and grabs direction 1's chart.
#   tools/space-time-picture.sh [BUILD_DIR]     (default: build; the program is built when missing)
# Needs xvfb, imagemagick and xdotool.
set -euo pipefail
source "$(dirname "$0")/example-sandbox.sh"
xvfb-run -a -s "-screen 0 1400x900x24" bash -c '
  "$1" --run --results --time-warp 1000 study.rfx &
  program=$!
  # The example runs some 33 minutes of simulated time: about 2 s at this warp.
  sleep 12
  xdotool key Return
  sleep 3
  results=$(xdotool search --onlyvisible --name "^Results" | head -1)
  # A click on the first tab gives the tab bar the keys; Right then walks to the last page.
  xdotool mousemove --window "$results" 100 51 click 1
  sleep 1
  for _ in $(seq 12); do xdotool key Right; done
  sleep 2
  /usr/bin/import -window root "$2"
  kill "$program"
  wait "$program" 2>/dev/null || true
' picture "$build/roadflux" "$work/screen.png"
/usr/bin/convert "$work/screen.png" -crop 960x312+41+131 +repage "$root/docs/images/space-time.png"
echo "docs/images/space-time.png written"
