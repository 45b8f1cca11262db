#!/usr/bin/env bash
# Long run: a 7-day synthetic traffic file (about a million vehicles) on the example study,
# headless, sampling the runner's resident memory. Prints the samples, the peak and the wall
# time, and checks that every output file ends with a whole line.
#   tools/soak.sh [BUILD_DIR] [DAYS]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build}
days=${2:-7}
cli="$build/roadflux-cli"
work=${SOAK_DIR:-$(mktemp -d)}
mkdir -p "$work"
echo "soak folder: $work"

traffic="$work/traffic-${days}d.txt"
if [ ! -s "$traffic" ]; then
  "$cli" generate "$traffic" --force --format TALVOR --duration "${days}d" \
    --lanes1 2 --lanes2 2 --flow 1500 --seed 7 >/dev/null
fi
echo "vehicles in the file: $(grep -c . "$traffic")"

start=$(date +%s.%N)
(cd "$source_dir/examples" && exec "$cli" run study.rfx --input "$traffic" --out-dir "$work/run" --seed 7) \
  >"$work/summary.txt" 2>"$work/progress.txt" &
pid=$!
peak=0
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  if [ -n "$rss" ]; then
    echo "$(date +%T) rss ${rss} kB" >>"$work/rss.txt"
    [ "$rss" -gt "$peak" ] && peak=$rss
  fi
  sleep 5
done
wait "$pid"
end=$(date +%s.%N)
cat "$work/summary.txt"
echo "resident memory samples (kB): $(awk '{print $3}' "$work/rss.txt" | tr '\n' ' ')"
echo "peak resident memory: $peak kB"
awk -v a="$start" -v b="$end" 'BEGIN {printf "wall time: %.1f s\n", b - a}'
for f in "$work/run/output.txt" "$work"/run/metrics/*; do
  [ -z "$(tail -c 1 "$f")" ] || { echo "incomplete last line: $f"; exit 1; }
done
echo "every output file ends with a whole line"
