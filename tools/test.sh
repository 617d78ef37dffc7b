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
  # Whatever still runs beside a failed stage ends with the command.
  if [ -n "${windows:-}" ]; then kill -- "-$windows" 2>/dev/null || true; fi
  if [ -n "${wine_ready:-}" ]; then kill "$wine_ready" 2>/dev/null || true; fi
}
trap report EXIT
stage() {  # name, then the command; returns the command's status
  name="$1"
  shift
  start=$(date +%s)
  status=0
  "$@" || status=$?
  timings="${timings}$(printf 'stage: %-20s %5d s' "$name" $(($(date +%s) - start)))
"
  return "$status"
}
tests() {  # preset
  # The tests' own folders live in memory where the machine has a tmpfs: the
  # flushes of the real-disk tests then cost nothing, while the code that
  # asks for them runs the same.
  tmp="${TMPDIR:-/tmp}"
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then tmp=/dev/shm; fi
  TMPDIR="$tmp" QT_QPA_PLATFORM=offscreen ctest --preset "$1" -j2
}

stage packages tools/install-packages.sh build format fuzz display
# The Windows packages (MinGW-w64, and 32-bit Wine from the i386 packages)
# and Wine's first start in both prefixes (root's, and the unprivileged
# user's) take a while and little of the processor: they run while the
# Linux builds do.
mkdir -p build
sh -c 'tools/install-packages.sh windows && . tools/wine-env.sh && . tools/wine-user-env.sh' \
  >build/windows-setup.log 2>&1 &
wine_ready=$!
stage "format check" tools/format-check.sh
stage "dev build" tools/setup.sh dev
# The Windows checks need only the dev build's programs, and mostly wait on
# Wine: they run beside everything after it, and report their own stage lines.
stage "windows set-up" wait "$wine_ready" || { cat build/windows-setup.log; exit 1; }
# A session of their own, so that a failure here ends all they started.
setsid tools/windows-checks.sh >build/windows.log 2>&1 &
windows=$!
stage "dev tests" tests dev
stage "asan build" tools/setup.sh asan
stage "asan tests" tests asan
stage "fuzz build" tools/fuzz.sh build
stage fuzzing tools/fuzz.sh run
windows_status=0
stage "windows (waited)" wait "$windows" || windows_status=$?
cat build/windows.log
if [ -f build/windows.times ]; then timings="${timings}$(cat build/windows.times)
"; fi
exit "$windows_status"
