#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (Release, build-bench/) and runs them on a district-size host
# made for the run: Google Benchmark's table of every figure, then each median against its target; then the
# printed report's figures (r318bench_print, on the offscreen platform). Arguments go to both programs (for
# example --benchmark_filter=Fill). Quiet machines give steady figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DR318_BUILD_BENCH=ON -DR318_BUILD_TESTS=OFF \
    -DR318_WERROR=ON >/dev/null
cmake --build build-bench --target r318bench r318bench_print
build-bench/bench/r318bench "$@"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build-bench/bench/r318bench_print "$@"
