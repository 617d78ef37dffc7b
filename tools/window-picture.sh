#!/bin/sh
# Renews docs/window.png, the README's picture of the window as it looks on
# Windows: the window check takes it of the real program under Wine, and
# this copies it into place to be committed.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh dev
tools/install-packages.sh windows display
cmake --preset windows-cross -G Ninja >/dev/null
cmake --build --preset windows-cross
tools/windows-window-check.sh
cp build/windows-window/window-alone.png docs/window.png
echo "docs/window.png renewed"
