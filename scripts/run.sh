#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessaline.
#   ./scripts/run.sh [ARGS...]              the program, with ARGS
#   ./scripts/run.sh --simulated [ARGS...]  the program beside a simulated 2 x 2 wall and
#                                           a simulated i1Display Pro, all ended with it
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh"
if [ "${1:-}" != "--simulated" ]; then
    exec "$BUILD/app/tessaline" "$@"
fi
shift
# shellcheck source=scripts/simulated-wall.sh
source "$ROOT/scripts/simulated-wall.sh"
start_simulated_wall "$BUILD"
"$BUILD/app/tessaline" "$@"
