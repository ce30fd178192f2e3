#!/usr/bin/env bash
# Builds the benchmarks, runs them and prints their wall-scale figures in one
# table (about six minutes, most of it the one-at-a-time run). Never fails on
# the figures; fails only when a benchmark cannot run. The programs' own
# outputs are kept in <build>/bench-output/.
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

echo "Tessaline benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
     "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo
echo "| figure | value | goal |"
echo "|---|---|---|"
awk '
/ at once :/ && $1 != "1" { fast = $5; limit = $1 }
/^ +1 at once :/ { slow = $5 }
/timer lateness/ { for (i = 1; i <= NF; ++i) if ($i == "max") stall = $(i + 1) }
/speed-up/ { ratio = $2; sub(/,$/, "", ratio); ideal = $7 }
END {
    printf "| wall throughput, 100 displays x 3 Verify jobs | %s at once %s s, 1 at once %s s: %s (ideal %s) | >= 25x |\n", limit, fast, slow, ratio, ideal
    printf "| longest user-interface stall while %s jobs run | %s ms | < 50 ms |\n", limit, stall
}' "$OUT/display_jobs.txt"
awk '
/^ +-?[0-9]+ +[0-9.]+ +[0-9.]+/ {
    printf "| lookup-table upload, 9600-baud chain (%s) | %s s, of it %s s the protocol'"'"'s pauses; %s s on the wire against %s s at line rate for %d bytes (x%s) | within 10 %% of line rate |\n", model, $2, $3, $4, $7, $5 + $6, $8
}
/^lookup-table upload:/ { model = $3 }' "$OUT/lut_upload.txt"
echo
echo "3 x 3 wall, lookup-table method (target D65, 200 cd/m², gamma 2.2):"
echo
echo "| display | model | result | measurements | white Δx | white Δy | white ΔE00 | luminance error % | worst tone error, 16 greys |"
echo "|---|---|---|---|---|---|---|---|---|"
awk '
/^[0-9]+ +[A-Z]/ { printf "| %s | %s | %s/%s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $4, $5, $6, $7, $8, $11, $9, $10 }
' "$OUT/calibration.txt"
