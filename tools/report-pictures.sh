#!/usr/bin/env bash
# Takes the charts README and docs/ show from the pages roadflux-report writes, so that the
# pictures are the program's own drawings: the example run with its bridges (seed 1) for its
# measurement and load-effect charts, and a 40-day long run on the recorded-like week's model for
# the extremes page. Each figure's inline SVG is cut from the page and drawn with rsvg-convert;
# pairs that belong together are set side by side.
#   tools/report-pictures.sh [BUILD_DIR]     (default: build, with roadflux-cli and roadflux-report)
# Needs librsvg2-bin, imagemagick and GNU parallel.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cli=$build/roadflux-cli report=$build/roadflux-report
images=$root/docs/images
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# figure PAGE ID OUT.png: the figure whose id is ID, drawn at its own size.
figure() {
  python3 - "$1" "$2" "$work/figure.svg" <<'PY'
import re, sys
page, wanted, out = sys.argv[1:]
found = re.search(r'<figure id="%s">(.*?)</figure>' % re.escape(wanted), open(page, encoding="utf-8").read(), re.S)
if not found:
    sys.exit(f"{page}: no figure {wanted}")
open(out, "w", encoding="utf-8").write(found.group(1))
PY
  rsvg-convert -b white "$work/figure.svg" -o "$3"
}
side_by_side() {
  local out=$1
  shift
  convert "$@" +append +repage "$out"
}

cd "$root/examples"
mkdir -p "$work/run/metrics"
"$cli" run study.rfx --seed 1 --bridges bridges-example.csv --output "$work/run/output.txt" \
  --metrics "$work/run/metrics" >"$work/run/summary.txt" 2>/dev/null
"$report" "$work/run" --study study.rfx -o "$work/report.html" >/dev/null
page=$work/report.html
figure "$page" FD_All_Pos_1500-flow-density "$work/a.png"
figure "$page" FD_All_Pos_1500-speed-flow "$work/b.png"
side_by_side "$images/flow-density.png" "$work/a.png" "$work/b.png"
figure "$page" Head_All_Neg_1500-headways-lane-1 "$work/a.png"
figure "$page" Head_All_Neg_1500-headways-lane-2 "$work/b.png"
side_by_side "$images/headways.png" "$work/a.png" "$work/b.png"
figure "$page" Comp_All_Pos_2500-composition "$images/composition.png"
figure "$page" LC_Rate_All_Pos-lane-change-rates "$work/a.png"
figure "$page" LC_ST_All_Pos-lane-change-points "$work/b.png"
side_by_side "$images/lane-changes.png" "$work/a.png" "$work/b.png"
figure "$page" LE_Viaduct-load-effect-hour "$images/load-effect-hour.png"
figure "$page" LE_Viaduct-gumbel "$images/gumbel.png"

# The extremes page of 40 days modelled on the bundled week.
cd "$work"
cp "$root/examples/Roadflux.ini" .
"$cli" fit-traffic "$root/examples/recorded-week.txt" -o model.json >/dev/null
"$cli" new study.rfx --input traffic.txt --output output.txt --metrics metrics --road-length 1000 --lanes1 2 \
  --lanes2 2 --file-lanes1 2 --file-lanes2 2 --output-detector1 990 --output-detector2 10 --no-features \
  --no-detectors >/dev/null 2>&1
printf 'name,start_m,span_m,effect,directions,interval_s,lane_factors\nSpan40,480,40,midspan-moment,both,,\n' \
  >study.bridges
ROADFLUX_CLI=$cli "$root/tools/batch/long-run.sh" --study study.rfx --model model.json --days 40 --days-per-job 10 \
  --no-seconds --config Roadflux.ini days >/dev/null
"$report" --extremes days/day-*[0-9] -o extremes.html >/dev/null
figure extremes.html Span40-probability-plot "$images/extremes-probability.png"
figure extremes.html Span40-return-levels "$images/extremes-return-levels.png"
echo "pictures written to $images"
