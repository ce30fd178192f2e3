#!/usr/bin/env bash
# Configures and builds Tessaline into ./build (or $TESSALINE_BUILD_DIR).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
JOBS="${TESSALINE_JOBS:-$(nproc)}"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --parallel "$JOBS"
