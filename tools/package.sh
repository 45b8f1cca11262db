#!/usr/bin/env bash
# Builds the Debian package roadflux_VERSION_ARCH.deb from the normal build folder (made when
# missing, reused when present) and prints its path. Install it with
#   sudo apt install ./roadflux_*.deb
#   tools/package.sh [OUTPUT_DIR]      (default: build/package)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
out=$(realpath -m "${1:-build/package}")
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
mkdir -p "$out"
log="$out/cpack.log"
cpack --config build/CPackConfig.cmake -B "$out" >"$log" 2>&1 || { cat "$log"; exit 1; }
ls "$out"/roadflux_*.deb
