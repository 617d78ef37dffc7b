#!/bin/sh
# Installs what is missing, builds, lays out a fresh demo installation and
# starts the window from it. Without a display it lists the users, upgrades
# them with the terminal program and lists them again.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh dev

demo="build/demo-installation"
rm -rf "$demo"
build/dev/tests/dayledger-make-demo "$demo"
cp build/dev/src/dayledger-upgrade-gui build/dev/src/dayledger-upgrade "$demo/"
# The data version the version table leads to, as the build read it.
target="$(cut -d' ' -f2 build/dev/generated/data_version.txt)"
echo "Demo installation: $demo (users kim 1.00, 홍길동 1.01, lee 1.02 encrypted with password 'dayledger', park $target)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$demo/dayledger-upgrade-gui"
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the window cannot open." >&2
echo "Showing the terminal program, dayledger-upgrade, on the same installation instead." >&2
cli="$demo/dayledger-upgrade"
set -x
"$cli" list
"$cli" upgrade kim
"$cli" upgrade 홍길동
echo dayledger | "$cli" upgrade lee --password-stdin
"$cli" upgrade park || echo "(park is already at $target: refused, exit status $?)"
"$cli" list
# Each run kept its record beside the backups, for whoever helps.
ls "$demo"/upgrade_backup/.dlu/logs/*
