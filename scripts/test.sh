#!/usr/bin/env bash
# Installs what is missing, builds Trevano with its tests and runs every test with ctest.
#   --sanitize   also builds and runs the suite under AddressSanitizer and UBSan
#   --fuzz       also builds the fuzz targets with clang and runs each for a short time
#   --format     also fails when clang-format would change a source file
#   --ci         all of the above
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0 fuzz=0 format=0
for argument in "$@"; do
    case "$argument" in
        --sanitize) sanitize=1 ;;
        --fuzz) fuzz=1 ;;
        --format) format=1 ;;
        --ci) sanitize=1 fuzz=1 format=1 ;;
        *) echo "unknown option: $argument" >&2; exit 2 ;;
    esac
done

jobs=$(nproc)
scripts/setup.sh

if ((format)); then
    echo "== clang-format check"
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
fi

echo "== build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if ((sanitize)); then
    echo "== build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTREVANO_SANITIZE=ON >/dev/null
    cmake --build build-sanitize -j"$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
fi

if ((fuzz)); then
    echo "== fuzz targets"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTREVANO_FUZZ=ON -DTREVANO_BENCH=OFF >/dev/null
    cmake --build build-fuzz -j"$jobs" --target fuzz_targets
    tests/fuzz/run.sh build-fuzz/tests/fuzz "${TREVANO_FUZZ_SECONDS:-60}"
fi
