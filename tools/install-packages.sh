#!/bin/sh
# Installs the Debian packages of the named groups that are not installed
# yet, in one apt-get run: build, format, fuzz, windows, display, or all.
set -eu
build="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
libgtest-dev libgmock-dev nlohmann-json3-dev fonts-unfonts-core qt6-qpa-plugins qt6-translations-l10n"
format="clang-format"
fuzz="clang libclang-rt-14-dev cmake ninja-build"
windows="g++-mingw-w64-i686-posix wine64 wine32:i386 python3"
display="xvfb xauth xdotool x11-apps imagemagick"
wanted=""
for group in "$@"; do
  case "$group" in
    build | format | fuzz | windows | display) eval "wanted=\"\$wanted \$$group\"" ;;
    all) wanted="$build $format $fuzz $windows $display" ;;
    *) echo "install-packages: unknown group $group" >&2; exit 2 ;;
  esac
done
missing=""
for p in $wanted; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
# The 32-bit Windows programs run under 32-bit Wine, from the i386 packages.
case "$missing" in
  *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || $sudo_cmd dpkg --add-architecture i386 ;;
esac
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq $missing
