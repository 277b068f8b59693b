#!/usr/bin/env bash
# Installs what is missing, builds Trevano and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVANO_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target trevano

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Trevano is built (build/src/app/trevano), but there is no display to show it on." >&2
    echo "To try it without one, run it in a virtual X server:" >&2
    echo "    xvfb-run -a -s '-screen 0 1280x800x24' build/src/app/trevano" >&2
    exit 1
fi
exec build/src/app/trevano
