#!/bin/sh
# Installs what is missing, builds, and runs every test: the format check,
# the dev build, the sanitizer build, the fuzz targets for a bounded time,
# then the Windows build under Wine against the Linux one.
set -eu
cd "$(dirname "$0")/.."
tools/format-check.sh
for preset in dev asan; do
  tools/setup.sh "$preset"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
done
tools/fuzz.sh
tools/windows-check.sh
