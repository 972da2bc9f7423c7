#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo host when it is missing and starts the add-in on it as
# the host would: r318form with the host's four-field command line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${R318_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target r318form r318form-cli
DEMO=${R318_DEMO_DIR:-$PWD/demo}
if [ ! -f "$DEMO/host.env" ]; then
    "$BUILD/cli/r318form-cli" demo "$DEMO"
fi
# host.env sets XDG_CONFIG_HOME and R318_HOST_LINE for the demo host.
source "$DEMO/host.env"
"$BUILD/cli/r318form-cli" --host "$R318_HOST_LINE" identity
"$BUILD/cli/r318form-cli" --host "$R318_HOST_LINE" members
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
    exec "$BUILD/src/r318form" "$R318_HOST_LINE"
fi
echo "No display here. To see the window:  source $DEMO/host.env && xvfb-run -a $BUILD/src/r318form \"\$R318_HOST_LINE\""
