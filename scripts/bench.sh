#!/usr/bin/env bash
# Builds the benchmarks, runs them and prints their wall-scale figures in one
# table, then the calibrated 3 x 3 wall ideal and coarse (about ten minutes,
# most of it the one-at-a-time run). Never fails on the figures; fails only
# when a benchmark cannot run. The programs' own outputs are kept in
# <build>/bench-output/.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESSALINE_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" >/dev/null
OUT="$BUILD/bench-output"
mkdir -p "$OUT"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

"$BUILD/bench/bench_display_jobs" >"$OUT/display_jobs.txt"
"$BUILD/bench/bench_lut_upload" >"$OUT/lut_upload.txt"
"$BUILD/bench/bench_calibration" --path table >"$OUT/calibration.txt"
# The 10 x 10 wall test prints the stall of the main window with its 100 tiles.
"$BUILD/tests/app/e2e/tst_wall_scale" >"$OUT/wall_scale.txt" 2>&1

echo "Tessaline benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
     "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo
echo "| figure | value | goal |"
echo "|---|---|---|"
awk '
/ at once :/ && $1 != "1" { fast = $5; limit = $1 }
/^ +1 at once :/ { slow = $5 }
/timer lateness/ {
    for (i = 1; i <= NF; ++i) {
        if ($i == "max" && stall == "") stall = $(i + 1)
        if ($i == "p99" && p99 == "") p99 = $(i + 1)
    }
}
/speed-up/ { ratio = $2; sub(/,$/, "", ratio); ideal = $7 }
END {
    printf "| wall throughput, 100 displays x 3 Verify jobs | %s at once %s s, 1 at once %s s: %s (ideal %s) | >= 25x |\n", limit, fast, slow, ratio, ideal
    printf "| user-interface stall while %s jobs run, progress dialog alone | max %s ms, p99 %s ms | max < 50 ms |\n", limit, stall, p99
}' "$OUT/display_jobs.txt"
awk '
/^100-tile wall/ {
    printf "| user-interface stall, main window with 100 tiles, 30 jobs at a time, time scale 0, 10 faulty displays | Verify max %s ms, p99 %s ms; table upload max %s ms, p99 %s ms | max < 50 ms |\n", $11, $16, $20, $27
}' "$OUT/wall_scale.txt"
awk '
/^ +-?[0-9]+ +[0-9.]+ +[0-9.]+/ {
    printf "| lookup-table upload, 9600-baud chain (%s) | %s s against %s s: %s s on the line for %d bytes both ways + %s s of the protocol'"'"'s pauses (x%s) | at or just above 1.0 |\n", model, $2, $7 + $3, $7, $5 + $6, $3, $8
}
/^lookup-table upload:/ { model = $3 }' "$OUT/lut_upload.txt"
awk '
function header() {
    print "| display | model | result | measurements | white Δx | white Δy | white ΔE00 | luminance error % | worst tone error, 16 greys |"
    print "|---|---|---|---|---|---|---|---|---|"
}
/relative instrument noise/ {
    name = $0; sub(/:.*/, "", name)
    printf "\n3 x 3 wall, lookup-table method (target D65, 200 cd/m², gamma 2.2), %s (relative instrument noise %s):\n\n", name, $NF
    header()
}
/^[0-9]+ +[A-Z]/ { printf "| %s | %s | %s/%s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $4, $5, $6, $7, $8, $11, $9, $10 }
/^wall whites:/ {
    sub(/^wall whites: /, "")
    printf "\nWall uniformity: %s.\n", $0
}
' "$OUT/calibration.txt"
