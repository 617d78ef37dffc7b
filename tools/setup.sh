#!/bin/sh
# Installs what the build and the tests need (Debian), then configures and
# builds the given CMake preset (default: dev).
set -eu
cd "$(dirname "$0")/.."
preset="${1:-dev}"

packages="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
libgtest-dev libgmock-dev fonts-unfonts-core qt6-qpa-plugins qt6-translations-l10n"
tools/install-packages.sh $packages

cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset"
