#!/bin/sh
# Installs what is missing, builds, and runs every test: the dev build, then
# the sanitizer build.
set -eu
cd "$(dirname "$0")/.."
for preset in dev asan; do
  tools/setup.sh "$preset"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
done
