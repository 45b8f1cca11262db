#!/usr/bin/env bash
# Takes docs/screenshot.png headless: starts the desktop program under Xvfb on a copy of the
# example study, starts a visible run at a time warp of 20, waits, and grabs the screen.
#   tools/screenshot.sh [BUILD_DIR]     (default: build; the program is built when missing)
set -euo pipefail
source "$(dirname "$0")/example-sandbox.sh"
xvfb-run -a -s "-screen 0 1100x640x24" bash -c '
  "$1" --run --time-warp 20 study.rfx &
  program=$!
  sleep 8
  /usr/bin/import -window root "$2"
  kill "$program"
  wait "$program" 2>/dev/null || true
' screenshot "$build/roadflux" "$work/screenshot.png"
/usr/bin/convert "$work/screenshot.png" -crop 1000x600+0+0 +repage "$root/docs/screenshot.png"
echo "docs/screenshot.png written"
