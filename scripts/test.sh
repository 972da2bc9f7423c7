#!/usr/bin/env bash
# Installs what is missing, builds (RelWithDebInfo, -Wall -Wextra, warnings are errors) and runs every test;
# then runs each fuzz target briefly and the tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
# R318_QUICK=1 runs the first build's tests only.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
JOBS=$(nproc)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
status=0

BUILD=${R318_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR318_WERROR=ON >/dev/null
cmake --build "$BUILD"
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS" || status=1
[ "${R318_QUICK:-0}" = 1 ] && exit $status

# Fuzz targets, 20 seconds each, so that they keep building and the easy crashes show at once.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR318_FUZZ=ON \
    -DR318_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
    if "$target" -max_total_time=20 -timeout=10 -rss_limit_mb=2048 "$corpus" >"$corpus.log" 2>&1; then
        echo "fuzz $name: $(grep -E '^Done' "$corpus.log" || echo ok)"
    else
        echo "fuzz $name FAILED:"; tail -40 "$corpus.log"; status=1
    fi
done

# The tests again under the sanitizers, leak detection on.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR318_SANITIZE=ON -DR318_WERROR=ON >/dev/null
cmake --build build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$JOBS" -LE no-sanitizer || status=1
exit $status
