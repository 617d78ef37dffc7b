#!/bin/sh
# Installs what is missing, builds, lays out a fresh demo installation and
# starts the tool from it. Without a display it shows the terminal program
# on the same installation instead.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh dev

demo="build/demo-installation"
rm -rf "$demo"
build/dev/tests/dayledger-make-demo "$demo"
cp build/dev/src/dayledger-upgrade-gui "$demo/"
echo "Demo installation: $demo (users kim 1.00, 홍길동 1.01, lee 1.02 encrypted with password 'dayledger', park 1.03)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$demo/dayledger-upgrade-gui"
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the window cannot open." >&2
exit 1
