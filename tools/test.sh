#!/bin/sh
# Installs what is missing, builds, and runs every test: the dev build, the
# sanitizer build, then the Windows build under Wine against the Linux one.
set -eu
cd "$(dirname "$0")/.."
for preset in dev asan; do
  tools/setup.sh "$preset"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
done
tools/windows-check.sh
