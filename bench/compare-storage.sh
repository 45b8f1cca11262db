#!/usr/bin/env bash
# The lanes' vehicles linked through the vehicles themselves, against the engine that kept them in
# a list of owning pointers: bench/compare-with.sh with the commit before the chain came in.
#
# usage: bench/compare-storage.sh [compare-with.sh's options]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
first=$(git -C "$here/.." log --diff-filter=A --format=%H -- src/engine/VehicleChain.h | tail -1)
[ -n "$first" ] || { echo "src/engine/VehicleChain.h is not committed yet" >&2; exit 1; }
exec "$here/compare-with.sh" "$@" "$first^"
