#!/bin/sh
# The Windows checks, one after the other, each followed by a stage line
# with its seconds in build/windows.times (the test command shows them).
set -eu
cd "$(dirname "$0")/.."
rm -f build/windows.times
for check in windows-check windows-window-check windows-store-check windows-package-check; do
  start=$(date +%s)
  tools/$check.sh
  printf 'stage: %-20s %5d s (beside)\n' "$check" $(($(date +%s) - start)) >>build/windows.times
done
