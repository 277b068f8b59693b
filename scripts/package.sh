#!/usr/bin/env bash
# Builds the Debian package of Trevano: build/package/trevano_VERSION_ARCH.deb.
#   scripts/package.sh
# Install it with `sudo apt install ./build/package/trevano_*.deb`; remove it with
# `sudo apt remove trevano`. It reuses the build folder of scripts/test.sh and scripts/run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TREVANO_BUILD:-build}
scripts/setup.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target trevano jpegtran_companion
rm -f "$build"/package/trevano_*.deb
# Files keep the modes the install gives them, whatever the umask of the person building.
(umask 022 && cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/trevano_*.deb
