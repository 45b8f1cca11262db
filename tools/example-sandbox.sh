# Sourced by the scripts that picture the desktop program: builds the program when missing and
# copies the example study into a temporary folder (the run writes its output beside the study,
# so a copy keeps examples/ clean). Sets root, build (from $1, default build) and work, and
# enters the work folder; the folder is removed on exit.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
build=$(realpath -m "${1:-build}")
if [ ! -x "$build/roadflux" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target roadflux -j"$(nproc)" >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/study.rfx examples/traffic.txt examples/Roadflux.ini "$work"/
mkdir -p "$work/metrics"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"
