#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-sanitize (or $TESSALINE_SANITIZE_BUILD_DIR) and runs the whole test suite there,
# as ./scripts/test.sh does; any sanitizer report fails its test.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_SANITIZE_BUILD_DIR:-$ROOT/build-sanitize}"
"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DTESSALINE_SANITIZE=ON >/dev/null
TESSALINE_BUILD_DIR="$BUILD" exec "$ROOT/scripts/test.sh" "$@"
