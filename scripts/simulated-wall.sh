# Sourced by run.sh and make-screenshot.sh: a simulated 2 x 2 LAN wall on
# 127.0.0.60-63 (port 7142) and a simulated i1Display Pro that measures its light,
# in a temporary folder; both are ended, and the folder removed, when the calling
# script exits.
#   start_simulated_wall BUILD_FOLDER
# exports TESSALINE_SIM_LIGHT_DIR and TESSALINE_SENSOR_LIBRARY_DIR for the program.

# Monitor IDs 1-4, as the Layout Wizard numbers displays individually connected to
# LAN; SIMULATED_WALL_IDS=chain gives every display ID 1 (the wizard's "All LAN
# displays have the same ID").
SIMULATED_WALL_SETTINGS="${TESSALINE_SIMULATED_WALL:-rows=2;columns=2;address=127.0.0.60;ids=${SIMULATED_WALL_IDS:-wall};models=VW-5530Q,VW-5520L,VW-5540QE,VW-4620L;seed=7}"

stop_simulated_wall() {
    if [ -n "${SIMULATED_WALL_PID:-}" ]; then
        kill "$SIMULATED_WALL_PID" 2>/dev/null || true
        wait "$SIMULATED_WALL_PID" 2>/dev/null || true
    fi
    [ -n "${SIMULATED_WALL_DIR:-}" ] && rm -rf "$SIMULATED_WALL_DIR"
}

start_simulated_wall() {
    local build="$1"
    SIMULATED_WALL_DIR="$(mktemp -d "${TMPDIR:-/tmp}/tessaline-simulated.XXXXXX")"
    trap stop_simulated_wall EXIT
    trap 'exit 130' INT TERM
    mkdir -p "$SIMULATED_WALL_DIR/light" "$SIMULATED_WALL_DIR/instruments"
    # Only the i1Display Pro's library, so that detection finds that instrument.
    ln -s "$build/instrument-libraries/libi1d3sdk.so" "$SIMULATED_WALL_DIR/instruments/libi1d3sdk.so"
    export TESSALINE_SIM_LIGHT_DIR="$SIMULATED_WALL_DIR/light"
    export TESSALINE_SENSOR_LIBRARY_DIR="$SIMULATED_WALL_DIR/instruments"
    local log="$SIMULATED_WALL_DIR/wall.log"
    "$build/simulator/tessaline-simulated-wall" --wall "$SIMULATED_WALL_SETTINGS" >"$log" 2>&1 &
    SIMULATED_WALL_PID=$!
    local tries=0
    until grep -q '^running' "$log"; do
        if ! kill -0 "$SIMULATED_WALL_PID" 2>/dev/null || [ "$tries" -ge 100 ]; then
            cat "$log" >&2
            echo "the simulated wall did not start" >&2
            exit 1
        fi
        tries=$((tries + 1))
        sleep 0.1
    done
    grep '^display' "$log"
    echo "Layout Wizard: 2 x 2, LAN, displays individually connected, first IP address 127.0.0.60 (step 1)."
}
