#!/usr/bin/env bash
# Files are written only through src/files: no other source opens a file for writing, renames,
# removes or truncates one by itself. And no writer escapes the hostile-target matrix: every
# source that writes through the layer is named by a row of tests/reliability/file_matrix.sh
# (or, for the desktop program's savers, of the matrices in tests/cli and tests/resultswindow).
#   file_layer_only.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
source=$(cd "$2" && pwd)
cd "$source" || exit 1
failures=0

# Ways to write, replace or remove a file by name outside the layer. QBuffer writes to memory.
forbidden='ofstream|std::fstream|fopen\([^,]*, *"[^"]*[wa+]|QSaveFile|QTemporaryFile|QFile::(copy|rename|remove|link)|removeRecursively|QDir\(.*\)\.remove|QIODevice::(WriteOnly|ReadWrite|Append)|QPdfWriter|O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|[^a-z_]creat\(|rename\(|remove_all|copy_file|fs::copy\(|resize_file|ftruncate|unlink\(|mkstemp|tmpfile\(|fs::remove\(|std::remove\(|filesystem::remove\('
while IFS= read -r hit; do
  line=${hit#*:*:}
  [[ $line =~ QBuffer|buffer\.open|^[[:space:]]*// ]] && continue
  echo "FAIL: writes outside src/files: $hit"
  failures=$((failures + 1))
done < <(grep -rnE "$forbidden" src --include='*.cpp' --include='*.h' | grep -v '^src/files/')

# Sources that write through the layer, each covered by a row of a matrix.
uses='AtomicFileWriter|writeFileAtomically|createFileAtomically|addOutput\(|openOutputStream|\bOutputFile\b|\bLineWriter\b|removeCreatedFiles'
matrices="tests/reliability/file_matrix.sh tests/cli/SaverTargetsTest.cpp tests/resultswindow/PictureTargetsTest.cpp"
for file in $(grep -rlE "$uses" src --include='*.cpp' | grep -v '^src/files/' | sort); do
  if ! grep -qF "$file" $matrices; then
    echo "FAIL: $file writes files but no row of the hostile-target matrix covers it"
    failures=$((failures + 1))
  fi
done

[ $failures -eq 0 ] && echo "ok: every write goes through src/files and every writer has a matrix row"
[ $failures -eq 0 ]
