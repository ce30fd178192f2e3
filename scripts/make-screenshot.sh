#!/usr/bin/env bash
# Makes docs/screenshot-simulated-wall.png, the README's picture: the main window
# during a calibration of a simulated 3 x 3 wall, taken by the end-to-end test
# under a virtual X server (Xvfb).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" >/dev/null
mkdir -p "$ROOT/docs"
xvfb-run -a -s "-screen 0 1280x800x24" \
    env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 TESSALINE_ROAD_SCREENSHOT="$ROOT/docs/screenshot-simulated-wall.png" \
    "$BUILD/tests/app/e2e/tst_wall_road" lan_wall_described_verified_calibrated_saved_and_reopened
ls -l "$ROOT/docs/screenshot-simulated-wall.png"
