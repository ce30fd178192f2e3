#!/usr/bin/env bash
# Builds the jobs, calibration and end-to-end tests with ThreadSanitizer into
# ./build-tsan (or $TESSALINE_TSAN_BUILD_DIR) and runs them; a data race fails its test.
# Not part of CI: a developer's check after changing threaded code.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_TSAN_BUILD_DIR:-$ROOT/build-tsan}"
JOBS="${TESSALINE_JOBS:-$(nproc)}"
FOLDERS=(tests/jobs tests/calibration tests/app/e2e)
"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_SANITIZE_THREAD=ON >/dev/null
for folder in "${FOLDERS[@]}"; do
  cmake --build "$BUILD/$folder" --parallel "$JOBS"
done
status=0
for folder in "${FOLDERS[@]}"; do
  ctest --test-dir "$BUILD/$folder" --output-on-failure --parallel "$JOBS" "$@" || status=1
done
exit $status
