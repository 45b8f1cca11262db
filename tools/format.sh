#!/usr/bin/env bash
# Formats the C++ sources (the tracked *.cpp and *.h files) with the project's .clang-format.
#   tools/format.sh                  rewrites every file that differs
#   tools/format.sh --check          rewrites nothing; names each file that differs, fails if any
#   tools/format.sh [--check] FILE…  only the files named
# CLANG_FORMAT names another binary; the style is written for clang-format 14.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
check=false
if [ "${1:-}" = "--check" ]; then
  check=true
  shift
fi
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
fi

if ! $check; then
  printf '%s\0' "${files[@]}" | xargs -0 -r "$format" -i --style=file
  exit 0
fi
differing=0
for file in "${files[@]}"; do
  if ! "$format" --style=file "$file" | cmp -s - "$file"; then
    echo "not formatted: $file"
    differing=$((differing + 1))
  fi
done
if [ "$differing" -gt 0 ]; then
  echo "$differing file(s) differ from .clang-format: run tools/format.sh" >&2
  exit 1
fi
