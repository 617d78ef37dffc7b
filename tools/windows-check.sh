#!/bin/sh
# Builds dayledger-upgrade for Windows with MinGW-w64 and runs it under Wine
# on a demo installation, next to the Linux build on a copy of the same
# installation: both must leave every file byte for byte the same and log
# the same texts. Expects the dev build (tools/setup.sh dev) to exist.
set -eu
cd "$(dirname "$0")/.."

tools/install-packages.sh windows

cmake --preset windows-cross -G Ninja >/dev/null
cmake --build --preset windows-cross

work="$(pwd)/build/windows-check"
# The Windows copy lies in a folder whose name CP949 cannot hold.
windows="$work/windows-café-😀"
rm -rf "$windows" "$work/linux" "$work"/*.log
mkdir -p "$work"
. tools/wine-env.sh
exe="build/windows-cross/src/dayledger-upgrade.exe"

build/dev/tests/dayledger-make-demo "$windows"
cp -r "$windows" "$work/linux"
windows_dir="Z:$(echo "$windows" | tr / '\\')"

run_both() {  # user, then an optional password for standard input
  printf '%s\n' "${2:-}" | timeout 300 "$wine" "$exe" --app-dir "$windows_dir" upgrade "$1" \
    --password-stdin | tr -d '\r' | cut -c11- >"$work/windows-$1.log"
  printf '%s\n' "${2:-}" | build/dev/src/dayledger-upgrade --app-dir "$work/linux" upgrade "$1" \
    --password-stdin 2>/dev/null | cut -c11- >"$work/linux-$1.log"
  cmp "$work/windows-$1.log" "$work/linux-$1.log"
}
run_both kim
run_both 홍길동
run_both lee dayledger
diff -r "$windows" "$work/linux"
echo "Windows build: same files and same log texts as the Linux build."
