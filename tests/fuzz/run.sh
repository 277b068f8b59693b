#!/usr/bin/env bash
# Runs every fuzz target in the given folder for the given number of seconds each, from a
# seed corpus that the target's own folder keeps (tests/fuzz/seeds/NAME), or that its script
# makes (tests/fuzz/seeds/NAME.sh CORPUS_FOLDER).
set -euo pipefail
bin_dir=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$bin_dir"/*_fuzzer; do
    [[ -x "$target" ]] || continue
    name=$(basename "$target")
    corpus=$(mktemp -d)
    if [[ -d "$here/seeds/$name" ]]; then
        cp "$here/seeds/$name"/* "$corpus"/ 2>/dev/null || true
    fi
    # A target whose seeds are made with the format's own tools has a script for them.
    if [[ -x "$here/seeds/$name.sh" ]]; then
        "$here/seeds/$name.sh" "$corpus"
    fi
    echo "-- $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$corpus" >"$corpus.log" 2>&1; then
        tail -50 "$corpus.log"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done' "$corpus.log" | tail -2
    fi
    rm -rf "$corpus" "$corpus.log"
done
exit $status
