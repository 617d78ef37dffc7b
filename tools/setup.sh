#!/bin/sh
# Installs what the build and the tests need (Debian), then configures and
# builds the given CMake preset (default: dev).
set -eu
cd "$(dirname "$0")/.."
preset="${1:-dev}"

packages="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
libgtest-dev libgmock-dev fonts-unfonts-core qt6-qpa-plugins qt6-translations-l10n"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq $missing
fi

cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset"
