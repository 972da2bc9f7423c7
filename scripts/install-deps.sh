#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, skipping what is already there.
set -euo pipefail
PKGS=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libsqlite3-dev fonts-liberation2
      libnuspell-dev hunspell-en-us libchm-dev fp-utils-3.2.2 libbenchmark-dev clang-format clang libclang-rt-14-dev
      xvfb xauth poppler-utils xdotool imagemagick
      cups cups-bsd printer-driver-cups-pdf chromium xdg-utils)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
