#!/bin/sh
# The package as users and their virus scanners meet it: the same zip, byte
# for byte, wherever it is built from the same commit, with its SHA-256
# beside it; both programs are stripped, their debug information kept
# beside them with a debug link, and carry a version resource; the terminal
# program's --version answers under Wine as on Linux. Expects the dev and
# windows-cross builds (tools/windows-check.sh makes the latter).
set -eu
cd "$(dirname "$0")/.."
tools/install-packages.sh windows

fail() {
  echo "windows package: $*" >&2
  exit 1
}
first=build/windows-cross
again=build/windows-cross-again
rm -rf "$again"
# Where it is built reaches the programs only through their objects: built
# again in a second folder, those that could carry it are the same bytes. A
# plain one stands for every other (its debug information names the source
# and build folders), beside those that read the generated headers and both
# version resources. Linking, stripping and packing add no folder of their
# own, and packing the first build's programs again gives the same zip.
objects="src/CMakeFiles/dl_commit.dir/commit/commit.cpp.obj
src/CMakeFiles/dl_floor.dir/floor/words.cpp.obj
src/CMakeFiles/dayledger-upgrade-gui.dir/app_win32/tform1_win32.cpp.obj
src/CMakeFiles/dayledger-upgrade.dir/cli/dayledger-upgrade.rc.res
src/CMakeFiles/dayledger-upgrade-gui.dir/app_win32/dayledger-upgrade-gui.rc.res"
cmake --preset windows-cross -B "$again" -G Ninja >/dev/null
# shellcheck disable=SC2086 # one object a word
ninja -C "$again" $objects >"$first/../windows-again.log" 2>&1 ||
  { cat "$first/../windows-again.log" >&2; fail "the second build failed"; }
for object in $objects; do
  cmp "$first/$object" "$again/$object" || fail "$object differs when built in another folder"
done
cp "$first/dayledger-upgrade-windows.zip" "$first/dayledger-upgrade-windows.zip.sha256" "$again/"
cmake --build "$first" --target windows_package >"$first/../windows-again.log" 2>&1 ||
  { cat "$first/../windows-again.log" >&2; fail "packing again failed"; }
cmp "$first/dayledger-upgrade-windows.zip" "$again/dayledger-upgrade-windows.zip" ||
  fail "the package differs when packed again"
cmp "$first/dayledger-upgrade-windows.zip.sha256" "$again/dayledger-upgrade-windows.zip.sha256" ||
  fail "the checksums differ"
(cd "$first" && sha256sum --quiet -c dayledger-upgrade-windows.zip.sha256) ||
  fail "the checksum does not match the package"
rm -rf "$again"

. tools/wine-env.sh
version="$(build/dev/src/dayledger-upgrade --version)"
[ "$(timeout 120 "$wine" "$first/src/dayledger-upgrade.exe" --version | tr -d '\r')" = "$version" ] ||
  fail "--version under Wine does not say '$version'"
number="$(printf '%s' "$version" | cut -d' ' -f2)"
for program in dayledger-upgrade dayledger-upgrade-gui; do
  exe="$first/src/$program.exe"
  ! i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.debug_' || fail "$program carries debug sections"
  i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.gnu_debuglink' || fail "$program has no debug link"
  i686-w64-mingw32-objdump -h "$exe.debug" | grep -q ' \.debug_info' ||
    fail "$program's debug information is not kept beside it"
  resource="$(strings -el "$exe" | tr '\n' '|')"
  for field in "FileDescription|Dayledger data upgrade" "ProductName|Dayledger data upgrade" \
    "ProductVersion|$number" "FileVersion|$number" "OriginalFilename|$program.exe"; do
    case "$resource" in *"|$field"*) ;; *) fail "$program's version resource lacks $field" ;; esac
  done
done
echo "Windows package: the same objects from a second folder, the same zip packed again; both programs stripped and versioned ($version)."
