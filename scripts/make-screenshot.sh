#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture: the main window while it
# calibrates the simulated 2 x 2 wall of `./scripts/run.sh --simulated`, taken
# under a virtual X server (Xvfb) by bench/screenshot_simulated_wall.cpp.
#   ./scripts/make-screenshot.sh [OUTPUT.png]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
OUTPUT="${1:-$ROOT/docs/screenshot.png}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" >/dev/null
mkdir -p "$(dirname "$OUTPUT")"
# The picture's program describes the wall with one monitor ID for all displays.
SIMULATED_WALL_IDS=chain
# shellcheck source=scripts/simulated-wall.sh
source "$ROOT/scripts/simulated-wall.sh"
start_simulated_wall "$BUILD" >/dev/null
# A laptop's screen; the waits at a tenth, so that the calibration is measuring
# within seconds.
xvfb-run -a -s "-screen 0 1366x768x24" \
    env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 TESSALINE_TIME_SCALE=0.1 \
    "$BUILD/bench/screenshot_simulated_wall" "$OUTPUT"
ls -l "$OUTPUT"
