#!/bin/sh
# The package as users and their virus scanners meet it: built again in a
# second folder from the same commit it is the same zip, byte for byte, with
# its SHA-256 beside it; both programs are stripped, their debug information
# kept beside them with a debug link, and carry a version resource; the
# terminal program's --version answers under Wine as on Linux. Expects the
# dev and windows-cross builds (tools/windows-check.sh makes the latter).
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
cmake --preset windows-cross -B "$again" -G Ninja >/dev/null
cmake --build "$again" --target windows_package >"$first/../windows-again.log" 2>&1 ||
  { cat "$first/../windows-again.log" >&2; fail "the second build failed"; }
cmp "$first/dayledger-upgrade-windows.zip" "$again/dayledger-upgrade-windows.zip" ||
  fail "the package differs when built in another folder"
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
echo "Windows package: the same zip from a second folder; both programs stripped and versioned ($version)."
