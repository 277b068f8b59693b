#!/usr/bin/env bash
# Builds the benchmarks and prints, after Google Benchmark's own lines, a table of each
# operation's time against its floor measured in the same run: each case is run five times,
# the repetitions of all cases shuffled together, and the table compares medians. Start-up
# and peak memory are measured last, on the real program under a virtual X server, then the
# bytes each encoder needs for the same look (bench/look_bench.sh). Extra
# arguments go to the benchmark program, e.g. --benchmark_min_time=2 for steadier figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target pipeline_bench window_memory trevano >/dev/null
build/bench/pipeline_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.5 "$@" 2>&1 | grep -v "does not support"

# Start-up: from the command to the main window mapped on the screen, best of five.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    display=:91
    Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
    server=$!
    trap 'kill $server 2>/dev/null' EXIT
    sleep 1
    settings=$(mktemp -d)/Trevano_V2.0.ini
    best=""
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        DISPLAY=$display TREVANO_SETTINGS=$settings build/src/app/trevano >/dev/null 2>&1 &
        program=$!
        # Looked for every 5 ms: xdotool's own waiting looks only twice a second.
        for _ in $(seq 2000); do
            DISPLAY=$display xdotool search --onlyvisible --name "Trevano  V2.0 b" >/dev/null && break
            sleep 0.005
        done
        elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
        kill $program; wait $program 2>/dev/null || true
        if [[ -z $best || $elapsed -lt $best ]]; then best=$elapsed; fi
    done
    printf '| %-44s |       | %8d ms |             |        | < 500 ms         |\n' \
        "start-up to the main window shown" "$best"
fi

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v convert >/dev/null; then
    bench/peak_memory.sh build/src/app/trevano
fi

# Bytes at equal look against the other encoders, and the smallest coding's speed; it says
# what to install when butteraugli or node is missing.
if command -v butteraugli >/dev/null && command -v node >/dev/null && command -v convert >/dev/null; then
    bench/look_bench.sh
fi
