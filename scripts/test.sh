#!/usr/bin/env bash
# Installs what is missing, builds (RelWithDebInfo, -Wall -Wextra, warnings are errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${R318_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR318_WERROR=ON >/dev/null
cmake --build "$BUILD"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
