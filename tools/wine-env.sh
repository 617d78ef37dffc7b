# Sourced by the Windows checks: one Wine prefix for both, kept from run to
# run (its first start takes the longest), with "돋움" drawn by the Korean
# font the machine has. Wine takes command lines in the locale's encoding.
export WINEPREFIX="$(pwd)/build/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8
# The programs are 32-bit: 32-bit Wine runs them, in a prefix of 64-bit
# Windows (with its "Program Files (x86)").
wine=/usr/lib/wine/wine
mkdir -p build
if [ ! -f "$WINEPREFIX/.dayledger-ready" ]; then
  timeout 300 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '돋움' /t REG_SZ \
    /d UnDotum /f >/dev/null 2>&1
  touch "$WINEPREFIX/.dayledger-ready"
fi
