#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessaline.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh"
exec "$BUILD/app/tessaline" "$@"
