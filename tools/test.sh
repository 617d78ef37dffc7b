#!/bin/sh
# Installs what is missing, builds, and runs every test: the format check,
# the dev build, the sanitizer build, the fuzz targets for a bounded time,
# then the Windows builds under Wine against the Linux one: the terminal
# program, and the native window driven by mouse and keys. Ends with one
# line per stage and its seconds, so that a slow stage shows at once.
set -eu
cd "$(dirname "$0")/.."

timings=""
report() {
  printf '%s' "$timings"
}
trap report EXIT
stage() {  # name, then the command
  name="$1"
  shift
  start=$(date +%s)
  "$@"
  timings="${timings}$(printf 'stage: %-20s %5d s' "$name" $(($(date +%s) - start)))
"
}
tests() {  # preset
  QT_QPA_PLATFORM=offscreen ctest --preset "$1" -j2
}

stage packages tools/install-packages.sh all
stage "format check" tools/format-check.sh
stage "dev build" tools/setup.sh dev
stage "dev tests" tests dev
stage "asan build" tools/setup.sh asan
stage "asan tests" tests asan
stage fuzzing tools/fuzz.sh
stage "windows check" tools/windows-check.sh
stage "windows window" tools/windows-window-check.sh
