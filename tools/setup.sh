#!/bin/sh
# Installs what the build and the tests need (Debian), then configures and
# builds the given CMake preset (default: dev).
set -eu
cd "$(dirname "$0")/.."
preset="${1:-dev}"
tools/install-packages.sh build

cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset"
