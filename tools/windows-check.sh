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
# A file another program holds open without sharing deletion stops the
# upgrade before anything changes, naming the file; once it lets go, the
# upgrade goes through.
cp -r "$windows" "$work/before"
held="$windows/users/kim/profile.qbd"
rm -f "$work/release"
timeout 300 "$wine" build/windows-cross/src/file_holder.exe "Z:$(echo "$held" | tr / '\\')" \
  "Z:$(echo "$work/release" | tr / '\\')" >"$work/holder.out" 2>/dev/null &
holder=$!
i=0
until grep -q held "$work/holder.out" 2>/dev/null; do
  i=$((i + 1))
  [ "$i" -ge 300 ] && { echo "windows check: the file holder did not start" >&2; exit 1; }
  sleep 0.2
done
status=0
timeout 300 "$wine" "$exe" --app-dir "$windows_dir" upgrade kim >/dev/null 2>"$work/held.err" ||
  status=$?
touch "$work/release"
wait "$holder"
[ "$status" -eq 3 ] || { echo "windows check: a held file gave exit status $status" >&2; exit 1; }
grep -q "다른 프로그램이 사용 중인 파일이 있어 아무것도 바꾸지 않았습니다.*users.kim.profile.qbd" \
  "$work/held.err" || { cat "$work/held.err" >&2; echo "windows check: no message" >&2; exit 1; }
diff -r "$work/before/users" "$windows/users"
rm -rf "$work/before"

run_both kim
run_both 홍길동
run_both lee dayledger
diff -r "$windows" "$work/linux"
echo "Windows build: same files and same log texts as the Linux build."
