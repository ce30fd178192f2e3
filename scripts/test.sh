#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through ctest.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh"
cd "$BUILD"
ctest --output-on-failure --parallel "${TESSALINE_JOBS:-$(nproc)}" "$@"
